// The editor's field controls in a plain window: edit box with button, numeric edit and spin,
// bevelled label.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "editor/edit_button_win.h"
#include "tests/win/control_host.h"
#include "tests/win/modal_helper.h"
#include "tests/win/screenshot.h"
#include "tools/bevel_label_win.h"
#include "tools/value_edit_win.h"
#include "tools/value_spin_win.h"

namespace torvane {
namespace {

using wintest::ControlHost;
using wintest::PaintedClient;
using wintest::PumpUntil;
using wintest::TextOf;
using wintest::TypeText;

RECT ChildRect(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return L"<closed>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    } else {
        text = L"<none>";
    }
    CloseClipboard();
    return text;
}

void PutOnClipboard(const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

// The DWORD a registered format holds; -1 when the clipboard lacks it.
long long RegisteredFormatValue(const wchar_t* name) {
    long long value = -1;
    if (!OpenClipboard(nullptr)) return value;
    if (HANDLE data = GetClipboardData(RegisterClipboardFormatW(name))) {
        value = *static_cast<const DWORD*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return value;
}

class EditButtonTest : public testing::Test {
protected:
    void SetUp() override {
        field = TEditButton::Create(host.Handle(), 10, 10, 10, 200, 22);
        ASSERT_NE(field, nullptr);
    }
    void TearDown() override { TEditButton::MaskedClearDelayMs = 30000; }
    void Click() { SendMessageW(field->Button(), BM_CLICK, 0, 0); }

    ControlHost host;
    TEditButton* field = nullptr;
};

TEST_F(EditButtonTest, ButtonStaysSquareAtTheRightAndTheEditTakesTheRestInsideTheBevel) {
    const struct {
        int width, height, bevel;
    } cases[] = {{200, 22, 1}, {200, 40, 1}, {120, 30, 3}};
    for (const auto& c : cases) {
        field->SetBevelWidth(c.bevel);
        MoveWindow(field->Handle(), 10, 10, c.width, c.height, TRUE);
        const RECT button = ChildRect(field->Button());
        const RECT edit = ChildRect(field->Edit());
        EXPECT_EQ(button.left, c.width - c.height);
        EXPECT_EQ(button.right - button.left, c.height);
        EXPECT_EQ(button.bottom - button.top, c.height);
        EXPECT_EQ(edit.left, c.bevel);
        EXPECT_EQ(edit.top, c.bevel);
        EXPECT_EQ(edit.right - edit.left, c.width - c.height - c.bevel);
        EXPECT_EQ(edit.bottom - edit.top, c.height - 2 * c.bevel);
    }
}

TEST_F(EditButtonTest, CopyPutsTheRealTextWithThePrivacyFormatsAndThenRaisesTheClick) {
    field->SetPasswordChar(L'*');
    field->SetText("pa&ss 日本");
    std::wstring seenInHandler;
    field->OnBtnClick = [&](TEditButton&) { seenInHandler = ClipboardText(); };
    Click();
    EXPECT_EQ(ClipboardText(), L"pa&ss 日本");
    EXPECT_EQ(seenInHandler, L"pa&ss 日本");
    EXPECT_EQ(RegisteredFormatValue(L"CanIncludeInClipboardHistory"), 0);
    EXPECT_EQ(RegisteredFormatValue(L"CanUploadToCloudClipboard"), 0);
    EXPECT_NE(RegisteredFormatValue(L"ExcludeClipboardContentFromMonitorProcessing"), -1);

    field->SetText("");
    Click();
    EXPECT_EQ(ClipboardText(), L"");
}

TEST_F(EditButtonTest, WithoutAutoCopyOrHandlerAClickDoesNothing) {
    PutOnClipboard(L"before");
    field->AutoCopy = false;
    field->SetText("secret");
    Click();
    EXPECT_EQ(ClipboardText(), L"before");
}

TEST_F(EditButtonTest, MaskedCopyIsEmptiedAfterTheDelayUnlessSomethingElseWasCopied) {
    TEditButton::MaskedClearDelayMs = 150;
    const struct {
        wchar_t mask;
        bool copyOver;
        const wchar_t* after;
    } cases[] = {{L'*', false, L"<none>"}, {0, false, L"serial"}, {L'*', true, L"mine"}};
    for (const auto& c : cases) {
        field->SetPasswordChar(c.mask);
        field->SetText("serial");
        Click();
        EXPECT_EQ(field->ClearPending(), c.mask != 0);
        if (c.copyOver) PutOnClipboard(L"mine");
        EXPECT_TRUE(PumpUntil([&] { return !field->ClearPending(); }));
        EXPECT_EQ(ClipboardText(), c.after) << "mask " << int{c.mask} << " copy over " << c.copyOver;
    }
}

TEST_F(EditButtonTest, FocusGoesToTheEditAndEnablingReachesBothChildren) {
    ShowWindow(host.Handle(), SW_SHOW);
    SetForegroundWindow(host.Handle());
    SetFocus(field->Handle());
    EXPECT_EQ(GetFocus(), field->Edit());
    SendMessageW(field->Button(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(field->Button(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(GetFocus(), field->Edit());  // the button never takes it

    EnableWindow(field->Handle(), FALSE);
    EXPECT_FALSE(IsWindowEnabled(field->Edit()));
    EXPECT_FALSE(IsWindowEnabled(field->Button()));
    EnableWindow(field->Handle(), TRUE);
    EXPECT_TRUE(IsWindowEnabled(field->Edit()));
    EXPECT_TRUE(IsWindowEnabled(field->Button()));
}

TEST_F(EditButtonTest, SettingTheSameTextRaisesNoChange) {
    int changes = 0;
    field->OnChange = [&](TEditButton&) { ++changes; };
    field->SetText("abc");
    field->SetText("abc");
    SendMessageW(field->Edit(), EM_SETSEL, 3, 3);
    TypeText(field->Edit(), L"d");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(field->Text(), "abcd");
}

class ValueEditTest : public testing::Test {
protected:
    ControlHost host;
    TValueEdit* edit = TValueEdit::Create(host.Handle(), 11, 10, 10, 22);
};

TEST_F(ValueEditTest, TypingIsFilteredAndTidied) {
    const struct {
        const char* start;
        int caret;  // -1: at the end
        const wchar_t* typed;
        int maxColumn;
        const char* result;
    } cases[] = {
        {"0", -1, L"7", 0, "7"},       {"0", -1, L".", 0, "0."},        {"1.2", 1, L".", 0, "1.2"},
        {"12345", -1, L"6", 5, "23456"}, {"5", -1, L"a-+", 0, "5"},     {"", -1, L".5", 0, "0.5"},
        {"12", -1, L"\b", 0, "1"},     {"0", -1, L"0", 0, "0"},
    };
    for (const auto& c : cases) {
        edit->SetMaxColumn(0);
        edit->SetText(c.start);
        edit->SetMaxColumn(c.maxColumn);
        const LPARAM caret = c.caret < 0 ? static_cast<LPARAM>(strlen(c.start)) : c.caret;
        SendMessageW(edit->Handle(), EM_SETSEL, static_cast<WPARAM>(caret), caret);
        TypeText(edit->Handle(), c.typed);
        EXPECT_EQ(edit->Text(), c.result) << c.start << " + " << static_cast<int>(c.typed[0]);
    }
}

TEST_F(ValueEditTest, PastedTextIsOnlyTidiedAndABadNumberFailsToRead) {
    int changes = 0;
    edit->OnChange = [&](TValueEdit&) { ++changes; };
    edit->SetText("0012.5");
    EXPECT_EQ(edit->Text(), "12.5");
    EXPECT_EQ(edit->Value(), 125);
    EXPECT_EQ(changes, 1);
    edit->SetText("");
    EXPECT_EQ(edit->Value(), 0);
    EXPECT_EQ(edit->Text(), "");
    edit->SetText("99999999999");
    EXPECT_THROW(edit->Value(), std::runtime_error);
}

class ValueSpinTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(spin, nullptr);
        spin->OnChange = [this](TValueSpin&) { ++changes; };
    }
    ControlHost host;
    TValueSpin* spin = TValueSpin::Create(host.Handle(), 12, 10, 10);
    int changes = 0;
};

TEST_F(ValueSpinTest, ValuesAreHeldInTheRangeAndEverySettingIsReported) {
    spin->SetMin(8);
    spin->SetMax(32);
    EXPECT_EQ(spin->Edit()->Text(), "8");  // the new minimum pulled the 0 up
    const struct {
        int given;
        int shown;
    } cases[] = {{40, 32}, {3, 8}, {20, 20}};
    for (const auto& c : cases) {
        changes = 0;
        spin->SetValue(c.given);
        EXPECT_EQ(spin->Value(), c.shown);
        EXPECT_EQ(spin->Edit()->Text(), std::to_string(c.shown));
        EXPECT_EQ(changes, 1);
    }
    spin->SetMin(25);
    EXPECT_EQ(spin->Value(), 25);
    spin->SetMax(70000);
    EXPECT_EQ(spin->Max(), 32767);
}

TEST_F(ValueSpinTest, TypedTextIsPulledIntoTheRange) {
    spin->SetMin(10);
    spin->SetMax(50);
    SendMessageW(spin->Edit()->Handle(), EM_SETSEL, 0, -1);
    TypeText(spin->Edit()->Handle(), L"5");
    EXPECT_EQ(spin->Edit()->Text(), "10");
    spin->SetValue(30);
    spin->Edit()->SetText("");
    EXPECT_EQ(spin->Edit()->Text(), "10");
    EXPECT_EQ(spin->Value(), 10);
}

TEST_F(ValueSpinTest, ArrowKeysAndUpDownStepAndTheEditTakesTheFocus) {
    spin->SetMax(20);
    spin->SetIncrement(5);
    spin->SetValue(10);
    SendMessageW(spin->Edit()->Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(spin->Value(), 11);
    SendMessageW(spin->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(spin->Value(), 10);
    // The up-down's upper half steps by the increment.
    SendMessageW(spin->UpDown(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 2));
    SendMessageW(spin->UpDown(), WM_LBUTTONUP, 0, MAKELPARAM(8, 2));
    EXPECT_EQ(spin->Value(), 15);

    SetForegroundWindow(host.Handle());
    SetFocus(spin->Handle());
    EXPECT_EQ(GetFocus(), spin->Edit()->Handle());
    const RECT edit = ChildRect(spin->Edit()->Handle());
    const RECT upDown = ChildRect(spin->UpDown());
    EXPECT_EQ(edit.right - edit.left, TValueSpin::kDefaultWidth - TValueSpin::kUpDownWidth - TValueSpin::kGap);
    EXPECT_EQ(upDown.right, TValueSpin::kDefaultWidth);
}

// The label's client area as it paints it; pixels as COLORREF.
struct Rendered {
    int width = 0;
    std::vector<DWORD> pixels;
};

Rendered Render(HWND control) {
    Rendered out;
    out.pixels = PaintedClient(control, PRF_CLIENT, &out.width);
    return out;
}

COLORREF FromDib(DWORD p) {
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

TEST(BevelLabelTest, FramesAndFillAtTheirPixels) {
    ControlHost host;
    TBevelLabel* label = TBevelLabel::Create(host.Handle(), 13, 10, 10, 60, 20);
    ASSERT_NE(label, nullptr);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    struct Pixel {
        int x, y;
        COLORREF color;
    };
    const auto check = [&](const char* what, std::vector<Pixel> expected) {
        const Rendered r = Render(label->Handle());
        for (const Pixel& p : expected) {
            EXPECT_EQ(FromDib(r.pixels[static_cast<size_t>(p.y * r.width + p.x)]), p.color)
                << what << " at " << p.x << "," << p.y;
        }
    };
    check("initial", {{0, 0, shadow}, {59, 19, light}, {1, 1, face}, {30, 18, face}});
    label->SetDown(false);  // its current value: the bevels stay
    check("unchanged", {{0, 0, shadow}});
    label->SetDown(true);
    label->SetDown(false);
    check("raised", {{0, 0, light}, {59, 19, shadow}});
    label->SetBevelOuter(TBevelLabel::Bevel::Lowered);
    label->SetBevelInner(TBevelLabel::Bevel::None);
    label->SetBorderWidth(2);
    label->SetColor(TBevelLabel::kWindowColor);
    check("outer, border, window colour", {{0, 0, shadow}, {1, 1, window}, {3, 3, window}, {58, 18, window}});
    label->SetDown(true);
    // The border lies outside the inner bevel.
    check("down", {{0, 0, window}, {2, 2, shadow}, {57, 17, light}, {3, 3, window}});
}

TEST(BevelLabelTest, TextKeepsItsAmpersandAndItsOffset) {
    ControlHost host;
    TBevelLabel* label = TBevelLabel::Create(host.Handle(), 13, 10, 10, 120, 20);
    label->SetColor(TBevelLabel::kWindowColor);
    label->SetTextOffset(4);
    label->SetLayout(TBevelLabel::Layout::Center);
    label->SetCaption("&&&&");
    const Rendered r = Render(label->Handle());
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    int firstInk = -1;
    for (int x = 1; x < 119 && firstInk < 0; ++x) {
        for (int y = 1; y < 19; ++y) {
            if (FromDib(r.pixels[static_cast<size_t>(y * r.width + x)]) != window) {
                firstInk = x;
                break;
            }
        }
    }
    EXPECT_GE(firstInk, 5);  // frame 1, offset 4
    EXPECT_LT(firstInk, 12);
    EXPECT_EQ(label->Caption(), "&&&&");
}

TEST(ControlsScreenshot, EachControl) {
    ControlHost host;
    SetWindowTextW(host.Handle(), L"コントロール");
    TEditButton* field = TEditButton::Create(host.Handle(), 1, 10, 10, 180, 22);
    field->SetGlyph(CopyGlyph(), 2);
    field->SetFlatButton(true);
    field->SetText("ABCD-1234");
    TEditButton* masked = TEditButton::Create(host.Handle(), 2, 10, 40, 180, 22);
    masked->SetGlyph(CopyGlyph(), 2);
    masked->SetPasswordChar(L'*');
    masked->SetText("secret");
    TValueEdit::Create(host.Handle(), 3, 10, 70, 22)->SetText("1980");
    TValueSpin::Create(host.Handle(), 4, 60, 70, 22)->SetValue(12);
    TBevelLabel* label = TBevelLabel::Create(host.Handle(), 5, 10, 100, 180, 22);
    label->SetColor(TBevelLabel::kWindowColor);
    label->SetTextOffset(4);
    label->SetLayout(TBevelLabel::Layout::Center);
    label->SetCaption("a&b パスワード");
    ShowWindow(host.Handle(), SW_SHOW);
    wintest::SaveScreenshot(host.Handle(), "controls");
}

}  // namespace
}  // namespace torvane
