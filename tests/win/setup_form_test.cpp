// The settings dialog, shown for real over the settings holder and answered as a user would;
// the password it takes is checked in the data file with torvane-cli.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "res/resource.h"
#include "settings/setup_form_win.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/modal_helper.h"
#include "tests/win/program_folder.h"
#include "tests/win/screenshot.h"
#include "tools/value_spin_win.h"
#include "win/platform_win.h"

namespace torvane {
namespace {

using wintest::ModalAnswerer;
using wintest::Reply;

constexpr wchar_t kCaption[] = L"オプション設定";
constexpr wchar_t kConfirm[] = L"確認のため新しいパスワードをもう一度入力してください";

void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
bool IsChecked(HWND dialog, int id) { return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }
std::wstring SpinText(HWND dialog, int id) {
    return wintest::TextOf(TValueSpin::From(GetDlgItem(dialog, id))->Edit()->Handle());
}

class SetupFormTest : public testing::Test {
protected:
    SetupFormTest() : params_(fileOps_) { params_.LoadParams(folder_.SettingsFile()); }

    wintest::ProgramFolder folder_;
    win::WinFileOps fileOps_;
    TInitParam params_;
};

TEST_F(SetupFormTest, ShowsTheStoredSettingsWithTheFocusOnCancel) {
    std::wstring keyDelay, keyPause, alermDate;
    std::vector<bool> checks;
    ModalAnswerer answerer({Reply::Press(kCaption, IDCANCEL).Then([&](HWND dialog) {
        keyDelay = SpinText(dialog, IDC_SETUP_KEYDELAY);
        keyPause = SpinText(dialog, IDC_SETUP_KEYPAUSE);
        alermDate = SpinText(dialog, IDC_SETUP_ALERMDATE);
        for (int id : {IDC_SETUP_WINDOWHIDE, IDC_SETUP_EXECHIDE, IDC_SETUP_ADDENTER, IDC_SETUP_NOTIFYITEM}) {
            checks.push_back(IsChecked(dialog, id));
        }
        wintest::SaveScreenshot(dialog, "setup_form");
    })});
    EXPECT_EQ(IDCANCEL, ShowSetupForm(nullptr, params_, nullptr));
    ASSERT_TRUE(answerer.Done());
    EXPECT_EQ(IDCANCEL, answerer.Seen(0).focusId);
    EXPECT_TRUE(answerer.Seen(0).exStyle & WS_EX_TOPMOST);
    // The defaults of a missing settings file, not the spins' own.
    EXPECT_EQ(L"50", keyDelay);
    EXPECT_EQ(L"500", keyPause);
    EXPECT_EQ(L"7", alermDate);
    EXPECT_EQ((std::vector<bool>{false, true, false, true}), checks);
}

TEST_F(SetupFormTest, CancelEscapeAndCloseWriteNothingAfterEveryControlWasEdited) {
    auto editAll = [](HWND dialog) {
        for (int id : {IDC_SETUP_WINDOWHIDE, IDC_SETUP_EXECHIDE, IDC_SETUP_ADDENTER, IDC_SETUP_NOTIFYITEM}) {
            Click(dialog, id);
        }
        for (int id : {IDC_SETUP_KEYDELAY, IDC_SETUP_KEYPAUSE, IDC_SETUP_ALERMDATE}) {
            wintest::TypeText(TValueSpin::From(GetDlgItem(dialog, id))->Edit()->Handle(), L"9");
        }
        SetFocus(GetDlgItem(dialog, IDCANCEL));
    };
    for (const Reply& answer : {Reply::Press(kCaption, IDCANCEL), Reply::Keys(kCaption, {VK_ESCAPE}),
                                Reply::Close(kCaption)}) {
        ModalAnswerer answerer({Reply(answer)
                                    .Type(IDC_SETUP_PASSWORD, L"typed")
                                    .Then(editAll)});
        params_.Password = "held";
        EXPECT_EQ(IDCANCEL, ShowSetupForm(nullptr, params_, nullptr));
        EXPECT_TRUE(answerer.Done());
        EXPECT_EQ(50, params_.KeyDelay);
        EXPECT_EQ(500, params_.KeyPause);
        EXPECT_EQ(7, params_.AlermDate);
        EXPECT_EQ("held", params_.Password);
        EXPECT_TRUE(params_.WindowHide && params_.NotifyTop);
        EXPECT_FALSE(params_.StartFor || params_.AddEnter);
    }
}

TEST_F(SetupFormTest, CheckBoxesEditTheirCrossedSettings) {
    struct Case {
        int box;
        bool startFor, windowHide;
    };
    for (const Case& c : {Case{IDC_SETUP_WINDOWHIDE, true, true}, Case{IDC_SETUP_EXECHIDE, false, false}}) {
        params_.StartFor = false;
        params_.WindowHide = true;
        ModalAnswerer answerer({Reply::Press(kCaption, IDOK).Then([&](HWND dialog) { Click(dialog, c.box); })});
        EXPECT_EQ(IDOK, ShowSetupForm(nullptr, params_, nullptr));
        EXPECT_EQ(c.startFor, params_.StartFor);
        EXPECT_EQ(c.windowHide, params_.WindowHide);
    }
}

TEST_F(SetupFormTest, StoredValuesOutsideTheRangesComeBackAsTheNearestBound) {
    struct Case {
        int keyDelay, keyPause, alermDate;
        const wchar_t* shownDelay;
        int storedDelay, storedPause, storedAlerm;
    };
    for (const Case& c : {Case{5, 20000, 0, L"10", 10, 10000, 1}, Case{5000, 50, 365, L"1000", 1000, 100, 90}}) {
        params_.KeyDelay = c.keyDelay;
        params_.KeyPause = c.keyPause;
        params_.AlermDate = c.alermDate;
        std::wstring shown;
        ModalAnswerer answerer({Reply::Press(kCaption, IDOK).Then(
            [&](HWND dialog) { shown = SpinText(dialog, IDC_SETUP_KEYDELAY); })});
        ShowSetupForm(nullptr, params_, nullptr);
        EXPECT_EQ(c.shownDelay, shown);
        EXPECT_EQ(c.storedDelay, params_.KeyDelay);
        EXPECT_EQ(c.storedPause, params_.KeyPause);
        EXPECT_EQ(c.storedAlerm, params_.AlermDate);
    }
}

// The data file as torvane-cli reads it with a password: its exit code and its output.
int Dump(const std::string& file, const std::string& password, std::string* out = nullptr) {
    std::ostringstream output, errors;
    const int code = cli::Run(
        {"dump", file},
        [&](const std::string& name) -> std::optional<std::string> {
            if (name == "TORVANE_PASSWORD") return password;
            return std::nullopt;
        },
        output, errors);
    if (out) *out = output.str();
    return code;
}

class SetupPasswordTest : public wintest::MainWindowTest {
protected:
    // A protected data file under the password "old", opened at start.
    void StartWithProtectedFile() {
        const std::string plain = folder_.File("plain.csv");
        wintest::WriteBytes(plain, FormatLine(wintest::Record("Soft", "Editor")) + "\r\n");
        dataFile_ = folder_.File("data.tvd");
        std::ostringstream out, err;
        ASSERT_EQ(0, cli::Run({"convert", plain, dataFile_},
                              [](const std::string&) -> std::optional<std::string> { return "old"; }, out, err));
        WriteSettings("LASTOPEN=" + dataFile_ + "\r\n");
        ModalAnswerer answerer({Reply::Press(L"警告", IDOK),
                                Reply::Press(L"パスワードを入力してください", IDOK).Type(IDC_PASSFORM_PASSWD, L"old")});
        Start();
        ASSERT_TRUE(answerer.Done());
        ASSERT_EQ(1, List().Count());
        ASSERT_FALSE(List().Modified);
    }
};

TEST_F(SetupPasswordTest, ConfirmedPasswordIsUsedByTheSaveAtCloseAndNeverWrittenToTheSettings) {
    StartWithProtectedFile();
    ModalAnswerer answerer({Reply::Press(kCaption, IDOK)
                                .Then([](HWND dialog) {
                                    SetDlgItemTextW(dialog, IDC_SETUP_PASSWORD, L"新しいパス9");
                                }),
                            Reply::Press(kConfirm, IDOK).Type(IDC_PASSFORM_PASSWD, L"新しいパス9")});
    EXPECT_EQ(IDOK, ShowSetupForm(Main(), *params_, form_->PassList()));
    ASSERT_TRUE(answerer.Done());
    EXPECT_EQ("新しいパス9", params_->Password);
    // Nothing else was edited: the new password alone is a change to write.
    EXPECT_TRUE(List().Modified);
    CloseAndEndRun();

    std::string out;
    EXPECT_EQ(0, Dump(dataFile_, "新しいパス9", &out));
    EXPECT_NE(std::string::npos, out.find("Editor"));
    EXPECT_EQ(3, Dump(dataFile_, "old"));
    EXPECT_EQ(std::string::npos, wintest::ReadBytes(folder_.SettingsFile()).find("新しいパス9"));
}

TEST_F(SetupPasswordTest, DifferingEntriesKeepTheOldPasswordWithAMessage) {
    StartWithProtectedFile();
    std::wstring message;
    ModalAnswerer answerer(
        {Reply::Press(kCaption, IDOK).Then([](HWND dialog) { SetDlgItemTextW(dialog, IDC_SETUP_PASSWORD, L"new1"); }),
         Reply::Press(kConfirm, IDOK).Type(IDC_PASSFORM_PASSWD, L"new2"), Reply::Press(L"警告", IDOK)});
    EXPECT_EQ(IDOK, ShowSetupForm(Main(), *params_, form_->PassList()));
    ASSERT_TRUE(answerer.Done());
    EXPECT_NE(std::wstring::npos, answerer.Seen(2).text.find(L"パスワードが一致しません"));
    EXPECT_EQ("old", params_->Password);
    EXPECT_FALSE(List().Modified);
    form_->SaveBtnClick();
    EXPECT_EQ(0, Dump(dataFile_, "old"));
}

}  // namespace
}  // namespace torvane
