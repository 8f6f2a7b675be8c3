// The link opener against programs of ours registered in the prefix's HKEY_CLASSES_ROOT: a
// DDE browser (tests/apps/ddebrowser.cpp) for ".htm" and a recorder
// (tests/apps/urlrecorder.cpp) for the shell's "http" protocol.
#include "tools/www_link_win.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/win/modal_helper.h"
#include "tests/win/program_folder.h"
#include "win/text.h"

namespace torvane::wintest {
namespace {

constexpr char kPageType[] = "TorvaneTestPage";
constexpr char kNotFoundTail[] = " not found. Please check the browser configuration under Options.";

std::wstring BuildFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full(path, n);
    return full.substr(0, full.find_last_of(L"\\/") + 1);
}

// Registry values in UTF-16, so a browser in the Japanese program folder is registered whole on
// any system.
std::optional<std::string> ReadDefault(const std::string& subKey) {
    wchar_t value[1024];
    LONG size = sizeof value;
    if (RegQueryValueW(HKEY_CLASSES_ROOT, win::ToWide(subKey).c_str(), value, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return win::ToSjis(value);
}

void WriteDefault(const std::string& subKey, const std::string& value) {
    const std::wstring wide = win::ToWide(value);
    RegSetValueW(HKEY_CLASSES_ROOT, win::ToWide(subKey).c_str(), REG_SZ, wide.c_str(),
                 static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
}

// Sets default values under HKEY_CLASSES_ROOT and puts the earlier ones back afterwards.
class ClassesOverride {
public:
    ~ClassesOverride() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) {
                WriteDefault(it->first, *it->second);
            } else {
                RegDeleteTreeW(HKEY_CLASSES_ROOT, win::ToWide(it->first).c_str());
            }
        }
    }
    void Set(const std::string& subKey, const std::string& value) {
        saved_.emplace_back(subKey, ReadDefault(subKey));
        WriteDefault(subKey, value);
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

std::vector<std::string> LogLines(const std::string& path) {
    std::vector<std::string> lines;
    const std::string text = ReadBytes(path);
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

// The shell starts its program without waiting for it.
std::vector<std::string> LogLinesWhenWritten(const std::string& path, size_t count) {
    for (int i = 0; i < 100 && LogLines(path).size() < count; ++i) PumpMessages(50);
    return LogLines(path);
}

void EndBrowser() {
    for (HWND wnd; (wnd = FindWindowW(L"TorvaneDdeBrowser", nullptr)) != nullptr;) {
        DWORD pid = 0;
        GetWindowThreadProcessId(wnd, &pid);
        const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
        PostMessageW(wnd, WM_CLOSE, 0, 0);
        if (process) {
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
}

class WwwLinkTest : public testing::Test {
protected:
    void SetUp() override {
        EndBrowser();
        const std::string browserFolder = folder_.File("Web Browser");
        CreateDirectoryW(win::ToWide(browserFolder).c_str(), nullptr);
        browser_ = browserFolder + "\\web.test.exe";
        recorder_ = folder_.File("urlrecorder.exe");
        ASSERT_TRUE(CopyFileW((BuildFolder() + L"ddebrowser.exe").c_str(), win::ToWide(browser_).c_str(), FALSE));
        ASSERT_TRUE(CopyFileW((BuildFolder() + L"urlrecorder.exe").c_str(), win::ToWide(recorder_).c_str(), FALSE));
        browserLog_ = browserFolder + "\\web.log";
        recorderLog_ = folder_.File("urlrecorder.log");
        classes_.Set(".htm", kPageType);
        classes_.Set(std::string(kPageType) + "\\shell", "open");
        classes_.Set(std::string(kPageType) + "\\shell\\open\\command", "\"" + browser_ + "\" -url \"%1\"");
        for (const char* protocol : {"http", "https", "ftp", "mailto"}) {
            classes_.Set(std::string(protocol) + "\\shell\\open\\command", "\"" + recorder_ + "\" \"%1\"");
        }
    }
    void TearDown() override { EndBrowser(); }

    void SetReply(const std::string& bytes) { WriteBytes(folder_.File("Web Browser\\web.reply"), bytes); }

    ProgramFolder folder_;
    ClassesOverride classes_;
    std::string browser_, recorder_, browserLog_, recorderLog_;
};

TEST_F(WwwLinkTest, StartsTheBrowserOnceAndSendsTheAddress) {
    TWWWLink link(nullptr);
    ASSERT_EQ(browser_, link.BrowserPath);
    ModalAnswerer noBoxes({});
    EXPECT_TRUE(link.BrowseURL("HTTP://server/Page.htm"));
    EXPECT_TRUE(link.BrowseURL("server/b"));
    const std::vector<std::string> expected = {
        "start|" + std::to_string(SW_SHOWMINNOACTIVE),
        "WWW_Activate|0xFFFFFFFF,0x0",
        "WWW_OpenURL|\"http://server/Page.htm\",,0xFFFFFFFF,0x0,,,,",
        "WWW_Activate|0xFFFFFFFF,0x0",
        "WWW_OpenURL|\"http://server/b\",,0xFFFFFFFF,0x0,,,,",
    };
    EXPECT_EQ(expected, LogLines(browserLog_));
    EXPECT_TRUE(noBoxes.Unexpected().empty());
    EXPECT_NE(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)), GetCursor());
}

TEST_F(WwwLinkTest, JudgesTheBrowsersReply) {
    const struct {
        std::string reply;
        bool shown;
        const wchar_t* error;  // null: no box
    } cases[] = {
        {"1", true, nullptr},
        {"none", false, nullptr},
        {std::string("\0\0", 2), false, nullptr},
        {"\xFF\xFF\xFF\xFF", false, L"Error FFFFFFFF"},
        {std::string("\xFF\x12\0\x34", 4), false, L"Error FF1200"},
    };
    TWWWLink link(nullptr);
    for (const auto& c : cases) {
        SetReply(c.reply);
        std::vector<Reply> replies;
        if (c.error) replies.push_back(Reply::Press(L"エラー", IDOK));
        ModalAnswerer answerer(replies);
        EXPECT_EQ(c.shown, link.BrowseURL("http://a/"));
        EXPECT_TRUE(answerer.Done());
        EXPECT_TRUE(answerer.Unexpected().empty());
        if (c.error) {
            EXPECT_EQ(c.error, answerer.Seen(0).text);
        }
    }
}

// Without a browser that answers DDE the shell opens web addresses, and nothing else.
TEST_F(WwwLinkTest, ShellOpensWebAddressesOnly) {
    const struct {
        const char* browser;  // "recorder": a program that answers no DDE
        const char* url;
        const char* recorded;  // null: the shell is not asked
    } cases[] = {
        {"", "Server/Page?a=\"b c\"", "\"http://Server/Page?a=%22b%20c%22\""},
        {"recorder", "https://a/x", "\"https://a/x\""},
        {"C:\\nowhere\\web.exe", "ftp://a/", "\"ftp://a/\""},
        {"", "file:///C:/windows/notepad.exe", nullptr},
        {"recorder", "file://C:/windows/notepad.exe", nullptr},
        {"", "javascript:alert(1)", nullptr},
        {"", "C:\\windows\\notepad.exe", nullptr},
    };
    for (const auto& c : cases) {
        DeleteFileW(win::ToWide(recorderLog_).c_str());
        TWWWLink link(nullptr);
        const bool recorderAsBrowser = std::string(c.browser) == "recorder";
        link.BrowserPath = recorderAsBrowser ? recorder_ : c.browser;
        std::vector<Reply> replies;
        if (!c.recorded) replies.push_back(Reply::Press(L"エラー", IDOK));
        ModalAnswerer answerer(replies);
        EXPECT_EQ(c.recorded != nullptr, link.BrowseURL(c.url)) << c.url;
        EXPECT_TRUE(answerer.Done()) << c.url;
        if (!c.recorded) {
            EXPECT_EQ(L"Could not open link", answerer.Seen(0).text);
        }

        // The browser started at most once: its start is a line without an address.
        const std::vector<std::string> lines =
            LogLinesWhenWritten(recorderLog_, (c.recorded ? 1u : 0u) + (recorderAsBrowser ? 1u : 0u));
        std::vector<std::string> addresses;
        for (const std::string& line : lines) {
            const size_t argument = line.find("\" \"");
            if (argument != std::string::npos) addresses.push_back(line.substr(argument + 2));
        }
        EXPECT_EQ(lines.size(), addresses.size() + (recorderAsBrowser ? 1u : 0u)) << c.url;
        EXPECT_EQ(c.recorded ? std::vector<std::string>{c.recorded} : std::vector<std::string>{}, addresses) << c.url;
    }
}

TEST_F(WwwLinkTest, MailGoesToTheShellAsOneArgument) {
    OpenMailTo(nullptr, "taro@example.ne.jp");
    OpenMailTo(nullptr, "x\" -evil@example.com");
    ASSERT_EQ(2u, LogLinesWhenWritten(recorderLog_, 2).size());
    // Each start of the mail program writes its line; they may come in either order.
    const std::string log = ReadBytes(recorderLog_);
    EXPECT_NE(std::string::npos, log.find(" \"mailto:taro@example.ne.jp\"\n"));
    EXPECT_NE(std::string::npos, log.find(" \"mailto:x%22%20-evil@example.com\"\n"));
}

TEST_F(WwwLinkTest, ShellFailingTooShowsTheBrowserBox) {
    classes_.Set("http\\shell\\open\\command", "\"C:\\nowhere\\recorder.exe\" \"%1\"");
    TWWWLink link(nullptr);
    link.BrowserPath = "C:\\nowhere\\web.exe";
    ModalAnswerer answerer({Reply::Press(L"エラー", IDOK)});
    EXPECT_FALSE(link.BrowseURL("http://a/"));
    EXPECT_TRUE(answerer.Done());
    EXPECT_EQ(L"C:\\nowhere\\web.exe" + std::wstring(kNotFoundTail, kNotFoundTail + sizeof kNotFoundTail - 1),
              answerer.Seen(0).text);
}

}  // namespace
}  // namespace torvane::wintest
