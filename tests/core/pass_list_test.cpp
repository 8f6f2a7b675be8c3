#include "store/pass_list.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "store/crypt.h"
#include "store/text_file.h"
#include "tests/core/fixed_clock.h"
#include "tests/core/list_files.h"
#include "tests/core/scripted_prompts.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

namespace torvane {
namespace {

using listtest::Folder;
using listtest::ReadBytes;
using listtest::WriteBytes;
using Kind = ScriptedPrompts::Kind;

constexpr char kLoadMessage[] = "\r\n暗号化されたファイルです！\r\nパスワードを設定してください";
constexpr char kSaveMessage[] = "\r\n暗号化して保存します！\r\nパスワードを設定してください";
constexpr char kWrongMessage[] = "\r\nこのファイルは違うパスワードで保存したファイルです！";
constexpr char kCaption[] = "パスワードを入力してください";
constexpr char kTrailingMessage[] =
    "\r\nファイルの終わりを示す文字(Ctrl+Z)の後ろにデータがあります。\r\nそれ以降のデータは読み込まれていません";
constexpr char kUnstorableMessage[] =
    "」\r\nこのデータには暗号化しないファイルに保存できない文字(Ctrl+Z、コード26)が含まれています。\r\n"
    "暗号化するファイル(.tvd)として保存してください";
constexpr char kUnstorableProtectedMessage[] =
    "」\r\nこのデータには暗号化するファイルに保存できない文字(コード0)が含まれています。\r\n"
    "その文字を取り除いてから保存してください";
constexpr char kBackupFailed[] = " を作成できないため保存を中止しました。\r\n";

TDate Day(int y, int m, int d) {
    TDate day = 0;
    TryEncodeDate(y, m, d, day);
    return day;
}

TPassItem Item(const std::string& path, const std::string& title, const std::string& user = "") {
    TPassItem item;
    item.Path = path;
    item.Title = title;
    item.UserID = user;
    item.FirstDate = Day(2001, 6, 19);
    item.LimitDate = Day(2001, 6, 19);
    return item;
}

// A record line as the data file holds it.
std::string Line(const std::string& path, const std::string& title, const std::string& memo = "",
                 const std::string& user = "") {
    return path + ",\"" + title + "\",0,\"" + user +
           "\",\"\",\"\",\"\",\"\",\"\",\"\",\"0@\",0,2001/06/19,,,2001/06/19,1899/12/30,\"\",\"" + memo + "\"";
}

std::vector<std::string> Titles(const TPassList& list) {
    std::vector<std::string> titles;
    for (int i = 0; i < list.Count(); ++i) titles.push_back(list.Item(i).Title);
    return titles;
}

class PassListTest : public ::testing::Test {
protected:
    PassListTest() : clock_(Day(2024, 1, 2) + (3 * 3600 + 4 * 60 + 5) / 86400.0) {}

    // A plain list (the caller's choice for every load and save).
    TPassList& Plain() {
        list_.Encrypted = false;
        return list_;
    }

