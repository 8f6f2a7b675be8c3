#pragma once
// The company list CompanyList on the page "会社（作者）名": one row per company name with the
// number of its records. The rows come from GroupCompanies; the object attaches to a report
// list view that its form created and keeps each row's name as the records spell it.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/item_view.h"
#include "store/platform.h"

namespace torvane {

class CompanyListView {
public:
    static constexpr DWORD kStyle =
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS;

    // A list view with the style above and the columns, for windows that have none of their own.
    static HWND Create(HWND parent, int id);
    // Adds the columns "会社名" and "件数" to a list view that has none yet.
    static void AddColumns(HWND list);

    CompanyListView() = default;
    explicit CompanyListView(HWND list) { Attach(list); }
    void Attach(HWND list);
    HWND Handle() const { return list_; }

    // Shows these rows in this order, none selected.
    void Fill(const std::vector<CompanyRow>& rows);
    void Clear();

    int Count() const;
    // A row's company name (Shift_JIS); empty for a row that does not exist.
    std::string RowText(int row) const;
    // The count a row shows.
    int RowCount(int row) const;
    void SetCount(int row, int count);

    int SelectedIndex() const;
    // The selected row's name; empty when none is selected.
    std::string SelectedText() const { return RowText(SelectedIndex()); }
    // Selects and focuses a row; -1 clears the selection.
    void Select(int row);

    // Orders the rows by name with the collator (case-sensitive, locale-aware on Windows),
    // descending when asked; the counts never decide. The selection stays on its row.
    void Sort(bool descending, const ICollator& collator);

private:
    int RowKey(int row) const;

    HWND list_ = nullptr;
    // Indexed by each row's item data, which stays with the row when the control sorts.
    std::vector<CompanyRow> rows_;
};

}  // namespace torvane
