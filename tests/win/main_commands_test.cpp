// The main window's record commands and macro menu, in-process on the shared window fixture.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "autoinput/macro.h"
#include "store/date.h"
#include "tests/win/child_app.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/modal_helper.h"

namespace torvane::wintest {
namespace {

constexpr UINT kKeyTargetReset = WM_APP + 1;
constexpr int kFirstBoxId = 101;

class MainCommandsTest : public MainWindowTest {
protected:
    // The records the item list shows, by title, with their path and company.
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (int row = 0; row < form_->Items().Count(); ++row) {
            const TPassItem* item = form_->Items().RowRecord(row);
            rows.push_back(item->Path + "|" + item->Title + "|" + item->Company);
        }
        return rows;
    }
    std::string SelectedTitle() {
        const TPassItem* item = form_->Items().Selected();
        return item ? item->Title : "(none)";
    }
    void Command(int id) { SendMessageW(Main(), WM_COMMAND, static_cast<WPARAM>(id), 0); }
    std::vector<std::wstring> MacroMenu() {
        std::vector<std::wstring> captions;
        const HMENU menu = form_->Menus().MacroPopup;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[128] = {};
            GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
            const bool checked = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED;
            captions.push_back(std::wstring(checked ? L"*" : L"") + text);
        }
        return captions;
    }
    void SelectCompany(const std::string& name) {
        for (int row = 0; row < form_->Companies().Count(); ++row) {
            if (form_->Companies().RowText(row) == name) form_->Companies().Select(row);
        }
        ASSERT_EQ(name, form_->Companies().SelectedText());
    }
};

TEST_F(MainCommandsTest, AddNumbersTitlesFromTheRowCountAndNeverOverwrites) {
    // New records have no user name or password: these two share their key but for the title.
    TPassItem first = Record("C", "Items0");
    TPassItem kept = Record("C", "Items2");
    first.UserID = kept.UserID = "";
    kept.Serial = "SERIAL-2";
    WriteData({Record("A\\B", "deep"), first, kept});
    Start();
    const TDate today = Today();

    Select(Node("A"));
    Command(kCmdAddNew);
    Command(kCmdAddNew);
    EXPECT_EQ((std::vector<std::string>{"A|Items0|", "A|Items1|"}), Rows());
    EXPECT_EQ("Items1", SelectedTitle());
    EXPECT_EQ(form_->Items().Selected(), form_->PanelItem());
    const TPassItem* added = form_->Items().Selected();
    EXPECT_EQ(today, added->FirstDate);
    EXPECT_EQ(today, added->LimitDate);
    EXPECT_EQ(0, added->Flags);
    EXPECT_TRUE(List().Modified);

    // Two rows, and Items2 is taken: the new record must not replace it.
    Select(Node("C"));
    form_->P_NewClick();
    form_->P_NewClick();
    EXPECT_EQ((std::vector<std::string>{"C|Items0|", "C|Items2|", "C|Items3|", "C|Items4|"}), Rows());
    EXPECT_EQ("SERIAL-2", Find("Items2")->Serial);
    EXPECT_EQ(7, List().Count());
}

TEST_F(MainCommandsTest, AddOnTheCompanyPageTakesTheCompanyAndLiesAtTheTop) {
    WriteData({Record("Soft", "a", "会社"), Record("Soft", "b")});
    Start();
    ShowPage(1);
    SelectCompany("会社");
    form_->P_NewClick();
    SelectCompany("(未登録)");
    form_->P_NewClick();
    ShowPage(0);
    Select(Tree().Top());
    EXPECT_EQ((std::vector<std::string>{"|Items1|会社", "|Items1|"}), Rows());
}

TEST_F(MainCommandsTest, DeleteAsksFirstAndRemovesOnlyOnYes) {
    WriteData({Record("Soft", "one"), Record("Soft", "two")});
    Start();
    Select(Node("Soft"));
    form_->Items().Select(1);
    {
        ModalAnswerer answerer({Reply::PressText(L"確認", L"いいえ(&N)")});
        Command(kCmdDelAction);
        ASSERT_TRUE(answerer.Done());
        EXPECT_EQ(L"two を削除します！\r\nよろしいですか？", answerer.Seen(0).text);
        EXPECT_EQ((std::vector<std::wstring>{L"はい(&Y)", L"いいえ(&N)"}), answerer.Seen(0).buttons);
    }
    EXPECT_EQ(2, List().Count());
    EXPECT_FALSE(List().Modified);
    {
        ModalAnswerer answerer({Reply::PressText(L"確認", L"はい(&Y)")});
        form_->P_DeleteClick();
        EXPECT_TRUE(answerer.Done());
    }
    EXPECT_EQ((std::vector<std::string>{"Soft|one|"}), Rows());
    EXPECT_EQ(1, List().Count());
    EXPECT_TRUE(List().Modified);
    EXPECT_EQ(nullptr, form_->PanelItem());
    EXPECT_FALSE(Enabled(kCmdDelAction));
}

