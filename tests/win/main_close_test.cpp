// Closing the real main window while a load, a save or a question is open, and destroying it
// without a close: the close waits for the operation, and unsaved changes are never lost.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app_window_win.h"
#include "app/main_form_win.h"
#include "res/resource.h"
#include "settings/init_param.h"
#include "store/pass_item.h"
#include "store/pass_list.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/modal_helper.h"
#include "tests/win/program_folder.h"
#include "win/platform_win.h"
#include "win/prompts_win.h"

namespace torvane {
namespace {

using wintest::ModalAnswerer;
using wintest::Reply;

constexpr wchar_t kPasswordCaption[] = L"パスワードを入力してください";

TPassItem Record(const std::string& path, const std::string& title) {
    TPassItem item;
    item.Path = path;
    item.Title = title;
    item.UserID = "user";
    item.FirstDate = item.LastDate = item.LimitDate = 45000;
    return item;
}

std::string DataLines(const std::vector<TPassItem>& records) {
    std::string text;
    for (const TPassItem& item : records) text += FormatLine(item) + "\r\n";
    return text;
}

// The titles a protected file holds under a password, in file order; empty when it does not
// open with it.
std::vector<std::string> ProtectedTitles(const std::string& path, const std::string& password) {
    win::WinPrompts prompts;
    win::LocaleCollator collator;
    win::WinFileOps fileOps;
    TPassList list(prompts, collator, fileOps);
    list.Encrypted = true;
    list.Password = password;
    list.LoadFromFile(path);
    std::vector<std::string> titles;
    for (int i = 0; i < list.Count(); ++i) titles.push_back(list.Item(i).Title);
    return titles;
}

void WriteProtected(const std::string& path, const std::string& password, const std::vector<TPassItem>& records) {
    win::WinPrompts prompts;
    win::LocaleCollator collator;
    win::WinFileOps fileOps;
    TPassList list(prompts, collator, fileOps);
    list.Encrypted = true;
    list.Password = password;
    for (const TPassItem& item : records) list.AddItem(item);
    ASSERT_TRUE(list.SaveToFile(path));
}

Reply Password(const std::wstring& text) {
    Reply reply = Reply::Press(kPasswordCaption, IDOK);
    reply.setTexts = {{IDC_PASSFORM_PASSWD, text}};
    return reply;
}

// A new password is typed a second time.
Reply Confirmation(const std::wstring& text) {
    Reply reply = Reply::Press(L"確認のためもう一度入力してください", IDOK);
    reply.setTexts = {{IDC_PASSFORM_PASSWD, text}};
    return reply;
}

class MainCloseTest : public wintest::MainWindowTest {
protected:
    // The window as a user's request reaches it while a prompt's own loop runs.
    void SendCommand(int command) { SendMessageW(form_->Handle(), WM_COMMAND, static_cast<WPARAM>(command), 0); }

    // The window still stands, with what the running operation works on.
    void ExpectStillOpen() {
        EXPECT_NE(nullptr, form_->Handle());
        EXPECT_NE(nullptr, form_->PassList());
        EXPECT_NE(nullptr, form_->TrayIcon());
        EXPECT_EQ(0, closedCount_);
    }

