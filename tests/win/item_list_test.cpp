// The item list and the company list over real list views: what the rows show as the control
// reads it, the expiry images, sorting, selection, and the company rows.
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "app/company_list_win.h"
#include "app/item_list_win.h"
#include "app/item_view.h"
#include "res/resource.h"
#include "store/pass_list.h"
#include "tests/core/fixed_clock.h"
#include "tests/core/scripted_prompts.h"
#include "tests/win/control_host.h"
#include "tests/win/modal_helper.h"
#include "win/image_strip.h"
#include "win/platform_win.h"
#include "win/text.h"

namespace torvane {
namespace {

TDate Day(int year, int month, int day) {
    TDate date = 0;
    TryEncodeDate(year, month, day, date);
    return date;
}

std::string ColumnCaption(HWND list, int column, int* width = nullptr, int* format = nullptr) {
    wchar_t text[64] = {};
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    info.pszText = text;
    info.cchTextMax = 64;
    SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
    if (width) *width = info.cx;
    if (format) *format = info.fmt & LVCFMT_JUSTIFYMASK;
    return win::ToSjis(text);
}

class ItemListTest : public testing::Test {
protected:
    ItemListTest() : images_(IDB_TREE), clock_(Day(2024, 5, 10) + 0.5) {
        list_.Attach(ItemList::Create(host_.Handle(), 2, images_.List()));
        MoveWindow(list_.Handle(), 0, 0, 600, 400, TRUE);
        host_.onNotify = [this](NMHDR* header, LRESULT& result) { return list_.HandleNotify(header, result); };
    }

    TPassItem& Record(const std::string& title) {
        records_.emplace_back();
        records_.back().Title = title;
        return records_.back();
    }
    std::vector<TPassItem*> All() {
        std::vector<TPassItem*> rows;
        for (TPassItem& record : records_) rows.push_back(&record);
        return rows;
    }
    std::vector<std::string> Titles() const {
        std::vector<std::string> titles;
        for (int i = 0; i < list_.Count(); ++i) titles.push_back(wintest::CellText(list_.Handle(), i, 0));
        return titles;
    }
    int ShownImage(int row) const {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        SendMessageW(list_.Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    }

    wintest::ControlHost host_;
    win::ImageStrip images_;
    FixedClock clock_;
    win::LocaleCollator collator_;
    std::deque<TPassItem> records_;  // addresses stay put as records are added
    ItemList list_;
};

TEST_F(ItemListTest, ColumnsShowTheItemListLettersWithLowerCaseMasked) {
    const int expected[][2] = {
        {150, LVCFMT_LEFT}, {100, LVCFMT_LEFT}, {80, LVCFMT_LEFT}, {100, LVCFMT_CENTER}, {100, LVCFMT_CENTER}};
    const char* captions[] = {"タイトル", "登録ID", "種類", "登録/購入日", "有効期限"};
    for (int c = 0; c < 5; ++c) {
        int width = 0, format = 0;
        EXPECT_EQ(ColumnCaption(list_.Handle(), c, &width, &format), captions[c]);
        EXPECT_EQ(width, expected[c][0]);
        EXPECT_EQ(format, expected[c][1]);
    }
    ItemList::AddColumns(list_.Handle());  // a list with columns keeps them
    EXPECT_EQ(ColumnCaption(list_.Handle(), 5), "");

    TPassItem& soft = Record("会計ソフト");
    soft.UserID = "yamada";
    soft.Passwd = "secret";
    soft.FirstDate = Day(2024, 1, 2);
    soft.Kind = 2;
    TPassItem& web = Record("Web");
    web.Flags = HasLimitDate;
    web.LimitDate = Day(2025, 3, 31);

    list_.SetRows(All(), "UpDL", 7);
    const HWND h = list_.Handle();
    EXPECT_EQ(wintest::CellText(h, 0, 0), "会計ソフト");
    EXPECT_EQ(wintest::CellText(h, 0, 1), "yamada");
    EXPECT_EQ(wintest::CellText(h, 0, 2), "**********");
    EXPECT_EQ(wintest::CellText(h, 0, 3), "2024/01/02");
    EXPECT_EQ(wintest::CellText(h, 0, 4), "－");
    EXPECT_EQ(wintest::CellText(h, 1, 4), "2025/03/31");

    // Fewer letters leave the last columns empty; anything but a capital is masked.
    list_.SetRows(All(), "G1", 7);
    EXPECT_EQ(wintest::CellText(h, 0, 1), KindName(2));
    EXPECT_EQ(wintest::CellText(h, 0, 2), "**********");
    EXPECT_EQ(wintest::CellText(h, 0, 3), "");
    EXPECT_EQ(list_.CellText(0, 2), "**********");
    EXPECT_EQ(list_.CellText(5, 0), "");
}

TEST_F(ItemListTest, ExpiryImagesChangeOnTheirBoundaryDays) {
    const TDate today = Day(2024, 5, 10);
    const struct {
        double offset;
        bool hasLimit;
        int image;
    } cases[] = {{0, true, 3}, {-1, true, 4}, {6, true, 3}, {7, true, -1}, {-100, false, -1}};
    for (const auto& c : cases) {
        TPassItem& record = Record("r");
        record.LimitDate = today + c.offset;
        record.Flags = c.hasLimit ? HasLimitDate : 0;
    }
    list_.SetRows(All(), "UPDL", 7);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(list_.RowImage(i), cases[i].image);
        EXPECT_EQ(ShownImage(i), cases[i].image >= 0 ? cases[i].image : I_IMAGENONE);
    }

