// The password dialog, shown for real and answered as a user would.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "win/pass_form_win.h"
#include "tests/win/modal_helper.h"
#include "tests/win/screenshot.h"

namespace torvane {
namespace {

using wintest::ModalAnswerer;
using wintest::Reply;

constexpr wchar_t kCaption[] = L"パスワードを入力してください";
const std::string kCaptionSjis = "パスワードを入力してください";

RECT ItemRect(HWND dialog, int id) {
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectRect(HWND dialog, int id, int left, int top, int width, int height) {
    const RECT rect = ItemRect(dialog, id);
    EXPECT_EQ(rect.left, left) << "control " << id;
    EXPECT_EQ(rect.top, top) << "control " << id;
    EXPECT_EQ(rect.right - rect.left, width) << "control " << id;
    EXPECT_EQ(rect.bottom - rect.top, height) << "control " << id;
}

// The client area of a control as it paints it.
std::vector<DWORD> Render(HWND control) {
    return wintest::PaintedClient(control, PRF_CLIENT | PRF_ERASEBKGND);
}

// Paints an ordinary edit box of the same size, font and border holding text, for comparison.
std::vector<DWORD> RenderPlainEdit(HWND like, const wchar_t* text) {
    const RECT rect = ItemRect(GetParent(like), GetDlgCtrlID(like));
    const HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", text, WS_CHILD | ES_AUTOHSCROLL, rect.left, rect.top,
                                      rect.right - rect.left, rect.bottom - rect.top, GetParent(like), nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
    SendMessageW(edit, WM_SETFONT, SendMessageW(like, WM_GETFONT, 0, 0), FALSE);
    std::vector<DWORD> pixels = Render(edit);
    DestroyWindow(edit);
    return pixels;
}

TEST(PassFormTest, OkReturnsTheTypedTextAndTheEditHasTheFocus) {
    TPassForm form;
    ModalAnswerer answerer({Reply::Press(kCaption, IDOK).Type(IDC_PASSFORM_PASSWD, L"Secret パス")});
    std::string text;
    EXPECT_TRUE(ShowPasswordDialog(form, kCaptionSjis, text));
    EXPECT_EQ(text, "Secret パス");
    ASSERT_TRUE(answerer.Done());
    EXPECT_EQ(answerer.Seen(0).focusId, IDC_PASSFORM_PASSWD);
}

TEST(PassFormTest, EnterAcceptsAndEscapeCancels) {
    TPassForm form;
    std::string text = "old";
    ModalAnswerer enter({Reply::Keys(kCaption, {VK_RETURN}).Type(IDC_PASSFORM_PASSWD, L"abc")});
    EXPECT_TRUE(ShowPasswordDialog(form, kCaptionSjis, text));
    EXPECT_EQ(text, "abc");
    EXPECT_TRUE(enter.Done());

    TPassForm other;
    ModalAnswerer escape({Reply::Keys(kCaption, {VK_ESCAPE}).Type(IDC_PASSFORM_PASSWD, L"abc")});
    EXPECT_FALSE(ShowPasswordDialog(other, kCaptionSjis, text));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(escape.Done());
}

TEST(PassFormTest, CancelAndCloseGiveFalseAndAnEmptyText) {
    for (const Reply& reply : {Reply::Press(kCaption, IDCANCEL), Reply::Close(kCaption)}) {
        TPassForm form;
        ModalAnswerer answerer({Reply(reply).Type(IDC_PASSFORM_PASSWD, L"typed")});
        std::string text = "previous";
        EXPECT_FALSE(ShowPasswordDialog(form, kCaptionSjis, text));
        EXPECT_EQ(text, "");
        EXPECT_TRUE(answerer.Done());
    }
}

TEST(PassFormTest, OkWithAnEmptyEditGivesTrueAndAnEmptyText) {
    TPassForm form;
    ModalAnswerer answerer({Reply::Press(kCaption, IDOK)});
    std::string text = "previous";
    EXPECT_TRUE(ShowPasswordDialog(form, kCaptionSjis, text));
    EXPECT_EQ(text, "");
}

TEST(PassFormTest, TypedTextShowsOnlyStars) {
    TPassForm form;
    WCHAR passwordChar = 0;
    LONG_PTR style = 0;
    bool looksLikeStars = false, looksLikeClearText = true;
    ModalAnswerer answerer({Reply::Press(kCaption, IDCANCEL).Type(IDC_PASSFORM_PASSWD, L"ab12").Then([&](HWND dialog) {
        const HWND edit = GetDlgItem(dialog, IDC_PASSFORM_PASSWD);
        passwordChar = static_cast<WCHAR>(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0));
        style = GetWindowLongPtrW(edit, GWL_STYLE);
        const std::vector<DWORD> shown = Render(edit);
        looksLikeStars = shown == RenderPlainEdit(edit, L"****");
        looksLikeClearText = shown == RenderPlainEdit(edit, L"ab12");
    })});
    std::string text;
    ShowPasswordDialog(form, kCaptionSjis, text);
    ASSERT_TRUE(answerer.Done());
    EXPECT_EQ(passwordChar, L'*');
    EXPECT_TRUE(style & ES_PASSWORD);
    EXPECT_TRUE(looksLikeStars);
    EXPECT_FALSE(looksLikeClearText);
}

TEST(PassFormTest, EditKeepsItsTextBetweenShowingsOfOneRequest) {
    std::wstring shownAgain = L"-";
    std::wstring shownFresh = L"-";
    auto readEdit = [](std::wstring& into) {
        return [&into](HWND dialog) { into = wintest::TextOf(GetDlgItem(dialog, IDC_PASSFORM_PASSWD)); };
    };
    ModalAnswerer answerer({Reply::Press(kCaption, IDOK).Type(IDC_PASSFORM_PASSWD, L"abc"),
                            Reply::Press(kCaption, IDCANCEL).Then(readEdit(shownAgain)),
                            Reply::Press(kCaption, IDCANCEL).Then(readEdit(shownFresh))});
    std::string text;
    {
        WinPasswordDialog request;
        EXPECT_TRUE(request.Show(kCaptionSjis, text));
        EXPECT_EQ(text, "abc");
        EXPECT_FALSE(request.Show(kCaptionSjis, text));
        EXPECT_EQ(text, "");
    }
    WinPasswordDialog nextRequest;
    EXPECT_FALSE(nextRequest.Show(kCaptionSjis, text));
    EXPECT_TRUE(answerer.Done());
    EXPECT_EQ(shownAgain, L"abc");
    EXPECT_EQ(shownFresh, L"");
}

TEST(PassFormTest, LaysOutAsDesigned) {
    TPassForm form;
    RECT client{}, window{};
    HWND owner = reinterpret_cast<HWND>(1);
    LOGFONTW font{};
    LRESULT defId = 0;
    std::wstring label, ok, cancel;
    std::vector<int> tabOrder;
    ModalAnswerer answerer(
        {Reply::Press(kCaption, IDCANCEL).Type(IDC_PASSFORM_PASSWD, L"secret").Then([&](HWND dialog) {
            GetClientRect(dialog, &client);
            GetWindowRect(dialog, &window);
            owner = GetWindow(dialog, GW_OWNER);
            GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(dialog, IDC_PASSFORM_PASSWD, WM_GETFONT, 0, 0)),
                       sizeof font, &font);
            defId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
            label = wintest::TextOf(GetDlgItem(dialog, IDC_PASSFORM_LABEL));
            ok = wintest::TextOf(GetDlgItem(dialog, IDOK));
            cancel = wintest::TextOf(GetDlgItem(dialog, IDCANCEL));
            ExpectRect(dialog, IDC_PASSFORM_PASSWD, 70, 10, 151, 20);
            ExpectRect(dialog, IDOK, 15, 55, 90, 25);
            ExpectRect(dialog, IDCANCEL, 125, 55, 90, 25);
            ExpectRect(dialog, IDC_PASSFORM_BEVEL, 0, 44, 239, 2);
            const RECT labelRect = ItemRect(dialog, IDC_PASSFORM_LABEL);
            EXPECT_EQ(labelRect.left, 10);
            EXPECT_EQ(labelRect.top, 15);
            EXPECT_LE(labelRect.right, 70);
            for (HWND item = GetNextDlgTabItem(dialog, nullptr, FALSE); tabOrder.size() < 4;
                 item = GetNextDlgTabItem(dialog, item, FALSE)) {
                tabOrder.push_back(GetDlgCtrlID(item));
            }
            wintest::SaveScreenshot(dialog, "pass_form");
        })});
    std::string text;
    ShowPasswordDialog(form, kCaptionSjis, text);
    ASSERT_TRUE(answerer.Done());
    const wintest::WindowSeen& seen = answerer.Seen(0);

