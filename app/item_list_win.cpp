#include "app/item_list_win.h"

#include <algorithm>
#include <numeric>

#include "app/item_view.h"
#include "autoinput/macro.h"
#include "win/list_view.h"
#include "win/text.h"

namespace torvane {

const char ItemList::kMaskedText[] = "**********";

namespace {

// The captions stay whatever ITEMLIST puts below them.
constexpr win::ListColumn kColumns[ItemList::kColumnCount] = {
    {L"タイトル", 150, LVCFMT_LEFT},      {L"登録ID", 100, LVCFMT_LEFT},     {L"種類", 80, LVCFMT_LEFT},
    {L"登録/購入日", 100, LVCFMT_CENTER}, {L"有効期限", 100, LVCFMT_CENTER},
};

}  // namespace

HWND ItemList::Create(HWND parent, int id, HIMAGELIST images) {
    const HWND list =
        CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr, kStyle, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!list) return nullptr;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    if (images) SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    AddColumns(list);
    return list;
}

void ItemList::AddColumns(HWND list) { win::AddListColumns(list, kColumns, kColumnCount); }

void ItemList::Attach(HWND list) {
    list_ = list;
    if (list_) AddColumns(list_);
}

ItemList::Row ItemList::MakeRow(TPassItem* record) const {
    Row row;
    row.record = record;
    // The warning reflects the day of the fill, as a row filled yesterday keeps yesterday's image.
    row.image = ExpiryImage(*record, warnDays_);
    return row;
}

void ItemList::SetRows(std::vector<TPassItem*> records, const std::string& itemList, int warnDays) {
    // Cleared while the old rows still stand, so whoever asks in the notification finds no record.
    if (!rows_.empty()) {
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    }
    itemList_ = itemList;
    warnDays_ = warnDays;
    rows_.clear();
    rows_.reserve(records.size());
    for (TPassItem* record : records) rows_.push_back(MakeRow(record));
    SendMessageW(list_, LVM_SETITEMCOUNT, rows_.size(), 0);
    if (!rows_.empty()) SendMessageW(list_, LVM_ENSUREVISIBLE, 0, FALSE);
}

void ItemList::Clear() {
    SetRows({}, itemList_, warnDays_);
}

TPassItem* ItemList::RowRecord(int row) const {
    return row >= 0 && row < Count() ? rows_[static_cast<size_t>(row)].record : nullptr;
}

int ItemList::IndexOf(const TPassItem* record) const {
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].record == record) return static_cast<int>(i);
    }
    return -1;
}

int ItemList::SelectedIndex() const {
    const int row = static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return row < Count() ? row : -1;
}

void ItemList::Select(int row) { win::SelectListRow(list_, row, Count()); }

int ItemList::AddRow(TPassItem* record) {
    rows_.push_back(MakeRow(record));
    SendMessageW(list_, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOSCROLL);
    return Count() - 1;
}

bool ItemList::RemoveRow(const TPassItem* record) {
    const int row = IndexOf(record);
    if (row < 0) return false;
    if (SelectedIndex() == row) Select(-1);
    rows_.erase(rows_.begin() + row);
    // The control shifts the selection and focus of the rows after it.
    SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
    return true;
}

bool ItemList::RefreshRow(const TPassItem* record) {
    const int row = IndexOf(record);
    if (row < 0) return false;
    rows_[static_cast<size_t>(row)] = MakeRow(rows_[static_cast<size_t>(row)].record);
    SendMessageW(list_, LVM_REDRAWITEMS, static_cast<WPARAM>(row), row);
    return true;
}

void ItemList::SortByColumn(int column, bool descending, const ICollator& collator) {
    const int selected = SelectedIndex();
    // Shown texts are made once per row, not once per comparison.
    const bool byText = column != 0 && column != 3;
    std::vector<std::string> texts(byText ? rows_.size() : 0);
    for (size_t i = 0; i < texts.size(); ++i) texts[i] = ColumnText(*rows_[i].record, column);
    const std::string none;
    std::vector<size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int r = CompareRows(column, *rows_[a].record, byText ? texts[a] : none, *rows_[b].record,
                                  byText ? texts[b] : none, collator);
        return descending ? r > 0 : r < 0;
    });
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    int newSelected = -1;
    for (size_t i = 0; i < order.size(); ++i) {
        if (static_cast<int>(order[i]) == selected) newSelected = static_cast<int>(i);
        sorted.push_back(std::move(rows_[order[i]]));
    }
    rows_ = std::move(sorted);
    if (newSelected != selected) MoveSelection(selected, newSelected);
    InvalidateRect(list_, nullptr, TRUE);
}