    // The image is the fill's: it changes when the row is filled again on a later day.
    clock_.Set(today + 1 + 0.5);
    EXPECT_EQ(list_.RowImage(0), 3);
    EXPECT_TRUE(list_.RefreshRow(&records_[0]));
    EXPECT_EQ(ShownImage(0), 4);
    EXPECT_FALSE(list_.RefreshRow(nullptr));
}

TEST_F(ItemListTest, HeaderSortsBothWaysAndTheSelectionFollowsItsRecord) {
    for (const char* title : {"b", "A", "c", "B"}) Record(title);
    records_[0].FirstDate = Day(2024, 1, 3) + 0.9;
    records_[1].FirstDate = Day(2024, 1, 3) + 0.1;  // the same day: equal
    records_[2].FirstDate = Day(2023, 1, 1);
    records_[3].FirstDate = Day(2024, 2, 1);
    records_[0].UserID = "y";
    records_[2].UserID = "x";
    list_.SetRows(All(), "UGDL", 7);
    list_.Select(1);
    ASSERT_EQ(list_.Selected(), &records_[1]);

    list_.SortByColumn(0, true, collator_);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"c", "b", "B", "A"}));
    EXPECT_EQ(list_.Selected(), &records_[1]);
    EXPECT_EQ(list_.SelectedIndex(), 3);
    EXPECT_FALSE(list_.Updating());

    list_.SortByColumn(0, false, collator_);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"A", "b", "B", "c"}));
    EXPECT_EQ(list_.Selected(), &records_[1]);

    list_.SortByColumn(3, false, collator_);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"c", "A", "b", "B"}));
    list_.SortByColumn(1, true, collator_);  // the user IDs as shown
    EXPECT_EQ(Titles(), (std::vector<std::string>{"b", "c", "A", "B"}));
}

TEST_F(ItemListTest, TenThousandRowsFillAtOnceAndServeTheirTexts) {
    for (int i = 0; i < 10000; ++i) Record("Item" + std::to_string(i)).UserID = "user" + std::to_string(i);
    list_.SetRows(All(), "UPDL", 7);
    EXPECT_EQ(SendMessageW(list_.Handle(), LVM_GETITEMCOUNT, 0, 0), 10000);
    EXPECT_EQ(wintest::CellText(list_.Handle(), 0, 0), "Item0");
    EXPECT_EQ(wintest::CellText(list_.Handle(), 5000, 1), "user5000");
    EXPECT_EQ(wintest::CellText(list_.Handle(), 9999, 0), "Item9999");

    list_.Select(9999);
    EXPECT_EQ(list_.Selected(), &records_[9999]);
    const int top = static_cast<int>(SendMessageW(list_.Handle(), LVM_GETTOPINDEX, 0, 0));
    const int page = static_cast<int>(SendMessageW(list_.Handle(), LVM_GETCOUNTPERPAGE, 0, 0));
    EXPECT_LE(top, 9999);
    EXPECT_GE(top + page, 10000);  // scrolled into view

    // Typing finds the next title that begins with the typed text.
    LVFINDINFOW find{};
    find.flags = LVFI_PARTIAL | LVFI_STRING | LVFI_WRAP;
    find.psz = L"item42";
    EXPECT_EQ(SendMessageW(list_.Handle(), LVM_FINDITEMW, 100, reinterpret_cast<LPARAM>(&find)), 420);
}

