#include "store/comma_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace torvane {
namespace {

using Fields = std::vector<std::string>;

Fields Split(std::string_view text, CommaBlanks blanks = CommaBlanks::Controls) {
    Fields out;
    CommaSplitter splitter(text, blanks);
    for (CommaField field; splitter.Next(field);) out.push_back(field.Text());
    return out;
}

TEST(CommaTextTest, SeparatesAtCommasOnly) {
    EXPECT_EQ(Fields{}, Split(""));
    EXPECT_EQ(Fields{""}, Split(","));
    EXPECT_EQ((Fields{"a", "", "b"}), Split("a,,b"));
    EXPECT_EQ(Fields{"a"}, Split("a,"));  // a closing "," adds nothing
    EXPECT_EQ((Fields{" a b ", "c"}), Split(" a b ,c"));
    EXPECT_EQ((Fields{"a", "b", "c"}), Split(" a b ,c", CommaBlanks::ControlsAndSpace));
}

TEST(CommaTextTest, ControlCharactersSurroundAndEndUnquotedFields) {
    EXPECT_EQ((Fields{"a", "b"}), Split("\ta\r\n,\t b", CommaBlanks::ControlsAndSpace));
    EXPECT_EQ((Fields{"a", " b"}), Split("\ta\r\n,\t b"));
    EXPECT_EQ((Fields{"a", "b", "c"}), Split("a\tb,c"));
    EXPECT_EQ((Fields{std::string("x\0y", 3)}), Split(std::string_view("x\0y", 3)));
}

TEST(CommaTextTest, QuotedFields) {
    EXPECT_EQ((Fields{"a,b", "c"}), Split("\"a,b\",c"));
    EXPECT_EQ(Fields{"say \"hi\"\r\n"}, Split("\"say \"\"hi\"\"\r\n\""));
    EXPECT_EQ((Fields{"", ""}), Split("\"\",\"\""));
    EXPECT_EQ((Fields{"a", "b", "c"}), Split("\"a\"b,c"));  // text after the closing quote stands alone
    EXPECT_EQ(Fields{"ab\"c"}, Split("\"ab\"\"c"));         // no closing quote: runs to the end
    EXPECT_EQ((Fields{" \"a\"", "b"}), Split(" \"a\",b"));  // a quote later in a field is text
    // A stray lead byte before the closing quote does not swallow it.
    EXPECT_EQ((Fields{"\x81", "x"}), Split("\"\x81\",x"));
}

TEST(CommaTextTest, TrimBlanksRemovesCodesUpToSpace) {
    EXPECT_EQ("a \t b", TrimBlanks(std::string_view("\0 a \t b\r\n\0", 10)));
    EXPECT_EQ("", TrimBlanks(" \t "));
}

}  // namespace
}  // namespace torvane
