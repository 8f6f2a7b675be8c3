#pragma once
// What the item list and the company list show, apart from the controls: which records get a
// row, how companies group, and how rows compare when a header is clicked.
#include <string>
#include <vector>

#include "store/pass_item.h"
#include "store/pass_list.h"
#include "store/platform.h"

namespace torvane {

// The company row of the records without a company.
extern const char kNoCompanyRow[];

// The records of one folder in list order; in warn mode also every due or expired record,
// whatever its folder.
std::vector<TPassItem*> FolderRecords(TPassList& list, const std::string& path, bool warnMode, int warnDays);
// The records whose company is the row's (letter case ignored); "(未登録)" gathers the empty ones.
std::vector<TPassItem*> CompanyRecords(TPassList& list, const std::string& row);

struct CompanyRow {
    std::string name;
    int count = 0;
};
// One row per company, letter case ignored (the first spelling met names the row), in the
// company list's order: by name with the collator, reversed when descending.
std::vector<CompanyRow> GroupCompanies(const TPassList& list, const ICollator& collator, bool descending);

// The row image: -1 none, 3 due, 4 expired.
int ExpiryImage(const TPassItem& item, int warnDays);

// Item-list comparisons for a header click on column k; texts are the rows' shown texts.
// Column 0 folds ASCII letters only; column 3 compares registration days; the others compare
// the shown text with the collator.
int CompareRows(int column, const TPassItem& a, const std::string& aText, const TPassItem& b,
                const std::string& bText, const ICollator& collator);

// Upper-cases the ASCII letters, stepping over double-byte characters.
std::string AsciiUpper(const std::string& text);

}  // namespace torvane
