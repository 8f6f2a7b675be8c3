#include "tests/core/cli_fixture.h"

namespace torvane::clitest {
namespace {

using listtest::ReadBytes;

class CliMergeTest : public CliFixture {
protected:
    static TPassItem Edited(const std::string& title, const std::string& memo, TDate lastDate) {
        TPassItem item = Record("Soft", title, "me");
        item.Memo = memo;
        item.LastDate = lastDate;
        return item;
    }

    std::map<std::string, std::string> MemosByTitle(const std::string& file, const std::string& password = "") {
        std::map<std::string, std::string> memos;
        for (const TPassItem& item : Load(file, password)) memos[item.Title] = item.Memo;
        return memos;
    }
};

TEST_F(CliMergeTest, NewerCopiesWinAndSameDayConflictsKeepBoth) {
    const TDate monday = Day(2026, 12, 7);
    const TDate tuesday = Day(2026, 12, 8);
    const std::string a = Save("a.csv", {Edited("same", "", monday), Edited("newer in B", "old", monday),
                                         Edited("newer in A", "A's", tuesday), Edited("conflict", "A's", tuesday),
                                         Edited("deleted in B", "", monday)});
    const std::string b = Save("b.csv", {Edited("same", "", monday), Edited("newer in B", "B's", tuesday),
                                         Edited("newer in A", "old", monday), Edited("conflict", "B's", tuesday),
                                         Edited("added in B", "", tuesday)});
    const std::string bBefore = ReadBytes(b);
    const std::string out = folder_.File("out.csv");
    const Result r = Run({"merge", a, b, out});
    ASSERT_EQ(cli::kExitOk, r.code) << r.err;

    const std::map<std::string, std::string> expected = {
        {"same", ""},       {"newer in B", "B's"},   {"newer in A", "A's"},   {"conflict", "A's"},
        {"conflict (競合)", "B's"}, {"deleted in B", ""}, {"added in B", ""},
    };
    EXPECT_EQ(expected, MemosByTitle(out));
    for (const char* listed : {"newer in B", "newer in A", u8"conflict (競合)"}) {
        EXPECT_NE(std::string::npos, r.err.find(listed)) << listed;
    }
    EXPECT_EQ(std::string::npos, r.err.find("\"Soft\\same\""));
    EXPECT_EQ(bBefore, ReadBytes(b));

    // Merging the result again adds nothing: the conflict copy has a key of its own.
    const std::string again = folder_.File("again.csv");
    ASSERT_EQ(cli::kExitOk, Run({"merge", out, b, again}).code);
    EXPECT_EQ(ReadBytes(out), ReadBytes(again));
}

TEST_F(CliMergeTest, ProtectedFilesAndTheNewPassword) {
    const std::string a = Save("a.tvd", {Record("", "A")}, "pw");
    const std::string b = Save("b.tvd", {Record("", "B")}, "pw");
    const std::string out = folder_.File("out.tvd");
    ASSERT_EQ(cli::kExitOk,
              Run({"merge", "--password-file", PasswordFile("pw"), "--new-password-file", PasswordFile("new"), a, b, out})
                  .code);
    EXPECT_EQ(2u, Load(out, "new").size());
}

TEST_F(CliMergeTest, FailuresWriteNothing) {
    const std::string a = Save("a.tvd", {Record("", "A")}, "pw");
    const std::string plain = Save("b.csv", {Record("", "B")});
    const std::string bad = folder_.File("bad.csv");
    std::string line = FormatLine(Record("", "Bad"));
    listtest::WriteBytes(bad, line.replace(line.find("2001/06/19"), 10, "2001/13/01") + "\r\n");
    const std::string out = folder_.File("out.csv");
    struct Case {
        std::vector<std::string> args;
        int code;
    };
    const std::vector<Case> cases = {
        {{"merge", a, plain, out}, cli::kExitUsage},
        {{"merge", "--password-file", PasswordFile("wrong"), a, plain, out}, cli::kExitWrongPassword},
        {{"merge", plain, bad, out}, cli::kExitFileError},
        {{"merge", plain, folder_.File("none.csv"), out}, cli::kExitFileError},
        {{"merge", plain, plain, plain}, cli::kExitUsage},
        {{"merge", plain, out}, cli::kExitUsage},
        {{"merge", plain, plain, folder_.File("out.tvd")}, cli::kExitUsage},
    };
    const std::string plainBefore = ReadBytes(plain);
    for (const Case& c : cases) {
        const Result r = Run(c.args);
        EXPECT_EQ(c.code, r.code) << r.err;
    }
    EXPECT_EQ((std::vector<std::string>{"a.tvd", "b.csv", "bad.csv", "pw1.txt"}), folder_.Names());
    EXPECT_EQ(plainBefore, ReadBytes(plain));
}

}  // namespace
}  // namespace torvane::clitest
