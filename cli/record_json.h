#pragma once
// A record as one JSON object: UTF-8, keys named as the record's fields, dates "yyyy/mm/dd".
#include <string>

#include "store/pass_item.h"

namespace torvane::cli {

// Appends the object without a line end; false (with the field's name in badField) when a text
// field does not hold Shift_JIS text.
bool AppendRecordJson(const TPassItem& item, std::string& out, std::string& badField);

// Appends text, already UTF-8, as a JSON string.
void AppendJsonString(const std::string& utf8, std::string& out);

}  // namespace torvane::cli
