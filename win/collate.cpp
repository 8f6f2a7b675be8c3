#include "win/collate.h"

#include <windows.h>

#include <algorithm>

#include "win/text.h"

namespace torvane::win {

namespace {
const LCID kJapanese = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), SORT_DEFAULT);
}

int CompareJapanese(std::string_view a, std::string_view b) {
    const std::wstring wideA = ToWide(std::string(a));
    const std::wstring wideB = ToWide(std::string(b));
    const int r = CompareStringW(kJapanese, 0, wideA.data(), static_cast<int>(wideA.size()), wideB.data(),
                                 static_cast<int>(wideB.size()));
    return r - CSTR_EQUAL;  // CSTR_LESS_THAN 1, CSTR_EQUAL 2, CSTR_GREATER_THAN 3
}

bool JapaneseSortKey(std::string_view text, std::string& key) {
    const std::wstring wide = ToWide(std::string(text));
    const int length = static_cast<int>(wide.size());
    key.resize(wide.size() * 8 + 16);
    int n = LCMapStringW(kJapanese, LCMAP_SORTKEY, wide.data(), length, reinterpret_cast<LPWSTR>(key.data()),
                         static_cast<int>(key.size()));
    if (n == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        n = LCMapStringW(kJapanese, LCMAP_SORTKEY, wide.data(), length, nullptr, 0);
        key.resize(static_cast<size_t>(std::max(n, 0)));
        n = n > 0 ? LCMapStringW(kJapanese, LCMAP_SORTKEY, wide.data(), length, reinterpret_cast<LPWSTR>(key.data()), n)
                  : 0;
    }
    if (n <= 0) return false;
    key.resize(static_cast<size_t>(n));
    while (!key.empty() && key.back() == '\0') key.pop_back();  // the terminating zero
    return true;
}

int JapaneseCollator::Compare(const std::string& a, const std::string& b) const {
    return CompareJapanese(a, b);
}

int JapaneseLstrcmpCollator::Compare(const std::string& a, const std::string& b) const {
    return CompareJapanese(a.c_str(), b.c_str());
}

}  // namespace torvane::win
