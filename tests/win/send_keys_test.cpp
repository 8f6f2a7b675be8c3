// The keystroke sender typing into other processes in the session's desktop: our own key
// target (tests/apps/keytarget.cpp) and Wine's notepad. Each test places a start window of its
// own directly above the target in the Z-order, as the program's application window will be.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "autoinput/macro.h"
#include "autoinput/send_keys_win.h"
#include "tests/win/child_app.h"
#include "win/text.h"

namespace torvane::win {
namespace {

using wintest::ChildApp;
using wintest::ControlText;
using wintest::ExeDirectory;
using wintest::StackOnTop;
using wintest::TextWhenSettled;
using Clock = std::chrono::steady_clock;

constexpr UINT kKeyTargetReset = WM_APP + 1;  // keytarget: empty the boxes, focus the first
constexpr int kFirstBoxId = 101;
constexpr int kTestKeyDelay = 5;
constexpr int kTestKeyPause = 100;
constexpr int kNotepadKeyPause = 500;

long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A hidden top-level window of the test's thread, standing in for the application window.
HWND CreateStartWindow() {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TorvaneSendKeysStart";
        return RegisterClassW(&wc);
    }();
    return CreateWindowExW(0, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(atom)), L"start", WS_POPUP, 0, 0, 10, 10,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// One run as the program makes it: a fresh sender, small delays, target below the start window.
void TypeBelow(HWND start, const std::string& text, int keyPause = kTestKeyPause) {
    TSendKeys keys;
    keys.KeyDelay = kTestKeyDelay;
    keys.KeyPause = keyPause;
    keys.FindTarget(start);
    keys.SendText(text);
}

class SendKeysTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        target_ = new ChildApp;
        if (!target_->Start(L"\"" + ExeDirectory() + L"keytarget.exe\"", L"TorvaneKeyTarget")) {
            delete target_;
            target_ = nullptr;
        }
    }
    static void TearDownTestSuite() {
        delete target_;
        target_ = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(nullptr, target_) << "keytarget.exe did not start or show its window";
        DWORD_PTR done = 0;
        SendMessageTimeoutW(Target(), kKeyTargetReset, 0, 0, SMTO_ABORTIFHUNG, 2000, &done);
        start_ = CreateStartWindow();
        ASSERT_NE(nullptr, start_);
        StackOnTop({start_, Target()});
    }
    void TearDown() override {
        if (start_) DestroyWindow(start_);
    }

    static HWND Target() { return target_->Window(); }
    static HWND Box(int index) { return GetDlgItem(Target(), kFirstBoxId + index); }

    static ChildApp* target_;
    HWND start_ = nullptr;
};

ChildApp* SendKeysTest::target_ = nullptr;

TEST_F(SendKeysTest, TargetIsTheFirstVisibleWindowBelowTheStartWindow) {
    HWND hidden = CreateStartWindow();
    StackOnTop({start_, hidden, Target()});
    {
        TSendKeys keys;
        keys.KeyPause = kTestKeyPause;
        EXPECT_EQ(GetCurrentThreadId(), keys.OwnThread());
        const auto begin = Clock::now();
        keys.FindTarget(start_);
        EXPECT_GE(MillisecondsSince(begin), kTestKeyPause);
        EXPECT_EQ(Target(), keys.TargetWnd());
        EXPECT_EQ(target_->ThreadId(), keys.TargetThread());
        EXPECT_EQ(Target(), GetForegroundWindow());
        // Attached: our thread sees the target's focused control.
        EXPECT_EQ(Box(0), GetFocus());
    }
    // Detached again once the sender is gone.
    EXPECT_EQ(nullptr, GetFocus());
    DestroyWindow(hidden);
}

