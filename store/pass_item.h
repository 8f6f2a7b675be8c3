#pragma once
// One registration record and its data-file line. All text is Shift_JIS bytes, exactly as
// the data file holds it.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "store/date.h"

namespace torvane {

enum TPassItemFlag : uint16_t {
    KeySplit = 1,      // split ProdKey at "-" when a macro inserts it
    SerSplit = 2,      // split Serial likewise
    HasLimitDate = 8,  // LimitDate is meaningful
};

struct TPassItem {
    TDate FirstDate = 0;
    TDate LastDate = 0;
    std::string Path;
    std::string Title;
    int32_t Kind = 0;
    std::string UserID;
    std::string Passwd;
    std::string Hint;
    std::string Answer;
    std::string Company;
    std::string Serial;
    std::string ProdKey;
    int32_t Price = 0;  // negative: US dollars
    std::string ShopName;
    uint16_t Flags = 0;
    TDate LimitDate = 0;
    std::string URL;
    std::string Mail;
    std::string Macro;
    std::string Memo;
};

constexpr int kKindCount = 6;
// The kind's name; the empty text for a kind outside 0 to 5.
const std::string& KindName(int32_t kind);
extern const char* const KindNames[kKindCount];

// The record identity: Path, Title, UserID, Passwd and Company, byte for byte.
bool SameRecordKey(const TPassItem& a, const TPassItem& b);

// The platform's conversion error; its message (Shift_JIS) is shown to the user as it is.
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const std::string& message) : std::runtime_error(message) {}
};

// The date format of the data file, of macros and of the last-change label, as FormatDate writes it.
constexpr const char* DateFormat = "yyyy/mm/dd";

// The record's data-file line, without a line end. Equal records give equal lines, so callers
// also compare lines to see whether a record changed.
std::string FormatLine(const TPassItem& item);
// Nothing when the text is not a record line (a comment, or not exactly 19 fields).
// Throws EConvertError for a malformed date.
std::optional<TPassItem> ParseLine(std::string_view text);
// A day, or the current date and time when the field does not hold three parts.
// Throws EConvertError for three parts that are not a date.
TDate ParseDate(std::string_view field);
// Leading decimal digits with an optional "-"; 0 when there are none.
int32_t ParseNumber(std::string_view field);

// 0 none, 1 due within warnDays, 2 expired; against Today().
int ExpiryState(const TPassItem* item, int warnDays);

}  // namespace torvane
