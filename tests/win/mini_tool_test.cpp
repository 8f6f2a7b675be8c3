// The mini tool window with the real main window, in-process on the shared window fixture.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "autoinput/macro.h"
#include "tests/win/child_app.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/modal_helper.h"
#include "tests/win/screenshot.h"

namespace torvane::wintest {
namespace {

constexpr UINT kKeyTargetReset = WM_APP + 1;
constexpr int kFirstBoxId = 101;
// The pause also gives a busy target the time to move its focus on a Tab before the next field.
constexpr char kFastKeys[] = "KEYDELAY=5\r\nKEYPAUSE=300\r\nADDENTER=0\r\n";

class MiniToolTest : public MainWindowTest {
protected:
    TMiniTool& Mini() { return *form_->MiniTool(); }
    static std::vector<std::string> Lines(HWND list) {
        std::vector<std::string> lines;
        const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[256] = {};
            SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            lines.push_back(win::ToSjis(text));
        }
        return lines;
    }
    // A click on a line, as the list box reports it.
    void Pick(HWND list, int index, UINT code = LBN_SELCHANGE) {
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(Mini().Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), code), reinterpret_cast<LPARAM>(list));
    }
    void Press(int button) { SendMessageW(Mini().Handle(), WM_COMMAND, static_cast<WPARAM>(button), 0); }
    std::string Caption() { return win::ToSjis(TextOf(Mini().Handle())); }
    bool Checked() { return form_->Actions()[kCmdDispMiniWin].Checked(); }
};

TEST_F(MiniToolTest, MirrorsTheItemListAndShowsThePickedRecordsMacros) {
    TPassItem plain = Record("Soft", "a-plain", "会社");
    plain.URL = "http://example.com/";
    TPassItem own = Record("Soft", "b-own");
    own.Mail = "a@example.com";
    own.Macro = WriteCommaList({"first own=%U\\t%P"});
    WriteData({plain, own, Record("Other", "c")});
    Start();
    Select(Node("Soft"));
    EXPECT_EQ("ミニパネル - Soft", Caption());
    EXPECT_EQ((std::vector<std::string>{"a-plain", "b-own"}), Lines(Mini().TitleList()));

    std::vector<std::string> defaults;
    for (const std::string& entry : ReadCommaList(DefaultMacros)) defaults.push_back(MacroName(entry));
    Pick(Mini().TitleList(), 0);
    EXPECT_EQ(defaults, Lines(Mini().MacroList()));
    EXPECT_TRUE(Mini().ButtonEnabled(TMiniTool::kURLBtn));
    EXPECT_FALSE(Mini().ButtonEnabled(TMiniTool::kMailBtn));
    EXPECT_FALSE(Mini().ButtonEnabled(TMiniTool::kPostBtn));

    Pick(Mini().TitleList(), 1);
    ASSERT_EQ(6u, Lines(Mini().MacroList()).size());
    EXPECT_EQ("first own", Lines(Mini().MacroList())[5]);
    EXPECT_FALSE(Mini().ButtonEnabled(TMiniTool::kURLBtn));
    EXPECT_TRUE(Mini().ButtonEnabled(TMiniTool::kMailBtn));
    Pick(Mini().MacroList(), 5);
    EXPECT_TRUE(Mini().ButtonEnabled(TMiniTool::kPostBtn));
    EXPECT_EQ("マクロ： %U\\t%P", win::ToSjis(TextOf(Mini().MacroVal())));

    // A change of the record's macros shows after the next title click only.
    Find("b-own")->Macro = WriteCommaList({"renamed=%S", "added=%K"});
    EXPECT_EQ("first own", Lines(Mini().MacroList())[5]);
    EXPECT_EQ("マクロ： %U\\t%P", win::ToSjis(TextOf(Mini().MacroVal())));
    Pick(Mini().TitleList(), 1);
    EXPECT_EQ(7u, Lines(Mini().MacroList()).size());

    // A refill empties both lists; a deleted record leaves the title list.
    Select(Node("Other"));
    EXPECT_EQ((std::vector<std::string>{"c"}), Lines(Mini().TitleList()));
    EXPECT_TRUE(Lines(Mini().MacroList()).empty());
    EXPECT_FALSE(Mini().ButtonEnabled(TMiniTool::kPostBtn));
    {
        ModalAnswerer yes({Reply::PressText(L"確認", L"はい(&Y)")});
        form_->P_DeleteClick();
    }
    EXPECT_TRUE(Lines(Mini().TitleList()).empty());
    ShowPage(1);
    form_->Companies().Select(0);
    EXPECT_EQ("ミニパネル - " + form_->Companies().RowText(0), Caption());
}