TEST_F(SendKeysTest, NoTargetBelowTheBottomWindow) {
    SetWindowPos(start_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    TSendKeys keys;
    keys.KeyPause = 0;
    keys.FindTarget(start_);
    EXPECT_EQ(nullptr, keys.TargetWnd());
    EXPECT_EQ(0u, keys.TargetThread());
}

TEST_F(SendKeysTest, TabCarriesTheRestIntoTheNextBox) {
    // ソ ends in the byte 0x5C and must not start a code; the backslash pair is a typed backslash.
    TypeBelow(start_, "taro.yamada\\tパス\\\\ソワード\\tｶﾀｶﾅ日本");
    EXPECT_EQ("taro.yamada", TextWhenSettled(Box(0), "taro.yamada"));
    EXPECT_EQ("パス\\ソワード", TextWhenSettled(Box(1), "パス\\ソワード"));
    EXPECT_EQ("ｶﾀｶﾅ日本", TextWhenSettled(Box(2), "ｶﾀｶﾅ日本"));
}

TEST_F(SendKeysTest, KeysMoveTheCaret) {
    TypeBelow(start_, "abc\\HX");
    EXPECT_EQ("Xabc", TextWhenSettled(Box(0), "Xabc"));
    SendMessageTimeoutW(Target(), kKeyTargetReset, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    // In a one-line box Up and Down move like Left and Right.
    TypeBelow(start_, "abcd\\L\\LX\\EY\\H\\RZ\\U\\D\\DW");
    EXPECT_EQ("aZbWXcdY", TextWhenSettled(Box(0), "aZbWXcdY"));
}

TEST_F(SendKeysTest, ControlCharactersAreDropped) {
    TypeBelow(start_, "a\rb\nc\td\x1Fz");
    EXPECT_EQ("abcdz", TextWhenSettled(Box(0), "abcdz"));
    EXPECT_EQ("", ControlText(Box(1)));
}

TEST_F(SendKeysTest, PauseCodeWaitsAndTypesNothing) {
    TSendKeys keys;
    keys.KeyDelay = 0;
    keys.KeyPause = 150;
    keys.SetTarget(Target());
    auto begin = Clock::now();
    keys.SendText("a\\pb");
    EXPECT_GE(MillisecondsSince(begin), 150);
    EXPECT_EQ("ab", TextWhenSettled(Box(0), "ab"));
    begin = Clock::now();
    keys.SendText("\\p\\p");
    EXPECT_GE(MillisecondsSince(begin), 300);
}

TEST(SendKeysPostTest, KeyWordsPostTheirMessagesInOrder) {
    HWND own = CreateStartWindow();
    TSendKeys keys;
    keys.KeyDelay = 20;
    const auto begin = Clock::now();
    keys.PostVirtualKey(own, 0x0200 | 0x0100 | 0x1000 | VK_LEFT);
    EXPECT_GE(MillisecondsSince(begin), 6 * 20);
    struct Expected {
        UINT message;
        WPARAM key;
        LPARAM lParam;
    };
    const Expected expected[] = {
        {WM_KEYDOWN, VK_CONTROL, 0x01000001}, {WM_KEYDOWN, VK_SHIFT, 0x00000001}, {WM_KEYDOWN, VK_LEFT, 0x01000001},
        {WM_KEYUP, VK_LEFT, 0xC1000001},      {WM_KEYUP, VK_SHIFT, 0xC0000001},   {WM_KEYUP, VK_CONTROL, 0xC1000001},
    };
    for (const Expected& e : expected) {
        MSG msg{};
        ASSERT_TRUE(PeekMessageW(&msg, own, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
        EXPECT_EQ(e.message, msg.message);
        EXPECT_EQ(e.key, msg.wParam);
        EXPECT_EQ(e.lParam, msg.lParam);
    }
    MSG rest{};
    EXPECT_FALSE(PeekMessageW(&rest, own, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
    DestroyWindow(own);
}

// A target nobody here wrote: Wine's notepad, whose multi-line edit takes Tab and Enter as
// characters and moves between lines with the arrows and page keys.
TEST(SendKeysNotepadTest, MacroReadsBackExactly) {
    ChildApp notepad;
    ASSERT_TRUE(notepad.Start(L"notepad.exe", L"Notepad"));
    HWND edit = FindWindowExW(notepad.Window(), nullptr, L"Edit", nullptr);
    ASSERT_NE(nullptr, edit);
    HWND start = CreateStartWindow();
    StackOnTop({start, notepad.Window()});

    // Notepad turns a posted Tab key into its character only when it reads the key; under load a
    // short pause lets later characters overtake it, so these runs take the program's own pause.
    TypeBelow(start, "ab\\ncd\\U\\EX\\D\\HY\\^\\HP\\v\\EQ\\tｶﾅ\\\\ソ日本", kNotepadKeyPause);
    std::string expected = "PabX\r\nYcdQ\tｶﾅ\\ソ日本";
    EXPECT_EQ(expected, TextWhenSettled(edit, expected));

    // The first built-in macro run with ADDENTER, on a record whose fields hold backslashes
    // that look like codes: they are typed, and the run ends with an Enter key.
    SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), SMTO_ABORTIFHUNG, 2000, nullptr);
    TPassItem record;
    record.UserID = "山田\\taro";
    record.Passwd = "pa\\n\\\\ソ\\";
    StackOnTop({start, notepad.Window()});
    TypeBelow(start, BuildMacroText(0, true, record), kNotepadKeyPause);
    expected = record.UserID + "\t" + record.Passwd + "\r\n";
    EXPECT_EQ(expected, TextWhenSettled(edit, expected));
    DestroyWindow(start);
}

}  // namespace
}  // namespace torvane::win
