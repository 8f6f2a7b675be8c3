#include <iconv.h>

#include <cerrno>
#include <cstdio>

#include "store/platform.h"

namespace torvane {

bool PosixFileOps::Replace(const std::string& source, const std::string& target, std::string& error) {
    if (std::rename(source.c_str(), target.c_str()) == 0) return true;
    error = ErrorText(errno);
    return false;
}

// glibc's CP932 is the Windows table, so both builds hold the same bytes for a character.
bool PosixFileOps::ToShiftJis(std::u16string_view text, std::string& out) {
    if (text.empty()) return true;
    const iconv_t cd = iconv_open("CP932", "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1)) return IFileOps::ToShiftJis(text, out);
    std::string in;
    in.reserve(text.size() * 2);
    for (const char16_t c : text) {
        in.push_back(static_cast<char>(c & 0xFF));
        in.push_back(static_cast<char>(c >> 8));
    }
    const size_t start = out.size();
    out.resize(start + text.size() * 2 + 4);  // one or two bytes per UTF-16 unit
    char* src = in.data();
    size_t srcLeft = in.size();
    char* dst = out.data() + start;
    size_t dstLeft = out.size() - start;
    const bool ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1) && srcLeft == 0;
    iconv_close(cd);
    out.resize(ok ? out.size() - dstLeft : start);
    return ok;
}

}  // namespace torvane
