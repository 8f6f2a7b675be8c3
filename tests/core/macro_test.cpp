#include "autoinput/macro.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace torvane {
namespace {

// What the keystroke sender makes of a text: typed characters as they are, key codes as
// "<t>", "<p>" ..., the pair "\\" as one typed backslash, other backslashes dropped.
std::string SenderView(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = text[i];
        if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
            out += text.substr(i, 2);
            i += 2;
        } else if (c == '\\') {
            if (i + 1 >= text.size()) break;
            const char next = text[i + 1];
            if (next == '\\') {
                out += '\\';
                i += 2;
            } else if (std::strchr("ptnRLUD^vHE", next)) {
                out += std::string("<") + next + ">";
                i += 2;
            } else {
                ++i;
            }
        } else {
            out += static_cast<char>(c);
            ++i;
        }
    }
    return out;
}

TPassItem Login(const std::string& user, const std::string& password) {
    TPassItem item;
    item.UserID = user;
    item.Passwd = password;
    return item;
}

TEST(MacroListTest, DefaultMacrosAreTheFiveBuiltInsInShiftJis) {
    EXPECT_STREQ("標準[U+P]=%U\\t%P,ﾊﾟｽﾜｰﾄﾞ[P]=%P,ｼﾘｱﾙｷｰ[S+K]=%S\\t%K,ｼﾘｱﾙ[S]=%S,ﾌﾟﾛﾀﾞｸﾄｷｰ[K]=%K,", DefaultMacros);
    EXPECT_EQ('\xCA', DefaultMacros[std::strlen("標準[U+P]=%U\\t%P,")]);  // ﾊ is one byte

    TPassItem item;
    const std::vector<std::string> entries = ReadCommaList(FullMacroList(&item));
    ASSERT_EQ(5u, entries.size());
    EXPECT_EQ("ﾌﾟﾛﾀﾞｸﾄｷｰ[K]", MacroName(entries[4]));
    EXPECT_EQ("%K", MacroTemplate(entries[4]));
    EXPECT_EQ("", MacroEntry(FullMacroList(&item), 5));
    EXPECT_EQ("", MacroEntry(FullMacroList(&item), -1));
    EXPECT_EQ("", FullMacroList(nullptr));
}

TEST(MacroListTest, OwnMacrosFollowTheBuiltInsAndKeepWhatWasEntered) {
    TPassItem item;
    SetMacro(item, -1, "ログイン画面", "%U %P");
    SetMacro(item, -1, "b", "x=y");
    EXPECT_EQ("\"ログイン画面=%U %P\",b=x=y", item.Macro);
    const std::string entry = MacroEntry(FullMacroList(&item), 5);
    EXPECT_EQ("ログイン画面", MacroName(entry));
    EXPECT_EQ("%U %P", MacroTemplate(entry));
    EXPECT_EQ("b", MacroName(MacroEntry(item.Macro, 1)));
    EXPECT_EQ("x=y", MacroTemplate(MacroEntry(item.Macro, 1)));

    SetMacro(item, 1, "c", "%S");
    SetMacro(item, 9, "d", "%K");
    EXPECT_EQ("\"ログイン画面=%U %P\",c=%S,d=%K", item.Macro);
    EXPECT_TRUE(DeleteMacro(item, 0));
    EXPECT_FALSE(DeleteMacro(item, 2));
    EXPECT_EQ("c=%S,d=%K", item.Macro);

    EXPECT_EQ("", MacroName("no equals"));
    EXPECT_EQ("no equals", MacroTemplate("no equals"));
}

TEST(CommaListTest, ReadsBlanksQuotesAndCommas) {
    using List = std::vector<std::string>;
    EXPECT_EQ(List({"a", "b", "c d", "e\"f", "", "g"}), ReadCommaList(" a b,\t\"c d\" ,\r\n\"e\"\"f\",,g,"));
    EXPECT_EQ(List({"", "a"}), ReadCommaList(",a"));
    EXPECT_EQ(List({"open, quote"}), ReadCommaList("\"open, quote"));
    EXPECT_EQ(List({"ソ", "x"}), ReadCommaList("ソ,x"));
    EXPECT_EQ(List(), ReadCommaList(" \t\r\n"));
}

TEST(CommaListTest, WritesWhatItReadsBack) {
    const std::vector<std::vector<std::string>> lists = {
        {},
        {""},
        {"a", ""},
        {"", "b", ""},
        {"a b", "c,d", "\"q\"", "tab\there", "ｼﾘｱﾙ=%S", "ソ\\t"},
        {std::string("nul\0byte", 8), "\x83"},
    };
    for (const auto& list : lists) EXPECT_EQ(list, ReadCommaList(WriteCommaList(list)));
    EXPECT_EQ("\"\"", WriteCommaList({""}));
    EXPECT_EQ("", WriteCommaList({}));
    EXPECT_EQ("a,\"b c\",\"say \"\"hi\"\"\"", WriteCommaList({"a", "b c", "say \"hi\""}));
}

