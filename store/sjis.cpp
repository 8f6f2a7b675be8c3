#include "store/sjis.h"

namespace torvane {

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    for (size_t i = 0; i < a.size(); ++i) {
        if (IsLeadByte(a[i])) {
            if (a[i] != b[i] || (i + 1 < a.size() && a[i + 1] != b[i + 1])) return false;
            ++i;
        } else if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsProtectedFileName(std::string_view fileName) {
    constexpr std::string_view kExtension = ".tvd";
    return fileName.size() >= kExtension.size() && fileName.substr(fileName.size() - kExtension.size()) == kExtension;
}

}  // namespace torvane
