// Torvane.exe itself, started from a temporary program folder: one instance, the tray and the
// files it leaves behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/single_instance_win.h"
#include "store/pass_item.h"
#include "tests/win/program_folder.h"
#include "tools/tray_icon_win.h"
#include "win/text.h"

namespace torvane {
namespace {

using win::ToWide;
using wintest::FindSetting;
using wintest::Lines;
using wintest::ProgramFolder;

constexpr DWORD kStartMs = 30000;

// The build folder as Wine sees it (the Unix root is drive Z:).
std::string BuildDir() {
    std::string dir = TORVANE_BUILD_DIR;
    for (char& c : dir) {
        if (c == '/') c = '\\';
    }
    return "Z:" + dir;
}

struct WindowSearch {
    DWORD pid;
    const wchar_t* className;
    std::vector<HWND> found;
};

// Top-level windows of a process and class, hidden ones included.
std::vector<HWND> WindowsOf(DWORD pid, const wchar_t* className) {
    WindowSearch search{pid, className, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<WindowSearch*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (owner == s->pid && std::wstring(name) == s->className) s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

template <class Condition>
bool WaitUntil(Condition condition, DWORD ms = 10000) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(50)) {
        if (condition()) return true;
    }
    return condition();
}

class AppRunTest : public testing::Test {
protected:
    struct Program {
        PROCESS_INFORMATION info{};
        HWND main = nullptr;
        HWND app = nullptr;
    };

    void SetUp() override {
        programs_.reserve(4);  // references to started programs stay valid
        const std::string built = BuildDir() + "\\Torvane.exe";
        ASSERT_TRUE(CopyFileW(ToWide(built).c_str(), ToWide(folder_.ProgramPath()).c_str(), FALSE)) << built;
    }

    void TearDown() override {
        // Whatever a failed test left running.
        for (Program& program : programs_) {
            if (WaitForSingleObject(program.info.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(program.info.hProcess, 1);
                WaitForSingleObject(program.info.hProcess, 5000);
            }
            CloseHandle(program.info.hProcess);
            CloseHandle(program.info.hThread);
        }
    }

    Program& Start() {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        Program program;
        std::wstring commandLine = L"\"" + ToWide(folder_.ProgramPath()) + L"\"";
        EXPECT_TRUE(CreateProcessW(ToWide(folder_.ProgramPath()).c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                   0, nullptr, ToWide(folder_.Path()).c_str(), &startup, &program.info));
        programs_.push_back(program);
        return programs_.back();
    }

    // Waits until the program's start-up is over and its message loop runs.
    bool WaitForWindows(Program& program) {
        if (WaitForInputIdle(program.info.hProcess, kStartMs) != 0) return false;
        const bool found = WaitUntil([&] {
            const auto mains = WindowsOf(program.info.dwProcessId, L"TMainForm");
            const auto apps = WindowsOf(program.info.dwProcessId, L"TorvaneApplication");
            if (mains.size() != 1 || apps.size() != 1) return false;
            program.main = mains.front();
            program.app = apps.front();
            return true;
        });
        // Posted after start-up, so handled once it is over.
        if (found) SendMessageTimeoutW(program.main, WM_NULL, 0, 0, SMTO_NORMAL, kStartMs, nullptr);
        return found;
    }

    // Closes the main window the normal way; true when the program then ended with code 0.
    bool Close(Program& program) {
        PostMessageW(program.main, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(program.info.hProcess, kStartMs) != WAIT_OBJECT_0) return false;
        DWORD code = 1;
        GetExitCodeProcess(program.info.hProcess, &code);
        return code == 0;
    }

    std::string Setting(const std::string& name) {
        std::string value;
        return FindSetting(Lines(folder_.SettingsFile()), name, value) ? value : "(absent)";
    }

    ProgramFolder folder_;
    std::vector<Program> programs_;
};

TEST(SingleInstanceTest, SecondCheckFindsTheFirst) {
    const std::string name = "torvane_test_" + std::to_string(GetCurrentProcessId());
    EXPECT_FALSE(CheckPrevInstance(name));
    EXPECT_TRUE(CheckPrevInstance(name));
}

TEST_F(AppRunTest, SecondStartEndsAtOnceAndLeavesOneInstance) {
    const std::string settings = "; kept\r\n";
    wintest::WriteBytes(folder_.SettingsFile(), settings);
    Program& first = Start();
    ASSERT_TRUE(WaitForWindows(first));
    ASSERT_TRUE(IsWindowVisible(first.main));
    RECT before{};
    GetWindowRect(first.main, &before);

    Program& second = Start();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(second.info.hProcess, kStartMs));
    DWORD code = 1;
    GetExitCodeProcess(second.info.hProcess, &code);
    EXPECT_EQ(0u, code);
    // The second start wrote nothing and the first goes on unchanged.
    EXPECT_EQ(settings, wintest::ReadBytes(folder_.SettingsFile()));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(programs_.front().info.hProcess, 0));
    EXPECT_EQ(1u, WindowsOf(programs_.front().info.dwProcessId, L"TMainForm").size());
    EXPECT_TRUE(IsWindowVisible(programs_.front().main));
    RECT after{};
    GetWindowRect(programs_.front().main, &after);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.top, after.top);

