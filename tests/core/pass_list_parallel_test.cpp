#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "store/crypt.h"
#include "store/pass_list.h"
#include "store/random.h"
#include "tests/core/fixed_clock.h"
#include "tests/core/list_files.h"
#include "tests/core/scripted_prompts.h"

namespace torvane {
namespace {

// A protected save spread over every processor writes the bytes of a save line by line: the
// same lines in the same order, each with the salt drawn for it in line order.
TEST(PassListParallelTest, ProtectedSaveIsTheLineByLineFile) {
    const FixedClock clock(45000, TimeOfDay{10, 20, 30, 400}, TimeOfDay{1, 2, 3, 4});
    ScriptedPrompts prompts;
    ByteCollator collator;
    listtest::NativeFileOps fileOps;
    TPassList list(prompts, collator, fileOps);
    for (int i = 0; i < 20000; ++i) {
        TPassItem item;
        item.Path = "フォルダ" + std::to_string(i % 37);
        item.Title = "題名" + std::to_string(i);
        item.Memo = std::string(static_cast<size_t>(i % 50), 'm');
        list.AddItem(item);
    }
    list.Encrypted = true;
    list.Password = "secret";
    listtest::Folder folder;
    const std::string file = folder.File("a.tvd");
    ASSERT_TRUE(list.SaveToFile(file));
    const uint32_t stateAfterSave = RandomState();

    std::string expected;
    TCrypt crypt;
    crypt.SetKey("secret");
    crypt.Mode = TCrypt::kEncipher;
    for (int i = 0; i < list.Count(); ++i) {
        expected += crypt.Process("secret" + FormatLine(list.Item(i))) + "\r\n";
        crypt.NewSalt();
    }
    EXPECT_EQ(stateAfterSave, RandomState());
    EXPECT_TRUE(expected == listtest::ReadBytes(file));

    // The plain text made in parts is the lines in order.
    std::string plain;
    for (int i = 0; i < list.Count(); ++i) plain += FormatLine(list.Item(i)) + "\r\n";
    std::string parts;
    EXPECT_TRUE(list.WritePlainText([&](const std::string& part) { return parts += part, true; }));
    EXPECT_TRUE(plain == parts);
    // A refusal ends the work at once.
    int calls = 0;
    EXPECT_FALSE(list.WritePlainText([&](const std::string&) { return ++calls, false; }));
    EXPECT_EQ(1, calls);
}

struct Loaded {
    std::vector<std::string> lines;  // the records' lines, sorted
    std::vector<long long> damaged;
    LoadResult result;
};

Loaded LoadBytes(const std::string& bytes, bool encrypted) {
    ScriptedPrompts prompts;
    ByteCollator collator;
    listtest::NativeFileOps fileOps;
    listtest::Folder folder;
    const std::string file = folder.File(encrypted ? "a.tvd" : "a.csv");
    listtest::WriteBytes(file, bytes);
    TPassList list(prompts, collator, fileOps);
    list.Encrypted = encrypted;
    list.Password = "secret";
    Loaded loaded;
    loaded.result = list.LoadFromFile(file);
    for (int i = 0; i < list.Count(); ++i) loaded.lines.push_back(FormatLine(list.Item(i)));
    std::sort(loaded.lines.begin(), loaded.lines.end());
    loaded.damaged = list.LastLoad().damagedLines;
    return loaded;
}

std::string Encipher(const std::string& password, const std::string& line) {
    TCrypt crypt;
    crypt.SetKey(password);
    crypt.Mode = TCrypt::kEncipher;
    return crypt.Process(password + line);
}

// A file of many blocks, read on every processor, gives what its blocks give when each is read
// on its own: the same records and the same damaged lines (counted on through the blocks),
// wherever the parts of the work begin and end.
TEST(PassListParallelTest, LoadOfManyBlocksIsTheLoadOfEachBlock) {
    const auto record = [](int block, int k, const std::string& memo) {
        TPassItem item;
        item.Path = "フォルダ" + std::to_string(block % 7);
        item.Title = "題名" + std::to_string(block) + "-" + std::to_string(k);
        item.Memo = memo;
        return FormatLine(item);
    };
    struct Case {
        const char* name;
        bool encrypted;
        std::function<std::vector<std::string>(int block)> lines;
        const char* lineEnd;
    };
    const Case cases[] = {
        {"plain, CR LF, memo lines, a stray quote, blanks and comments", false,
         [&](int b) {
             std::vector<std::string> l{record(b, 0, ""), "", "; note", record(b, 1, "行1\r\n行2")};
             l.push_back("\"stray," + std::to_string(b));
             l.push_back(record(b, 2, ""));
             l.push_back("too,few,fields");
             return l;
         },
         "\r\n"},
        {"plain, LF only", false, [&](int b) { return std::vector<std::string>{record(b, 0, ""), "x", record(b, 1, "")}; },
         "\n"},
        {"protected: lines of another password, empty lines, garbage", true,
         [&](int b) {
             return std::vector<std::string>{Encipher("secret", record(b, 0, "")), "", Encipher("other", record(b, 1, "")),
                                             Encipher("secret", record(b, 2, "メモ\r\n二行目")), "garbage-garbage-line",
                                             "", "", Encipher("secret", record(b, 3, ""))};
         },
         "\r\n"},
    };
    constexpr int kBlocks = 400;
    for (const Case& c : cases) {
        std::string whole;
        Loaded expected{{}, {}, LoadResult::Loaded};
        long long offset = 0;
        for (int b = 0; b < kBlocks; ++b) {
            std::string block;
            size_t fileLines = 0;
            for (const std::string& line : c.lines(b)) {
                block += line + c.lineEnd;
                // A memo's line break is a line of the file too (plain files only show it).
                fileLines += 1 + (c.encrypted ? 0 : static_cast<size_t>(std::count(line.begin(), line.end(), '\n')));
            }
            const Loaded alone = LoadBytes(block, c.encrypted);
            expected.lines.insert(expected.lines.end(), alone.lines.begin(), alone.lines.end());
            for (long long n : alone.damaged) expected.damaged.push_back(offset + n);
            offset += static_cast<long long>(fileLines);
            whole += block;
        }
        std::sort(expected.lines.begin(), expected.lines.end());
        const Loaded loaded = LoadBytes(whole, c.encrypted);
        EXPECT_EQ(LoadResult::Damaged, loaded.result) << c.name;
        EXPECT_FALSE(expected.damaged.empty()) << c.name;
        EXPECT_TRUE(expected.damaged == loaded.damaged) << c.name;
        EXPECT_EQ(expected.lines.size(), loaded.lines.size()) << c.name;
        EXPECT_TRUE(expected.lines == loaded.lines) << c.name;
    }
    // Nothing at all: no record, no damage.
    const Loaded empty = LoadBytes("", false);
    EXPECT_EQ(LoadResult::Loaded, empty.result);
    EXPECT_TRUE(empty.lines.empty() && empty.damaged.empty());
}

}  // namespace
}  // namespace torvane
