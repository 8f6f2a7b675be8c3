#include <algorithm>
#include <set>

#include "cli/search_fold.h"
#include "tests/core/cli_fixture.h"

namespace torvane::clitest {
namespace {

TEST(SearchFoldTest, FoldsCaseAndWidthButNotKanaKind) {
    const std::vector<std::pair<const char*, const char*>> same = {
        {u8"ＡＢＣ ｘｙｚ１２３", u8"abc XYZ123"},
        {u8"ﾌｫﾄｴﾃﾞｨﾀｰ", u8"フォトエディター"},
        {u8"ﾊﾟｽﾜｰﾄﾞ｡ｳﾞ", u8"パスワード。ヴ"},
        {u8"製品\u3000キー￥", u8"製品 キー\\"},
        {u8"ΑΒΓ Дом", u8"αβγ дом"},
    };
    for (const auto& [a, b] : same) EXPECT_EQ(cli::FoldForSearch(a), cli::FoldForSearch(b)) << a;
    const std::vector<std::pair<const char*, const char*>> different = {
        {u8"かな", u8"カナ"}, {u8"ｶﾞ", u8"カ"}, {u8"ﾊ", u8"パ"}, {u8"a", u8"á"}};
    for (const auto& [a, b] : different) EXPECT_NE(cli::FoldForSearch(a), cli::FoldForSearch(b)) << a;
    EXPECT_EQ(U"\uFFFD", cli::FoldForSearch("\xFF"));
}

class CliSearchTest : public CliFixture {
protected:
    void SetUp() override {
        TPassItem photo = Record("ソフト\\ツール", "ﾌｫﾄｴﾃﾞｨﾀ", "user1");
        photo.Company = "ＡＣＭＥ株式会社";
        photo.Passwd = "s3cret!";
        photo.Answer = "ポチ";
        TPassItem editor = Record("Soft", "Editor", "ed");
        editor.Company = "acme";
        editor.Kind = 4;
        TPassItem top = Record("", "Top");
        top.URL = "https://example.jp/ｶﾀﾛｸﾞ";
        TPassItem mail = Record("Web", "メール");
        mail.Memo = "一行目\r\nアカウントはＭＡＩＬ";
        file_ = Save("a.csv", {photo, editor, top, mail, Record("soft", "Viewer")});
    }

    std::set<std::string> Titles(const std::vector<std::string>& args) {
        const Result r = Run(args);
        EXPECT_EQ(cli::kExitOk, r.code) << r.err;
        std::set<std::string> titles;
        std::istringstream lines(r.out);
        for (std::string line; std::getline(lines, line);) {
            const size_t start = line.find('\t') + 1;
            titles.insert(line.substr(start, line.find('\t', start) - start));
        }
        return titles;
    }

    std::string file_;
};

TEST_F(CliSearchTest, MatchesFoldedTextInTheChosenFields) {
    struct Case {
        std::vector<std::string> options;
        const char* pattern;
        std::set<std::string> titles;
    };
    const std::vector<Case> cases = {
        {{}, "acme", {u8"ﾌｫﾄｴﾃﾞｨﾀ", "Editor"}},
        {{}, "フォトエディタ", {u8"ﾌｫﾄｴﾃﾞｨﾀ"}},
        {{}, "ｿﾌﾄ\\ﾂｰﾙ", {u8"ﾌｫﾄｴﾃﾞｨﾀ"}},
        {{}, "カタログ", {"Top"}},
        {{}, "mail", {u8"メール"}},
        {{}, "SOFT", {"Editor", "Viewer"}},
        {{}, "", {u8"ﾌｫﾄｴﾃﾞｨﾀ", "Editor", "Top", u8"メール", "Viewer"}},
        {{}, "ぽち", {}},
        {{}, "s3cret", {}},
        {{"--field", "Passwd"}, "S3CRET", {u8"ﾌｫﾄｴﾃﾞｨﾀ"}},
        {{"--field", "userid", "--field=Title"}, "ED", {"Editor"}},
        {{"--field", "UserID"}, "acme", {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"search"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.push_back(Arg(c.pattern));
        args.push_back(file_);
        EXPECT_EQ(c.titles, Titles(args)) << c.pattern;
    }
}

TEST_F(CliSearchTest, PrintsPathTitleKindAndUserButNeverThePassword) {
    Result r = Run({"search", "--field", "Passwd", "s3cret", file_});
    EXPECT_EQ(u8"ソフト\\ツール\tﾌｫﾄｴﾃﾞｨﾀ\tソフトウェア\tuser1\n", r.out);
    r = Run({"search", "--json", Arg("ﾌｫﾄ"), file_});
    EXPECT_EQ(cli::kExitOk, r.code);
    EXPECT_NE(std::string::npos, r.out.find(u8"\"Passwd\":\"********\",\"Hint\":\"\",\"Answer\":\"********\""));
    EXPECT_EQ(std::string::npos, r.out.find("s3cret"));
    EXPECT_EQ(1, std::count(r.out.begin(), r.out.end(), '\n'));
}

TEST_F(CliSearchTest, UnknownFieldIsAUsageError) {
    const Result r = Run({"search", "--field", "Colour", "x", file_});
    EXPECT_EQ(cli::kExitUsage, r.code);
    EXPECT_NE(std::string::npos, r.err.find("usage: torvane-cli search"));
}

}  // namespace
}  // namespace torvane::clitest