TEST_F(MainCommandsTest, MacroMenuFollowsTheSelectedRecord) {
    TPassItem web = Record("Soft", "a-web");
    web.URL = "http://example.com/";
    web.Macro = WriteCommaList({"my login=%U\\t%P", "second=%S"});
    TPassItem mail = Record("Soft", "b-mail");
    mail.Mail = "a@example.com";
    WriteData({web, mail});
    Start();
    Select(Node("Soft"));

    std::vector<std::wstring> captions;
    for (const std::string& entry : ReadCommaList(DefaultMacros)) captions.push_back(win::ToWide(MacroName(entry)));
    captions[0] = L"*" + captions[0];
    std::vector<std::wstring> withOwn = captions;
    withOwn.insert(withOwn.end(), {L"my login", L"second"});
    EXPECT_EQ(withOwn, MacroMenu());
    EXPECT_TRUE(Enabled(kCmdSendTo));
    EXPECT_TRUE(Enabled(kCmdOpenWWW));
    EXPECT_FALSE(Enabled(kCmdOpenMail));
    EXPECT_TRUE(Enabled(kCmdDelAction));

    form_->Items().Select(1);
    EXPECT_EQ(captions, MacroMenu());
    EXPECT_FALSE(Enabled(kCmdOpenWWW));
    EXPECT_TRUE(Enabled(kCmdOpenMail));

    form_->Items().Select(-1);
    EXPECT_TRUE(MacroMenu().empty());
    for (int id : {kCmdSendTo, kCmdOpenWWW, kCmdOpenMail, kCmdDelAction}) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(0, form_->SendToMacro());
}

// Every menu entry and button names an action, and every enabled one has a handler: at start,
// with a record selected, and on the company page.
TEST_F(MainCommandsTest, NoEnabledCommandIsADeadEnd) {
    TPassItem full = Record("Soft", "full", "会社");
    full.URL = "http://example.com/";
    full.Mail = "a@example.com";
    WriteData({full});
    Start();
    std::set<int> ids;
    std::vector<HMENU> menus = {form_->Menus().PopupMenu2, form_->Menus().TrayPopup};
    for (int i = 0; i < form_->MenuBar().Count(); ++i) menus.push_back(form_->MenuBar().Menu(i));
    for (HMENU menu : menus) {
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            const UINT id = GetMenuItemID(menu, i);
            if (id != 0 && id != static_cast<UINT>(-1)) ids.insert(static_cast<int>(id));
        }
    }
    const int buttons = static_cast<int>(SendMessageW(C().ToolBar1, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < buttons; ++i) {
        TBBUTTON button{};
        SendMessageW(C().ToolBar1, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
        if (!(button.fsStyle & BTNS_SEP)) ids.insert(button.idCommand);
    }
    EXPECT_GE(ids.size(), 20u);
    auto check = [&](const char* when) {
        for (int id : ids) {
            const win::Action* action = form_->Actions().Find(id);
            ASSERT_NE(nullptr, action) << id;
            if (action->Enabled()) {
                EXPECT_TRUE(action->HasHandler()) << when << ": " << id;
            }
        }
    };
    check("start");
    Select(Node("Soft"));
    ASSERT_EQ("full", SelectedTitle());
    for (int id : {kCmdAddNew, kCmdDelAction, kCmdOpenWWW, kCmdOpenMail, kCmdSendTo, kCmdSetupAction}) {
        EXPECT_TRUE(Enabled(id)) << id;
    }
    check("record");
    ShowPage(1);
    SelectCompany("会社");
    check("company");
}

TEST_F(MainCommandsTest, SetupRedisplaysTheSelection) {
    WriteData({Record("Soft", "a"), Record("Soft", "b")});
    Start();
    Select(Node("Soft"));
    form_->Items().Select(1);
    TPassItem& b = *Find("b");
    b.Title = "b2";
    ModalAnswerer answerer({Reply::Press(L"オプション設定", IDCANCEL)});
    Command(kCmdSetupAction);
    EXPECT_TRUE(answerer.Done());
    // The folder's rows are filled again, from the first.
    EXPECT_EQ((std::vector<std::string>{"Soft|a|", "Soft|b2|"}), Rows());
    EXPECT_EQ("a", SelectedTitle());
}

// A macro run from the main window types into the window the user worked in before: our key
// target, directly below the application window.
TEST_F(MainCommandsTest, MacroRunTypesIntoTheWindowBelowAndHidesAsSet) {
    TPassItem record = Record("Soft", "login");
    record.UserID = "山田\\taro";
    record.Passwd = "pass";
    record.Macro = WriteCommaList({"with blank=%U\\t%P"});
    ChildApp target;
    ASSERT_TRUE(target.Start(L"\"" + ExeDirectory() + L"keytarget.exe\"", L"TorvaneKeyTarget"));
    for (const bool hide : {false, true}) {
        SendMessageTimeoutW(target.Window(), kKeyTargetReset, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
        WriteData({record}, std::string("KEYDELAY=5\r\nKEYPAUSE=300\r\nADDENTER=0\r\nWINDOWHIDE=") + (hide ? "1" : "0") +
                                "\r\n");
        Start();
        Select(Node("Soft"));
        SetForegroundWindow(target.Window());
        PumpMessages(50);
        form_->ShowMenuClick();
        StackOnTop({Main(), app_->Handle(), target.Window()});
        PumpMessages(50);
        form_->MacroExecute(kDefaultMacroCount);
        EXPECT_EQ(kDefaultMacroCount, form_->SendToMacro());
        const HWND box0 = GetDlgItem(target.Window(), kFirstBoxId);
        const HWND box1 = GetDlgItem(target.Window(), kFirstBoxId + 1);
        EXPECT_EQ(record.UserID, TextWhenSettled(box0, record.UserID)) << hide;
        EXPECT_EQ("pass", TextWhenSettled(box1, "pass")) << hide;
        EXPECT_EQ(!hide, IsWindowVisible(Main()) != FALSE) << hide;
        CloseAndEndRun();
        form_.reset();
        app_.reset();
    }
}

}  // namespace
}  // namespace torvane::wintest
