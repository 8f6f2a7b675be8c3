// The main window's item list and company page with real data files: the rows a folder or a
// company gives, what they show, what a selection hands on, sorting, and the page switch.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/core/fixed_clock.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/screenshot.h"

namespace torvane {
namespace {

using wintest::Day;
using wintest::Record;
using Strings = std::vector<std::string>;

TPassItem Expiring(const std::string& path, const std::string& title, TDate limit, bool hasLimit = true) {
    TPassItem item = Record(path, title);
    item.LimitDate = limit;
    if (hasLimit) item.Flags |= HasLimitDate;
    return item;
}

class MainListTest : public wintest::MainWindowTest {
protected:
    HWND Items() const { return C().ListView1; }
    HWND Companies() const { return C().CompanyList; }

    int Image(int row) const {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        SendMessageW(Items(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    }

    // A click on a header as the list reports it.
    void ClickHeader(HWND list, int column) {
        NMLISTVIEW click{};
        click.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), static_cast<UINT>(LVN_COLUMNCLICK)};
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageW(Main(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    }

    // Selects a row (or none, -1) as a click does; the list reports the change.
    static void SelectRow(HWND list, int row) {
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        if (row < 0) {
            SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
            return;
        }
        state.state = state.stateMask;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    }

    int CompanyRow(const std::string& name) {
        for (int row = 0; row < RowCount(Companies()); ++row) {
            if (Cell(Companies(), row, 0) == name) return row;
        }
        ADD_FAILURE() << "no company row " << name;
        return -1;
    }
};

TEST_F(MainListTest, TopNodeInWarnModeAddsDueAndExpiredRecordsFromEveryFolder) {
    const TDate today = Day(2024, 5, 10);
    FixedClock clock(today + 0.5);
    const std::vector<TPassItem> records = {
        Record("", "top"),
        Expiring("Soft", "due in 6", today + 6),
        Expiring("Soft", "due in 7", today + 7),
        Expiring("Soft\\Tools", "expired", today - 1),
        Expiring("Web", "no limit", today - 30, false),
    };
    WriteData(records, "ALERMDATE=7\r\nNOTIFYTOP=1\r\n");
    Start();
    EXPECT_EQ((Strings{"top", "due in 6", "expired"}), Titles());
    // The first row is selected and handed on.
    EXPECT_EQ(0, SelectedRow(Items()));
    EXPECT_EQ(Find("top"), form_->PanelItem());
    EXPECT_EQ(Find("top"), form_->MacroMenuItem());
    // Below the top node no warn mode: a folder's own records only.
    Select(Node("Soft"));
    EXPECT_EQ((Strings{"due in 6", "due in 7"}), Titles());

    form_.reset();
    params_.reset();
    WriteData(records, "ALERMDATE=7\r\nNOTIFYTOP=0\r\n");
    Start();
    EXPECT_EQ(Strings{"top"}, Titles());
}

TEST_F(MainListTest, ExpiryImagesChangeOnTheirBoundaryDays) {
    const TDate today = Day(2024, 5, 10);
    FixedClock clock(today + 0.9);
    WriteData({Expiring("Soft", "a today", today), Expiring("Soft", "b tomorrow", today + 1),
               Expiring("Soft", "c no flag", today - 5, false)},
              "ALERMDATE=1\r\nLASTNODE=Soft\r\n");
    Start();
    ASSERT_EQ((Strings{"a today", "b tomorrow", "c no flag"}), Titles());
    EXPECT_EQ(3, Image(0));            // due on its limit date
    EXPECT_EQ(I_IMAGENONE, Image(1));  // one warning day: tomorrow is not yet due
    EXPECT_EQ(I_IMAGENONE, Image(2));

    // Images are computed when the rows are filled.
    clock.Set(today + 1.1);
    EXPECT_EQ(3, Image(0));
    form_->TreeView1Change();
    EXPECT_EQ(4, Image(0));
    EXPECT_EQ(3, Image(1));
    EXPECT_EQ(I_IMAGENONE, Image(2));
}

TEST_F(MainListTest, ItemListLettersPickTheColumnsAndLowerCaseLettersAreMasked) {
    TPassItem withLimit = Expiring("", "limited", Day(2025, 3, 31));
    withLimit.Passwd = "secret";
    withLimit.FirstDate = Day(2024, 1, 2);
    TPassItem without = Record("", "open");
    without.FirstDate = Day(2023, 12, 24);
    WriteData({withLimit, without}, "ITEMLIST=UpDL\r\nNOTIFYTOP=0\r\n");
    Start();
    ASSERT_EQ((Strings{"limited", "open"}), Titles());
    EXPECT_EQ((Strings{"limited", "user-limited", "**********", "2024/01/02", "2025/03/31"}),
              (Strings{Cell(Items(), 0, 0), Cell(Items(), 0, 1), Cell(Items(), 0, 2), Cell(Items(), 0, 3),
                       Cell(Items(), 0, 4)}));
    EXPECT_EQ("2023/12/24", Cell(Items(), 1, 3));
    EXPECT_EQ("－", Cell(Items(), 1, 4));
}

TEST_F(MainListTest, HeaderClicksSortDescendingFirstThenAscendingWithOneSharedFlag) {
    TPassItem b = Record("", "b");
    TPassItem a = Record("", "A");
    TPassItem c = Record("", "c");
    a.FirstDate = Day(2024, 1, 3);
    b.FirstDate = Day(2024, 1, 1) + 0.9;
    c.FirstDate = Day(2024, 1, 2);
    WriteData({b, a, c}, "NOTIFYTOP=0\r\n");
    Start();
    SelectRow(Items(), 1);
    TPassItem* selected = form_->PanelItem();
    ASSERT_NE(nullptr, selected);

    ClickHeader(Items(), 0);
    EXPECT_TRUE(form_->ItemDescending);
    EXPECT_EQ((Strings{"c", "b", "A"}), Titles());
    // The selection stays on its record.
    EXPECT_EQ(selected, form_->Items().Selected());
    ClickHeader(Items(), 0);
    EXPECT_FALSE(form_->ItemDescending);
    EXPECT_EQ((Strings{"A", "b", "c"}), Titles());
    // Another header flips the same flag: descending by registration day.
    ClickHeader(Items(), 3);
    EXPECT_EQ((Strings{"A", "c", "b"}), Titles());
    // The next refill shows the record list's order again.
    form_->TreeView1Change();
    EXPECT_EQ((Strings{"A", "b", "c"}), Titles());
}

TEST_F(MainListTest, SelectingARowHandsItsRecordOnAndARefillThatEmptiesTheListHandsOnNone) {
    WriteData({Record("Soft", "s1"), Record("Soft", "s2"), Record("Soft\\Tools", "t1")}, "LASTNODE=Soft\r\n");
    Start();
    SelectRow(Items(), 1);
    EXPECT_EQ(Find("s2"), form_->PanelItem());
    EXPECT_EQ(Find("s2"), form_->MacroMenuItem());
    SelectRow(Items(), -1);
    EXPECT_EQ(nullptr, form_->PanelItem());
    SelectRow(Items(), 0);
    EXPECT_EQ(Find("s1"), form_->PanelItem());

    // A folder without records of its own.
    form_->MakeFolderClick();
    SendMessageW(C().TreeView1, TVM_ENDEDITLABELNOW, TRUE, 0);
    EXPECT_EQ(0, RowCount(Items()));
    EXPECT_EQ(nullptr, form_->PanelItem());
    EXPECT_EQ(nullptr, form_->MacroMenuItem());

    // A reload of a file that lost its records.
    Select(Node("Soft\\Tools"));
    EXPECT_EQ(Find("t1"), form_->PanelItem());
    wintest::WriteBytes(dataFile_, "");
    form_->N_ReloadClick();
    EXPECT_EQ(0, List().Count());
    EXPECT_EQ(nullptr, form_->PanelItem());
    EXPECT_EQ(nullptr, form_->MacroMenuItem());
}

TEST_F(MainListTest, RefreshSelectedItemRefillsOnlyTheRowOfTheSelectedRecord) {
    WriteData({Record("", "alpha"), Record("", "beta")}, "NOTIFYTOP=0\r\n");
    Start();
    TPassItem* alpha = Find("alpha");
    TPassItem* beta = Find("beta");
    ASSERT_EQ(alpha, form_->Items().Selected());
    beta->Title = "beta changed";
    form_->RefreshSelectedItem(beta);
    EXPECT_FALSE(List().Modified);

    alpha->Title = "zeta";
    alpha->UserID = "new id";
    form_->RefreshSelectedItem(alpha);
    EXPECT_TRUE(List().Modified);
    // The row shows the change and keeps its place; the record list is sorted underneath.
    EXPECT_EQ("zeta", Cell(Items(), 0, 0));
    EXPECT_EQ("new id", Cell(Items(), 0, 1));
    EXPECT_EQ(alpha, &List().Item(1));
}

TEST_F(MainListTest, CompanyPageGroupsNamesWithoutRegardToCase) {
    WriteData(
        {Record("Soft", "s1", "Acme"), Record("Web", "w1", "ACME"), Record("", "n1"), Record("Soft", "s2", "Beta")});
    Start();
    ShowPage(1);
    // Leaving the category page clears the tree's selection and what it enabled.
    EXPECT_EQ(nullptr, Tree().Selected());
    EXPECT_EQ(0, RowCount(Items()));
    EXPECT_FALSE(Enabled(kCmdNewFolder));
    EXPECT_FALSE(Enabled(kCmdDelFolder));
    EXPECT_FALSE(Enabled(kCmdAddNew));
    ASSERT_EQ(3, RowCount(Companies()));
    // The first spelling in the record list's order names the row.
    const int acme = CompanyRow("Acme");
    EXPECT_EQ("2", Cell(Companies(), acme, 1));
    EXPECT_EQ("1", Cell(Companies(), CompanyRow("(未登録)"), 1));
    EXPECT_EQ("1", Cell(Companies(), CompanyRow("Beta"), 1));

    SelectRow(Companies(), acme);
    EXPECT_EQ((Strings{"s1", "w1"}), Titles());
    EXPECT_TRUE(Enabled(kCmdAddNew));
    EXPECT_EQ(Find("s1"), form_->PanelItem());
    SelectRow(Companies(), CompanyRow("(未登録)"));
    EXPECT_EQ(Strings{"n1"}, Titles());
    SelectRow(Companies(), -1);
    EXPECT_EQ(0, RowCount(Items()));
    EXPECT_FALSE(Enabled(kCmdAddNew));
    EXPECT_EQ(nullptr, form_->PanelItem());

    // Rows cannot be dragged from here.
    SelectRow(Companies(), acme);
    NMLISTVIEW begin{};
    begin.hdr = {Items(), kIdListView, static_cast<UINT>(LVN_BEGINDRAG)};
    begin.iItem = 0;
    SendMessageW(Main(), WM_NOTIFY, kIdListView, reinterpret_cast<LPARAM>(&begin));
    EXPECT_EQ(DragSource::None, form_->Dragging());
}

// The company list follows the file that is loaded whichever page was showing at the load.
TEST_F(MainListTest, CompanyPageShowsTheCompaniesOfTheFileLoadedLast) {
    WriteData({Record("", "a", "Old")});
    Start();
    for (const int page : {0, 1}) {
        ShowPage(page);
        const std::string name = "New" + std::to_string(page);
        wintest::WriteBytes(dataFile_, FormatLine(Record("", "a", name)) + "\r\n");
        form_->N_ReloadClick();
        if (page == 0) ShowPage(1);
        EXPECT_EQ(Strings{name}, Column(Companies(), 0)) << page;
    }
}

TEST_F(MainListTest, CompanyHeaderClicksSortByNameDescendingFirst) {
    WriteData({Record("", "a", "Beta"), Record("", "b", "Alpha"), Record("", "c", "Gamma"), Record("", "d", "Gamma")});
    Start();
    ShowPage(1);
    EXPECT_EQ((Strings{"Alpha", "Beta", "Gamma"}), Column(Companies(), 0));
    ClickHeader(Companies(), 1);
    EXPECT_TRUE(form_->CompanyDescending);
    EXPECT_EQ((Strings{"Gamma", "Beta", "Alpha"}), Column(Companies(), 0));
    EXPECT_EQ((Strings{"2", "1", "1"}), Column(Companies(), 1));
    ClickHeader(Companies(), 0);
    EXPECT_EQ((Strings{"Alpha", "Beta", "Gamma"}), Column(Companies(), 0));
}

TEST_F(MainListTest, BackOnTheCategoryPageNothingIsSelectedAndTheCompanyPageRecordsNoLastNode) {
    WriteData({Record("Soft", "s1", "Acme")}, "LASTNODE=Soft\r\n");
    Start();
    ShowPage(1);
    SelectRow(Companies(), 0);
    ShowPage(0);
    EXPECT_EQ(nullptr, Tree().Selected());
    EXPECT_EQ(-1, SelectedRow(Companies()));
    EXPECT_EQ(0, RowCount(Items()));
    EXPECT_FALSE(Enabled(kCmdAddNew));
    Select(Node("Soft"));
    EXPECT_EQ(Strings{"s1"}, Titles());

    ShowPage(1);
    form_->ExitBtnClick();
    EXPECT_EQ("", params_->LastNode);
}

// Sample-like data, the tree expanded with a folder selected, and then the company page.
class ScreenshotMainWindowTest : public MainListTest {
protected:
    void StartWithSample() {
        const TDate today = Day(2026, 11, 28);
        clock_ = std::make_unique<FixedClock>(today + 0.5);
        auto record = [](const char* path, const char* title, int kind, const char* user, const char* company,
                         TDate first, TDate limit, bool hasLimit) {
            TPassItem item = Record(path, title, company);
            item.Kind = kind;
            item.UserID = user;
            item.FirstDate = item.LastDate = first;
            item.LimitDate = limit;
            if (hasLimit) item.Flags |= HasLimitDate;
            return item;
        };
        WriteData(
            {
                record("ソフトウェア", "オフィス統合パック", 0, "yamada.taro", "ミライソフト", Day(2024, 4, 1),
                       Day(2027, 3, 31), true),
                record("ソフトウェア", "ウイルス対策 2026", 0, "taro@example.ne.jp", "セキュア電子", Day(2025, 12, 13),
                       today + 2, true),
                record("ソフトウェア", "VectorDraw", 0, "yamada", "Acme Software", Day(2023, 6, 1), today - 3, true),
                record("ソフトウェア\\画像編集", "PhotoCraft Pro 2024", 0, "yamada.taro", "ピクセル工房",
                       Day(2024, 4, 1), Day(2027, 3, 31), true),
                record("ソフトウェア\\ユーティリティ", "ファイル圧縮ツール", 0, "山田太郎", "ACME SOFTWARE",
                       Day(2025, 1, 15), 0, false),
                record("Web\\ショッピング", "オンライン書店", 3, "yamada.taro@example.ne.jp", "ブックス株式会社",
                       Day(2022, 8, 20), 0, false),
                record("Web", "動画配信サービス", 1, "yamada.family", "ストリームジャパン", Day(2025, 11, 30), 0,
                       false),
                record("メール", "プロバイダメール", 2, "taro@example.ne.jp", "", Day(2015, 4, 1), 0, false),
                record("ハードウェア", "ノートPC", 4, "", "ミライ電機", Day(2024, 7, 1), Day(2027, 6, 30), true),
                record("", "パスワードのメモ", 5, "", "", today, 0, false),
            },
            "LASTNODE=ソフトウェア\r\nPROPVIEW=0\r\n");
        Start();
        SendMessageW(C().TreeView1, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Node("ソフトウェア")));
        SendMessageW(C().TreeView1, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Node("Web")));
        wintest::PumpMessages(100);
    }

    std::unique_ptr<FixedClock> clock_;
};

TEST_F(ScreenshotMainWindowTest, FolderSelected) {
    StartWithSample();
    EXPECT_EQ("ソフトウェア", SelectedPath());
    EXPECT_EQ(3, RowCount(Items()));
    SetFocus(C().TreeView1);
    wintest::SaveScreenshot(Main(), "main_form_folder");
}

TEST_F(ScreenshotMainWindowTest, CompanyPage) {
    StartWithSample();
    ShowPage(1);
    SelectRow(Companies(), CompanyRow("Acme Software"));
    EXPECT_EQ(2, RowCount(Items()));
    wintest::SaveScreenshot(Main(), "main_form_company");
}

}  // namespace
}  // namespace torvane
