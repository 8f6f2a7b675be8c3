#pragma once
// The record that "項目を追加" adds: empty, in the folder or of the company in front, titled
// "Items" and a number, registered and limited today (without the limit flag).
#include <string>

#include "store/pass_list.h"

namespace torvane {

// company: the selected company row's name, or empty (the category page, "(未登録)").
// The number starts at rowCount and counts up past every title that would give the new record
// the key of a record already in the list: adding must never overwrite a record.
TPassItem MakeNewItem(const TPassList& list, const std::string& path, const std::string& company, int rowCount,
                      TDate today);

}  // namespace torvane