// Made when first shown, the window shows what one made at start would: the last fill's caption
// and titles, with the records added and deleted meanwhile.
TEST_F(MiniToolTest, MadeLaterItShowsWhatOneMadeAtStartShows) {
    const auto run = [this](bool madeAtStart) {
        TearDown();
        WriteData({Record("Soft", "a"), Record("Soft", "b"), Record("Other", "c")});
        Start();
        if (madeAtStart) Mini();
        Select(Node("Soft"));
        {
            ModalAnswerer yes({Reply::PressText(L"確認", L"はい(&Y)")});
            form_->P_DeleteClick();
        }
        form_->P_NewClick();
        return std::make_pair(Caption(), Lines(Mini().TitleList()));
    };
    const auto atStart = run(true);
    EXPECT_EQ(atStart.first, "ミニパネル - Soft");
    EXPECT_EQ(atStart.second.size(), 2u);
    EXPECT_EQ(run(false), atStart);
}

TEST_F(MiniToolTest, ClosingHidesItAndTurnsTheMenuCheckOff) {
    WriteData({Record("Soft", "a")});
    Start();
    EXPECT_FALSE(IsWindowVisible(Mini().Handle()));
    for (const bool byButton : {false, true}) {
        SendMessageW(Main(), WM_COMMAND, kCmdDispMiniWin, 0);
        EXPECT_TRUE(Checked());
        EXPECT_TRUE(IsWindowVisible(Mini().Handle()));
        if (byButton) {
            Press(TMiniTool::kCloseBtn);
        } else {
            SendMessageW(Mini().Handle(), WM_CLOSE, 0, 0);
        }
        EXPECT_FALSE(Checked()) << byButton;
        EXPECT_FALSE(IsWindowVisible(Mini().Handle())) << byButton;
        EXPECT_NE(nullptr, Mini().Handle());
    }
}

TEST_F(MiniToolTest, DispMainFollowsTheMainWindowBothWays) {
    WriteData({Record("Soft", "a")});
    Start();
    EXPECT_TRUE(Mini().ButtonDown(TMiniTool::kDispMain));
    form_->HideBtnClick();
    EXPECT_FALSE(Mini().ButtonDown(TMiniTool::kDispMain));
    SendMessageW(Mini().ToolBar1(), TB_CHECKBUTTON, TMiniTool::kDispMain, TRUE);
    Press(TMiniTool::kDispMain);
    EXPECT_TRUE(IsWindowVisible(Main()));
    SendMessageW(Mini().ToolBar1(), TB_CHECKBUTTON, TMiniTool::kDispMain, FALSE);
    Press(TMiniTool::kDispMain);
    EXPECT_FALSE(IsWindowVisible(Main()));
    // Hidden main window, mini window on: the tray click brings the mini window forward.
    SendMessageW(Main(), WM_COMMAND, kCmdDispMiniWin, 0);
    form_->TrayMessage(WM_LBUTTONDOWN);
    EXPECT_FALSE(IsWindowVisible(Main()));
    Press(TMiniTool::kExitBtn);
    EXPECT_EQ(1, closedCount_);
}

