#include "app/item_view.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "store/sjis.h"

namespace torvane {

const char kNoCompanyRow[] = "(未登録)";

std::vector<TPassItem*> FolderRecords(TPassList& list, const std::string& path, bool warnMode, int warnDays) {
    std::vector<TPassItem*> rows;
    for (int i = 0; i < list.Count(); ++i) {
        TPassItem& item = list.Item(i);
        if (item.Path == path || (warnMode && ExpiryState(&item, warnDays) != 0)) rows.push_back(&item);
    }
    return rows;
}

std::vector<TPassItem*> CompanyRecords(TPassList& list, const std::string& row) {
    const std::string key = AsciiUpper(row == kNoCompanyRow ? std::string() : row);
    std::vector<TPassItem*> rows;
    for (int i = 0; i < list.Count(); ++i) {
        TPassItem& item = list.Item(i);
        if (AsciiUpper(item.Company) == key) rows.push_back(&item);
    }
    return rows;
}

std::vector<CompanyRow> GroupCompanies(const TPassList& list, const ICollator& collator, bool descending) {
    std::vector<CompanyRow> rows;
    std::unordered_map<std::string, size_t> byKey;
    for (int i = 0; i < list.Count(); ++i) {
        const std::string& company = list.Item(i).Company;
        const std::string name = company.empty() ? std::string(kNoCompanyRow) : company;
        auto [it, added] = byKey.emplace(AsciiUpper(name), rows.size());
        if (added) rows.push_back({name, 0});
        ++rows[it->second].count;
    }
    std::stable_sort(rows.begin(), rows.end(), [&](const CompanyRow& a, const CompanyRow& b) {
        const int r = collator.Compare(a.name, b.name);
        return descending ? r > 0 : r < 0;
    });
    return rows;
}

int ExpiryImage(const TPassItem& item, int warnDays) {
    switch (ExpiryState(&item, warnDays)) {
    case 1: return 3;
    case 2: return 4;
    default: return -1;
    }
}

std::string AsciiUpper(const std::string& text) {
    std::string out = text;
    for (size_t i = 0; i < out.size(); ++i) {
        if (IsLeadByte(out[i])) {
            ++i;
        } else if (out[i] >= 'a' && out[i] <= 'z') {
            out[i] = static_cast<char>(out[i] - 'a' + 'A');
        }
    }
    return out;
}

int CompareRows(int column, const TPassItem& a, const std::string& aText, const TPassItem& b,
                const std::string& bText, const ICollator& collator) {
    switch (column) {
    case 0: {
        // Byte order after folding a-z only: no locale rules for titles.
        auto fold = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
        const size_t n = std::min(a.Title.size(), b.Title.size());
        for (size_t i = 0; i < n; ++i) {
            const int d = fold(static_cast<unsigned char>(a.Title[i])) - fold(static_cast<unsigned char>(b.Title[i]));
            if (d != 0) return d;
        }
        return a.Title.size() < b.Title.size() ? -1 : a.Title.size() > b.Title.size() ? 1 : 0;
    }
    case 3: {
        const double days = std::trunc(a.FirstDate - b.FirstDate);
        return days < 0 ? -1 : days > 0 ? 1 : 0;
    }
    default:
        return collator.Compare(aText, bText);
    }
}

}  // namespace torvane
