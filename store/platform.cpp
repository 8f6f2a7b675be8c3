#include "store/platform.h"

namespace torvane {

bool IFileOps::ToShiftJis(std::u16string_view text, std::string& out) {
    for (const char16_t c : text) {
        if (c >= 0x80) return false;
        out.push_back(static_cast<char>(c));
    }
    return true;
}

}  // namespace torvane
