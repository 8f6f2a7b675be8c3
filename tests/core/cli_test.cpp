#include "cli/cli.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <sstream>

#include "store/pass_list.h"
#include "store/text_file.h"
#include "tests/core/cli_fixture.h"

namespace torvane {
namespace {

using clitest::Day;
using listtest::ReadBytes;
using listtest::WriteBytes;

TPassItem Record(const std::string& path, const std::string& title) {
    TPassItem item = clitest::Record(path, title);
    item.LimitDate = Day(2002, 1, 31);
    return item;
}

// A record line whose limit date is the given text.
std::string LineWithLimit(const std::string& limit) {
    std::string line = FormatLine(Record("", "Bad"));
    return line.replace(line.find("2002/01/31"), 10, limit);
}

using CliTest = clitest::CliFixture;

TEST_F(CliTest, UsageErrorsExitWithTwoAndTheUsage) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"list", "a.csv"},
        {"dump"},
        {"dump", "a.csv", "b.csv"},
        {"dump", "--verbose", "a.csv"},
        {"dump", "a.csv", "--password-file"},
        {"dump", "--new-password-file", "g", "a.csv"},
        {"convert", "--json", "a.csv", "b.csv"},
        {"convert", "a.csv"},
    };
    for (const auto& args : wrong) {
        const Result r = Run(args);
        EXPECT_EQ(r.code, cli::kExitUsage) << (args.empty() ? "" : args[0]);
        EXPECT_NE(r.err.find("usage: torvane-cli dump"), std::string::npos);
        EXPECT_EQ(r.out, "");
    }
    const Result help = Run({"--help"});
    EXPECT_EQ(help.code, cli::kExitOk);
    EXPECT_NE(help.out.find("usage:"), std::string::npos);
}

TEST_F(CliTest, DumpPrintsTheDataFileLinesInListOrder) {
    TPassItem memo = Record("", "B");
    memo.Memo = "1\r\n2";
    const std::string file = Save("a.csv", {memo, Record("", "A")});
    const Result r = Run({"dump", file});
    EXPECT_EQ(r.code, cli::kExitOk) << r.err;
    EXPECT_EQ(r.out, FormatLine(Record("", "A")) + "\r\n" + FormatLine(memo) + "\r\n");
    EXPECT_EQ(r.out, ReadBytes(file));  // itself a plain data file
    EXPECT_EQ(r.err, "");
}

TEST_F(CliTest, DumpJsonGivesOneUtf8ObjectPerRecord) {
    TPassItem item = Record("ソフト\\表", "題\"名\"");
    item.Kind = 3;
    item.UserID = "ユーザー";
    item.Price = -25;
    item.ShopName = "Shop";
    item.Flags = 11;
    item.Memo = "a\r\n\tb";
    item.LastDate = Day(2024, 2, 29);
    const Result r = Run({"dump", "--json", Save("a.csv", {item})});
    ASSERT_EQ(r.code, cli::kExitOk) << r.err;
    EXPECT_EQ(r.out,
              u8R"({"Path":"ソフト\\表","Title":"題\"名\"","Kind":3,"UserID":"ユーザー","Passwd":"","Hint":"",)"
              u8R"("Answer":"","Company":"","Serial":"","ProdKey":"","Price":-25,"ShopName":"Shop","Flags":11,)"
              u8R"("LimitDate":"2002/01/31","URL":"","Mail":"","FirstDate":"2001/06/19","LastDate":"2024/02/29",)"
              u8R"("Macro":"","Memo":"a\r\n\tb"})"
              "\n");
}

TEST_F(CliTest, DumpJsonRefusesTextThatIsNotShiftJis) {
    TPassItem item = Record("", "ok");
    item.Memo = "\x81";  // a lead byte without its second byte
    const Result r = Run({"dump", "--json", Save("a.csv", {Record("", "first"), item})});
    EXPECT_EQ(r.code, cli::kExitFileError);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Memo"), std::string::npos);
}

