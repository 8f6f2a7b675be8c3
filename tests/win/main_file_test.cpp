// The main window's data-file commands never lose what the user typed: Open and Reload ask
// about unsaved changes, a failed save keeps them for the close, a second protected file gets
// its own password, a new password is typed twice, damaged lines are named.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/win/main_window_fixture.h"

namespace torvane {
namespace {

using wintest::ModalAnswerer;
using wintest::Reply;

constexpr wchar_t kPasswordCaption[] = L"パスワードを入力してください";
constexpr wchar_t kConfirmCaption[] = L"確認のためもう一度入力してください";

std::string Lines(const std::vector<TPassItem>& records) {
    std::string text;
    for (const TPassItem& item : records) text += FormatLine(item) + "\r\n";
    return text;
}

Reply Password(const wchar_t* caption, const std::wstring& text) {
    Reply reply = Reply::Press(caption, IDOK);
    reply.setTexts = {{IDC_PASSFORM_PASSWD, text}};
    return reply;
}

class MainFileTest : public wintest::MainWindowTest {
protected:
    std::vector<std::string> ListTitles() {
        std::vector<std::string> titles;
        for (int i = 0; i < List().Count(); ++i) titles.push_back(List().Item(i).Title);
        std::sort(titles.begin(), titles.end());
        return titles;
    }
    void SaveProtected(const std::string& path, const std::string& password, const std::vector<TPassItem>& records) {
        win::WinPrompts prompts;
        win::LocaleCollator collator;
        TPassList list(prompts, collator, fileOps_);
        list.Password = password;
        for (const TPassItem& item : records) list.AddItem(item);
        ASSERT_TRUE(list.SaveToFile(path));
    }
};

// Each answer for Open and for Reload: "はい" saves first, "いいえ" drops the changes,
// "キャンセル" leaves everything as it was.
TEST_F(MainFileTest, OpenAndReloadAskAboutUnsavedChanges) {
    const auto alpha = wintest::Record("", "Alpha"), added = wintest::Record("", "Added");
    const auto other = wintest::Record("", "Other");
    for (const bool reload : {false, true}) {
        for (const int answer : {IDYES, IDNO, IDCANCEL}) {
            WriteData({alpha});
            const std::string second = folder_.File("second.csv");
            wintest::WriteBytes(second, Lines({other}));
            Start();
            List().AddItem(added);
            ModalAnswerer answerer({Reply::Press(L"確認", answer)});
            if (reload) {
                form_->N_ReloadClick();
            } else {
                form_->OpenDataFile(second);
            }
            EXPECT_TRUE(answerer.Done());
            EXPECT_EQ(answer == IDYES ? Lines({added, alpha}) : Lines({alpha}), wintest::ReadBytes(dataFile_));
            std::vector<std::string> shown = {"Added", "Alpha"};  // kept, or saved and read back
            if (answer != IDCANCEL && !reload) shown = {"Other"};
            if (answer == IDNO && reload) shown = {"Alpha"};
            EXPECT_EQ(shown, ListTitles()) << reload << answer;
            if (answer != IDCANCEL) {
                EXPECT_EQ(shown, Titles());  // the window shows what it loaded
            }
            EXPECT_EQ(answer == IDCANCEL, List().Modified);
            EXPECT_EQ(reload || answer == IDCANCEL ? dataFile_ : second, form_->CurrentFile);
            form_.reset();
            params_.reset();
        }
    }
}

// The system's file dialogs are bound on first use: Open and Save As still show them, and a
// cancelled one changes nothing.
TEST_F(MainFileTest, OpenAndSaveAsShowTheSystemsFileDialogs) {
    WriteData({wintest::Record("", "alpha")});
    Start();
    for (const int command : {kCmdOpen, kCmdSaveAs}) {
        ModalAnswerer answerer({}, 200);
        SendMessageW(Main(), WM_COMMAND, command, 0);
        ASSERT_EQ(answerer.Unexpected().size(), 1u) << command;
    }
    EXPECT_EQ(form_->CurrentFile, dataFile_);
    EXPECT_EQ(ListTitles(), std::vector<std::string>{"alpha"});
}

TEST_F(MainFileTest, OpeningANewNameStartsAnEmptyFile) {
    WriteData({wintest::Record("Soft", "Alpha")});
    Start();
    const std::string fresh = folder_.File("fresh.csv");
    form_->OpenDataFile(fresh);
    EXPECT_EQ(fresh, form_->CurrentFile);
    EXPECT_EQ(0, List().Count());
    EXPECT_EQ(std::vector<std::string>{}, Titles());
    EXPECT_TRUE(Tree().Children(Tree().Top()).empty());
    EXPECT_FALSE(List().Modified);
}

// Saved under another password than the one held: asked for, not refused.
TEST_F(MainFileTest, ASecondProtectedFileAsksForItsOwnPassword) {
    const std::string first = folder_.File("first.tvd"), second = folder_.File("second.tvd");
    SaveProtected(first, "pass1", {wintest::Record("", "One")});
    SaveProtected(second, "pass2", {wintest::Record("", "Two")});
    WriteSettings("LASTOPEN=" + first + "\r\n");
    {
        ModalAnswerer answerer({Reply::Press(L"警告", IDOK), Password(kPasswordCaption, L"pass1")});
        Start();
        EXPECT_TRUE(answerer.Done());
    }
    ModalAnswerer answerer({Reply::Press(L"警告", IDOK), Password(kPasswordCaption, L"pass2")});
    form_->OpenDataFile(second);
    EXPECT_TRUE(answerer.Done());
    EXPECT_TRUE(answerer.Unexpected().empty());
    EXPECT_EQ(std::vector<std::string>{"Two"}, ListTitles());
    EXPECT_EQ("pass2", params_->Password);
}

TEST_F(MainFileTest, ANewPasswordIsTypedTwiceUntilBothAgree) {
    Start();
    List().AddItem(wintest::Record("", "Secret"));
    const std::string file = folder_.File("new.tvd");
    ModalAnswerer answerer({Reply::Press(L"警告", IDOK), Password(kPasswordCaption, L"abc"),
                            Password(kConfirmCaption, L"abd"), Reply::Press(L"警告", IDOK),
                            Password(kPasswordCaption, L"abc"), Password(kConfirmCaption, L"abc")});
    EXPECT_TRUE(form_->SaveDataFile(file));
    EXPECT_TRUE(answerer.Done());
    EXPECT_EQ(L"入力された2つのパスワードが一致しません。\r\nもう一度入力してください", answerer.Seen(3).text);
    EXPECT_EQ("abc", params_->Password);
    win::WinPrompts prompts;
    win::LocaleCollator collator;
    TPassList check(prompts, collator, fileOps_);
    check.Password = "abc";
    EXPECT_EQ(LoadResult::Loaded, check.LoadFromFile(file));
    EXPECT_EQ(1, check.Count());
}

// The close's save fails: the user is told, and chooses between staying and dropping them.
TEST_F(MainFileTest, AFailedSaveAtCloseNeverDropsTheChangesSilently) {
    Start();
    form_->CurrentFile = folder_.File("no such folder\\x.csv");
    List().AddItem(wintest::Record("", "Typed"));
    {
        ModalAnswerer answerer({Reply::Press(L"エラー", IDOK), Reply::Press(L"警告", IDNO)});
        form_->ExitBtnClick();
        EXPECT_TRUE(answerer.Done());
    }
    EXPECT_NE(nullptr, form_->Handle());
    EXPECT_TRUE(List().Modified);
    ModalAnswerer answerer({Reply::Press(L"エラー", IDOK), Reply::Press(L"警告", IDYES)});
    form_->ExitBtnClick();
    EXPECT_TRUE(answerer.Done());
    EXPECT_EQ(1, closedCount_);
}

// Files from the format's own writer: the line with a comma in its URL is named, the other
// records load, and the file is kept as a backup before the first save.
TEST_F(MainFileTest, DamagedLinesAreNamedAndTheRestLoads) {
    const std::string data = TORVANE_TEST_DATA "/unquoted-url.";
    std::string passwordLine = wintest::ReadBytes(data + "password");
    passwordLine = passwordLine.substr(0, passwordLine.find_first_of("\r\n"));
    const std::wstring password = win::ToWide(passwordLine);
    for (const char* kind : {"csv", "tvd"}) {
        const std::string file = folder_.File(std::string("data.") + kind);
        wintest::WriteBytes(file, wintest::ReadBytes(data + kind));
        WriteSettings("LASTOPEN=" + file + "\r\n");
        std::vector<Reply> replies;
        if (kind == std::string("tvd")) replies = {Reply::Press(L"警告", IDOK), Password(kPasswordCaption, password)};
        replies.push_back(Reply::Press(L"警告", IDOK));
        ModalAnswerer answerer(replies);
        Start();
        EXPECT_TRUE(answerer.Done());
        EXPECT_NE(std::wstring::npos, answerer.Seen(replies.size() - 1).text.find(L"読み込めない行")) << kind;
        EXPECT_EQ(3, List().Count());
        List().Modified = true;
        form_.reset();
        params_.reset();
        int backups = 0;
        WIN32_FIND_DATAW found;
        const HANDLE search = FindFirstFileW(win::ToWide(file + ".*.bak").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do ++backups;
            while (FindNextFileW(search, &found));
            FindClose(search);
        }
        EXPECT_EQ(1, backups) << kind;
    }
}

}  // namespace
}  // namespace torvane