    FixedClock clock_;
    Folder folder_;
    ScriptedPrompts prompts_;
    ByteCollator collator_;
    listtest::NativeFileOps fileOps_;
    TPassList list_{prompts_, collator_, fileOps_};
};

// ---- operations on the records ----

TEST_F(PassListTest, AddItemAppendsCopiesAndOverwritesTheSameIdentityInPlace) {
    EXPECT_EQ(Plain().AddItem(Item("Soft", "A")), 0);
    EXPECT_TRUE(list_.Modified);
    EXPECT_EQ(list_.AddItem(Item("Soft", "B")), 1);
    TPassItem changed = Item("Soft", "A");
    changed.Memo = "new";
    EXPECT_EQ(list_.AddItem(changed), 0);
    ASSERT_EQ(list_.Count(), 2);
    EXPECT_EQ(list_.Item(0).Memo, "new");
    // Same title, another user: another record; identity is exact, letter case included.
    EXPECT_EQ(list_.AddItem(Item("Soft", "A", "someone")), 2);
    EXPECT_EQ(list_.IndexOfItem(Item("soft", "A")), -1);
    EXPECT_EQ(list_.IndexOfItem(Item("Soft", "B")), 1);
}

TEST_F(PassListTest, DeleteItemRemovesThatVeryRecordOnly) {
    Plain().AddItem(Item("", "A"));
    list_.AddItem(Item("", "B"));
    list_.Modified = false;
    const TPassItem lookalike = list_.Item(0);
    EXPECT_FALSE(list_.DeleteItem(&lookalike));
    EXPECT_FALSE(list_.Modified);
    EXPECT_TRUE(list_.DeleteItem(&list_.Item(0)));
    EXPECT_TRUE(list_.Modified);
    EXPECT_EQ(Titles(list_), std::vector<std::string>{"B"});
}

TEST_F(PassListTest, RenameFolderRewritesTheSubtreeOnceAndLeavesLookalikesAlone) {
    for (const char* path : {"A", "A\\x", "AC", "B"}) Plain().AddItem(Item(path, path));
    list_.Modified = false;
    list_.RenameFolder("A", "A");
    EXPECT_FALSE(list_.Modified);
    list_.RenameFolder("Q", "R");
    EXPECT_FALSE(list_.Modified);
    list_.RenameFolder("A", "AB");
    EXPECT_TRUE(list_.Modified);
    EXPECT_EQ(list_.GetItemPath(0), "AB");
    EXPECT_EQ(list_.GetItemPath(1), "AB\\x");
    EXPECT_EQ(list_.GetItemPath(2), "AC");
    EXPECT_EQ(list_.GetItemPath(3), "B");
}

TEST_F(PassListTest, RenameFolderTakesAFolderEndingInADoubleByteCharacter) {
    // "ソ" is 83 5C: its second byte is no separator, so "ソフト" is not in the subtree of "ソ".
    Plain().AddItem(Item("ソ", "1"));
    list_.AddItem(Item("ソフト", "2"));
    list_.AddItem(Item("ソ\\下", "3"));
    list_.RenameFolder("ソ", "X");
    EXPECT_EQ(list_.GetItemPath(0), "X");
    EXPECT_EQ(list_.GetItemPath(1), "ソフト");
    EXPECT_EQ(list_.GetItemPath(2), "X\\下");
}

TEST_F(PassListTest, DeleteFolderRemovesTheSubtreeOnly) {
    for (const char* path : {"A", "A\\B", "AB", ""}) Plain().AddItem(Item(path, path));
    list_.Modified = false;
    list_.DeleteFolder("Z");
    EXPECT_FALSE(list_.Modified);
    list_.DeleteFolder("A");
    EXPECT_TRUE(list_.Modified);
    EXPECT_EQ(Titles(list_), (std::vector<std::string>{"AB", ""}));
}

TEST_F(PassListTest, PositionAccessorsIgnorePositionsOutsideTheList) {
    Plain().AddItem(Item("P", "A"));
    list_.Modified = false;
    TPassItem out = Item("keep", "keep");
    list_.GetItem(1, out);
    list_.GetItem(-1, out);
    EXPECT_EQ(out.Title, "keep");
    list_.SetItemPath(1, "x");
    EXPECT_FALSE(list_.Modified);
    EXPECT_EQ(list_.GetItemPath(1), "");
    EXPECT_FALSE(list_.IsValidIndex(1));
    EXPECT_FALSE(list_.IsValidIndex(-1));

    list_.GetItem(0, out);
    EXPECT_EQ(out.Title, "A");
    list_.SetItemPath(0, "Q");
    EXPECT_TRUE(list_.Modified);
    EXPECT_EQ(list_.GetItemPath(0), "Q");
}

TEST_F(PassListTest, ClearLeavesModifiedAloneAndMarkChangedSorts) {
    Plain().AddItem(Item("", "B"));
    list_.AddItem(Item("", "A"));
    list_.Modified = false;
    list_.MarkChanged();
    EXPECT_TRUE(list_.Modified);
    EXPECT_EQ(Titles(list_), (std::vector<std::string>{"A", "B"}));
    list_.Clear();
    EXPECT_EQ(list_.Count(), 0);
    EXPECT_TRUE(list_.Modified);
}

// ---- sort ----

// Records with equal keys come older first when their dates are a whole day or more apart;
// dates less than a day apart have no defined order, so none is asserted for them.
TEST_F(PassListTest, SortComparesWholeKeysThenLastDateDays) {
    TPassItem zeta = Item("Soft", "Zeta");
    TPassItem tools = Item("Soft\\Tools", "A");
    TPassItem newer = Item("Web", "Same", "u");
    newer.LastDate = Day(2020, 5, 2) + 0.95;
    TPassItem older = Item("Web", "Same", "u");
    older.Passwd = "other";  // another identity with the same sort key
    older.LastDate = Day(2020, 5, 1) + 0.9;
    Plain().AddItem(newer);
    list_.AddItem(zeta);
    list_.AddItem(older);
    list_.AddItem(tools);
    const TPassItem* zetaAddress = &list_.Item(1);
    list_.Sort();
    EXPECT_EQ(Titles(list_), (std::vector<std::string>{"A", "Zeta", "Same", "Same"}));
    EXPECT_EQ(list_.Item(2).Passwd, "other");
    EXPECT_EQ(&list_.Item(1), zetaAddress);  // records keep their addresses
    EXPECT_EQ(SortKey(tools), "Soft\\Tools\\A:");
}

// Lists out of order in one place only, the last pair or among records of one key: the check
// that finds a list in order lets none of them pass.
TEST_F(PassListTest, SortFindsTheOnePlaceOutOfOrder) {
    struct Case {
        std::vector<std::pair<std::string, int>> titlesAndDays;  // the record's Passwd is its place
        std::string expected;                                   // Passwd after Sort
    };
    const Case cases[] = {
        {{{"A", 1}, {"B", 1}, {"D", 1}, {"C", 1}}, "0132"},
        {{{"A", 1}, {"S", 2}, {"S", 1}}, "021"},
        {{{"A", 1}, {"S", 1}, {"S", 1}}, "012"},
    };
    for (const Case& c : cases) {
        TPassList list(prompts_, collator_, fileOps_);
        for (size_t i = 0; i < c.titlesAndDays.size(); ++i) {
            TPassItem item = Item("P", c.titlesAndDays[i].first);
            item.LastDate = Day(2020, 5, c.titlesAndDays[i].second) + 0.5;
            item.Passwd = std::to_string(i);
            list.AddItem(item);
        }
        list.Sort();
        std::string order;
        for (int i = 0; i < list.Count(); ++i) order += list.Item(i).Passwd;
        EXPECT_EQ(c.expected, order);
    }
}

TEST_F(PassListTest, SortUsesTheInjectedComparison) {
    struct Reverse : ICollator {
        int Compare(const std::string& a, const std::string& b) const override { return b.compare(a); }
    } reverse;
    TPassList list(prompts_, reverse, fileOps_);
    list.AddItem(Item("", "A"));
    list.AddItem(Item("", "B"));
    list.Sort();
    EXPECT_EQ(Titles(list), (std::vector<std::string>{"B", "A"}));
}

// ---- password prompt ----

TEST_F(PassListTest, AskPasswordAsksNothingForAPlainFileOrAKnownPassword) {
    EXPECT_TRUE(Plain().AskPassword("m"));
    list_.Encrypted = true;
    list_.Password = "known";
    EXPECT_TRUE(list_.AskPassword("m"));
    EXPECT_TRUE(prompts_.ShownNothing());
}

TEST_F(PassListTest, AskPasswordWarnsOnceThenRepeatsTheDialogUntilATextOrCancel) {
    prompts_.AnswerOk("");
    prompts_.AnswerOk("secret");
    EXPECT_TRUE(list_.AskPassword("why"));
    EXPECT_EQ(list_.Password, "secret");
    ASSERT_EQ(prompts_.shown.size(), 3u);
    EXPECT_EQ(prompts_.shown[0].kind, Kind::Warning);
    EXPECT_EQ(prompts_.shown[0].text, "why");
    EXPECT_EQ(prompts_.shown[1].text, kCaption);
    EXPECT_EQ(prompts_.shown[2].text, kCaption);
    EXPECT_EQ(prompts_.dialogsCreated, 1);  // one dialog, so its edit box keeps its text

    list_.Password.clear();
    prompts_.AnswerCancel();
    EXPECT_FALSE(list_.AskPassword("why"));
    EXPECT_EQ(list_.Password, "");
}

// ---- loading plain files ----

TEST_F(PassListTest, MissingFileLeavesAnEmptyListAndAsksNothing) {
    Plain().AddItem(Item("", "old"));
    list_.Encrypted = true;
    EXPECT_EQ(list_.LoadFromFile(folder_.File("none.tvd")), LoadResult::NoFile);
    EXPECT_EQ(list_.Count(), 0);
    EXPECT_TRUE(list_.Modified);  // untouched
    EXPECT_TRUE(list_.LoadCompleted());
    EXPECT_TRUE(prompts_.ShownNothing());
}

// Two licences of one product share the key; only a line repeated byte for byte is one record.
TEST_F(PassListTest, PlainLoadMergesRepeatedLinesOnlyAndKeepsRecordsThatShareAKey) {
    const std::string file = folder_.File("a.csv");
    WriteBytes(file, Line("", "B", "first") + "\r\n" + Line("", "A") + "\r\n" + Line("", "B", "second") + "\r\n" +
                         Line("", "A") + "\r\n");
    Plain().Modified = true;
    EXPECT_EQ(list_.LoadFromFile(file), LoadResult::Loaded);
    EXPECT_FALSE(list_.Modified);
    EXPECT_EQ(Titles(list_), (std::vector<std::string>{"A", "B", "B"}));
    EXPECT_TRUE(prompts_.ShownNothing());
    ASSERT_TRUE(list_.SaveToFile(file));
    EXPECT_EQ(list_.LoadFromFile(file), LoadResult::Loaded);
    EXPECT_EQ(list_.Item(1).Memo + list_.Item(2).Memo, "firstsecond");
}

TEST_F(PassListTest, PlainRecordSpansLinesWhileItsQuotesAreOdd) {
    const std::string file = folder_.File("a.csv");
    WriteBytes(file, Line("", "M", "one\r\ntwo \"\"q\"\"\r\nthree") + "\r\n" + Line("", "N") + "\r\n");
    Plain().LoadFromFile(file);
    ASSERT_EQ(list_.Count(), 2);
    EXPECT_EQ(list_.Item(0).Memo, "one\r\ntwo \"q\"\r\nthree");
    EXPECT_EQ(list_.Item(1).Title, "N");
}

TEST_F(PassListTest, LineEndsAtCrOnlyAndCharacter26EndsTheFile) {
    const std::string file = folder_.File("a.csv");
    // A lone CR ends a line; a lone LF stays inside it; an LF after CR is skipped once.
    WriteBytes(file, Line("", "A", "x\ny") + "\r" + Line("", "B") + "\r\n\n" + Line("", "C") + "\r\n\x1a\r\n\x1a");
    EXPECT_EQ(Plain().LoadFromFile(file), LoadResult::Loaded);
    EXPECT_EQ(Titles(list_), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(list_.Item(0).Memo, "x\ny");
    EXPECT_TRUE(prompts_.ShownNothing());  // a file merely ending in the mark is whole
}

// Records after the mark were never read: the load is incomplete, so the next save keeps the
// file as a backup before replacing it.
TEST_F(PassListTest, DataAfterCharacter26IsReportedAndTheLoadCountsAsIncomplete) {
    const std::string file = folder_.File("a.csv");
    const std::string original =
        Line("", "Z") + "\r\n" + Line("", "M", "cut") + "\x1a" + "here\"\r\n" + Line("", "A") + "\r\n";
    WriteBytes(file, original);
    Plain().Modified = true;
    EXPECT_EQ(list_.LoadFromFile(file), LoadResult::Truncated);
    EXPECT_EQ(Titles(list_), (std::vector<std::string>{"M", "Z"}));  // sorted, the record cut at the mark kept
    EXPECT_EQ(list_.Item(0).Memo, "cut");
    EXPECT_FALSE(list_.Modified);
    EXPECT_FALSE(list_.LoadCompleted());
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_EQ(prompts_.shown[0].kind, Kind::Warning);
    EXPECT_EQ(prompts_.shown[0].text, file + kTrailingMessage);

    ASSERT_TRUE(list_.SaveToFile(file));
    EXPECT_EQ(ReadBytes(file + ".20240102-030405.bak"), original);
}

// Comments and blank lines are silent; any other line that is no record is named, and the
// load is incomplete, so the next save keeps the file as a backup.
TEST_F(PassListTest, LinesThatAreNoRecordsAreNamedAndTheRestIsRead) {
    const std::string file = folder_.File("a.csv");
    const std::string stray = Line("", "S\"tray");  // one quote too many
    struct Case {
        std::string content;
        std::vector<std::string> titles;
        std::vector<long long> damaged;
    } cases[] = {
        {";\"" + Line("", "C") + "\r\n \t\r\n\r\n" + Line("", "B") + "\r\n", {"B"}, {}},
        {Line("", "A") + ",x\r\n" + Line("", "B") + "\r\ngarbage\r\n", {"B"}, {1, 3}},
        {Line("", "A") + "\r\n" + stray + "\r\n" + Line("", "B") + "\r\n" + Line("", "M", "1\r\n2") + "\r\n",
         {"A", "B", "M"}, {2}},
        {stray + "\r\n" + stray + "\r\n" + Line("", "B"), {"B"}, {1, 2}},
    };
    for (const Case& c : cases) {
        WriteBytes(file, c.content);
        prompts_.shown.clear();
        EXPECT_EQ(Plain().LoadFromFile(file), c.damaged.empty() ? LoadResult::Loaded : LoadResult::Damaged);
        EXPECT_EQ(Titles(list_), c.titles) << c.content;
        EXPECT_EQ(list_.LastLoad().damagedLines, c.damaged) << c.content;
        EXPECT_EQ(list_.LoadCompleted(), c.damaged.empty());
        EXPECT_EQ(prompts_.Count(Kind::Warning), c.damaged.empty() ? 0 : 1);
    }
    EXPECT_EQ(prompts_.shown[0].text, file + "\r\n読み込めない行がありました（1, 2行目）。\r\nこれらの行を除いて読み込みました。"
                                             "上書き保存するときは、元のファイルをバックアップとして残します");
    const std::string original = ReadBytes(file);
    ASSERT_TRUE(list_.SaveToFile(file));
    EXPECT_EQ(ReadBytes(file + ".20240102-030405.bak"), original);
}

// Files from editors on other systems and from spreadsheets.
TEST_F(PassListTest, LfOnlyAndUnicodeFilesAreRead) {
    const std::string file = folder_.File("a.csv");
    auto utf16 = [](const std::u16string& text, bool little) {
        std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
        for (char16_t c : text) {
            const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
            bytes += little ? std::string{lo, hi} : std::string{hi, lo};
        }
        return bytes;
    };
    const std::u16string wide = u",\"\u8868\",0,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"0@\",0,2001/06/19,,,2001/06/19,1899/12/30,\"\",\"\"";
    const std::u16string emoji = u",\"\U0001F600\",0,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"0@\",0,2001/06/19,,,2001/06/19,1899/12/30,\"\",\"\"";
    struct Case {
        std::string content;
        LoadResult result;
        std::vector<std::string> titles;
    } cases[] = {
        {Line("", "A", "1\n2") + "\n" + Line("", "B") + "\n", LoadResult::Loaded, {"A", "B"}},
        // 表 (E8 A1 A8) is 95 5C in Shift_JIS.
        {"\xEF\xBB\xBF" + Line("", "A") + "\r\n" + Line("", "\xE8\xA1\xA8") + "\r\n", LoadResult::Converted, {"A", "表"}},
        {"\xEF\xBB\xBF" + Line("", "A") + "\n" + Line("", "\xF0\x9F\x98\x80") + "\n", LoadResult::Damaged, {"A"}},
        {utf16(wide + u"\r\n" + emoji + u"\r\n", true), LoadResult::Damaged, {"表"}},
        {utf16(wide + u"\n", false), LoadResult::Converted, {"表"}},
    };
    for (const Case& c : cases) {
        WriteBytes(file, c.content);
        EXPECT_EQ(Plain().LoadFromFile(file), c.result) << c.content;
        EXPECT_EQ(Titles(list_), c.titles) << c.content;
        // A Unicode file is kept as it was before the first save writes Shift_JIS over it.
        EXPECT_EQ(list_.LoadCompleted(), c.result == LoadResult::Loaded);
    }
}

TEST_F(PassListTest, BadDateStopsTheLoadKeepingWhatWasRead) {
    const std::string file = folder_.File("a.csv");
    std::string bad = Line("", "Bad");
    bad.replace(bad.find("2001/06/19"), 10, "2001/02/30");
    WriteBytes(file, Line("", "Z") + "\r\n" + bad + "\r\n" + Line("", "A") + "\r\n");
    Plain().Modified = true;
    EXPECT_EQ(list_.LoadFromFile(file), LoadResult::ConvertError);
    EXPECT_EQ(Titles(list_), std::vector<std::string>{"Z"});
    EXPECT_FALSE(list_.Modified);
    EXPECT_FALSE(list_.LoadCompleted());
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_EQ(prompts_.shown[0].kind, Kind::Error);
    EXPECT_EQ(prompts_.shown[0].text, "日付に変換できない値が渡されました");
}

// The texts of read and create failures are the platform's (on Windows in the user's language).
TEST_F(PassListTest, FileErrorsShowThePlatformsErrorText) {
    listtest::FoldersAsFiles<listtest::MarkedErrorsFileOps> marked;
    TPassList list(prompts_, collator_, marked);
    list.Encrypted = false;
    const std::string dir = folder_.File("dir.csv");
    std::filesystem::create_directory(dir);
    EXPECT_EQ(list.LoadFromFile(dir), LoadResult::ReadError);
    list.AddItem(Item("", "A"));
    EXPECT_FALSE(list.SaveToFile(folder_.File("missing") + "/x/out.csv"));
    ASSERT_EQ(prompts_.Count(Kind::Error), 2);
    EXPECT_EQ(prompts_.shown[0].text.rfind("[error ", 0), 0u) << prompts_.shown[0].text;
    EXPECT_EQ(prompts_.shown[1].text.rfind("[error ", 0), 0u) << prompts_.shown[1].text;
}

TEST_F(PassListTest, UnreadableFileShowsTheSystemMessage) {
    // A folder taken for a file cannot be read as one.
    const std::string dir = folder_.File("dir.csv");
    std::filesystem::create_directory(dir);
    listtest::FoldersAsFiles<listtest::NativeFileOps> folders;
    TPassList list(prompts_, collator_, folders);
    list.Encrypted = false;
    list.Modified = true;
    EXPECT_EQ(list.LoadFromFile(dir), LoadResult::ReadError);
    EXPECT_FALSE(list.Modified);
    EXPECT_FALSE(list.LoadCompleted());
    ASSERT_EQ(prompts_.Count(Kind::Error), 1);
    EXPECT_FALSE(prompts_.shown[0].text.empty());
}

// ---- protected files ----

class ProtectedListTest : public PassListTest {
protected:
    // A protected file of the given records under the password, written by the list itself.
    std::string SaveProtected(const std::vector<TPassItem>& items, const std::string& password,
                              const std::string& name = "data.tvd") {
        ScriptedPrompts quiet;
        TPassList writer(quiet, collator_, fileOps_);
        writer.Password = password;
        for (const TPassItem& item : items) writer.AddItem(item);
        const std::string file = folder_.File(name);
        EXPECT_TRUE(writer.SaveToFile(file));
        return file;
    }
    void ExpectWrongPassword(const std::string& file) {
        EXPECT_EQ(list_.LoadFromFile(file), LoadResult::WrongPassword);
        EXPECT_EQ(list_.Count(), 0);
        EXPECT_EQ(list_.Password, "");
        EXPECT_FALSE(list_.Modified);
        ASSERT_FALSE(prompts_.shown.empty());
        EXPECT_EQ(prompts_.shown.back().kind, Kind::Warning);
        EXPECT_EQ(prompts_.shown.back().text, file + kWrongMessage);
    }
};

TEST_F(ProtectedListTest, SavedFileLoadsBackWithTheKnownPasswordAskingNothing) {
    TPassItem memo = Item("ソフト\\表", "表示", "ユーザー");
    memo.Memo = "行1\r\n行2";
    const std::string file = SaveProtected({memo, Item("", "B")}, "secret");
    const std::string bytes = ReadBytes(file);
    EXPECT_EQ(bytes.find("ソフト"), std::string::npos);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 2);  // one line per record

    list_.Password = "secret";
    list_.Modified = true;
    EXPECT_EQ(list_.LoadFromFile(file), LoadResult::Loaded);
    EXPECT_TRUE(prompts_.ShownNothing());
    EXPECT_FALSE(list_.Modified);
    ASSERT_EQ(list_.Count(), 2);
    EXPECT_EQ(list_.Item(0).Title, "B");
    EXPECT_EQ(list_.Item(1).Memo, "行1\r\n行2");
    EXPECT_EQ(FormatLine(list_.Item(1)), FormatLine(memo));
}

TEST_F(ProtectedListTest, UnknownPasswordIsAskedAfterTheFileNameMessage) {
    const std::string file = SaveProtected({Item("", "A")}, "secret");
    prompts_.AnswerOk("secret");
    EXPECT_EQ(list_.LoadFromFile(file), LoadResult::Loaded);
    ASSERT_EQ(prompts_.shown.size(), 2u);
    EXPECT_EQ(prompts_.shown[0].text, file + kLoadMessage);
    EXPECT_EQ(list_.Count(), 1);
}

TEST_F(ProtectedListTest, CancelledPromptLeavesAnEmptyListAndModified) {
    const std::string file = SaveProtected({Item("", "A")}, "secret");
    list_.AddItem(Item("", "old"));
    prompts_.AnswerCancel();
    EXPECT_EQ(list_.LoadFromFile(file), LoadResult::Cancelled);
    EXPECT_EQ(list_.Count(), 0);
    EXPECT_TRUE(list_.Modified);
    EXPECT_EQ(list_.Password, "");
    EXPECT_FALSE(list_.LoadCompleted());
}

TEST_F(ProtectedListTest, WrongPasswordEmptiesListAndPassword) {
    const std::string file = SaveProtected({Item("", "A"), Item("", "B")}, "secret");
    list_.Password = "other";
    list_.Modified = true;
    ExpectWrongPassword(file);
}

TEST_F(ProtectedListTest, SameLengthPasswordAgreeingInFiveCharactersIsRefused) {
    const std::string file = SaveProtected({Item("", "A")}, "abcdefgh");
    list_.Password = "abcdeXYZ";  // the same key, but the whole password is compared
    ExpectWrongPassword(file);
}

TEST_F(ProtectedListTest, ShorterPasswordWhoseLeftoverBreaksTheRecordIsRefused) {
    // Such a password deciphers every line: the check alone passes, leaving ",x" in front.
    const std::string file = SaveProtected({Item("", "A"), Item("Soft", "B")}, "abcde,x");
    list_.Password = "abcde";
    ExpectWrongPassword(file);
    // A leftover that makes the line a comment is refused as well.
    const std::string second = SaveProtected({Item("", "A")}, "abcde;x", "second.tvd");
    list_.Password = "abcde";
    ExpectWrongPassword(second);
}

TEST_F(ProtectedListTest, PlainFileCountsAsWrongPassword) {
    const std::string plain = folder_.File("plain.tvd");
    WriteBytes(plain, Line("", "A") + "\r\n");
    list_.Password = "secret";
    ExpectWrongPassword(plain);
}

// The password is wrong only when no line opens with it; lines that fail among lines that open
// are damaged lines, named and skipped.
TEST_F(ProtectedListTest, LinesThatDoNotOpenAmongOnesThatDoAreDamaged) {
    const std::string file = SaveProtected({Item("", "A"), Item("", "B")}, "secret");
    const std::string good = ReadBytes(file);
    const std::string a = good.substr(0, good.find("\r\n") + 2), b = good.substr(a.size());
    TCrypt crypt;
    crypt.SetKey("other");
    crypt.Mode = TCrypt::kEncipher;
    const std::string other = crypt.Process("other" + Line("", "C")) + "\r\n";
    struct Case {
        std::string content;
        LoadResult result;
        std::vector<std::string> titles;
        std::vector<long long> damaged;
    } cases[] = {
        {a + other + b, LoadResult::Damaged, {"A", "B"}, {2}},
        {other + a + b, LoadResult::Damaged, {"A", "B"}, {1}},
        {a + "\r\n" + b + "\r\n\r\n", LoadResult::Damaged, {"A", "B"}, {2}},  // trailing empty lines are no damage
        {a + b + "\r\n", LoadResult::Loaded, {"A", "B"}, {}},
        {"", LoadResult::Loaded, {}, {}},
        {"x\r\n" + other + other, LoadResult::WrongPassword, {}, {}},
    };
    for (const Case& c : cases) {
        WriteBytes(file, c.content);
        list_.Password = "secret";
        EXPECT_EQ(list_.LoadFromFile(file), c.result) << c.content;
        EXPECT_EQ(Titles(list_), c.titles) << c.content;
        EXPECT_EQ(list_.LastLoad().damagedLines, c.damaged) << c.content;
    }
    // LF-only line ends, as a checkout on another system leaves them.
    std::string lf = good;
    for (size_t at; (at = lf.find('\r')) != std::string::npos;) lf.erase(at, 1);
    WriteBytes(file, lf);
    list_.Password = "secret";
    EXPECT_EQ(list_.LoadFromFile(file), LoadResult::Loaded);
    EXPECT_EQ(Titles(list_), (std::vector<std::string>{"A", "B"}));
}

// A password handed in that opens nothing is asked for when the caller can ask (another file
// saved under another password); a wrong answer is refused as before.
TEST_F(ProtectedListTest, HeldPasswordThatDoesNotOpenTheFileIsAskedFor) {
    const std::string file = SaveProtected({Item("", "A")}, "second");
    list_.AskOnWrongPassword = true;
    for (const char* answer : {"second", "wrong"}) {
        prompts_.shown.clear();
        list_.Password = "first";
        prompts_.AnswerOk(answer);
        const bool right = std::string(answer) == "second";
        EXPECT_EQ(list_.LoadFromFile(file), right ? LoadResult::Loaded : LoadResult::WrongPassword);
        EXPECT_EQ(list_.Count(), right ? 1 : 0);
        EXPECT_EQ(list_.Password, right ? "second" : "");
        ASSERT_EQ(prompts_.shown.size(), right ? 2u : 3u);
        EXPECT_EQ(prompts_.shown[0].text, file + kLoadMessage);
        EXPECT_EQ(prompts_.shown[1].kind, Kind::Dialog);
    }
}

// ---- saving ----

TEST_F(PassListTest, PlainSaveWritesSortedLinesWithCrLf) {
    TPassItem memo = Item("", "B");
    memo.Memo = "1\r\n2";
    Plain().AddItem(memo);
    list_.AddItem(Item("", "A"));
    const std::string file = folder_.File("out.csv");
    EXPECT_TRUE(list_.SaveToFile(file));
    EXPECT_FALSE(list_.Modified);
    EXPECT_EQ(ReadBytes(file), FormatLine(Item("", "A")) + "\r\n" + FormatLine(memo) + "\r\n");
    EXPECT_TRUE(prompts_.ShownNothing());
    EXPECT_EQ(folder_.Names(), std::vector<std::string>{"out.csv"});
}

// Written plain, the mark would cut the file short at the next load; such a list is not saved
// Searched in parts on every processor, the first record that cannot be stored is still the one
// named, wherever the others lie.
TEST_F(PassListTest, FirstUnstorableItemIsTheFirstAmongMany) {
    constexpr int kRecords = 3000;
    for (int i = 0; i < kRecords; ++i) Plain().AddItem(Item("", "T" + std::to_string(i)));
    const std::vector<std::vector<int>> cases = {{}, {kRecords - 1}, {0, 2999}, {2600, 700, 1500}, {513, 512}};
    for (const std::vector<int>& marked : cases) {
        for (int i = 0; i < kRecords; ++i) list_.Item(i).Memo.clear();
        for (int i : marked) list_.Item(i).Memo = "\x1a";
        const int expected = marked.empty() ? -1 : *std::min_element(marked.begin(), marked.end());
        EXPECT_EQ(expected, list_.FirstUnstorableItem(false)) << marked.size();
    }
}

// plain at all, while a protected file holds it.
TEST_F(PassListTest, PlainSaveRefusesARecordHoldingCharacter26) {
    const std::string file = folder_.File("data.csv");
    WriteBytes(file, "previous");
    TPassItem marked = Item("", "Marked");
    marked.Memo = "a\x1a?";
    Plain().AddItem(Item("", "A"));
    list_.AddItem(marked);
    list_.AddItem(Item("", "C"));
    EXPECT_FALSE(list_.SaveToFile(file));
    EXPECT_FALSE(list_.SaveToFile(folder_.File("new.csv")));
    EXPECT_TRUE(list_.Modified);
    EXPECT_EQ(ReadBytes(file), "previous");
    EXPECT_EQ(folder_.Names(), std::vector<std::string>{"data.csv"});
    ASSERT_EQ(prompts_.shown.size(), 2u);
    EXPECT_EQ(prompts_.shown[0].kind, Kind::Error);
    EXPECT_EQ(prompts_.shown[0].text, std::string("「Marked") + kUnstorableMessage);
    EXPECT_EQ(list_.FirstUnstorableItem(false), 1);
    EXPECT_EQ(list_.FirstUnstorableItem(true), -1);

    const std::string protectedFile = folder_.File("data.tvd");
    list_.Encrypted = true;
    list_.Password = "pw";
    ASSERT_TRUE(list_.SaveToFile(protectedFile));
    EXPECT_EQ(ReadBytes(protectedFile).find('\x1a'), std::string::npos);
    EXPECT_EQ(list_.LoadFromFile(protectedFile), LoadResult::Loaded);
    ASSERT_EQ(Titles(list_), (std::vector<std::string>{"A", "C", "Marked"}));
    EXPECT_EQ(list_.Item(2).Memo, "a\x1a?");
}

// Enciphered, a character 0 would cut its block short when the line is deciphered; the line then
// fails the password check and the whole file opens for nobody. Such a list is not saved
// protected at all (not even the password is asked), while a plain file holds it.
TEST_F(PassListTest, ProtectedSaveRefusesARecordHoldingCharacter0) {
    const std::string file = folder_.File("data.tvd");
    WriteBytes(file, "previous");
    TPassItem nul = Item("", std::string("N\0l", 3));
    nul.Memo = std::string("a\0b", 3);
    list_.AddItem(Item("", "A"));
    list_.AddItem(nul);
    EXPECT_EQ(list_.FirstUnstorableItem(true), 1);
    EXPECT_EQ(list_.FirstUnstorableItem(false), -1);
    EXPECT_FALSE(list_.SaveToFile(file));
    list_.Password = "pw";
    EXPECT_FALSE(list_.SaveToFile(folder_.File("new.tvd")));
    EXPECT_TRUE(list_.Modified);
    EXPECT_EQ(ReadBytes(file), "previous");
    EXPECT_EQ(folder_.Names(), std::vector<std::string>{"data.tvd"});
    ASSERT_EQ(prompts_.shown.size(), 2u);
    EXPECT_EQ(prompts_.shown[0].kind, Kind::Error);
    EXPECT_EQ(prompts_.shown[0].text, std::string("「N?l") + kUnstorableProtectedMessage);  // the title readable

    const std::string plain = folder_.File("data.csv");
    list_.Encrypted = false;
    ASSERT_TRUE(list_.SaveToFile(plain));
    EXPECT_EQ(list_.LoadFromFile(plain), LoadResult::Loaded);
    ASSERT_EQ(list_.Count(), 2);
    EXPECT_EQ(FormatLine(list_.Item(1)), FormatLine(nul));
}

// A new password is typed twice: a typing error must never lock the user out.
TEST_F(PassListTest, ProtectedSaveAsksForTheNewPasswordTwiceAndCancelWritesNothing) {
    const std::string file = folder_.File("out.tvd");
    list_.AddItem(Item("", "A"));
    prompts_.AnswerCancel();
    EXPECT_FALSE(list_.SaveToFile(file));
    EXPECT_TRUE(list_.Modified);
    EXPECT_TRUE(folder_.Names().empty());
    ASSERT_EQ(prompts_.shown.size(), 2u);
    EXPECT_EQ(prompts_.shown[0].text, file + kSaveMessage);

    prompts_.shown.clear();
    for (const char* answer : {"pw", "pq", "pw", "pw"}) prompts_.AnswerOk(answer);
    EXPECT_TRUE(list_.SaveToFile(file));
    EXPECT_EQ(list_.Password, "pw");
    EXPECT_FALSE(list_.Modified);
    std::vector<std::string> shown;
    for (const auto& s : prompts_.shown) shown.push_back(s.text);
    EXPECT_EQ(shown, (std::vector<std::string>{file + kSaveMessage, kCaption, "確認のためもう一度入力してください",
                                               "入力された2つのパスワードが一致しません。\r\nもう一度入力してください",
                                               kCaption, "確認のためもう一度入力してください"}));
}

TEST_F(PassListTest, EveryProtectedLineHasItsOwnSalt) {
    list_.Password = "pw";
    for (const char* title : {"A", "B", "C"}) list_.AddItem(Item("", title));
    const std::string file = folder_.File("out.tvd");
    ASSERT_TRUE(list_.SaveToFile(file));
    const std::string bytes = ReadBytes(file);
    std::vector<std::string> salts;
    for (size_t at = 0; at < bytes.size(); at = bytes.find("\r\n", at) + 2) salts.push_back(bytes.substr(at, 6));
    ASSERT_EQ(salts.size(), 3u);
    EXPECT_NE(salts[0], salts[1]);
    EXPECT_NE(salts[1], salts[2]);
}

TEST_F(PassListTest, SaveThatCannotCreateItsFileReportsAndKeepsModified) {
    Plain().AddItem(Item("", "A"));
    EXPECT_FALSE(list_.SaveToFile(folder_.File("missing") + "/x/out.csv"));
    EXPECT_TRUE(list_.Modified);
    ASSERT_EQ(prompts_.Count(Kind::Error), 1);
}

// A failed replacement leaves the previous file byte for byte and no temporary file.
TEST_F(PassListTest, FailedReplaceKeepsThePreviousFile) {
    const std::string file = folder_.File("data.csv");
    const std::string before = "previous\r\ncontent\x1a";
    WriteBytes(file, before);
    listtest::RefusingFileOps refusing;
    TPassList list(prompts_, collator_, refusing);
    list.Encrypted = false;
    list.AddItem(Item("", "A"));
    EXPECT_FALSE(list.SaveToFile(file));
    EXPECT_EQ(refusing.calls, 1);
    EXPECT_TRUE(list.Modified);
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(folder_.Names(), std::vector<std::string>{"data.csv"});
    ASSERT_EQ(prompts_.Count(Kind::Error), 1);
    EXPECT_EQ(prompts_.shown[0].text, "replace refused");
}

// The user froze the file: it is not replaced, and the changes stay to be saved elsewhere.
TEST_F(PassListTest, ReadOnlyFileIsNotReplaced) {
    namespace fs = std::filesystem;
    const std::string file = folder_.File("data.csv");
    WriteBytes(file, "old");
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    Plain().AddItem(Item("", "A"));
    EXPECT_FALSE(list_.SaveToFile(file));
    EXPECT_TRUE(list_.Modified);
    EXPECT_EQ(ReadBytes(file), "old");
    ASSERT_EQ(prompts_.Count(Kind::Error), 1);
    EXPECT_EQ(prompts_.shown[0].text, fileOps_.AccessDeniedText());
    EXPECT_EQ(fs::perms::none, fs::status(file).permissions() & fs::perms::owner_write);
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
}

#ifndef _WIN32
// A link stays a link; the file it leads to is replaced, also one that does not exist yet.
TEST_F(PassListTest, SavingThroughALinkReplacesTheFileItLeadsTo) {
    namespace fs = std::filesystem;
    fs::create_directory(folder_.File("real"));
    const std::string real = folder_.File("real/data.csv");
    WriteBytes(real, "old");
    fs::create_symlink(real, folder_.File("link.csv"));
    fs::create_symlink("real/new.csv", folder_.File("dangling.csv"));
    Plain().AddItem(Item("", "A"));
    for (const char* link : {"link.csv", "dangling.csv"}) {
        ASSERT_TRUE(list_.SaveToFile(folder_.File(link))) << link;
        EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder_.File(link)))) << link;
    }
    EXPECT_EQ(ReadBytes(real), Line("", "A") + "\r\n");
    EXPECT_EQ(ReadBytes(folder_.File("real/new.csv")), Line("", "A") + "\r\n");
}
#endif

