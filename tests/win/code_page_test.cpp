// Texts that cross the Win32 API come out the same whatever the system's code page: this file
// also runs under an English system's code page (1252).
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "win/collate.h"
#include "win/platform_win.h"
#include "win/text.h"

namespace torvane {
namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

TEST(CodePageTest, TextsCompareInTheJapaneseOrderOnAnySystem) {
    struct Case {
        std::string a;
        std::string b;
        int sign;
    };
    const Case cases[] = {
        {"abc", "abc", 0},
        {"a", "B", -1},
        {"Soft\\Tools", "Softy", -1},
        {"10", "9", -1},
        {"あ", "い", -1},
        {"ソフト", "ゲーム", 1},
        {"表示", "表示", 0},
    };
    const win::LocaleCollator locale;
    const win::JapaneseLstrcmpCollator lstrcmp;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a + " / " + c.b);
        EXPECT_EQ(c.sign, Sign(locale.Compare(c.a, c.b)));
        EXPECT_EQ(c.sign, Sign(lstrcmp.Compare(c.a, c.b)));
        // The record list sorts by keys when it can: their byte order must be the same.
        std::string keyA, keyB;
        ASSERT_TRUE(locale.SortKey(c.a, keyA));
        ASSERT_TRUE(locale.SortKey(c.b, keyB));
        EXPECT_EQ(c.sign, Sign(keyA.compare(keyB)));
    }
    // lstrcmpA's texts end at a zero byte; CompareStringA's do not.
    const std::string x("ab\0x", 4);
    const std::string y("ab\0y", 4);
    EXPECT_EQ(0, lstrcmp.Compare(x, y));
    EXPECT_NE(0, locale.Compare(x, y));
}

TEST(CodePageTest, TextWithoutShiftJisCodeIsNotConvertedSilently) {
    struct Case {
        std::wstring text;
        bool held;
        std::string sjis;
    };
    const Case cases[] = {
        {L"", true, ""},
        {L"ソフト\\Web", true, "ソフト\\Web"},
        {L"\x2170", true, "\xFA\x40"},  // small roman numeral one: the IBM code
        {L"caf\x00E9", false, ""},
        {L"\xD83D\xDE00", false, ""},
    };
    for (const Case& c : cases) {
        std::string sjis = "unchanged";
        EXPECT_EQ(c.held, win::ToSjisExactly(c.text, sjis));
        EXPECT_EQ(c.held ? c.sjis : "unchanged", sjis);
    }
}

TEST(CodePageTest, SystemErrorTextsComeThroughWhole) {
    const std::string text = win::SystemErrorText(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(win::ToSjis(win::ToWide(text)), text);
    EXPECT_EQ(std::string::npos, text.find('?'));
}

}  // namespace
}  // namespace torvane
