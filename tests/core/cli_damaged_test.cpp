// Files from the format's own writer, which never quotes Path, URL or Mail: a URL with a comma
// makes its line no record. Every reading command prints what the other records give, names the
// line and fails; merge writes nothing unless told to skip it.
#include <cstdio>

#include "store/text_file.h"
#include "tests/core/cli_fixture.h"

namespace torvane::clitest {
namespace {

using listtest::ReadBytes;
using listtest::WriteBytes;

class CliDamagedTest : public CliFixture {
protected:
    struct Copy {
        std::string file;
        std::string line;  // as the warning names it
    };

    // The damaged vector in both kinds; the csv's first memo takes two lines.
    std::vector<Copy> Copies() {
        std::vector<Copy> copies;
        for (const char* kind : {"tvd", "csv"}) {
            const std::string file = folder_.File(std::string("in.") + kind);
            WriteBytes(file, ReadBytes(kData + kind));
            copies.push_back({file, kind == std::string("tvd") ? "line 2 " : "line 3 "});
        }
        return copies;
    }

    const std::string kData = TORVANE_TEST_DATA "/unquoted-url.";
    const std::string password_ = PasswordFile(ReadBytes(kData + "password"));
};

TEST_F(CliDamagedTest, ReadingCommandsPrintTheRestAndFail) {
    const struct {
        std::vector<std::string> args;  // the file follows
        const char* printed;
        int clean;  // the exit status for the same records undamaged
    } kCases[] = {
        {{"search", "example"}, "\tMail\t", cli::kExitOk},
        {{"show", "Web\\Mail"}, "taro@example.jp", cli::kExitOk},
        {{"show", "--json", "Web\\Mail"}, "\"taro@example.jp\"", cli::kExitOk},
        {{"expiring", "--days", "400"}, "2027/01/31", 1},
        {{"tree"}, "\n  Web (1/1)\n", cli::kExitOk},
        {{"tree", "--json"}, "\"name\":\"Web\"", cli::kExitOk},
    };
    for (const Copy& copy : Copies()) {
        const std::string clean = folder_.File("clean.csv");
        ASSERT_EQ(cli::kExitOk, Run({"convert", "--skip-damaged", "--password-file", password_, copy.file, clean}).code);
        for (const auto& c : kCases) {
            std::vector<std::string> args = c.args;
            args.insert(args.begin() + 1, {"--password-file", password_});
            args.push_back(copy.file);
            Result r = Run(args);
            EXPECT_EQ(cli::kExitFileError, r.code) << args[0] << ' ' << copy.file << r.err;
            EXPECT_NE(std::string::npos, r.out.find(c.printed)) << args[0] << ' ' << copy.file << r.out;
            EXPECT_NE(std::string::npos, r.err.find(copy.line + "holds no readable record")) << r.err;
            args.back() = clean;
            r = Run(args);
            EXPECT_EQ(c.clean, r.code) << args[0] << r.err;
            EXPECT_EQ(std::string::npos, r.err.find("no readable record")) << r.err;
        }
    }
    // A record that may be on the skipped line is not reported as merely missing.
    const Result r = Run({"show", "--password-file", password_, "Web\\X", Copies()[0].file});
    EXPECT_EQ(cli::kExitFileError, r.code);
    EXPECT_NE(std::string::npos, r.err.find("no record")) << r.err;
}

TEST_F(CliDamagedTest, MergeWritesNothingUnlessToldToSkip) {
    const std::string other = Save("other.csv", {Record("Top", "Extra")});
    for (const Copy& copy : Copies()) {
        const std::string out = folder_.File("out.csv");
        for (const auto& order : {std::vector<std::string>{copy.file, other}, std::vector<std::string>{other, copy.file}}) {
            Result r = Run({"merge", "--password-file", password_, order[0], order[1], out});
            EXPECT_EQ(cli::kExitFileError, r.code) << r.err;
            EXPECT_NE(std::string::npos, r.err.find(copy.line + "holds no readable record; nothing was written")) << r.err;
            EXPECT_FALSE(FileExists(out));
        }
        const Result r = Run({"merge", "--skip-damaged", "--password-file", password_, copy.file, other, out});
        EXPECT_EQ(cli::kExitOk, r.code) << r.err;
        EXPECT_NE(std::string::npos, r.err.find(copy.line)) << r.err;
        EXPECT_EQ(4u, Load(out).size());
        std::remove(out.c_str());
    }
}

}  // namespace
}  // namespace torvane::clitest
