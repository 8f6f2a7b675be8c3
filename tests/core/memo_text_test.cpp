#include "editor/memo_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace torvane {
namespace {

// ASCII as itself, U+3041 to U+30FC as two bytes led by 0x82 (their second bytes include "\"
// and letters), anything else as a "?" that does not convert back.
bool FakeToSjis(std::wstring_view wide, std::string& sjis) {
    sjis.clear();
    bool exact = true;
    for (const wchar_t c : wide) {
        if (c < 0x80) {
            sjis += static_cast<char>(c);
        } else if (c > 0x3040 && c <= 0x30FC) {
            sjis += '\x82';
            sjis += static_cast<char>(0x40 + (c - 0x3041) % 0xBD);
        } else {
            sjis += '?';
            exact = false;
        }
    }
    return exact;
}

// After any series of edits, patching gives what converting the whole text gives.
TEST(MemoTextTest, PatchedTextEqualsAWholeConversion) {
    const std::wstring alphabet = L"ab\r\n\\\x3041\x305d\x3069\x30fc\x4e00";
    std::mt19937 random(7);
    MemoText memo(FakeToSjis);
    std::wstring wide;
    for (int step = 0; step < 3000; ++step) {
        const size_t at = wide.empty() ? 0 : random() % (wide.size() + 1);
        const size_t removed = std::min<size_t>(random() % 3, wide.size() - at);
        std::wstring added;
        for (unsigned n = random() % 3; n > 0; --n) added += alphabet[random() % alphabet.size()];
        // Now and then a lossy character goes again, and a paste replaces everything.
        if (step % 500 == 499) {
            wide = L"x\r\ny";
        } else {
            wide.replace(at, removed, added);
        }
        memo.Update(wide);
        std::string whole;
        const bool exact = FakeToSjis(wide, whole);
        ASSERT_EQ(memo.Text(), whole) << "step " << step;
        ASSERT_EQ(memo.Exact(), exact) << "step " << step;
        ASSERT_EQ(memo.WholeLines(), OnlyWholeLineBreaks(whole)) << "step " << step;
        ASSERT_TRUE(memo.Known());
    }
}

TEST(MemoTextTest, LineBreaksAreWholeOnlyAsPairs) {
    const struct {
        const char* text;
        bool whole;
    } cases[] = {{"", true},     {"a\r\nb\r\n", true}, {"a\nb", false},  {"a\rb", false},
                 {"a\r", false}, {"\n\r", false},      {"\r\r\n", false}};
    for (const auto& c : cases) EXPECT_EQ(OnlyWholeLineBreaks(c.text), c.whole) << c.text;
}

}  // namespace
}  // namespace torvane