TEST(FieldTextTest, LettersNameFieldsInEitherCase) {
    TPassItem item = Login("user", "pw");
    item.Title = "題名";
    item.Kind = 3;
    item.Price = -25;
    item.Memo = "line1\r\nline2";
    ASSERT_TRUE(TryEncodeDate(2001, 6, 19, item.FirstDate));
    item.LimitDate = item.FirstDate;
    EXPECT_EQ("user", FieldText('u', item).Text);
    EXPECT_EQ("題名", FieldText('T', item).Text);
    EXPECT_EQ("WEB登録", FieldText('g', item).Text);
    EXPECT_EQ("25", FieldText('Y', item).Text);
    EXPECT_EQ("line1\r\nline2", FieldText('N', item).Text);
    EXPECT_EQ("2001/06/19", FieldText('D', item).Text);
    EXPECT_EQ("－", FieldText('L', item).Text);
    item.Flags = HasLimitDate;
    EXPECT_EQ("2001/06/19", FieldText('l', item).Text);
    EXPECT_EQ("X", FieldText('X', item).Text);
    EXPECT_FALSE(FieldText('X', item).Split);

    item.Price = 0;
    EXPECT_EQ("0", FieldText('Y', item).Text);
    item.Price = INT32_MIN;
    EXPECT_EQ("2147483648", FieldText('Y', item).Text);
    item.Kind = 6;
    EXPECT_EQ("", FieldText('G', item).Text);
}

TEST(ExpandMacroTest, PlaceholdersAndPassThrough) {
    const TPassItem item = Login("taro", "secret");
    EXPECT_EQ("taro\\tsecret", ExpandMacro(MacroEntry(DefaultMacros, 0), item));
    EXPECT_EQ(ExpandMacro("=%U", item), ExpandMacro("=%u", item));
    EXPECT_EQ("X%taro", ExpandMacro("=%X%%%$U", item));
    EXPECT_EQ("taro", ExpandMacro("%U", item));  // no "=": the whole entry is the template
    EXPECT_EQ("ﾛｸﾞｲﾝ 名前taro", ExpandMacro("n=ﾛｸﾞｲﾝ 名前%U", item));
    EXPECT_EQ("ソt\\n表", ExpandMacro("n=ソt\\n表", item));  // 83 5C: no code starts inside ソ
    EXPECT_EQ("ソ%", ExpandMacro("n=%ソ%%", item));
}

TEST(ExpandMacroTest, SplitFieldsUseTabOrPause) {
    TPassItem item;
    item.Serial = "1234-5678";
    item.ProdKey = "AB-CD";
    EXPECT_EQ("1234-5678 1234-5678", ExpandMacro("=%S %$S", item));
    item.Flags = SerSplit;
    EXPECT_EQ("1234\\t5678 1234\\p5678 AB-CD", ExpandMacro("=%S %$S %K", item));
    item.Flags = KeySplit;
    EXPECT_EQ("1234-5678 AB\\tCD AB\\pCD", ExpandMacro("=%S %k %$k", item));
    item.ProdKey = "ソ-\\";
    EXPECT_EQ("<t>:ソ<t>\\", SenderView(ExpandMacro("=\\t:%K", item)));
}

TEST(ExpandMacroTest, FieldTextIsTypedAsItStands) {
    const TPassItem item = Login("C:\\dir", "ab\\nc\\");
    EXPECT_EQ("ab\\\\nc\\\\", ExpandMacro("=%P", item));
    EXPECT_EQ("C:\\dir<t>ab\\nc\\<n>", SenderView(ExpandMacro(MacroEntry(DefaultMacros, 0) + "\\n", item)));
    EXPECT_EQ("ソ", ExpandMacro("=%P", Login("", "ソ")));
    // A template backslash right before a field would otherwise make a code of its first letter.
    EXPECT_EQ("tom", ExpandMacro("=\\%U", Login("tom", "")));
    EXPECT_EQ("\\\\tom", ExpandMacro("=\\\\%U", Login("tom", "")));
}

TEST(ExpandMacroTest, DanglingMarksAtTheEndAddNothing) {
    const TPassItem item = Login("a\x83", "");
    EXPECT_EQ("x", ExpandMacro("=x%", item));
    EXPECT_EQ("x", ExpandMacro("=x%$", item));
    EXPECT_EQ("x", ExpandMacro("=x\x83", item));
    EXPECT_EQ("x", ExpandMacro("=x%\x83", item));
    EXPECT_EQ("a\\t", ExpandMacro("=%U\\t", item));  // the broken field character keeps off the code
}

TEST(BuildMacroTextTest, AddEnterEndsWithAPauseAndEnter) {
    const TPassItem item = Login("taro", "secret");
    EXPECT_EQ("secret", BuildMacroText(1, false, item));
    EXPECT_EQ("secret\\p\\n", BuildMacroText(1, true, item));
    EXPECT_EQ("secret\\p\\n", BuildMacroText("x=%P", true, item));
    EXPECT_EQ("C:<p><n>", SenderView(BuildMacroText("x=C:\\", true, item)));
    EXPECT_EQ("x\\p\\n", BuildMacroText("=x\x83", true, item));
    EXPECT_EQ("\\p\\n", BuildMacroText("x=", true, item));
    EXPECT_EQ("", BuildMacroText(5, true, item));
    EXPECT_EQ("", BuildMacroText("", true, item));
}

}  // namespace
}  // namespace torvane
