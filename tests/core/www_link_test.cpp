#include "tools/www_link.h"

#include <gtest/gtest.h>

#include <string>

namespace torvane {
namespace {

TEST(WwwLinkTest, ExtractExePath) {
    const struct {
        const char* commandLine;
        const char* path;
    } cases[] = {
        {"\"C:\\Program Files\\Web\\web.exe\" -url \"%1\"", "C:\\Program Files\\Web\\web.exe"},
        {"C:\\Web\\web.exe -nohome %1", "C:\\Web\\web.exe"},
        {"C:\\Web\\web.exe", "C:\\Web\\web.exe"},
        {" \t\r\n C:\\web.exe\t%1", "C:\\web.exe"},
        {"\"C:\\Open ended\\web.exe", "C:\\Open ended\\web.exe"},
        {"\"C:\\a\\web.exe\r\n\"x", "C:\\a\\web.exe"},
        {"C:\\a\\web.exe\r\n-x", "C:\\a\\web.exe"},
        {"", ""},
        {"\"\"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.path, ExtractExePath(c.commandLine)) << c.commandLine;
}

TEST(WwwLinkTest, ServiceNameIsTheFileNameUpToItsFirstDot) {
    EXPECT_EQ("web", DdeServiceName("C:\\Program Files\\Web\\web.exe"));
    EXPECT_EQ("web", DdeServiceName("C:\\b.d\\web.test.exe"));
    EXPECT_EQ("IEXPLORE", DdeServiceName("IEXPLORE.EXE"));
    // "ソ" ends in the byte 0x5C, which separates nothing there.
    EXPECT_EQ("ソft", DdeServiceName("C:\\x\\ソft.exe"));
}

TEST(WwwLinkTest, NormalizeURL) {
    const struct {
        const char* url;
        const char* sent;
    } cases[] = {
        {"HTTP://server/index.html", "http://server/index.html"},
        {"http://Server/Path/A.HTM", "http://Server/Path/A.HTM"},
        {"file:///C:/doc/a.htm", "file:///C:/doc/a.htm"},
        {"https://example.com/a//b///c", "https://example.com/a//b///c"},
        // Forms the browser would not read as given.
        {"server/page", "http://server/page"},
        {"www.example.com", "http://www.example.com/"},
        {"http://server", "http://server/"},
        {"http://server?q=1", "http://server/?q=1"},
        {"www.x.com/a//b/c", "http://www.x.com/a//b/c"},
        {"localhost:8080/x", "http://localhost:8080/x"},
        {"//server/x", "http://server/x"},
        // A scheme without a host part keeps the local-file form.
        {"mailto:a@b", "mailto:///a@b"},
        {"JavaScript:alert(1)", "javascript:///alert(1)"},
        {"", "http:///"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.sent, NormalizeURL(c.url)) << c.url;
        EXPECT_EQ(c.sent, NormalizeURL(c.sent)) << "sent again: " << c.sent;
    }
}

TEST(WwwLinkTest, OpenURLItem) {
    EXPECT_EQ("\"http://server/a\",,0xFFFFFFFF,0x0,,,,", OpenURLItem("Http://server/a"));
}

TEST(WwwLinkTest, OnlyWebAddressesGoToTheShell) {
    for (const char* url : {"http://a/", "https://a/b", "ftp://a/"}) EXPECT_TRUE(IsWebAddress(NormalizeURL(url))) << url;
    for (const char* url : {"file:///C:/windows/notepad.exe", "file://C:/x.exe", "javascript:alert(1)", "C:\\x.exe",
                            "mailto:a@b", "ms-settings:x", "\\\\server\\share\\x.exe", "http:///C:/x.exe"}) {
        EXPECT_FALSE(IsWebAddress(NormalizeURL(url))) << url;
    }
    EXPECT_EQ("http://a/%22%20-x%09%0D", ShellSafeURL("http://a/\" -x\t\r"));
    EXPECT_EQ("http://a/日本?x=1%2", ShellSafeURL("http://a/日本?x=1%2"));
}

TEST(WwwLinkTest, JudgeReply) {
    const struct {
        std::string reply;
        bool succeeded;
        const char* error;
    } cases[] = {
        {"\x01", true, ""},
        {"1", true, ""},
        {"", false, ""},
        {std::string("\0\x01", 2), false, ""},
        {"\xFF\xFF\xFF\xFF", false, "Error FFFFFFFF"},
        {"\xFF\x0A", false, "Error FFA00"},
        {std::string("\xFF\x12\0\x34", 4), false, "Error FF1200"},
    };
    for (const auto& c : cases) {
        const ReplyJudgement judged = JudgeReply(c.reply.data(), c.reply.size());
        EXPECT_EQ(c.succeeded, judged.succeeded) << c.error;
        EXPECT_EQ(c.error, judged.errorText);
    }
    EXPECT_FALSE(JudgeReply(nullptr, 4).succeeded);
}

}  // namespace
}  // namespace torvane
