#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "win/platform_win.h"

namespace torvane::win {
namespace {

// The bytes from the file's position to its end; nothing where there is nothing left to read.
TEST(FileMapTest, MapsTheRestFromThePosition) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "torvane-map-" + std::to_string(GetCurrentProcessId());
    struct Case {
        std::string content;
        long position;
        const char* rest;  // null: not mapped
    };
    const Case cases[] = {{"abc\r\ndef", 0, "abc\r\ndef"}, {"abc\r\ndef", 2, "c\r\ndef"}, {"abc", 3, nullptr}, {"", 0, nullptr}};
    WinFileOps fileOps;
    for (const Case& c : cases) {
        std::FILE* out = std::fopen(path.c_str(), "wb");
        ASSERT_NE(nullptr, out);
        std::fwrite(c.content.data(), 1, c.content.size(), out);
        std::fclose(out);
        std::FILE* file = fileOps.OpenRead(path);
        ASSERT_NE(nullptr, file);
        std::fseek(file, c.position, SEEK_SET);
        {
            const auto mapped = fileOps.MapRest(file);
            EXPECT_EQ(c.rest != nullptr, mapped != nullptr) << c.content << " at " << c.position;
            if (mapped && c.rest) {
                EXPECT_EQ(c.rest, mapped->Bytes());
            }
        }
        std::fclose(file);
    }
    DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace torvane::win