TEST_F(CliTest, ProtectedDumpTakesThePasswordFromAFileOrTheEnvironment) {
    const std::string file = Save("a.tvd", {Record("", "A")}, "secret");
    const std::string expected = FormatLine(Record("", "A")) + "\r\n";
    EXPECT_EQ(Run({"dump", "--password-file", PasswordFile("secret\r\nsecond line")}).code, cli::kExitUsage);
    Result r = Run({"dump", "--password-file", PasswordFile("secret\r\nsecond line"), file});
    EXPECT_EQ(r.code, cli::kExitOk) << r.err;
    EXPECT_EQ(r.out, expected);
    r = Run({"dump", "--password-file=" + PasswordFile("secret"), file});
    EXPECT_EQ(r.out, expected);

    env_["TORVANE_PASSWORD"] = "secret";
    r = Run({"dump", file});
    EXPECT_EQ(r.code, cli::kExitOk);
    EXPECT_EQ(r.out, expected);
    // A password file wins over the environment.
    r = Run({"dump", "--password-file", PasswordFile("wrong\n"), file});
    EXPECT_EQ(r.code, cli::kExitWrongPassword);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("wrong password"), std::string::npos);
}

TEST_F(CliTest, ProtectedFileWithoutPasswordIsAUsageError) {
    const std::string file = Save("a.tvd", {Record("", "A")}, "secret");
    Result r = Run({"dump", file});
    EXPECT_EQ(r.code, cli::kExitUsage);
    EXPECT_NE(r.err.find("TORVANE_PASSWORD"), std::string::npos);
    r = Run({"dump", "--password-file", PasswordFile("\r\n"), file});
    EXPECT_EQ(r.code, cli::kExitUsage);
    // Letter case counts: ".TVD" names a plain file, which needs no password.
    const std::string upper = folder_.File("b.TVD");
    WriteBytes(upper, ReadBytes(Save("b.csv", {Record("", "B")})));
    r = Run({"dump", upper});
    EXPECT_EQ(r.code, cli::kExitOk);
    EXPECT_EQ(r.out, FormatLine(Record("", "B")) + "\r\n");
}

TEST_F(CliTest, FileAndDataErrorsExitWithFourAndPrintNothing) {
    Result r = Run({"dump", folder_.File("none.csv")});
    EXPECT_EQ(r.code, cli::kExitFileError);
    EXPECT_NE(r.err.find("no such file"), std::string::npos);

    r = Run({"dump", "--password-file", folder_.File("none.txt"), Save("a.tvd", {Record("", "A")}, "pw")});
    EXPECT_EQ(r.code, cli::kExitFileError);

    const std::string bad = folder_.File("bad.csv");
    WriteBytes(bad, FormatLine(Record("", "A")) + "\r\n" + LineWithLimit("2001/02/30") + "\r\n");
    r = Run({"dump", bad});
    EXPECT_EQ(r.code, cli::kExitFileError);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("bad data"), std::string::npos);
}

TEST_F(CliTest, DataAfterCharacter26IsAnErrorNotAShorterFile) {
    const std::string file = folder_.File("cut.csv");
    WriteBytes(file, FormatLine(Record("", "A")) + "\r\n\x1a" + FormatLine(Record("", "B")) + "\r\n");
    Result r = Run({"dump", file});
    EXPECT_EQ(r.code, cli::kExitFileError);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("character 26"), std::string::npos);
    const std::string out = folder_.File("out.csv");
    EXPECT_EQ(Run({"convert", file, out}).code, cli::kExitFileError);
    EXPECT_FALSE(FileExists(out));
}

// The records of dump --json output, each as its fields and values, in any order and spacing.
std::multiset<std::map<std::string, std::string>> JsonRecords(const std::string& jsonLines) {
    std::multiset<std::map<std::string, std::string>> records;
    std::istringstream lines(jsonLines);
    std::string line;
    while (std::getline(lines, line)) {
        std::map<std::string, std::string> fields;
        std::vector<std::string> tokens;  // strings (with their escapes) and numbers, in order
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '"') {
                size_t end = i + 1;
                while (end < line.size() && line[end] != '"') end += line[end] == '\\' ? 2 : 1;
                tokens.push_back(line.substr(i, end - i + 1));
                i = end;
            } else if (line[i] == '-' || std::isdigit(static_cast<unsigned char>(line[i]))) {
                size_t end = i;
                while (end < line.size() && (line[end] == '-' || std::isdigit(static_cast<unsigned char>(line[end])))) ++end;
                tokens.push_back(line.substr(i, end - i));
                i = end - 1;
            }
        }
        for (size_t i = 0; i + 1 < tokens.size(); i += 2) fields[tokens[i]] = tokens[i + 1];
        records.insert(fields);
    }
    return records;
}

