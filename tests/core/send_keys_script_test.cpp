#include "autoinput/send_keys_script.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>

namespace torvane {
namespace {

// Steps as a compact text: ASCII letters, digits, space and ~ as themselves, other bytes as <hh>,
// key codes as [hhhh], pauses as [p].
std::string Render(const std::vector<SendStep>& steps) {
    std::string out;
    char buf[16];
    for (const SendStep& s : steps) {
        if (s.kind == SendStep::Kind::Code) {
            if (s.keyWord == 0) {
                out += "[p]";
            } else {
                std::snprintf(buf, sizeof buf, "[%04X]", s.keyWord);
                out += buf;
            }
        } else if (std::isalnum(s.byte) || s.byte == ' ' || s.byte == '~') {
            out += static_cast<char>(s.byte);
        } else {
            std::snprintf(buf, sizeof buf, "<%02X>", s.byte);
            out += buf;
        }
    }
    return out;
}

std::string Script(const std::string& text) {
    return Render(ScriptSendText(text));
}

TEST(SendKeysScriptTest, UserTabPasswordAndEveryCode) {
    EXPECT_EQ("user01[0009]secret", Script("user01\\tsecret"));
    EXPECT_EQ("[p][0009][000D][1027][1025][1026][1028][1021][1022][1024][1023]",
              Script("\\p\\t\\n\\R\\L\\U\\D\\^\\v\\H\\E"));
    EXPECT_EQ("abc[1024]X", Script("abc\\HX"));
}

TEST(SendKeysScriptTest, LetterCaseDecidesWhatIsACode) {
    EXPECT_EQ("r", Script("\\r"));
    EXPECT_EQ("[1027]", Script("\\R"));
    EXPECT_EQ("NeT", Script("\\N\\e\\T"));
    EXPECT_EQ("x", Script("\\x"));
}

TEST(SendKeysScriptTest, DoubleByteCharactersAreTwoBytesAndNeverCodes) {
    // ソ is 83 5C: its second byte is the backslash and must not eat the t after it.
    EXPECT_EQ("<83><5C>t", Script("ソt"));
    EXPECT_EQ("<83><5C>[0009]<83><5C>", Script("ソ\\tソ"));
    EXPECT_EQ("<93><FA><96><7B>", Script("日本"));
    // Half-width katakana are one byte each.
    EXPECT_EQ("<B1><B2>", Script("ｱｲ"));
    // A backslash before a double-byte character is dropped; the character is typed whole.
    EXPECT_EQ("<83><5C>", Script("\\ソ"));
}

TEST(SendKeysScriptTest, BackslashPairTypesOneBackslash) {
    EXPECT_EQ("a<5C>b", Script("a\\\\b"));
    // A password "\n" reaches the sender as backslash pair and n: typed, no Enter key.
    EXPECT_EQ("<5C>n", Script("\\\\n"));
    // Three backslashes and t: a typed backslash, then a Tab.
    EXPECT_EQ("<5C>[0009]", Script("\\\\\\t"));
    EXPECT_EQ("<5C><5C>", Script("\\\\\\\\"));
}

TEST(SendKeysScriptTest, ControlBytesAreDropped) {
    EXPECT_EQ("abcd", Script("a\rb\nc\td"));
    EXPECT_EQ("ab", Script(std::string("a\0b", 3)));
    EXPECT_EQ("a", Script("a\\\r"));
    EXPECT_EQ(" ~<7F>", Script(" ~\x7F"));
}

TEST(SendKeysScriptTest, DanglingMarksAtTheEndSendNothing) {
    EXPECT_EQ("ab", Script("ab\\"));
    EXPECT_EQ("ab", Script("ab\x83"));
    EXPECT_EQ("<5C>", Script("\\\\\\"));
    EXPECT_EQ("", Script("\x83"));
    EXPECT_EQ("", Script(""));
    // A lead byte cut off by a zero byte is dropped with it; what follows is still typed.
    EXPECT_EQ("ab", Script(std::string("a\x83\0b", 4)));
}

TEST(SendKeysScriptTest, KeyMessagesCarryTheExtendedAndReleaseBits) {
    auto tab = KeyMessagesFor(0x0009);
    ASSERT_EQ(2u, tab.size());
    EXPECT_EQ(kMsgKeyDown, tab[0].message);
    EXPECT_EQ(0x09, tab[0].virtualKey);
    EXPECT_EQ(0x00000001u, tab[0].lParam);
    EXPECT_EQ(kMsgKeyUp, tab[1].message);
    EXPECT_EQ(0xC0000001u, tab[1].lParam);

    auto home = KeyMessagesFor(0x1024);
    ASSERT_EQ(2u, home.size());
    EXPECT_EQ(0x24, home[0].virtualKey);
    EXPECT_EQ(0x01000001u, home[0].lParam);
    EXPECT_EQ(0xC1000001u, home[1].lParam);
}

TEST(SendKeysScriptTest, CtrlAndShiftAreHeldAroundTheKey) {
    auto keys = KeyMessagesFor(kKeyCtrl | kKeyShift | kKeyExtended | 0x25);
    ASSERT_EQ(6u, keys.size());
    const unsigned expectMsg[] = {kMsgKeyDown, kMsgKeyDown, kMsgKeyDown, kMsgKeyUp, kMsgKeyUp, kMsgKeyUp};
    const unsigned expectKey[] = {0x11, 0x10, 0x25, 0x25, 0x10, 0x11};
    const std::uint32_t expectLParam[] = {0x01000001, 0x00000001, 0x01000001, 0xC1000001, 0xC0000001, 0xC1000001};
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(expectMsg[i], keys[i].message) << i;
        EXPECT_EQ(expectKey[i], keys[i].virtualKey) << i;
        EXPECT_EQ(expectLParam[i], keys[i].lParam) << i;
    }
    auto shiftOnly = KeyMessagesFor(kKeyShift | 0x41);
    ASSERT_EQ(4u, shiftOnly.size());
    EXPECT_EQ(0x10, shiftOnly[0].virtualKey);
    EXPECT_EQ(0x41, shiftOnly[1].virtualKey);
    EXPECT_EQ(0x10, shiftOnly[3].virtualKey);
}

}  // namespace
}  // namespace torvane
