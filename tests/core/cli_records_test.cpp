#include <algorithm>

#include "app/folder_tree.h"
#include "tests/core/cli_fixture.h"
#include "tests/core/fixed_clock.h"

namespace torvane::clitest {
namespace {

using listtest::WriteBytes;

class CliRecordsTest : public CliFixture {};

TEST_F(CliRecordsTest, ShowSelectsByPositionOrPathAndMasksSecrets) {
    TPassItem item = Record("ソフト", "エディタ", "me");
    item.Passwd = "pa55";
    item.Answer = "ポチ";
    item.Price = -25;
    item.Flags = HasLimitDate | SerSplit;
    item.LimitDate = Day(2030, 1, 31);
    item.Memo = "1行目\r\n2行目";
    const std::string file = Save("a.csv", {item, Record("", "Top"), Record("X", "Twin", "a"), Record("X", "Twin", "b")});

    const Result byPath = Run({"show", Arg("ソフト\\エディタ"), file});
    EXPECT_EQ(cli::kExitOk, byPath.code) << byPath.err;
    // In sort order the twins come first, then the top record.
    for (const char* line : {u8"番号: 4\n", u8"パスワード: ********\n", u8"答え: ********\n", u8"金額: US$ 25\n",
                             u8"有効期限: 2030/01/31\n", u8"メモ: 1行目\n  2行目\n", u8"シリアル:  ('-'で分割)\n"}) {
        EXPECT_NE(std::string::npos, byPath.out.find(line)) << line;
    }
    EXPECT_EQ(std::string::npos, byPath.out.find("pa55"));
    EXPECT_EQ(byPath.out, Run({"show", "4", file}).out);

    const Result revealed = Run({"show", "--reveal", "--json", "4", file});
    EXPECT_NE(std::string::npos, revealed.out.find("\"Passwd\":\"pa55\""));
    EXPECT_NE(std::string::npos, Run({"show", "\\Top", file}).out.find(u8"タイトル: Top\n"));
    EXPECT_EQ(Run({"show", "Top", file}).out, Run({"show", "3", file}).out);

    for (const char* selector : {"0", "5", "X\\None", "X\\Twin"}) {
        const Result r = Run({"show", selector, file});
        EXPECT_EQ(cli::kExitUsage, r.code) << selector;
        EXPECT_EQ("", r.out);
    }
    EXPECT_NE(std::string::npos, Run({"show", "X\\Twin", file}).err.find("(1, 2)"));
}

TEST_F(CliRecordsTest, ExpiringListsDueRecordsSoonestFirstOnTheProgramsBoundaries) {
    const TDate today = Day(2026, 12, 8);
    FixedClock clock(today + 0.5);
    std::vector<TPassItem> items;
    for (int offset : {7, 6, 0, -1, 1}) {
        TPassItem item = Record("P", "in " + std::to_string(offset));
        item.Flags = HasLimitDate;
        item.LimitDate = today + offset;
        items.push_back(item);
    }
    TPassItem noFlag = Record("P", "no flag");
    noFlag.LimitDate = today - 10;
    items.push_back(noFlag);
    const std::string file = Save("a.csv", items);

    Result r = Run({"expiring", file});
    EXPECT_EQ(1, r.code) << r.err;
    EXPECT_EQ("2026/12/07\t-1\tP\tin -1\t" + std::string(u8"ソフトウェア") +
                  "\n2026/12/08\t0\tP\tin 0\t" + u8"ソフトウェア" + "\n2026/12/09\t1\tP\tin 1\t" + u8"ソフトウェア" +
                  "\n2026/12/14\t6\tP\tin 6\t" + u8"ソフトウェア" + "\n",
              r.out);

    struct Case {
        std::vector<std::string> args;
        const char* ini;
        int code;
        size_t lines;
    };
    const std::vector<Case> cases = {
        {{"--days", "0"}, nullptr, 1, 1},     {{"--days", "8"}, nullptr, 1, 5},
        {{}, "ALERMDATE=2\r\n", 1, 3},        {{"--days=1"}, "ALERMDATE=30\r\n", 1, 2},
        {{}, "alermdate=x\r\n", 1, 4},
    };
    for (const Case& c : cases) {
        WriteBytes(folder_.File("Torvane.ini"), c.ini ? c.ini : "");
        std::vector<std::string> args = {"expiring"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.push_back(file);
        r = Run(args);
        EXPECT_EQ(c.code, r.code) << r.err;
        EXPECT_EQ(c.lines, static_cast<size_t>(std::count(r.out.begin(), r.out.end(), '\n'))) << r.out;
    }
    r = Run({"expiring", "--json", "--days", "0", file});
    EXPECT_EQ(0u, r.out.find("{\"DaysLeft\":-1,\"Path\":\"P\""));

    const std::string none = Save("b.csv", {noFlag});
    r = Run({"expiring", none});
    EXPECT_EQ(cli::kExitOk, r.code);
    EXPECT_EQ("", r.out);
    EXPECT_EQ(cli::kExitUsage, Run({"expiring", "--days", "-1", file}).code);
}

// The folder tree as text, straight from the program's folder model.
void ModelText(const FolderNode& node, int depth, std::string& out) {
    for (const auto& child : node.children) {
        out += std::string(static_cast<size_t>(depth) * 2, ' ') + child->name + "\n";
        ModelText(*child, depth + 1, out);
    }
}

TEST_F(CliRecordsTest, TreeIsTheProgramsFolderModelWithCounts) {
    const std::vector<TPassItem> items = {
        Record("Web", "w"),      Record("Soft\\Tools", "t"), Record("soft", "s"), Record("Soft", "a"),
        Record("Soft", "b"),     Record("", "top"),          Record("ソフト\\表", "j"), Record("Soft\\Apps\\X", "x"),
    };
    const std::string file = Save("a.csv", items);
    const Result r = Run({"tree", file});
    EXPECT_EQ(cli::kExitOk, r.code) << r.err;
    EXPECT_EQ(u8"カテゴリ分類 (1/8)\n"
              "  Soft (2/4)\n"
              "    Apps (0/1)\n"
              "      X (1/1)\n"
              "    Tools (1/1)\n"
              "  Web (1/1)\n"
              "  soft (1/1)\n"
              u8"  ソフト (0/1)\n"
              u8"    表 (1/1)\n",
              r.out);

    // The same names in the same order as the program's model of the loaded list.
    std::vector<std::string> paths;
    for (const TPassItem& item : Load(file)) paths.push_back(item.Path);
    std::vector<std::string_view> views(paths.begin(), paths.end());
    std::string model;
    ModelText(*BuildFolderTree(views, collator_), 1, model);
    std::string modelUtf8;
    cli::AppendSjisAsUtf8(model, modelUtf8);
    std::string shown;
    std::istringstream lines(r.out);
    std::getline(lines, shown);  // the top node
    shown.clear();
    for (std::string line; std::getline(lines, line);) shown += line.substr(0, line.rfind(" (")) + "\n";
    EXPECT_EQ(modelUtf8, shown);

    const Result json = Run({"tree", "--json", file});
    EXPECT_EQ(0u, json.out.find(u8"{\"name\":\"カテゴリ分類\",\"path\":\"\",\"records\":1,\"total\":8,\"children\":"
                                "[{\"name\":\"Soft\",\"path\":\"Soft\",\"records\":2,\"total\":4,"));
}

TEST_F(CliRecordsTest, ReadingCommandsShareTheExitCodesOfDump) {
    const std::string protectedFile = Save("a.tvd", {Record("", "A")}, "secret");
    const std::string bad = folder_.File("bad.csv");
    std::string line = FormatLine(Record("", "Bad"));
    WriteBytes(bad, line.replace(line.find("2001/06/19"), 10, "2001/02/30") + "\r\n");
    struct Case {
        std::vector<std::string> before;
        std::string passwordFile;
        std::string file;
        int code;
    };
    const std::vector<Case> cases = {
        {{}, "", protectedFile, cli::kExitUsage},
        {{}, PasswordFile("wrong"), protectedFile, cli::kExitWrongPassword},
        {{}, PasswordFile("secret"), protectedFile, cli::kExitOk},
        {{}, "", folder_.File("none.csv"), cli::kExitFileError},
        {{}, "", bad, cli::kExitFileError},
    };
    const std::vector<std::vector<std::string>> commands = {{"search", "A"}, {"show", "1"}, {"tree"}, {"expiring"}};
    for (const Case& c : cases) {
        for (const auto& command : commands) {
            std::vector<std::string> args = command;
            if (!c.passwordFile.empty()) args.insert(args.begin() + 1, {"--password-file", c.passwordFile});
            args.push_back(c.file);
            const Result r = Run(args);
            EXPECT_EQ(c.code, r.code) << command[0] << " " << c.file << r.err;
            if (c.code != cli::kExitOk) {
                EXPECT_EQ("", r.out);
            }
        }
    }
}

}  // namespace
}  // namespace torvane::clitest
