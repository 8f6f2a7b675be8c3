// The main window's item list and company page: which records the rows show for the selected
// folder or company, what selecting a row hands on, header sorting, and the company list.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/item_view.h"
#include "app/main_form_win.h"

namespace torvane {

namespace {

constexpr char kMiniToolHint[] = "ミニパネル";

std::string MiniToolCaption(const std::string& name) {
    return std::string(kMiniToolHint) + " - " + name;
}

bool SelectionChanged(const NMLISTVIEW& change) {
    return (change.uChanged & LVIF_STATE) && ((change.uOldState ^ change.uNewState) & LVIS_SELECTED);
}

}  // namespace

int TMainForm::ActivePage() const {
    return static_cast<int>(SendMessageW(controls_.PageControl1, TCM_GETCURSEL, 0, 0));
}

// Fills the list with the selected folder's own records, in the record list's order; at the top
// node with NOTIFYTOP also every due or expired record.
void TMainForm::TreeView1Change() {
    ++treeFills_;
    if (destroying_ || !passList_) return;
    WaitCursor wait;
    RedrawLock::Hold hold(listRedraw_);
    Finally enableActions([this] {
        const HTREEITEM selected = tree_.Selected();
        actions_[kCmdNewFolder].SetEnabled(selected != nullptr);
        actions_[kCmdDelFolder].SetEnabled(selected != nullptr && tree_.Level(selected) >= 1);
        actions_[kCmdAddNew].SetEnabled(selected != nullptr);
    });
    const HTREEITEM node = tree_.Selected();
    ClearMiniToolItems();
    const std::string path = tree_.GetNodePath(node);
    const bool warnMode = path.empty() && params_.NotifyTop;
    std::vector<TPassItem*> records;
    if (node) records = FolderRecords(*passList_, path, warnMode, params_.AlermDate);
    itemList_.SetRows(records, params_.ItemList, params_.AlermDate);
    FillMiniTool(MiniToolCaption(path), records);
    SelectFirstRow();
}

void TMainForm::SelectFirstRow() {
    if (itemList_.Count() > 0) {
        itemList_.Select(0);
    } else {
        // Nothing is left to select: the panel and the macro menu must not keep a record that
        // no row shows.
        ListView1SelectItem(-1, false);
    }
}

void TMainForm::ClearItemList() {
    itemList_.Clear();
    ListView1SelectItem(-1, false);
}

void TMainForm::ListView1SelectItem(int row, bool selected) {
    TPassItem* record = selected ? itemList_.RowRecord(row) : nullptr;
    if (record) SendMessageW(controls_.ListView1, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    SetPropertyPanelItem(record);
    UpdateMacroMenu(record);
}

void TMainForm::RefreshSelectedItem(TPassItem* record) {
    if (!record || !passList_ || itemList_.Selected() != record) return;
    itemList_.RefreshRow(record);
    // Sorting reorders the record list only: the rows keep their places. Only this record
    // changed, so it alone moves: a whole sort per keystroke is too slow for large files.
    passList_->MarkItemChanged(record);
}

// The first click on a header sorts descending, the next ascending; every header shares the flag.
void TMainForm::ListView1ColumnClick(int column) {
    WaitCursor wait;
    RedrawLock::Hold hold(listRedraw_);
    ItemDescending = !ItemDescending;
    itemList_.SortByColumn(column, ItemDescending, collator_);
}

void TMainForm::PageControl1Change() {
    ClearSelections();
    const bool companyPage = ActivePage() == 1;
    SetPropertyPanelCompanyEditable(!companyPage);
    if (companyPage) BuildCompanyList();
}

// Each list's handler runs with nothing selected, also when nothing was.
void TMainForm::ClearSelections() {
    const unsigned treeFills = treeFills_;
    tree_.Select(nullptr);
    if (treeFills_ == treeFills) TreeView1Change();
    const unsigned companyFills = companyFills_;
    companyList_.Select(-1);
    if (companyFills_ == companyFills) CompanyListSelectItem(-1, false);
}

void TMainForm::BuildCompanyList() {
    if (!passList_) return;
    RedrawLock::Hold hold(companyRedraw_);
    companyList_.Fill(GroupCompanies(*passList_, collator_, CompanyDescending));
}

void TMainForm::CompanyListSelectItem(int row, bool selected) {
    ++companyFills_;
    if (destroying_ || !passList_) return;
    WaitCursor wait;
    RedrawLock::Hold hold(listRedraw_);
    const bool exists = selected && row >= 0 && row < companyList_.Count();
    Finally enableAdd([this, exists] { actions_[kCmdAddNew].SetEnabled(exists); });
    ClearMiniToolItems();
    std::vector<TPassItem*> records;
    std::string name;
    if (exists) {
        name = companyList_.RowText(row);
        records = CompanyRecords(*passList_, name);
    }
    itemList_.SetRows(records, params_.ItemList, params_.AlermDate);
    if (exists) {
        FillMiniTool(MiniToolCaption(name), records);
        companyList_.SetCount(row, static_cast<int>(records.size()));
    }
    SelectFirstRow();
}

void TMainForm::CompanyListColumnClick() {
    CompanyDescending = !CompanyDescending;
    companyList_.Sort(CompanyDescending, collator_);
}

bool TMainForm::OnListNotify(NMHDR& header, LRESULT& result) {
    if (itemList_.HandleNotify(&header, result)) return true;
    result = 0;
    switch (header.code) {
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            // The list's own moves of the selection (keeping it on its record across a sort) are
            // not the user's.
            if (SelectionChanged(change) && !itemList_.Updating()) {
                ListView1SelectItem(change.iItem, (change.uNewState & LVIS_SELECTED) != 0);
            }
            return true;
        }
        case LVN_COLUMNCLICK:
            ListView1ColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
            return true;
        case LVN_BEGINDRAG:
            // Rows move between folders, which the company page does not show.
            if (ActivePage() == 0) {
                const int row = reinterpret_cast<const NMLISTVIEW&>(header).iItem;
                if (row >= 0 && itemList_.SelectedIndex() != row) itemList_.Select(row);
                ListView1StartDrag(DragSource::ItemList);
            }
            return true;
        case LVN_KEYDOWN:
            if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_ESCAPE) EndDrag();
            return true;
    }
    return false;
}

bool TMainForm::OnCompanyNotify(NMHDR& header, LRESULT& result) {
    result = 0;
    switch (header.code) {
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if (SelectionChanged(change)) CompanyListSelectItem(change.iItem, (change.uNewState & LVIS_SELECTED) != 0);
            return true;
        }
        case LVN_COLUMNCLICK:
            CompanyListColumnClick();
            return true;
    }
    return false;
}

}  // namespace torvane