// Runs from the mini window type into the window below the application window: our key target.
// The main window is out of the way during the run and comes back only if it was shown.
TEST_F(MiniToolTest, RunsTypeIntoTheWindowBelowWhateverTheMainWindowShows) {
    TPassItem record = Record("Soft", "login");
    record.UserID = "山田\\taro";
    record.Passwd = "pass";
    WriteData({record}, std::string(kFastKeys) + "WINDOWHIDE=0\r\n");
    ChildApp target;
    ASSERT_TRUE(target.Start(L"\"" + ExeDirectory() + L"keytarget.exe\"", L"TorvaneKeyTarget"));
    Start();
    Select(Node("Soft"));
    SendMessageW(Main(), WM_COMMAND, kCmdDispMiniWin, 0);
    Pick(Mini().TitleList(), 0);
    Pick(Mini().MacroList(), 0);
    const HWND box0 = GetDlgItem(target.Window(), kFirstBoxId);
    const HWND box1 = GetDlgItem(target.Window(), kFirstBoxId + 1);
    struct Run {
        bool mainShown;
        bool doubleClick;
    };
    for (const Run run : {Run{true, false}, Run{true, true}, Run{false, false}}) {
        SendMessageTimeoutW(target.Window(), kKeyTargetReset, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
        SetForegroundWindow(target.Window());
        PumpMessages(50);
        if (run.mainShown) {
            form_->ShowMenuClick();
            StackOnTop({Main(), app_->Handle(), target.Window()});
        } else {
            form_->HideBtnClick();
            StackOnTop({app_->Handle(), target.Window()});
        }
        PumpMessages(50);
        if (run.doubleClick) {
            Pick(Mini().MacroList(), 0, LBN_DBLCLK);
        } else {
            Press(TMiniTool::kPostBtn);
        }
        EXPECT_EQ(record.UserID, TextWhenSettled(box0, record.UserID)) << run.mainShown << run.doubleClick;
        EXPECT_EQ("pass", TextWhenSettled(box1, "pass"));
        EXPECT_EQ(run.mainShown, IsWindowVisible(Main()) != FALSE);
        EXPECT_TRUE(IsWindowVisible(Mini().Handle()));
    }
}

// The password macro: a Tab key could still be in notepad's queue behind later characters.
TEST_F(MiniToolTest, RunsIntoNotepadWithJapaneseTextAndABackslash) {
    TPassItem record = Record("Soft", "メモ帳");
    record.Passwd = "山田\\パス日本";
    WriteData({record}, kFastKeys);
    ChildApp notepad;
    ASSERT_TRUE(notepad.Start(L"notepad.exe", L"Notepad"));
    const HWND edit = FindWindowExW(notepad.Window(), nullptr, L"Edit", nullptr);
    Start();
    Select(Node("Soft"));
    form_->HideBtnClick();
    SetForegroundWindow(notepad.Window());
    StackOnTop({app_->Handle(), notepad.Window()});
    PumpMessages(200);
    Pick(Mini().TitleList(), 0);
    Pick(Mini().MacroList(), 1);
    Press(TMiniTool::kPostBtn);
    EXPECT_EQ(record.Passwd, TextWhenSettled(edit, record.Passwd));
}

// Its controls together fill the client area inside a 2-pixel border, no more and no less.
TEST_F(MiniToolTest, ControlsFillTheInsideOfItsBorder) {
    TPassItem record = Record("ソフトウェア", "オフィス統合パック");
    record.URL = "http://example.com/";
    WriteData({record, Record("ソフトウェア", "ウイルス対策 2026")});
    Start();
    Select(Node("ソフトウェア"));
    SendMessageW(Main(), WM_COMMAND, kCmdDispMiniWin, 0);
    Pick(Mini().TitleList(), 0);
    Pick(Mini().MacroList(), 0);
    PumpMessages(100);
    RECT client{}, filled{};
    GetClientRect(Mini().Handle(), &client);
    for (HWND child = GetWindow(Mini().Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, Mini().Handle(), reinterpret_cast<POINT*>(&rect), 2);
        UnionRect(&filled, &filled, &rect);
    }
    EXPECT_EQ(filled.left, 2);
    EXPECT_EQ(filled.top, 2);
    EXPECT_EQ(filled.right, client.right - 2);
    EXPECT_EQ(filled.bottom, client.bottom - 2);
    Mini().SetCommandsEnabled(true, true);  // as an installed program shows it, with its help file
    SaveScreenshot(Mini().Handle(), "mini_tool");
}

}  // namespace
}  // namespace torvane::wintest
