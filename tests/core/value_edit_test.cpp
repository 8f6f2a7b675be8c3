// The numeric edit's rules: tidying, the key filter, the length limit and reading the number.
#include "tools/value_edit.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace torvane {
namespace {

TEST(ValueEditTest, TidyDropsLeadingZerosAndCompletesAPoint) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {{"007", "7"}, {"0", "0"}, {"00", "0"}, {".5", "0.5"}, {"00.5", "0.5"},
                 {"0.", "0."}, {"", ""},   {"120", "120"}, {"000", "0"}};
    for (const auto& c : cases) EXPECT_EQ(TidyValueText(c.in), c.out) << c.in;
}

TEST(ValueEditTest, KeyFilter) {
    const struct {
        const char* text;
        size_t caret;
        int scale;
        char ch;
        bool accepted;
    } cases[] = {
        {"12", 2, 0, '5', true},    {"12", 2, 0, 'a', false},   {"12", 2, 0, '-', false},
        {"12", 1, 0, '.', true},    {"1.2", 0, 0, '.', false},  {"1.2", 3, 0, '.', false},
        {"1.2", 3, 0, '\b', true},  {"1.25", 4, 2, '7', false}, {"1.25", 1, 2, '7', true},
        {"1.25", 4, 2, '\b', true}, {"1.2", 3, 2, '7', true},   {"1.25", 4, 0, '7', true},
        {"", 0, 0, ' ', false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ValueKeyAccepted(c.text, c.caret, c.scale, c.ch), c.accepted)
            << c.text << " caret " << c.caret << " scale " << c.scale << " char " << int{c.ch};
    }
}

TEST(ValueEditTest, TooLongTextKeepsItsLastColumns) {
    EXPECT_EQ(LimitValueText("123456", 5), "23456");
    EXPECT_EQ(LimitValueText("100005", 5), "5");  // tidied again after the cut
    EXPECT_EQ(LimitValueText("123456", 0), "123456");
    EXPECT_EQ(LimitValueText("0012", 3), "12");
}

TEST(ValueEditTest, ValueIgnoresThePointAndRefusesWhatIsNoInteger) {
    EXPECT_EQ(ValueOfText(""), 0);
    EXPECT_EQ(ValueOfText("12.5"), 125);
    EXPECT_EQ(ValueOfText("2147483647"), 2147483647);
    EXPECT_EQ(ValueOfText("-2147483648"), INT32_MIN);
    for (const char* bad : {"2147483648", "99999999999999999999", "abc", "1.2.3", "-", "12a"}) {
        try {
            ValueOfText(bad);
            ADD_FAILURE() << bad;
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(error.what(), "'" + std::string(bad) + "' は整数ではありません");
        }
    }
}

TEST(ValueEditTest, ScaleAndBase) {
    EXPECT_EQ(CutToScale("1.2345", 2), "1.23");
    EXPECT_EQ(CutToScale("1.2", 2), "1.2");
    EXPECT_EQ(RebaseValueText("1.5", 2, 100), "1.50");
    EXPECT_EQ(RebaseValueText("", 2, 100), "0.00");
    EXPECT_EQ(RebaseValueText("7", 0, 10), "7");
}

}  // namespace
}  // namespace torvane
