#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "store/pass_list.h"
#include "tests/core/list_files.h"
#include "tests/core/scripted_prompts.h"

namespace torvane {
namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Letter case ignored, with sort keys: "a" and "A" tie although their bytes differ.
struct FoldingCollator : ICollator {
    int Compare(const std::string& a, const std::string& b) const override {
        std::string x, y;
        SortKey(a, x);
        SortKey(b, y);
        return x.compare(y);
    }
    bool SortKey(const std::string& text, std::string& key) const override {
        key = text;
        for (char& c : key) c = Lower(c);
        return true;
    }
};

// Keys in byte order, comparison without regard to case: Sort refuses the keys' order and
// compares pair by pair.
struct DisagreeingCollator : FoldingCollator {
    bool SortKey(const std::string& text, std::string& key) const override {
        key = text;
        return true;
    }
};

// Keys for some texts only: Sort then compares pair by pair.
struct PartlyKeyedCollator : FoldingCollator {
    bool SortKey(const std::string& text, std::string& key) const override {
        return text.find('X') == std::string::npos && FoldingCollator::SortKey(text, key);
    }
};

std::vector<std::string> Ids(const TPassList& list) {
    std::vector<std::string> ids;
    for (int i = 0; i < list.Count(); ++i) ids.push_back(list.Item(i).Passwd);
    return ids;
}

// After one record changes in a sorted list, moving it gives exactly the order a whole Sort
// gives, ties (equal keys on the same day) included, and the record keeps its address.
void CheckAgainstSort(const ICollator& collator, unsigned seed) {
    ScriptedPrompts prompts;
    listtest::NativeFileOps fileOps;
    TPassList moved(prompts, collator, fileOps), sorted(prompts, collator, fileOps);
    const std::vector<std::string> paths{"", "x", "X", "x\\y"}, titles{"a", "A", "b", "ab", ""}, users{"", "u"};
    const std::vector<double> dates{1.0, 1.25, 1.75, 2.5, 3.0};
    std::mt19937 random(seed);
    const auto pick = [&random](const auto& values) { return values[random() % values.size()]; };
    for (int i = 0; i < 120; ++i) {
        TPassItem item;
        item.Path = pick(paths);
        item.Title = pick(titles);
        item.UserID = pick(users);
        item.LastDate = pick(dates);
        item.Passwd = std::to_string(i);  // unique, so every record stays
        moved.AddItem(item);
        sorted.AddItem(item);
    }
    moved.Sort();
    sorted.Sort();
    int next = 1000;
    for (int round = 0; round < 200; ++round) {
        // Now and then a change that leaves the list out of order until its next sort, or one
        // that keeps its order: the move must still give Sort's order afterwards.
        const unsigned disturb = random() % 12;
        const std::string path = pick(paths), other = pick(paths), title = pick(titles);
        const int victim = static_cast<int>(random() % static_cast<unsigned>(moved.Count()));
        int k = static_cast<int>(random() % static_cast<unsigned>(moved.Count()));
        for (TPassList* list : {&moved, &sorted}) {
            TPassItem added;
            added.Title = title;
            added.Passwd = std::to_string(next);
            switch (disturb) {
                case 0: list->AddItem(added); break;  // a new record, at the end
                case 1: list->RenameFolder(path, other); break;
                case 2: list->SetItemPath(victim, path); break;
                case 3: list->DeleteItem(&list->Item(victim)); break;
                case 4: list->DeleteFolder("x\\y"); break;
                case 5: added = list->Item(victim); added.LastDate += 5; list->AddItem(added); break;  // overwritten
                default: break;
            }
        }
        ++next;
        if (moved.Count() == 0) break;
        if (disturb == 0 && round % 2 == 0) k = moved.Count() - 1;  // the new record itself
        k %= moved.Count();
        const std::string text = pick(round % 4 == 0 ? titles : round % 4 == 1 ? paths : users);
        const double date = pick(dates);
        for (TPassList* list : {&moved, &sorted}) {
            TPassItem& item = list->Item(k);
            switch (round % 4) {
                case 0: item.Title = text; break;
                case 1: item.Path = text; break;
                case 2: item.UserID = text; break;
                case 3: item.LastDate = date; break;
            }
        }
        TPassItem* record = &moved.Item(k);
        moved.Modified = false;
        moved.MarkItemChanged(record);
        sorted.Sort();
        ASSERT_EQ(Ids(moved), Ids(sorted))
            << "seed " << seed << ", round " << round << ", disturb " << disturb << ", k " << k;
        EXPECT_TRUE(moved.Modified);
        EXPECT_EQ(&moved.Item(moved.IndexOfItem(*record)), record);
    }
}

TEST(PassListMoveTest, MovingTheChangedRecordGivesTheOrderOfAWholeSort) {
    const ByteCollator bytes;
    const FoldingCollator folding;
    const DisagreeingCollator disagreeing;
    const PartlyKeyedCollator partly;
    const std::vector<const ICollator*> collators{&bytes, &folding, &disagreeing, &partly};
    for (const ICollator* collator : collators) {
        for (unsigned seed = 1; seed <= 5; ++seed) CheckAgainstSort(*collator, seed);
    }
}

TEST(PassListMoveTest, ARecordOutsideTheListMovesNothing) {
    ScriptedPrompts prompts;
    listtest::NativeFileOps fileOps;
    const ByteCollator collator;
    TPassList list(prompts, collator, fileOps);
    for (const char* title : {"b", "a"}) {
        TPassItem item;
        item.Title = title;
        list.AddItem(item);
    }
    const TPassItem outside;
    list.MarkItemChanged(&outside);
    EXPECT_EQ(list.Item(0).Title, "b");
    EXPECT_TRUE(list.Modified);
}

}  // namespace
}  // namespace torvane