// Files from the format's own writer, which never quotes Path, URL or Mail: a URL with a comma
// makes its line no record, and only that line is lost.
TEST_F(CliTest, DamagedLinesAreNamedAndTheOtherRecordsKept) {
    const std::string data = TORVANE_TEST_DATA "/unquoted-url.";
    const std::string readable = ReadBytes(data + "readable.jsonl");
    ASSERT_FALSE(readable.empty());
    const std::string password = PasswordFile(ReadBytes(data + "password"));
    for (const char* kind : {"tvd", "csv"}) {
        const std::string in = folder_.File(std::string("in.") + kind);
        WriteBytes(in, ReadBytes(data + kind));
        const std::string line = kind == std::string("tvd") ? "line 2" : "line 3";  // the csv's memo takes two
        Result r = Run({"dump", "--json", "--password-file", password, in});
        EXPECT_EQ(r.code, cli::kExitFileError) << kind;
        EXPECT_EQ(JsonRecords(r.out), JsonRecords(readable)) << kind;
        EXPECT_NE(r.err.find(line + " holds no readable record"), std::string::npos) << r.err;

        const std::string out = folder_.File(std::string("out.") + kind);
        r = Run({"convert", "--password-file", password, in, out});
        EXPECT_EQ(r.code, cli::kExitFileError);
        EXPECT_FALSE(FileExists(out));
        r = Run({"convert", "--skip-damaged", "--password-file", password, in, out});
        EXPECT_EQ(r.code, cli::kExitOk) << r.err;
        EXPECT_NE(r.err.find(line), std::string::npos);
        r = Run({"dump", "--json", "--password-file", password, out});
        EXPECT_EQ(r.code, cli::kExitOk) << r.err;
        EXPECT_EQ(JsonRecords(r.out), JsonRecords(readable));
    }
}

#ifndef _WIN32
TEST_F(CliTest, EndlessLineStopsTheLoad) {
    const Result r = Run({"dump", "/dev/zero"});
    EXPECT_EQ(r.code, cli::kExitFileError);
    EXPECT_NE(r.err.find("longer than 64 MB"), std::string::npos) << r.err;
}
#endif

// A protected file may hold the character, which a plain file cannot: no plain output is made.
TEST_F(CliTest, RecordWithCharacter26IsNeverWrittenPlain) {
    TPassItem marked = Record("", "Ma\x1arked");
    marked.Memo = "a\x1a?";
    const std::string in = Save("in.tvd", {Record("", "A"), marked}, "pw");
    env_["TORVANE_PASSWORD"] = "pw";
    const std::string out = folder_.File("out.csv");
    Result r = Run({"convert", in, out});
    EXPECT_EQ(r.code, cli::kExitFileError);
    EXPECT_NE(r.err.find("record 2 (\"Ma?rked\")"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(".tvd"), std::string::npos);
    EXPECT_FALSE(FileExists(out));

    r = Run({"dump", in});
    EXPECT_EQ(r.code, cli::kExitFileError);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("--json"), std::string::npos);
    r = Run({"dump", "--json", in});
    EXPECT_EQ(r.code, cli::kExitOk) << r.err;
    EXPECT_NE(r.out.find(R"("Memo":"a\u001a?")"), std::string::npos);

    const std::string copy = folder_.File("copy.tvd");
    ASSERT_EQ(Run({"convert", in, copy}).code, cli::kExitOk);
    EXPECT_EQ(Run({"dump", "--json", copy}).out, r.out);
}

