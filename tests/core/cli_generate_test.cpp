#include "tests/core/chi_square.h"
#include "tests/core/cli_fixture.h"
#include "tools/pass_gen_rules.h"

namespace torvane::clitest {
namespace {

class CliGenerateTest : public CliFixture {
protected:
    std::vector<std::string> Lines(const std::vector<std::string>& args) {
        const Result r = Run(args);
        EXPECT_EQ(cli::kExitOk, r.code) << r.err;
        std::vector<std::string> lines;
        std::istringstream in(r.out);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
};

TEST_F(CliGenerateTest, PasswordsFollowTheLengthAndClasses) {
    struct Case {
        std::vector<std::string> args;
        size_t count;
        size_t length;
        unsigned classes;
    };
    const std::vector<Case> cases = {
        {{}, 1, 12, kPassClassesDefault},
        {{"--length", "8", "--classes", "s", "--count", "50"}, 50, 8, kPassSymbol},
        {{"--length=32", "--classes=D", "--count=3"}, 3, 32, kPassDigit},
        {{"--classes", "LU"}, 1, 12, kPassUpper | kPassLower},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"generate"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const std::vector<std::string> lines = Lines(args);
        EXPECT_EQ(c.count, lines.size());
        for (const std::string& password : lines) {
            EXPECT_EQ(c.length, password.size()) << password;
            for (char ch : password) EXPECT_NE(0u, PassCharClass(ch) & c.classes) << password;
        }
    }
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--length", "7"}, {"--length", "33"}, {"--classes", "X"}, {"--classes="}, {"--count", "0"}, {"extra"}}) {
        std::vector<std::string> args = {"generate"};
        args.insert(args.end(), bad.begin(), bad.end());
        const Result r = Run(args);
        EXPECT_EQ(cli::kExitUsage, r.code) << bad[0];
        EXPECT_EQ("", r.out);
    }
}

TEST_F(CliGenerateTest, SystemSourceGivesEveryCharacterAlike) {
    std::string drawn;
    for (const std::string& line : Lines({"generate", "--classes", "ULDS", "--length", "32", "--count", "600"})) {
        drawn += line;
    }
    std::string alphabet;
    for (int c = 0x21; c < 0x7F; ++c) alphabet += static_cast<char>(c);
    EXPECT_LT(ChiSquare(drawn, alphabet), ChiSquareCritical(alphabet.size() - 1));
}

}  // namespace
}  // namespace torvane::clitest
