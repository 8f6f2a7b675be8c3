#include "app/company_list_win.h"

#include <string>

#include "win/list_view.h"
#include "win/text.h"

namespace torvane {

namespace {

void SetCell(HWND list, int row, int column, const std::wstring& text) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

struct SortContext {
    const std::vector<CompanyRow>* rows;
    const ICollator* collator;
    bool descending;
};

int CALLBACK CompareNames(LPARAM a, LPARAM b, LPARAM contextParam) {
    const auto& context = *reinterpret_cast<const SortContext*>(contextParam);
    const int r = context.collator->Compare((*context.rows)[static_cast<size_t>(a)].name,
                                            (*context.rows)[static_cast<size_t>(b)].name);
    return context.descending ? -r : r;
}

}  // namespace

HWND CompanyListView::Create(HWND parent, int id) {
    const HWND list =
        CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr, kStyle, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!list) return nullptr;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    AddColumns(list);
    return list;
}

void CompanyListView::AddColumns(HWND list) {
    static constexpr win::ListColumn kColumns[] = {{L"会社名", 110, LVCFMT_LEFT}, {L"件数", 45, LVCFMT_RIGHT}};
    win::AddListColumns(list, kColumns, 2);
}

void CompanyListView::Attach(HWND list) {
    list_ = list;
    if (list_) AddColumns(list_);
}

void CompanyListView::Fill(const std::vector<CompanyRow>& rows) {
    Clear();
    rows_ = rows;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const std::wstring name = win::ToWide(rows_[i].name);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<wchar_t*>(name.c_str());
        item.lParam = static_cast<LPARAM>(i);
        const int row = static_cast<int>(SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (row >= 0) SetCell(list_, row, 1, std::to_wstring(rows_[i].count));
    }
}

void CompanyListView::Clear() {
    SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    rows_.clear();
}

int CompanyListView::Count() const {
    return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

int CompanyListView::RowKey(int row) const {
    if (row < 0 || row >= Count()) return -1;
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return -1;
    const auto key = static_cast<size_t>(item.lParam);
    return key < rows_.size() ? static_cast<int>(key) : -1;
}

std::string CompanyListView::RowText(int row) const {
    const int key = RowKey(row);
    return key >= 0 ? rows_[static_cast<size_t>(key)].name : std::string();
}

int CompanyListView::RowCount(int row) const {
    const int key = RowKey(row);
    return key >= 0 ? rows_[static_cast<size_t>(key)].count : 0;
}

void CompanyListView::SetCount(int row, int count) {
    const int key = RowKey(row);
    if (key < 0) return;
    rows_[static_cast<size_t>(key)].count = count;
    SetCell(list_, row, 1, std::to_wstring(count));
}

int CompanyListView::SelectedIndex() const {
    return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CompanyListView::Select(int row) { win::SelectListRow(list_, row, Count()); }

void CompanyListView::Sort(bool descending, const ICollator& collator) {
    SortContext context{&rows_, &collator, descending};
    SendMessageW(list_, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context), reinterpret_cast<LPARAM>(&CompareNames));
}

}  // namespace torvane
