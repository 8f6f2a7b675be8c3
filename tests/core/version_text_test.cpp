#include "tools/version_text.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

TEST(VersionTextTest, ShortVersionDropsTheLastPart) {
    EXPECT_EQ("1.2.1", ShortVersion("1.2.1.29"));
    EXPECT_EQ("7", ShortVersion("7"));
    EXPECT_EQ("", ShortVersion(""));
}

TEST(VersionTextTest, AboutVersionLineNamesTheBuild) {
    EXPECT_EQ("Torvane\nVersion. 1.2.1 (Build 29)", AboutVersionText("Torvane", "1.2.1.29"));
    // Without a version resource the only "." left is the one after "Version".
    EXPECT_EQ("\nVersion (Build  )", AboutVersionText("", ""));
}

TEST(VersionTextTest, BackslashNBecomesALineBreakOnlyAsTwoCharacters) {
    EXPECT_EQ("a\r\nb", ExpandLineBreaks("a\\nb"));
    EXPECT_EQ("a\\tb\\", ExpandLineBreaks("a\\tb\\"));
    // "ソ" ends in the byte 0x5C; followed by "n" it is still just "ソn".
    EXPECT_EQ("ソn", ExpandLineBreaks("ソn"));
}

}  // namespace
}  // namespace torvane