// Left by interrupted saves: never in the way, and gone after the next save of that file.
TEST_F(PassListTest, LeftoverTemporaryFilesNeverBlockASaveAndGoWithIt) {
    const std::string file = folder_.File("data.csv");
    for (int i = 0; i < 100; ++i) WriteBytes(file + ".~tmp" + (i ? std::to_string(i) : ""), "left");
    WriteBytes(file + ".~tmp0000abcd", "left");
    WriteBytes(folder_.File("other.csv.~tmp"), "another file's");
    WriteBytes(file + ".~tmp-notes", "not a temporary name");
    Plain().AddItem(Item("", "A"));
    EXPECT_TRUE(list_.SaveToFile(file));
    EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"data.csv", "data.csv.~tmp-notes", "other.csv.~tmp"}));
}

#ifndef _WIN32
// The temporary name of a file whose name is as long as names may be still fits; a name is cut
// between characters, never inside one.
TEST_F(PassListTest, NameAtTheLengthLimitSaves) {
    for (const std::string& name : {std::string(251, 'n') + ".csv", "a" + std::string(246, '\x83') + "\x83\x5c.csv"}) {
        const std::string file = folder_.File(name);
        Plain().AddItem(Item("", "A"));
        ASSERT_TRUE(list_.SaveToFile(file)) << prompts_.shown.back().text;
        EXPECT_EQ(ReadBytes(file), Line("", "A") + "\r\n");
    }
}
#endif