// The control keeps the selection by row number; after a sort it follows its record.
void ItemList::MoveSelection(int from, int to) {
    updating_ = true;
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(to), reinterpret_cast<LPARAM>(&state));
    updating_ = false;
}

std::string ItemList::ColumnText(const TPassItem& record, int column) const {
    if (column == 0) return record.Title;
    if (column < 0 || static_cast<size_t>(column) > itemList_.size()) return {};
    // Byte by byte: a double-byte character in ITEMLIST masks two columns.
    const char letter = itemList_[static_cast<size_t>(column) - 1];
    if (letter < 'A' || letter > 'Z') return kMaskedText;
    return FieldText(letter, record).Text;
}

std::string ItemList::CellText(int row, int column) const {
    const TPassItem* record = RowRecord(row);
    return record ? ColumnText(*record, column) : std::string();
}

int ItemList::RowImage(int row) const {
    return RowRecord(row) ? rows_[static_cast<size_t>(row)].image : -1;
}

const std::wstring& ItemList::WideText(int row, int column) const {
    const Row& r = rows_[static_cast<size_t>(row)];
    if (!r.wide) {
        r.wide = std::make_unique<std::array<std::wstring, kColumnCount>>();
        for (int i = 0; i < kColumnCount; ++i)
            (*r.wide)[static_cast<size_t>(i)] = win::ToWide(ColumnText(*r.record, i));
    }
    return (*r.wide)[static_cast<size_t>(column)];
}

void ItemList::GetDispInfo(NMLVDISPINFOW& info) const {
    LVITEMW& item = info.item;
    if (item.iItem < 0 || item.iItem >= Count()) return;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const bool shown = item.iSubItem >= 0 && item.iSubItem < kColumnCount;
        lstrcpynW(item.pszText, shown ? WideText(item.iItem, item.iSubItem).c_str() : L"", item.cchTextMax);
    }
    if (item.mask & LVIF_IMAGE) {
        const int image = rows_[static_cast<size_t>(item.iItem)].image;
        item.iImage = image >= 0 ? image : I_IMAGENONE;
    }
}

// Typing in the list jumps to the next row whose title begins with the typed text.
int ItemList::FindTitle(const NMLVFINDITEMW& find) const {
    const LVFINDINFOW& info = find.lvfi;
    if (!(info.flags & (LVFI_STRING | LVFI_PARTIAL)) || !info.psz || rows_.empty()) return -1;
    const int typedLength = lstrlenW(info.psz);
    const bool partial = (info.flags & LVFI_PARTIAL) != 0;
    const int count = Count();
    const int start = std::clamp(find.iStart, 0, count);
    const int steps = (info.flags & LVFI_WRAP) ? count : count - start;
    for (int k = 0; k < steps; ++k) {
        const int row = (start + k) % count;
        const std::wstring& title = WideText(row, 0);
        const int titleLength = static_cast<int>(title.size());
        if (partial && titleLength < typedLength) continue;
        const int length = partial ? typedLength : titleLength;
        if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, title.c_str(), length, info.psz, typedLength) ==
            CSTR_EQUAL) {
            return row;
        }
    }
    return -1;
}

bool ItemList::HandleNotify(NMHDR* header, LRESULT& result) {
    if (!header || header->hwndFrom != list_) return false;
    switch (header->code) {
        case LVN_GETDISPINFOW:
            GetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(header));
            result = 0;
            return true;
        case LVN_ODFINDITEMW:
            result = FindTitle(*reinterpret_cast<NMLVFINDITEMW*>(header));
            return true;
        default:
            return false;
    }
}

}  // namespace torvane