TEST_F(ItemListTest, RefillClearsTheSelectionAndTellsTheForm) {
    Record("one");
    Record("two");
    list_.SetRows(All(), "UPDL", 7);
    EXPECT_EQ(list_.Selected(), nullptr);
    list_.Select(1);
    EXPECT_EQ(list_.Selected(), &records_[1]);
    ASSERT_FALSE(host_.itemChanges.empty());
    EXPECT_TRUE(host_.itemChanges.back().newState & LVIS_SELECTED);

    host_.itemChanges.clear();
    list_.SetRows({}, "UPDL", 7);
    EXPECT_EQ(list_.Count(), 0);
    EXPECT_EQ(list_.Selected(), nullptr);
    ASSERT_FALSE(host_.itemChanges.empty());
    EXPECT_FALSE(host_.itemChanges.back().newState & LVIS_SELECTED);

    list_.SetRows(All(), "UPDL", 7);
    EXPECT_EQ(list_.SelectedIndex(), -1);
    EXPECT_EQ(list_.RowRecord(2), nullptr);
    EXPECT_EQ(list_.RowRecord(-1), nullptr);
}

TEST_F(ItemListTest, RowsAreAddedRemovedAndRefilledInPlace) {
    for (const char* title : {"one", "two", "three"}) Record(title);
    list_.SetRows({&records_[0], &records_[1], &records_[2]}, "UPDL", 7);
    TPassItem& added = Record("Items3");
    EXPECT_EQ(list_.AddRow(&added), 3);
    EXPECT_EQ(SendMessageW(list_.Handle(), LVM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(wintest::CellText(list_.Handle(), 3, 0), "Items3");

    list_.Select(2);
    EXPECT_TRUE(list_.RemoveRow(&records_[0]));  // before the selection: it stays on its record
    EXPECT_EQ(list_.Selected(), &records_[2]);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"two", "three", "Items3"}));

    EXPECT_TRUE(list_.RemoveRow(&records_[2]));  // the selected row: nothing stays selected
    EXPECT_EQ(list_.Selected(), nullptr);
    EXPECT_EQ(SendMessageW(list_.Handle(), LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_FALSE(list_.RemoveRow(&records_[2]));

    wintest::CellText(list_.Handle(), 0, 0);  // served once, so the row keeps its converted texts
    records_[1].Title = "zwei";
    EXPECT_TRUE(list_.RefreshRow(&records_[1]));
    EXPECT_EQ(wintest::CellText(list_.Handle(), 0, 0), "zwei");
}

TEST(CompanyListViewTest, CompaniesGroupWithoutRegardToCaseAndSortByName) {
    wintest::ControlHost host;
    CompanyListView companies(CompanyListView::Create(host.Handle(), 3));
    MoveWindow(companies.Handle(), 0, 0, 200, 300, TRUE);
    int width = 0, format = 0;
    EXPECT_EQ(ColumnCaption(companies.Handle(), 0, &width), "会社名");
    EXPECT_EQ(width, 110);
    EXPECT_EQ(ColumnCaption(companies.Handle(), 1, &width, &format), "件数");
    EXPECT_EQ(width, 45);
    EXPECT_EQ(format, LVCFMT_RIGHT);

    ScriptedPrompts prompts;
    win::LocaleCollator collator;
    win::WinFileOps fileOps;
    TPassList records(prompts, collator, fileOps);
    for (const char* company : {"Acme", "Zeta", "ACME", ""}) {
        TPassItem item;
        item.Title = std::string("t") + company;
        item.Company = company;
        records.AddItem(item);
    }
    companies.Fill(GroupCompanies(records, collator, false));
    ASSERT_EQ(companies.Count(), 3);
    std::vector<std::string> names;
    for (int i = 0; i < 3; ++i) names.push_back(companies.RowText(i));
    EXPECT_EQ(names, (std::vector<std::string>{"(未登録)", "Acme", "Zeta"}));
    EXPECT_EQ(companies.RowCount(1), 2);
    EXPECT_EQ(wintest::CellText(companies.Handle(), 1, 1), "2");
    EXPECT_EQ(companies.SelectedText(), "");

    companies.Select(1);
    EXPECT_EQ(CompanyRecords(records, companies.SelectedText()).size(), 2u);
    companies.Sort(true, collator);
    EXPECT_EQ(companies.RowText(0), "Zeta");
    EXPECT_EQ(companies.RowText(2), "(未登録)");
    EXPECT_EQ(companies.SelectedText(), "Acme");
    EXPECT_EQ(wintest::CellText(companies.Handle(), 1, 0), "Acme");

    companies.SetCount(2, 5);
    EXPECT_EQ(wintest::CellText(companies.Handle(), 2, 1), "5");
    EXPECT_EQ(companies.RowCount(2), 5);
    companies.Select(-1);
    EXPECT_EQ(companies.SelectedIndex(), -1);
    companies.Clear();
    EXPECT_EQ(companies.Count(), 0);
}

}  // namespace
}  // namespace torvane
