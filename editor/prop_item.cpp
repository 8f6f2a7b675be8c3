#include "editor/prop_item.h"

#include <algorithm>
#include <utility>

#include "autoinput/comma_list.h"
#include "autoinput/macro.h"
#include "store/sjis.h"

namespace torvane {

uint16_t PanelFlags(bool keySplit, bool serSplit, bool hasLimitDate) {
    return static_cast<uint16_t>((keySplit ? KeySplit : 0) | (serSplit ? SerSplit : 0) |
                                 (hasLimitDate ? HasLimitDate : 0));
}

std::vector<std::string> OwnMacroNames(const TPassItem& item) {
    std::vector<std::string> names;
    for (const std::string& entry : ReadCommaList(item.Macro)) names.push_back(MacroName(entry));
    return names;
}

std::string TrimBlanks(const std::string& text) {
    // Bytes up to the blank are never the second byte of a double-byte character.
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t first = 0;
    size_t last = text.size();
    while (first < last && blank(text[first])) ++first;
    while (last > first && blank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

namespace {

// Equal without regard to the case of single-byte letters; double-byte characters compare whole.
bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

void AddHistoryEntry(std::vector<std::string>& history, const std::string& text) {
    const auto same = std::find_if(history.begin(), history.end(),
                                   [&text](const std::string& entry) { return SameIgnoringCase(entry, text); });
    if (same != history.end()) history.erase(same);
    history.insert(history.begin(), text);
    if (history.size() > kHistoryLimit) history.resize(kHistoryLimit);
}

void PanelHistories::Add(const TPassItem& record) {
    const std::pair<std::vector<std::string>*, const std::string*> fields[] = {
        {&ShopName, &record.ShopName}, {&Company, &record.Company}, {&URL, &record.URL}, {&Mail, &record.Mail}};
    for (const auto& [history, value] : fields) {
        const std::string trimmed = TrimBlanks(*value);
        if (!trimmed.empty()) AddHistoryEntry(*history, trimmed);
    }
}

bool RecordsDiffer(const TPassItem& a, const TPassItem& b) {
    return FormatLine(a) != FormatLine(b);
}

}  // namespace torvane