#ifndef _WIN32
// A real write error: the file size limit stops the temporary file half-way.
TEST_F(PassListTest, WriteErrorShowsTheMessageAndKeepsThePreviousFile) {
    const std::string file = folder_.File("data.csv");
    const std::string before(100, 'p');
    WriteBytes(file, before);
    for (int i = 0; i < 200; ++i) Plain().AddItem(Item("", "T" + std::to_string(i)));

    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const bool saved_ok = list_.SaveToFile(file);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(saved_ok);
    EXPECT_TRUE(list_.Modified);  // nothing reached the file: the changes are still to be saved
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(folder_.Names(), std::vector<std::string>{"data.csv"});
    ASSERT_EQ(prompts_.Count(Kind::Plain), 1);
    EXPECT_EQ(prompts_.shown[0].text, std::string("データが書き込めません!\r\n") + std::strerror(EFBIG));
}
#endif

// ---- keeping the file of a load that did not complete ----

TEST_F(ProtectedListTest, SaveAfterWrongPasswordKeepsTheFileAsADatedBackupFirst) {
    const std::string file = SaveProtected({Item("", "A"), Item("", "B")}, "secret");
    const std::string original = ReadBytes(file);
    list_.Password = "wrong";
    ASSERT_EQ(list_.LoadFromFile(file), LoadResult::WrongPassword);
    EXPECT_FALSE(list_.LoadCompleted());

    list_.Password = "new";
    list_.AddItem(Item("", "remnant"));
    ASSERT_TRUE(list_.SaveToFile(file));
    const std::string backup = file + ".20240102-030405.bak";
    EXPECT_EQ(ReadBytes(backup), original);
    EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"data.tvd", "data.tvd.20240102-030405.bak"}));

    // Kept once: later saves replace the file as usual.
    clock_.Set(Day(2024, 1, 3));
    ASSERT_TRUE(list_.SaveToFile(file));
    EXPECT_EQ(folder_.Names().size(), 2u);
    list_.Password = "new";
    EXPECT_EQ(list_.LoadFromFile(file), LoadResult::Loaded);
    EXPECT_EQ(Titles(list_), std::vector<std::string>{"remnant"});
}

