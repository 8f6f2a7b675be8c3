#pragma once
// The item list ListView1: an owner-data report list whose rows refer to records inside the
// record list (never copies). The control asks for what it paints (LVN_GETDISPINFOW), so a
// folder of 10,000 records fills at once; only the row images, which depend on the date of the
// fill, are computed up front.
//
// The object attaches to a list view that its form created (LVS_OWNERDATA, report style,
// single selection) and is driven by that form, which forwards its WM_NOTIFY here, owns the
// settings and handles the selection notifications.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "store/pass_item.h"
#include "store/platform.h"

namespace torvane {

class ItemList {
public:
    static constexpr int kColumnCount = 5;
    // What a column shows for a letter of ITEMLIST that is not a capital A to Z.
    static const char kMaskedText[];  // "**********"
    static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                                    LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_OWNERDATA;

    // A list view with the style above and the columns, for windows that have none of their own.
    static HWND Create(HWND parent, int id, HIMAGELIST images);
    // Adds the item list's columns to a list view that has none yet.
    static void AddColumns(HWND list);

    ItemList() = default;
    explicit ItemList(HWND list) { Attach(list); }
    void Attach(HWND list);
    HWND Handle() const { return list_; }

    // True while the object moves the selection itself (keeping it on its record across a sort):
    // the form ignores the selection notifications meanwhile.
    bool Updating() const { return updating_; }

    // Shows these records, one row each in this order; itemList (ITEMLIST) picks the columns
    // after the title and warnDays (ALERMDATE) the expiry images, both kept for the rows added
    // or refreshed later. Leaves no row selected: a selection is cleared first, which the list
    // reports to the form like any deselection.
    void SetRows(std::vector<TPassItem*> records, const std::string& itemList, int warnDays);
    void Clear();

    int Count() const { return static_cast<int>(rows_.size()); }
    // The record of a row; null for a row that does not exist.
    TPassItem* RowRecord(int row) const;
    // The first row showing the record, or -1.
    int IndexOf(const TPassItem* record) const;
    int SelectedIndex() const;
    TPassItem* Selected() const { return RowRecord(SelectedIndex()); }
    // Selects and focuses a row and scrolls it fully into view; -1 clears the selection.
    void Select(int row);

    // Appends a row for a record; returns its index.
    int AddRow(TPassItem* record);
    // Removes the row showing the record (deselected first when selected); false when there is
    // none. A selection on another row stays on its record.
    bool RemoveRow(const TPassItem* record);
    // Fills the row showing the record again from it, image included; false when there is none.
    bool RefreshRow(const TPassItem* record);

    // Sorts the rows for a click on column k: titles with ASCII-only case folding, column 3 by
    // registration day, the others by their shown text with the collator; descending reverses.
    // The selection stays on its record.
    void SortByColumn(int column, bool descending, const ICollator& collator);

    // What a row shows: the text of a column (Shift_JIS) and its image (-1 none, 3 due, 4 expired).
    std::string CellText(int row, int column) const;
    int RowImage(int row) const;

    // WM_NOTIFY from the list: serves texts and images and the type-ahead search. True when
    // handled, with the message's result in result.
    bool HandleNotify(NMHDR* header, LRESULT& result);

private:
    struct Row {
        TPassItem* record = nullptr;
        int image = -1;
        // The shown texts as UTF-16, converted the first time the control asks for the row.
        mutable std::unique_ptr<std::array<std::wstring, kColumnCount>> wide;
    };

    Row MakeRow(TPassItem* record) const;
    std::string ColumnText(const TPassItem& record, int column) const;
    const std::wstring& WideText(int row, int column) const;
    void GetDispInfo(NMLVDISPINFOW& info) const;
    int FindTitle(const NMLVFINDITEMW& find) const;
    void MoveSelection(int from, int to);

    HWND list_ = nullptr;
    std::vector<Row> rows_;
    std::string itemList_;
    int warnDays_ = 0;
    bool updating_ = false;
};

}  // namespace torvane
