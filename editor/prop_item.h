#pragma once
// The property panel's rules apart from its window: how a record's flags, price and macro
// names map to the panel's controls, the drop-down histories, and the preview of a macro.
#include <cstdint>
#include <string>
#include <vector>

#include "autoinput/macro.h"
#include "store/pass_item.h"

namespace torvane {

// Flags as the panel's check boxes give them: 1 KeySplit, 2 SerSplit, 8 the limit date.
uint16_t PanelFlags(bool keySplit, bool serSplit, bool hasLimitDate);

// The names of the record's own macros, in list order.
std::vector<std::string> OwnMacroNames(const TPassItem& item);

// The text with blanks and control characters removed at both ends.
std::string TrimBlanks(const std::string& text);

// Adds text (already trimmed, not empty) to the front of a drop-down history: an entry equal
// to it without regard to letter case goes first, and at most kHistoryLimit entries stay.
constexpr size_t kHistoryLimit = 20;
void AddHistoryEntry(std::vector<std::string>& history, const std::string& text);

// The drop-down histories of ShopName, Company, URL and Mail while the panel is not made yet,
// filled as showing each record would fill them; the panel takes them over when it is made.
struct PanelHistories {
    std::vector<std::string> ShopName, Company, URL, Mail;
    void Add(const TPassItem& record);
};

// Whether two records differ as data-file lines (dates as whole days).
bool RecordsDiffer(const TPassItem& a, const TPassItem& b);

}  // namespace torvane