TEST_F(ProtectedListTest, BackupNeverOverwritesAnExistingOne) {
    const std::string file = SaveProtected({Item("", "A")}, "secret");
    const std::string original = ReadBytes(file);
    WriteBytes(file + ".20240102-030405.bak", "older backup");
    prompts_.AnswerCancel();
    ASSERT_EQ(list_.LoadFromFile(file), LoadResult::Cancelled);
    list_.Password = "x";
    ASSERT_TRUE(list_.SaveToFile(file));
    EXPECT_EQ(ReadBytes(file + ".20240102-030405.bak"), "older backup");
    EXPECT_EQ(ReadBytes(file + ".20240102-030405-2.bak"), original);
}

TEST_F(PassListTest, BackupAlsoAfterAConversionErrorButNotAfterACompleteLoad) {
    const std::string file = folder_.File("data.csv");
    std::string bad = Line("", "Bad");
    bad.replace(bad.find("2001/06/19"), 10, "x/1/1");
    const std::string original = Line("", "A") + "\r\n" + bad + "\r\n" + Line("", "C") + "\r\n";
    WriteBytes(file, original);
    ASSERT_EQ(Plain().LoadFromFile(file), LoadResult::ConvertError);
    EXPECT_EQ(prompts_.shown.back().text, "'x' は整数ではありません");
    ASSERT_TRUE(list_.SaveToFile(file));
    EXPECT_EQ(ReadBytes(file + ".20240102-030405.bak"), original);
    EXPECT_EQ(ReadBytes(file), Line("", "A") + "\r\n");

    const std::string other = folder_.File("other.csv");
    WriteBytes(other, Line("", "A") + "\r\n");
    ASSERT_EQ(list_.LoadFromFile(other), LoadResult::Loaded);
    ASSERT_TRUE(list_.SaveToFile(other));
    EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"data.csv", "data.csv.20240102-030405.bak", "other.csv"}));
}