    EXPECT_TRUE(Close(programs_.front()));
    EXPECT_EQ(folder_.File("Torvane.tvd"), Setting("LASTOPEN"));
    EXPECT_EQ("; kept", Lines(folder_.SettingsFile()).front());
}

TEST_F(AppRunTest, StartForStartsHiddenInTheTrayUntilTheIconIsClicked) {
    wintest::WriteBytes(folder_.SettingsFile(), "STARTFOR=1\r\n");
    Program& program = Start();
    ASSERT_TRUE(WaitForWindows(program));
    // Hidden, and no task-bar button: the application window that carries it is hidden too.
    EXPECT_FALSE(IsWindowVisible(program.main));
    EXPECT_FALSE(IsWindowVisible(program.app));
    EXPECT_EQ(program.app, GetWindow(program.main, GW_OWNER));

    PostMessageW(program.main, kTrayMessage, kTrayIconId, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(program.main) && IsWindowVisible(program.app); }));

    // Minimising sends it back to the tray; the program goes on.
    PostMessageW(program.main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(program.main) && !IsWindowVisible(program.app); }));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(program.info.hProcess, 0));

    EXPECT_TRUE(Close(program));
    EXPECT_EQ("1", Setting("STARTFOR"));
}

TEST_F(AppRunTest, ClosingWithoutChangesLeavesTheDataFileAndWritesTheSettings) {
    const std::string data = folder_.File("data.csv");
    TPassItem item;
    item.Path = "Soft";
    item.Title = "Alpha";
    const std::string bytes = FormatLine(item) + "\r\n";
    wintest::WriteBytes(data, bytes);
    wintest::MakeOld(data);
    const ULONGLONG written = wintest::WriteTime(data);
    wintest::WriteBytes(folder_.SettingsFile(), "LASTOPEN=" + data + "\r\n");

    Program& program = Start();
    ASSERT_TRUE(WaitForWindows(program));
    wchar_t title[64] = {};
    GetWindowTextW(program.main, title, 64);
    EXPECT_STREQ(L"Torvane (v.1.2.1)", title);

    EXPECT_TRUE(Close(program));
    EXPECT_EQ(written, wintest::WriteTime(data));
    EXPECT_EQ(bytes, wintest::ReadBytes(data));
    EXPECT_EQ(data, Setting("LASTOPEN"));
    EXPECT_EQ(folder_.Path() + "\\", Setting("OPENDIR"));
    EXPECT_EQ("50", Setting("KEYDELAY"));
}

}  // namespace
}  // namespace torvane