// Enciphered, a character 0 would make the output unreadable under any password; a plain file
// holds it.
TEST_F(CliTest, RecordWithCharacter0IsNeverWrittenProtected) {
    TPassItem nul = Record("", "Nul");
    nul.Memo = std::string("a\0b", 3);
    const std::string in = Save("in.csv", {Record("", "A"), nul});
    env_["TORVANE_PASSWORD"] = "pw";
    const std::string out = folder_.File("out.tvd");
    const Result r = Run({"convert", in, out});
    EXPECT_EQ(r.code, cli::kExitFileError);
    EXPECT_NE(r.err.find("record 2 (\"Nul\") holds a character 0"), std::string::npos) << r.err;
    EXPECT_FALSE(FileExists(out));

    const std::string copy = folder_.File("copy.csv");
    ASSERT_EQ(Run({"convert", in, copy}).code, cli::kExitOk);
    EXPECT_EQ(ReadBytes(copy), ReadBytes(in));
}

// Such a password would enter every enciphered line and cut it short when deciphered.
TEST_F(CliTest, PasswordHoldingCharacter0IsAUsageError) {
    const std::string in = Save("in.csv", {Record("", "A")});
    const std::string out = folder_.File("out.tvd");
    Result r = Run({"convert", "--new-password-file", PasswordFile(std::string("pa\0ss\r\n", 7)), in, out});
    EXPECT_EQ(r.code, cli::kExitUsage);
    EXPECT_NE(r.err.find("character 0"), std::string::npos) << r.err;
    EXPECT_FALSE(FileExists(out));
    // Only the first line is the password.
    r = Run({"convert", "--new-password-file", PasswordFile(std::string("pass\r\n\0", 7)), in, out});
    EXPECT_EQ(r.code, cli::kExitOk) << r.err;
}

TEST_F(CliTest, ConvertReenciphersUnderTheNewPasswordAndBack) {
    const std::string in = Save("in.tvd", {Record("", "B"), Record("X", "A")}, "old");
    const std::string out = folder_.File("out.tvd");
    env_["TORVANE_PASSWORD"] = "old";
    Result r = Run({"convert", "--new-password-file", PasswordFile("new"), in, out});
    ASSERT_EQ(r.code, cli::kExitOk) << r.err;
    EXPECT_EQ(Run({"dump", out}).code, cli::kExitWrongPassword);
    env_["TORVANE_PASSWORD"] = "new";
    // Byte order: the key X\A: comes before \B:.
    const std::string lines = FormatLine(Record("X", "A")) + "\r\n" + FormatLine(Record("", "B")) + "\r\n";
    EXPECT_EQ(Run({"dump", out}).out, lines);

    const std::string plain = folder_.File("plain.csv");
    r = Run({"convert", out, plain});
    ASSERT_EQ(r.code, cli::kExitOk) << r.err;
    EXPECT_EQ(ReadBytes(plain), lines);
}

TEST_F(CliTest, FailedConvertLeavesTheOutputAsItWas) {
    const std::string out = folder_.File("out.csv");
    WriteBytes(out, "previous");
    const std::string bad = folder_.File("bad.csv");
    WriteBytes(bad, LineWithLimit("x/1/1") + "\r\n");
    EXPECT_EQ(Run({"convert", bad, out}).code, cli::kExitFileError);
    EXPECT_EQ(Run({"convert", Save("a.tvd", {Record("", "A")}, "pw"), out}).code, cli::kExitUsage);
    env_["TORVANE_PASSWORD"] = "nope";
    EXPECT_EQ(Run({"convert", folder_.File("a.tvd"), out}).code, cli::kExitWrongPassword);
    EXPECT_EQ(ReadBytes(out), "previous");

    const Result r = Run({"convert", Save("b.csv", {Record("", "B")}), folder_.File("missing") + "/out.csv"});
    EXPECT_EQ(r.code, cli::kExitFileError);
    EXPECT_NE(r.err.find("cannot write"), std::string::npos);
    EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"a.tvd", "b.csv", "bad.csv", "out.csv"}));
}

TEST_F(CliTest, ProtectedOutputNeedsAPassword) {
    const std::string out = folder_.File("out.tvd");
    const Result r = Run({"convert", Save("a.csv", {Record("", "A")}), out});
    EXPECT_EQ(r.code, cli::kExitUsage);
    EXPECT_NE(r.err.find("--new-password-file"), std::string::npos);
    EXPECT_EQ(ReadBytes(out), "");
}

}  // namespace
}  // namespace torvane