// The source cannot be read (it became a folder), so no backup can be made and the save stops.
TEST_F(PassListTest, BackupThatCannotBeMadeStopsTheSaveNamingTheBackup) {
    const std::string file = folder_.File("data.csv");
    std::string bad = Line("", "Bad");
    bad.replace(bad.find("2001/06/19"), 10, "x/1/1");
    WriteBytes(file, Line("", "A") + "\r\n" + bad + "\r\n");
    listtest::FoldersAsFiles<listtest::MarkedErrorsFileOps> marked;
    TPassList list(prompts_, collator_, marked);
    list.Encrypted = false;
    ASSERT_EQ(list.LoadFromFile(file), LoadResult::ConvertError);
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    prompts_.shown.clear();
    EXPECT_FALSE(list.SaveToFile(file));
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_EQ(prompts_.shown[0].kind, Kind::Error);
    const std::string expected = "バックアップ " + file + ".20240102-030405.bak" + kBackupFailed + "[error ";
    EXPECT_EQ(prompts_.shown[0].text.substr(0, expected.size()), expected) << prompts_.shown[0].text;
    EXPECT_EQ(folder_.Names(), std::vector<std::string>{"data.csv"});
}

#ifndef _WIN32
int Permissions(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<int>(info.st_mode & 0777) : -1;
}

