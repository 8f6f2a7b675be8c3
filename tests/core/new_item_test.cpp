#include "app/new_item.h"

#include <gtest/gtest.h>

#include "tests/core/list_files.h"
#include "tests/core/scripted_prompts.h"

namespace torvane {
namespace {

TPassItem Existing(const std::string& path, const std::string& title, const std::string& company = {}) {
    TPassItem item;
    item.Path = path;
    item.Title = title;
    item.Company = company;
    return item;
}

TEST(NewItemTest, TitleNeverTakesTheKeyOfARecord) {
    const struct {
        int rowCount;
        const char* path;
        const char* company;
        const char* title;
    } cases[] = {
        {0, "", "", "Items0"},
        {1, "", "", "Items2"},       // the top folder holds Items1
        {2, "A", "", "Items3"},      // Items2 is in A already
        {2, "B", "", "Items2"},      // another folder's Items2 is another key
        {1, "", "会社", "Items1"},   // the top folder's Items1 belongs to no company
        {0, "C", "", "Items0"},
    };
    ScriptedPrompts prompts;
    ByteCollator collator;
    listtest::NativeFileOps fileOps;
    TPassList list(prompts, collator, fileOps);
    for (const TPassItem& item : {Existing("A", "Items0"), Existing("A", "Items2"), Existing("B", "Items3"),
                                  Existing("", "Items1"), Existing("A", "Items3x")}) {
        list.AddItem(item);
    }
    for (const auto& c : cases) {
        const TPassItem item = MakeNewItem(list, c.path, c.company, c.rowCount, 45000);
        EXPECT_EQ(c.title, item.Title) << c.path << c.rowCount;
        EXPECT_EQ(c.path, item.Path);
        EXPECT_EQ(c.company, item.Company);
        EXPECT_EQ(45000, item.FirstDate);
        EXPECT_EQ(45000, item.LimitDate);
        EXPECT_EQ(0, item.Flags);
    }
}

}  // namespace
}  // namespace torvane
