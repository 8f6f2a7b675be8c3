#pragma once
// The order of texts as a Japanese Windows gives it, on a system of any locale and code page:
// the Shift_JIS bytes are converted with code page 932 and compared by CompareStringW in the
// Japanese locale, without flags. That is what CompareStringA and lstrcmpA do on a Japanese
// system, where the data files come from; the user's own locale would sort the same file
// differently from one system to the next.
#include <string>
#include <string_view>

#include "store/platform.h"

namespace torvane::win {

// Negative, zero or positive, like strcmp; the texts compare whole (zero bytes included).
int CompareJapanese(std::string_view a, std::string_view b);
// A key whose byte order is the order of CompareJapanese, made from the same conversion and
// locale; false when the system makes none.
bool JapaneseSortKey(std::string_view text, std::string& key);

// CompareStringA's order: the whole texts.
class JapaneseCollator : public ICollator {
public:
    int Compare(const std::string& a, const std::string& b) const override;
};

// lstrcmpA's order: each text ends at its first zero byte.
class JapaneseLstrcmpCollator : public ICollator {
public:
    int Compare(const std::string& a, const std::string& b) const override;
};

}  // namespace torvane::win