// A data file only its owner may read stays so after a save, and its backup is as private; the
// umask does not loosen or tighten what the file had.
TEST_F(PassListTest, SaveAndBackupKeepTheFilesPermissions) {
    const std::string file = folder_.File("data.csv");
    std::string bad = Line("", "Bad");
    bad.replace(bad.find("2001/06/19"), 10, "x/1/1");
    WriteBytes(file, Line("", "A") + "\r\n" + bad + "\r\n");
    ASSERT_EQ(chmod(file.c_str(), 0600), 0);
    const mode_t umaskBefore = umask(022);
    ASSERT_EQ(Plain().LoadFromFile(file), LoadResult::ConvertError);
    const bool saved = list_.SaveToFile(file);
    chmod(file.c_str(), 0664);
    const bool savedAgain = list_.SaveToFile(file);
    umask(umaskBefore);
    ASSERT_TRUE(saved);
    ASSERT_TRUE(savedAgain);
    EXPECT_EQ(Permissions(file + ".20240102-030405.bak"), 0600);
    EXPECT_EQ(Permissions(file), 0664);
}

// A name beside the data file that is a symbolic link is taken, never written through, even
// when the link leads nowhere: the temporary file and the backup go under other names.
TEST_F(PassListTest, LinksAtTheTemporaryAndBackupNamesAreNotFollowed) {
    const std::string file = folder_.File("data.csv");
    std::string bad = Line("", "Bad");
    bad.replace(bad.find("2001/06/19"), 10, "x/1/1");
    const std::string original = Line("", "A") + "\r\n" + bad + "\r\n";
    WriteBytes(file, original);
    ASSERT_EQ(Plain().LoadFromFile(file), LoadResult::ConvertError);
    ASSERT_EQ(symlink(folder_.File("lost-tmp").c_str(), (file + ".~tmp").c_str()), 0);
    ASSERT_EQ(symlink(folder_.File("lost-bak").c_str(), (file + ".20240102-030405.bak").c_str()), 0);
    ASSERT_TRUE(list_.SaveToFile(file));
    EXPECT_FALSE(FileExists(folder_.File("lost-tmp")));
    EXPECT_FALSE(FileExists(folder_.File("lost-bak")));
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(file)));
    EXPECT_EQ(ReadBytes(file), Line("", "A") + "\r\n");
    EXPECT_EQ(ReadBytes(file + ".20240102-030405-2.bak"), original);
}
#endif

TEST(BackupNameTest, StampsTheGivenTime) {
    const TDate noonish = Day(2023, 12, 31) + (23 * 3600 + 59 * 60 + 59.7) / 86400.0;
    EXPECT_EQ(BackupName("C:\\d\\a.tvd", noonish), "C:\\d\\a.tvd.20231231-235959.bak");  // never 24:00:00
    EXPECT_EQ(BackupName("a.csv", Day(2001, 6, 19), 3), "a.csv.20010619-000000-3.bak");
}

}  // namespace
}  // namespace torvane
