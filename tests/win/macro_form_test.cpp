// The macro dialog and the property panel's macro list in the real main window.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "autoinput/macro.h"
#include "autoinput/macro_form_win.h"
#include "autoinput/mini_tool_win.h"
#include "editor/prop_form_win.h"
#include "res/resource.h"
#include "autoinput/comma_list.h"
#include "tests/win/child_app.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/screenshot.h"
#include "tools/bevel_label_win.h"

namespace torvane {
namespace {

using wintest::ModalAnswerer;
using wintest::Reply;

constexpr wchar_t kCaption[] = L"マクロ定義";

Reply Fill(const std::wstring& name, const std::wstring& macro, int button = IDOK) {
    Reply reply = Reply::Press(kCaption, button);
    reply.setTexts = {{IDC_MACROFORM_NAME, name}, {IDC_MACROFORM_MACRO, macro}};
    return reply;
}

// Each label shows its whole caption in its own font.
void ExpectWholeLabels(HWND dialog) {
    for (const int id : {IDC_MACROFORM_NAMELABEL, IDC_MACROFORM_MACROLABEL}) {
        const HWND label = GetDlgItem(dialog, id);
        const HDC dc = GetDC(label);
        const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
        const std::wstring text = wintest::TextOf(label);
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(label, dc);
        RECT rect{};
        GetClientRect(label, &rect);
        EXPECT_LE(size.cx, rect.right) << id;
    }
}

TEST(MacroFormTest, OkNeedsBothTextsAndAnEqualsSignInTheNameIsRefused) {
    const struct {
        const wchar_t* name;
        const wchar_t* macro;
        INT_PTR result;
    } cases[] = {{L" a b ", L"  ", IDOK}, {L"", L"%U", IDCANCEL}, {L"login", L"", IDCANCEL}};
    for (const auto& c : cases) {
        TMacroForm form;
        ModalAnswerer answerer({Fill(c.name, c.macro).Then(ExpectWholeLabels)});
        EXPECT_EQ(form.ShowModal(nullptr), c.result) << win::ToSjis(c.name);
        if (c.result == IDOK) {
            EXPECT_EQ(form.Name, win::ToSjis(c.name));
            EXPECT_EQ(form.Macro, win::ToSjis(c.macro));
        }
    }

    // Refused, the dialog stays with the whole name selected: typing replaces it, and the mended
    // name is what comes out.
    TMacroForm form;
    ModalAnswerer answerer({Fill(L"a=b", L"%U"), Reply::Press(L"警告", IDOK),
                            Reply::Press(kCaption, IDOK).Type(IDC_MACROFORM_NAME, L"a-b")});
    EXPECT_EQ(form.ShowModal(nullptr), IDOK);
    EXPECT_TRUE(answerer.Done());
    EXPECT_EQ(answerer.Seen(1).text, win::ToWide(kMacroNameEqualsMessage));
    EXPECT_EQ(form.Name, "a-b");
}

class MacroListTest : public wintest::MainWindowTest {
protected:
    void SetUp() override { Begin({wintest::Record("", "alpha"), wintest::Record("", "beta")}); }
    // A run of the main window on these records, with its panel on the macro page.
    void Begin(const std::vector<TPassItem>& records, const std::string& settings = {}) {
        if (form_) {
            TearDown();
            panel = nullptr;
        }
        WriteData(records, "PROPVIEW=1\r\n" + settings);
        Start();
        panel = form_->PropForm();
        ASSERT_NE(panel, nullptr);
        panel->ShowPage(3);
    }
    void SelectRow(int row) {
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = state.stateMask;
        SendMessageW(C().ListView1, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    }
    void Pick(int index) {
        SendMessageW(panel->Controls().Macro, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        panel->MacroClick();
    }
    // Opens the list's context menu as a right click does; once it shows, whileOpen runs with
    // the menu window and must close it or choose from it.
    void WithMacroMenu(std::function<void(HWND)> whileOpen) {
        static std::function<void(HWND)> pending;
        pending = std::move(whileOpen);
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
            const HWND menu = FindWindowW(L"#32768", nullptr);
            if (!pending || !menu || !IsWindowVisible(menu)) return;
            const auto run = std::move(pending);
            pending = nullptr;
            run(menu);
        });
        POINT at{20, 10};
        ClientToScreen(panel->Controls().Macro, &at);
        SetCursorPos(at.x, at.y);  // where the right click is, away from any tool tip
        SendMessageW(panel->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(panel->Controls().Macro),
                     MAKELPARAM(at.x, at.y));
        KillTimer(nullptr, timer);
        pending = nullptr;
    }
    TPropForm* panel = nullptr;
};

// Through the dialog into the record, a real save (plain and protected) and a load of the file:
// what the comma list must quote comes back as typed; an empty name or action stores nothing.
TEST_F(MacroListTest, TypedMacrosComeBackExactlyFromTheSavedFile) {
    const struct {
        const wchar_t* name;
        const wchar_t* macro;
        bool stored;
    } cases[] = {
        {L" a b ", L"  ", true},  // blanks count as filled and are kept at both ends
        {L"a, \"b\"", L"%U\\t, \"%P\"", true},
        {L"\"", L",", true},
        {L"\"\"", L"\" \"", true},
        {L"ソフト 表示", L"x=y, \"=\"", true},  // trail bytes 0x5C; "=" belongs to the template
        {L"", L"%U", false},
        {L"empty", L"", false},
    };
    for (const char* kind : {"csv", "tvd"}) {
        Begin({wintest::Record("", "alpha")});
        SelectRow(0);
        std::vector<std::string> expected;
        for (const auto& c : cases) {
            const bool shoot = &c == &cases[1];
            ModalAnswerer answerer({Fill(c.name, c.macro).Then([this, shoot](HWND dialog) {
                if (!shoot) return;
                // At the corner of the panel's page control.
                POINT corner{0, 0};
                ClientToScreen(panel->Controls().PageControl1, &corner);
                RECT rect{};
                GetWindowRect(dialog, &rect);
                EXPECT_EQ(rect.left, corner.x);
                EXPECT_EQ(rect.top, corner.y);
                wintest::SaveScreenshot(dialog, "macro_form");
            })});
            panel->N_NewClick();
            EXPECT_TRUE(answerer.Done());
            if (c.stored) expected.push_back(win::ToSjis(c.name) + "=" + win::ToSjis(c.macro));
        }
        const std::string file = folder_.File(std::string("saved.") + kind);
        params_->Password = "secret";  // held, as after a start on a protected file: no prompt
        ModalAnswerer unexpected({}, 500);  // a prompt would fail the test, not hang it
        ASSERT_TRUE(form_->SaveDataFile(file));
        if (kind == std::string("tvd")) {
            EXPECT_EQ(wintest::ReadBytes(file).find("alpha"), std::string::npos);
        }
        form_->LoadDataFile();
        EXPECT_TRUE(unexpected.Unexpected().empty()) << kind;
        const TPassItem* reloaded = Find("alpha");
        ASSERT_NE(reloaded, nullptr);
        EXPECT_EQ(ReadCommaList(reloaded->Macro), expected) << kind;
    }
}

// A template of any length shows cut to the preview's length, in the panel and the mini window.
TEST_F(MacroListTest, LongTemplatesShowCutInThePanelAndTheMiniWindow) {
    TPassItem record = wintest::Record("", "alpha");
    const std::string longText(100000, 'x');
    record.Macro = "big=" + longText;
    Begin({record});
    SelectRow(0);
    Pick(0);
    const std::string shown = "マクロ： " + PreviewText(longText);
    ASSERT_LT(shown.size(), 10000u);
    EXPECT_EQ(win::GetWindowTextSjis(panel->Controls().MacroVal->Handle()), shown);
    TMiniTool& mini = *form_->MiniTool();
    SendMessageW(mini.TitleList(), LB_SETCURSEL, 0, 0);
    mini.TitleListClick();
    SendMessageW(mini.MacroList(), LB_SETCURSEL, kDefaultMacroCount, 0);
    mini.MacroListClick();
    EXPECT_EQ(win::GetWindowTextSjis(mini.MacroVal()), shown);
}

// "マクロ実行" and a double click run the picked own macro as entry 5 + i of the main window's
// macro menu, into the window the user worked in before.
TEST_F(MacroListTest, RunsThePickedOwnMacroIntoTheWindowBelow) {
    TPassItem record = wintest::Record("", "alpha");
    record.Passwd = "pw1";
    record.Serial = "S-1";
    record.Macro = WriteCommaList({"first=%P\\t%U", "second=%S\\t%P"});
    Begin({record}, "KEYDELAY=5\r\nKEYPAUSE=300\r\nADDENTER=0\r\nWINDOWHIDE=0\r\n");
    SelectRow(0);
    wintest::ChildApp target;
    ASSERT_TRUE(target.Start(L"\"" + wintest::ExeDirectory() + L"keytarget.exe\"", L"TorvaneKeyTarget"));
    const HWND list = panel->Controls().Macro;
    const struct {
        bool menu;  // else a double click
        int row;
        const char* box0;
        const char* box1;
    } cases[] = {{true, 0, "pw1", "user-alpha"}, {false, 0, "pw1", "user-alpha"}, {false, 1, "S-1", "pw1"}};
    for (const auto& c : cases) {
        SendMessageTimeoutW(target.Window(), WM_APP + 1, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
        SetForegroundWindow(target.Window());
        wintest::PumpMessages(50);
        form_->ShowMenuClick();
        wintest::StackOnTop({Main(), app_->Handle(), target.Window()});
        wintest::PumpMessages(50);
        if (c.menu) {
            Pick(c.row);
            // The last item is "マクロ実行".
            WithMacroMenu([](HWND menu) {
                PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
                PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
            });
        } else {
            RECT item{};
            SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(c.row), reinterpret_cast<LPARAM>(&item));
            const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
            SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageW(list, WM_LBUTTONUP, 0, at);
            SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
            SendMessageW(list, WM_LBUTTONUP, 0, at);
        }
        EXPECT_EQ(form_->SendToMacro(), kDefaultMacroCount + c.row) << c.menu << c.row;
        const HWND box0 = GetDlgItem(target.Window(), 101);
        const HWND box1 = GetDlgItem(target.Window(), 102);
        EXPECT_EQ(wintest::TextWhenSettled(box0, c.box0), c.box0) << c.menu << c.row;
        EXPECT_EQ(wintest::TextWhenSettled(box1, c.box1), c.box1) << c.menu << c.row;
    }
}

TEST_F(MacroListTest, AddedMacrosReadBackExactlyAndStayAfterUndo) {
    SelectRow(0);
    TPassItem* record = panel->CurrentItem();
    const TDate lastDate = record->LastDate;
    {
        ModalAnswerer answerer({Fill(L"a, \"b\"", L"%U\\t, \"%P\"")});
        panel->N_NewClick();
        EXPECT_TRUE(answerer.Done());
    }
    const std::optional<TPassItem> reloaded = ParseLine(FormatLine(*record));
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(MacroEntry(reloaded->Macro, 0), "a, \"b\"=%U\\t, \"%P\"");
    EXPECT_EQ(record->LastDate, lastDate);
    EXPECT_TRUE(List().Modified);
    EXPECT_EQ(form_->MacroMenuItem(), record);
    EXPECT_EQ(GetMenuItemCount(form_->Menus().MacroPopup), kDefaultMacroCount + 1);

    Pick(0);
    EXPECT_EQ(win::GetWindowTextSjis(panel->Controls().MacroVal->Handle()), "マクロ： %U\\t, \"%P\"");
    panel->UndoBtnClick();
    EXPECT_EQ(MacroEntry(record->Macro, 0), "a, \"b\"=%U\\t, \"%P\"");
}

TEST_F(MacroListTest, DeleteAsksAndCopyPastesOntoAnotherRecord) {
    SelectRow(0);
    TPassItem* first = panel->CurrentItem();
    SetMacro(*first, -1, "login", "%U\\t%P");
    panel->SetItem(first);
    Pick(0);
    {
        ModalAnswerer answerer({Reply::PressText(L"確認", L"いいえ(&N)")});
        panel->N_DelClick();
        EXPECT_EQ(answerer.Seen(0).text, L"login を削除していいですか？\r\n内容: %U\\t%P");
    }
    EXPECT_EQ(MacroName(MacroEntry(first->Macro, 0)), "login");
    Pick(0);
    panel->N_CopyClick();

    SelectRow(1);
    TPassItem* second = panel->CurrentItem();
    ASSERT_NE(second, first);
    EXPECT_TRUE(panel->MacorEditPopup().paste);
    EXPECT_FALSE(panel->MacorEditPopup().edit);
    panel->N_PasteClick();
    panel->N_PasteClick();
    EXPECT_EQ(second->Macro, "login=%U\\t%P,login=%U\\t%P");
    wintest::SaveScreenshot(panel->Handle(), "prop_macros");
    Pick(0);
    WithMacroMenu([this](HWND) {
        wintest::SaveScreenshot(panel->Handle(), "prop_macro_menu");
        EndMenu();
    });

    Pick(1);
    {
        ModalAnswerer answerer({Reply::PressText(L"確認", L"はい(&Y)")});
        panel->N_DelClick();
    }
    EXPECT_EQ(second->Macro, "login=%U\\t%P");
    EXPECT_EQ(SendMessageW(panel->Controls().Macro, LB_GETCOUNT, 0, 0), 1);
}

}  // namespace
}  // namespace torvane
