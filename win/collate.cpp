#include "win/collate.h"

#include <windows.h>

#include <string>

namespace torvane::win {

namespace {
const LCID kJapanese = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), SORT_DEFAULT);
constexpr UINT kCodePage = 932;

// A text in UTF-16, converted into the object itself when short: a sort compares and keys
// hundreds of thousands of texts, and two heap allocations each would cost more than the
// conversions.
class Wide {
public:
    explicit Wide(std::string_view text) {
        if (text.size() <= kSmall) {
            size_ = text.empty() ? 0
                                 : MultiByteToWideChar(kCodePage, 0, text.data(), static_cast<int>(text.size()), small_,
                                                       static_cast<int>(kSmall));
            data_ = small_;
            return;
        }
        // A Shift_JIS text has at least as many bytes as UTF-16 units.
        large_.resize(text.size());
        size_ = MultiByteToWideChar(kCodePage, 0, text.data(), static_cast<int>(text.size()), large_.data(),
                                    static_cast<int>(large_.size()));
        data_ = large_.data();
    }
    const wchar_t* Data() const { return data_; }
    int Size() const { return size_; }

private:
    static constexpr size_t kSmall = 256;
    wchar_t small_[kSmall];
    std::wstring large_;
    const wchar_t* data_ = nullptr;
    int size_ = 0;
};

}  // namespace

int CompareJapanese(std::string_view a, std::string_view b) {
    const Wide wideA(a);
    const Wide wideB(b);
    const int r = CompareStringW(kJapanese, 0, wideA.Data(), wideA.Size(), wideB.Data(), wideB.Size());
    return r - CSTR_EQUAL;  // CSTR_LESS_THAN 1, CSTR_EQUAL 2, CSTR_GREATER_THAN 3
}

bool JapaneseSortKey(std::string_view text, std::string& key) {
    const Wide wide(text);
    key.clear();
    if (wide.Size() == 0) return true;  // the empty text comes first, and its key is the least
    key.resize(static_cast<size_t>(wide.Size()) * 8 + 16);
    int n = LCMapStringW(kJapanese, LCMAP_SORTKEY, wide.Data(), wide.Size(), reinterpret_cast<wchar_t*>(key.data()),
                         static_cast<int>(key.size()));
    if (n == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        n = LCMapStringW(kJapanese, LCMAP_SORTKEY, wide.Data(), wide.Size(), nullptr, 0);
        key.resize(static_cast<size_t>(n > 0 ? n : 0));
        n = n > 0 ? LCMapStringW(kJapanese, LCMAP_SORTKEY, wide.Data(), wide.Size(),
                                 reinterpret_cast<wchar_t*>(key.data()), n)
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