    EXPECT_EQ(seen.caption, kCaption);
    EXPECT_EQ(client.right, 239);
    EXPECT_EQ(client.bottom, 87);
    EXPECT_NEAR(window.left, (GetSystemMetrics(SM_CXSCREEN) - (window.right - window.left)) / 2, 1);
    EXPECT_NEAR(window.top, (GetSystemMetrics(SM_CYSCREEN) - (window.bottom - window.top)) / 2, 1);
    EXPECT_EQ(owner, nullptr);
    EXPECT_TRUE(seen.style & WS_CAPTION);
    EXPECT_FALSE(seen.style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(seen.exStyle & WS_EX_TOPMOST);
    EXPECT_EQ(std::wstring(font.lfFaceName), L"ＭＳ Ｐゴシック");
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(HIWORD(defId), DC_HASDEFID);
    EXPECT_EQ(LOWORD(defId), IDOK);
    EXPECT_EQ(label, L"パスワード");
    EXPECT_EQ(ok, L"OK");
    EXPECT_EQ(cancel, L"キャンセル");
    EXPECT_EQ(tabOrder, (std::vector<int>{IDC_PASSFORM_PASSWD, IDOK, IDCANCEL, IDC_PASSFORM_PASSWD}));
}

}  // namespace
}  // namespace torvane