    void ExpectClosedOnce() {
        EXPECT_EQ(1, closedCount_);
        EXPECT_EQ(nullptr, form_->Handle());
        EXPECT_EQ(nullptr, form_->PassList());
        EXPECT_EQ(nullptr, form_->TrayIcon());
    }
};

// The start-up prompt: the tray's "終了" during the warning, the close box, the application's
// task-bar close and other tray commands during the password dialog.
TEST_F(MainCloseTest, CloseDuringTheStartUpPasswordPromptWaitsForTheLoad) {
    const std::string data = folder_.File("secret.tvd");
    WriteProtected(data, "pass1", {Record("Soft", "s1"), Record("Web", "w1")});
    WriteSettings("LASTOPEN=" + data + "\r\nLASTNODE=Soft\r\n");
    ModalAnswerer answerer({Reply::Press(L"警告", IDOK).Then([this](HWND) {
                                SendCommand(kCmdTrayExit);
                                ExpectStillOpen();
                            }),
                            Password(L"pass1").Then([this](HWND) {
                                SendMessageW(form_->Handle(), WM_CLOSE, 0, 0);
                                SendMessageW(app_->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
                                // Ignored: they would show a half-loaded window or load again.
                                SendCommand(kCmdShowMenu);
                                SendCommand(kCmdReload);
                                SendCommand(kCmdSave);
                                SendMessageW(form_->Handle(), kTrayMessage, kTrayIconId, WM_LBUTTONDOWN);
                                wintest::PumpMessages(50);
                                EXPECT_FALSE(IsWindowVisible(form_->Handle()));
                                ExpectStillOpen();
                            })});
    Start();
    EXPECT_TRUE(answerer.Done());
    EXPECT_TRUE(answerer.Unexpected().empty());
    ExpectClosedOnce();
    // The load ran to its end (password held, tree built, node selected), then the close
    // sequence recorded it.
    EXPECT_EQ("pass1", params_->Password);
    EXPECT_EQ("Soft", params_->LastNode);
    EXPECT_EQ(data, params_->LastOpen);
    EXPECT_FALSE(IsWindowVisible(app_->Handle()));
    params_.reset();
    EXPECT_EQ("Soft", Setting("LASTNODE"));
    EXPECT_EQ((std::vector<std::string>{"s1", "w1"}), ProtectedTitles(data, "pass1"));
}

TEST_F(MainCloseTest, SecondCloseDuringTheSaveAtCloseLetsTheSaveFinish) {
    const std::string data = folder_.File("new.tvd");
    WriteSettings("LASTOPEN=" + data + "\r\n");
    Start();
    form_->PassList()->AddItem(Record("Soft", "Hidden Title"));
    ModalAnswerer answerer({Reply::Press(L"警告", IDOK).Then([this](HWND) { form_->ExitBtnClick(); }),
                            Password(L"pass1").Then([this](HWND) {
                                SendCommand(kCmdTrayExit);
                                SendCommand(kCmdSave);
                                SendMessageW(app_->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
                                wintest::PumpMessages(50);
                                EXPECT_NE(nullptr, form_->Handle());
                            }),
                            Confirmation(L"pass1")});
    form_->ExitBtnClick();
    wintest::PumpUntil([this] { return closedCount_ > 0; });
    EXPECT_TRUE(answerer.Done());
    EXPECT_TRUE(answerer.Unexpected().empty());
    ExpectClosedOnce();
    EXPECT_EQ("pass1", params_->Password);
    EXPECT_EQ(std::string::npos, wintest::ReadBytes(data).find("Hidden Title"));
    EXPECT_EQ(std::vector<std::string>{"Hidden Title"}, ProtectedTitles(data, "pass1"));
}

TEST_F(MainCloseTest, CloseDuringTheFolderQuestionDeletesThenClosesAndSaves) {
    const std::string data = folder_.File("data.csv");
    wintest::WriteBytes(data, DataLines({Record("Soft", "s1"), Record("Web", "w1")}));
    WriteSettings("LASTOPEN=" + data + "\r\nLASTNODE=Soft\r\n");
    Start();
    ModalAnswerer answerer({Reply::Press(L"確認", IDYES).Then([this](HWND) {
        form_->ExitBtnClick();
        ExpectStillOpen();
    })});
    SendCommand(kCmdDelFolder);
    EXPECT_TRUE(answerer.Done());
    // The close is carried out from the message loop, after the command has finished.
    ExpectStillOpen();
    wintest::PumpUntil([this] { return closedCount_ > 0; });
    ExpectClosedOnce();
    EXPECT_EQ(DataLines({Record("Web", "w1")}), wintest::ReadBytes(data));
}

// The tray menu itself, opened and chosen from while the money summary is shown.
TEST_F(MainCloseTest, TrayMenuExitDuringTheMoneySummaryClosesAfterIt) {
    const std::string data = folder_.File("data.csv");
    wintest::WriteBytes(data, DataLines({Record("Soft", "s1")}));
    WriteSettings("LASTOPEN=" + data + "\r\n");
    Start();
    form_->PassList()->AddItem(Record("Soft", "added"));
    static HWND owner;
    owner = form_->Handle();
    ModalAnswerer answerer({Reply::Press(L"情報", IDOK).Then([](HWND) {
        // Up from no selection lands on the last entry, "終了".
        static bool chosen;
        chosen = false;
        const UINT_PTR chooser = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
            const HWND menu = FindWindowW(L"#32768", nullptr);
            if (chosen || !menu || !IsWindowVisible(menu)) return;
            chosen = true;
            for (UINT key : {VK_UP, VK_RETURN}) {
                PostMessageW(owner, WM_KEYDOWN, key, 1);
                PostMessageW(owner, WM_KEYUP, key, 0xC0000001);
            }
        });
        SendMessageW(owner, kTrayMessage, kTrayIconId, WM_RBUTTONDOWN);
        KillTimer(nullptr, chooser);
        wintest::PumpMessages(50);
        EXPECT_TRUE(IsWindow(owner));
    })});
    SendCommand(kCmdMoney);
    EXPECT_TRUE(answerer.Done());
    wintest::PumpUntil([this] { return closedCount_ > 0; });
    ExpectClosedOnce();
    EXPECT_EQ(DataLines({Record("Soft", "added"), Record("Soft", "s1")}), wintest::ReadBytes(data));
}

// The session may end in the middle of the start-up prompt: the settings are written, the
// half-loaded list is neither saved nor freed under the running load.
TEST_F(MainCloseTest, SessionEndDuringTheStartUpPromptWritesTheSettingsAndFreesNothing) {
    const std::string data = folder_.File("secret.tvd");
    WriteProtected(data, "pass1", {Record("Soft", "s1")});
    const std::string bytes = wintest::ReadBytes(data);
    WriteSettings("LASTOPEN=" + data + "\r\n");
    ModalAnswerer answerer({Reply::Press(L"警告", IDOK), Password(L"pass1").Then([&](HWND) {
                                form_->PassList()->Modified = true;
                                SendMessageW(form_->Handle(), WM_ENDSESSION, TRUE, 0);
                                EXPECT_EQ(data, Setting("LASTOPEN"));
                                ExpectStillOpen();
                            })});
    Start();
    EXPECT_TRUE(answerer.Done());
    EXPECT_TRUE(answerer.Unexpected().empty());
    EXPECT_EQ(bytes, wintest::ReadBytes(data));
    ASSERT_NE(nullptr, form_->PassList());
    EXPECT_EQ(1, form_->PassList()->Count());
}

TEST_F(MainCloseTest, DestroyingTheFormWithoutACloseSavesTheChangesOnce) {
    const std::string data = folder_.File("data.csv");
    wintest::WriteBytes(data, DataLines({Record("Soft", "s1")}));
    WriteSettings("LASTOPEN=" + data + "\r\nLASTNODE=Soft\r\n");
    Start();
    form_->PassList()->AddItem(Record("Soft", "added"));
    form_.reset();
    EXPECT_EQ(1, closedCount_);
    EXPECT_EQ(DataLines({Record("Soft", "added"), Record("Soft", "s1")}), wintest::ReadBytes(data));
    params_.reset();
    EXPECT_EQ(data, Setting("LASTOPEN"));
    EXPECT_EQ("Soft", Setting("LASTNODE"));
}

TEST_F(MainCloseTest, WindowDestroyedFromOutsideSavesTheChangesOnce) {
    const std::string data = folder_.File("data.csv");
    wintest::WriteBytes(data, DataLines({Record("Soft", "s1")}));
    WriteSettings("LASTOPEN=" + data + "\r\n");
    Start();
    form_->PassList()->AddItem(Record("Soft", "added"));
    DestroyWindow(form_->Handle());
    ExpectClosedOnce();
    EXPECT_EQ(DataLines({Record("Soft", "added"), Record("Soft", "s1")}), wintest::ReadBytes(data));
    // Nothing is saved a second time when the object goes.
    ASSERT_TRUE(DeleteFileW(win::ToWide(data).c_str()));
    form_.reset();
    EXPECT_FALSE(wintest::FileExists(data));
}

}  // namespace
}  // namespace torvane
