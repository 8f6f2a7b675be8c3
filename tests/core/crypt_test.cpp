#include "store/crypt.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>

#include "store/random.h"
#include "tests/core/crypt_reference.h"
#include "tests/core/fixed_clock.h"

namespace torvane {
namespace {

using reference::ReferenceCipher;

std::string Hex(const uint8_t* bytes, int n) {
    std::string out;
    char buf[3];
    for (int i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "%02X", bytes[i]);
        out += buf;
    }
    return out;
}

std::string RandomBytes(std::mt19937& rng, size_t n, int lowest) {
    std::uniform_int_distribution<int> byte(lowest, 255);
    std::string out(n, '\0');
    for (char& c : out) c = static_cast<char>(byte(rng));
    return out;
}

std::string RandomSalt(std::mt19937& rng) {
    std::string out(6, '\0');
    for (char& c : out) c = TextAlphabet[rng() % 65];
    return out;
}

// A record line as the data file holds it: password first, Japanese text, a "\" trail byte (ソ).
const std::string kRecordLine =
    "秘密のパスワードソフト\\登録,ソフトウェア登録,1,山田太郎,pa55word,ABCD-1234-EFGH,,質問,答え,"
    "株式会社ソフト,http://example.jp/,info@example.jp,37061,0,,,メモ";

TEST(CryptTablesTest, WithoutItsDeparturesTheCipherIsTextbookDes) {
    ReferenceCipher des({/*complement=*/false, /*salted=*/false, /*bigEndian=*/true});
    const uint8_t key[8] = {0x13, 0x34, 0x57, 0x79, 0x9B, 0xBC, 0xDF, 0xF1};
    uint8_t block[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    des.ScheduleKeyBlock(key, false);
    des.CryptBlock(block);
    EXPECT_EQ("85E813540F0AB405", Hex(block, 8));
    des.ScheduleKeyBlock(key, true);
    des.CryptBlock(block);
    EXPECT_EQ("0123456789ABCDEF", Hex(block, 8));
}

TEST(CryptTablesTest, ChainedDesTouchesEveryTableEntry) {
    // One known answer reads only 128 of the 512 S-box entries. 400 chained blocks, each under the
    // previous plaintext as key, read every entry many times; the result comes from another DES.
    ReferenceCipher des({false, false, true});
    uint8_t key[8] = {0x13, 0x34, 0x57, 0x79, 0x9B, 0xBC, 0xDF, 0xF1};
    uint8_t block[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    for (int i = 0; i < 400; ++i) {
        uint8_t plain[8];
        std::memcpy(plain, block, 8);
        des.ScheduleKeyBlock(key, false);
        des.CryptBlock(block);
        std::memcpy(key, plain, 8);
    }
    EXPECT_EQ("08A280E96314244D", Hex(block, 8));
}

TEST(CryptTest, FastFormMatchesTheTableSteps) {
    std::mt19937 rng(1234567);
    ReferenceCipher ref;
    TCrypt crypt;
    for (int i = 0; i < 400; ++i) {
        const std::string key = RandomBytes(rng, rng() % 14, 0);
        std::string salt = i % 4 == 0 ? RandomBytes(rng, 6, 0) : RandomSalt(rng);
        if (i % 23 == 0) salt.resize(rng() % 6);  // a public member: any length must behave
        const std::string text = RandomBytes(rng, rng() % 70, i % 2 ? 0 : 1);
        crypt.Key = key;
        crypt.Salt = salt;
        const std::string line = crypt.Encipher(text);
        ASSERT_EQ(ref.Encipher(salt, key, text), line) << "case " << i;
        ASSERT_EQ(ref.Decipher(key, line), crypt.Decipher(line)) << "case " << i;

        // Damaged lines: bytes outside the alphabet, a ragged tail.
        std::string damaged = line + RandomBytes(rng, rng() % 13, 0);
        for (int k = 0; k < 3 && !damaged.empty(); ++k) damaged[rng() % damaged.size()] = static_cast<char>(rng());
        ASSERT_EQ(ref.Decipher(key, damaged), crypt.Decipher(damaged)) << "case " << i;
    }
}

TEST(CryptTest, LineLengthFollowsTheBlockCount) {
    TCrypt crypt;
    crypt.SetKey("pw");
    EXPECT_EQ("", crypt.Encipher(""));
    for (int n = 1; n <= 8; ++n) {
        const std::string line = crypt.Encipher(std::string(n, 'x'));
        EXPECT_EQ(18u, line.size()) << n;
        EXPECT_EQ(crypt.Salt, line.substr(0, 6));
    }
    EXPECT_EQ(30u, crypt.Encipher(std::string(9, 'x')).size());
}

TEST(CryptTest, DeciphersWhatItEnciphered) {
    std::string allBytes;
    for (int c = 1; c < 256; ++c) allBytes += static_cast<char>(c);
    TCrypt writer;
    TCrypt reader;
    writer.SetKey("鍵のテキスト");
    reader.SetKey("鍵のテキスト");
    writer.Mode = TCrypt::kEncipher;
    reader.Mode = TCrypt::kDecipher;
    for (const std::string& text : {std::string("a"), std::string("12345678"), std::string("123456789"), kRecordLine,
                                    allBytes, std::string(4096, 'm')}) {
        writer.NewSalt();
        const std::string line = writer.Process(text);
        EXPECT_EQ(std::string::npos, line.find_first_not_of(TextAlphabet)) << "printable";
        EXPECT_EQ(text, reader.Process(line));
        EXPECT_EQ(line.substr(0, 6), reader.Salt);
    }
}

TEST(CryptTest, ShortLinesPassThroughDecipher) {
    TCrypt crypt;
    crypt.SetKey("pw");
    for (const std::string line : {"", "abc", "ABCDEFGHIJKLM"}) EXPECT_EQ(line, crypt.Decipher(line));
    // Fourteen characters: a salt and less than one group of twelve.
    EXPECT_EQ("", crypt.Decipher("ABCDEFGHIJKLMN"));
}

TEST(CryptTest, EverySaltCharacterChangesTheLine) {
    TCrypt crypt;
    crypt.SetKey("password");
    crypt.Salt = "ABCDEF";
    const std::string first = crypt.Encipher(kRecordLine);
    for (int pos = 0; pos < 6; ++pos) {
        crypt.Salt = "ABCDEF";
        crypt.Salt[pos] = 'q';
        const std::string other = crypt.Encipher(kRecordLine);
        EXPECT_NE(first.substr(6), other.substr(6)) << pos;
        EXPECT_EQ(kRecordLine, crypt.Decipher(other));
    }
}

TEST(CryptTest, OnlyTheFirstFiveKeyCharactersCount) {
    const auto encipher = [](const std::string& key) {
        TCrypt crypt;
        crypt.SetKey(key);
        crypt.Salt = "Ab3+xZ";
        return crypt.Encipher(kRecordLine);
    };
    const std::string line = encipher("abcde");
    EXPECT_EQ(line, encipher("abcdeXYZ"));
    EXPECT_EQ(line, encipher("abcde-and-a-long-tail"));
    EXPECT_NE(line, encipher("abcdX"));
    EXPECT_NE(line, encipher("abcd"));
}

TEST(CryptTest, ShortKeysTakeTheWholeSaltIntoTheKey) {
    // The expansion swaps ignore a salt character's top bit, so a salt differing only there changes
    // the line through the key bytes alone. With three or more key characters the first three salt
    // characters are left out of the key bytes.
    const auto body = [](const std::string& key, int pos) {
        TCrypt crypt;
        crypt.SetKey(key);
        crypt.Salt = "ABCDEF";
        if (pos >= 0) crypt.Salt[pos] = static_cast<char>(crypt.Salt[pos] | 0x80);
        return crypt.Encipher(kRecordLine).substr(6);
    };
    for (const std::string key : {"k", "ke"}) {
        for (int pos = 0; pos < 6; ++pos) EXPECT_NE(body(key, -1), body(key, pos)) << key << pos;
    }
    for (const std::string key : {"key", "longer key"}) {
        for (int pos = 0; pos < 3; ++pos) EXPECT_EQ(body(key, -1), body(key, pos)) << key << pos;
        for (int pos = 3; pos < 6; ++pos) EXPECT_NE(body(key, -1), body(key, pos)) << key << pos;
    }
}

TEST(CryptTest, EmptyPasswordUsesTheFixedKeyText) {
    EXPECT_STREQ("R4%vLq8#Tz1!", kFixedKeyText);
    TCrypt empty;
    empty.Mode = TCrypt::kEncipher;
    empty.SetKey("");
    EXPECT_EQ("R4%vLq8#Tz1!", empty.Key);
    EXPECT_EQ(TCrypt::kPass, empty.Mode);
    EXPECT_EQ("plain", empty.Process("plain"));

    TCrypt fixed;
    fixed.SetKey("R4%vLq8#Tz1!");
    fixed.Salt = empty.Salt;
    EXPECT_EQ(fixed.Encipher(kRecordLine), empty.Encipher(kRecordLine));
}

TEST(CryptEncodingTest, TwoBytesMakeThreeCharacters) {
    EXPECT_EQ(65u, std::strlen(TextAlphabet));
    EXPECT_EQ("AAA", EncodePair(0, 0));
    EXPECT_EQ("f/f", EncodePair(255, 255));
    EXPECT_EQ("CRU", EncodePair(0x12, 0x34));
    for (int v = 0; v < 65536; ++v) {
        const uint8_t x = static_cast<uint8_t>(v >> 8);
        const uint8_t y = static_cast<uint8_t>(v);
        const std::string six = EncodePair(x, y) + EncodePair(y, x);
        uint8_t out[4];
        DecodeQuad(six.c_str(), out);
        ASSERT_EQ(Hex(std::array<uint8_t, 4>{x, y, y, x}.data(), 4), Hex(out, 4)) << six;
    }
}

TEST(CryptEncodingTest, DecodeQuadTakesForeignCharactersAsAllBitsSet) {
    const auto decode = [](const char* six) {
        uint8_t out[4];
        DecodeQuad(six, out);
        return Hex(out, 4);
    };
    EXPECT_EQ("FFFFFFFF", decode("AAAAA*"));
    EXPECT_EQ("F8000000", decode("*AAAAA"));
    EXPECT_EQ("FFFFF800", decode("AA\x82\xA0"
                                 "AA"));  // then shifted by the last two slots
    // "=" is 64, one bit wider than any slot: it spills into the slot above.
    EXPECT_EQ("00000040", decode("AAAAA="));
    EXPECT_EQ("08000000", decode("A=AAAA"));
    EXPECT_EQ("00000000", decode("=AAAAA"));

    std::mt19937 rng(99);
    for (int i = 0; i < 2000; ++i) {
        std::string six = RandomBytes(rng, 6, 0);
        if (i % 2) six = RandomSalt(rng);
        uint8_t expected[4];
        reference::ReferenceDecodeQuad(six.data(), expected);
        ASSERT_EQ(Hex(expected, 4), decode(six.data())) << six;
    }
}

TEST(CryptSaltTest, SaltComesFromTheLocalTimeAndTheGenerator) {
    {
        FixedClock clock(0, TimeOfDay{12, 34, 56, 789}, TimeOfDay{1, 2, 3, 4});
        TCrypt crypt;  // seeds from UTC 01:02:03.004, then draws its first salt
        EXPECT_EQ("YSHQFC", crypt.Salt);
        EXPECT_EQ(1196956322u, RandomState());

        SetRandomState(0);
        crypt.NewSalt();
        EXPECT_EQ("ToIGoB", crypt.Salt);
        EXPECT_EQ(134775814u, RandomState());  // two draws
    }
    FixedClock midnight(0, TimeOfDay{0, 0, 0, 0}, TimeOfDay{});
    SetRandomState(0x12345678);
    TCrypt crypt;
    SetRandomState(0x12345678);
    crypt.NewSalt();
    EXPECT_EQ("f7ZLWL", crypt.Salt);
}

}  // namespace
}  // namespace torvane
