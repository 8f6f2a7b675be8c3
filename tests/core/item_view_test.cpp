#include "app/item_view.h"

#include <gtest/gtest.h>

#include "tests/core/fixed_clock.h"
#include "tests/core/list_files.h"
#include "tests/core/scripted_prompts.h"

namespace torvane {
namespace {

class ItemViewTest : public testing::Test {
protected:
    TPassItem& Add(const std::string& path, const std::string& title, const std::string& company = "",
                   double limit = 0) {
        TPassItem item;
        item.Path = path;
        item.Title = title;
        item.Company = company;
        if (limit != 0) {
            item.LimitDate = limit;
            item.Flags = HasLimitDate;
        }
        return list_.Item(list_.AddItem(item));
    }
    static std::vector<std::string> Titles(const std::vector<TPassItem*>& rows) {
        std::vector<std::string> titles;
        for (const TPassItem* item : rows) titles.push_back(item->Title);
        return titles;
    }

    FixedClock clock_{40000};
    ScriptedPrompts prompts_;
    ByteCollator collator_;
    listtest::NativeFileOps files_;
    TPassList list_{prompts_, collator_, files_};
};

TEST_F(ItemViewTest, FolderListsItsOwnRecordsAndInWarnModeEveryDueOne) {
    Add("", "top");
    Add("Soft", "own");
    Add("Soft\\Tools", "sub");
    Add("Web", "due", "", 40006);     // six days ahead: due with 7 warning days
    Add("Web", "later", "", 40007);   // seven days ahead: not yet
    Add("Web", "expired", "", 39999);
    EXPECT_EQ((std::vector<std::string>{"own"}), Titles(FolderRecords(list_, "Soft", false, 7)));
    EXPECT_EQ((std::vector<std::string>{"top"}), Titles(FolderRecords(list_, "", false, 7)));
    EXPECT_EQ((std::vector<std::string>{"top", "due", "expired"}), Titles(FolderRecords(list_, "", true, 7)));
}

TEST_F(ItemViewTest, ExpiryImagesOnTheirBoundaryDays) {
    EXPECT_EQ(3, ExpiryImage(Add("", "today", "", 40000), 1));
    EXPECT_EQ(4, ExpiryImage(Add("", "yesterday", "", 39999), 1));
    TPassItem noLimit;
    noLimit.LimitDate = 1;  // a date without the flag means nothing
    EXPECT_EQ(-1, ExpiryImage(noLimit, 7));
}

TEST_F(ItemViewTest, CompaniesGroupWithoutRegardToCase) {
    Add("", "a", "Acme");
    Add("", "b", "ACME");
    Add("", "c");
    Add("", "d", "Zeta");
    const auto rows = GroupCompanies(list_, collator_, false);
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ("(未登録)", rows[0].name);
    EXPECT_EQ(1, rows[0].count);
    EXPECT_EQ("Acme", rows[1].name);
    EXPECT_EQ(2, rows[1].count);
    EXPECT_EQ("Zeta", GroupCompanies(list_, collator_, true).front().name);
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), Titles(CompanyRecords(list_, "acme")));
    EXPECT_EQ((std::vector<std::string>{"c"}), Titles(CompanyRecords(list_, kNoCompanyRow)));
}

TEST_F(ItemViewTest, HeaderComparisons) {
    TPassItem a, b;
    a.Title = "apple";
    b.Title = "Banana";
    EXPECT_LT(CompareRows(0, a, "", b, "", collator_), 0);  // folded: APPLE < BANANA
    b.Title = "APPLE";
    EXPECT_EQ(0, CompareRows(0, a, "", b, "", collator_));
    a.FirstDate = 10.9;
    b.FirstDate = 10.1;
    EXPECT_EQ(0, CompareRows(3, a, "", b, "", collator_));  // whole days only
    b.FirstDate = 9.5;
    EXPECT_GT(CompareRows(3, a, "", b, "", collator_), 0);
    EXPECT_LT(CompareRows(1, a, "x", b, "y", collator_), 0);
}

}  // namespace
}  // namespace torvane
