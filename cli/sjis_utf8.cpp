#include "cli/sjis_utf8.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace torvane::cli {
namespace {

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

#ifdef _WIN32

bool Convert(std::string_view sjis, std::string& out) {
    const int size = static_cast<int>(sjis.size());
    const int wideLength = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, sjis.data(), size, nullptr, 0);
    if (wideLength <= 0) return false;
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, sjis.data(), size, wide.data(), wideLength);
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return false;
    const size_t start = out.size();
    out.resize(start + static_cast<size_t>(length));
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, out.data() + start, length, nullptr, nullptr);
    return true;
}

#else

// glibc's CP932 follows the Windows table (0x5C is the backslash, the NEC and IBM extensions and
// the user-defined area are mapped), so both builds give the same text.
class Converter {
public:
    Converter() : cd_(iconv_open("UTF-8", "CP932")) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Convert(std::string_view sjis, std::string& out) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        const size_t start = out.size();
        out.resize(start + sjis.size() * 3 + 4);  // a character of one or two bytes takes at most three
        char* in = const_cast<char*>(sjis.data());
        size_t inLeft = sjis.size();
        char* dst = out.data() + start;
        size_t outLeft = out.size() - start;
        if (iconv(cd_, &in, &inLeft, &dst, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) {
            out.resize(start);
            return false;
        }
        out.resize(out.size() - outLeft);
        return true;
    }

private:
    iconv_t cd_;
};

bool Convert(std::string_view sjis, std::string& out) {
    thread_local Converter converter;
    return converter.Convert(sjis, out);
}

#endif

}  // namespace

bool AppendSjisAsUtf8(std::string_view sjis, std::string& out) {
    if (IsAscii(sjis)) {
        out.append(sjis);
        return true;
    }
    return Convert(sjis, out);
}

std::string ConsoleText(const std::string& sjis) {
#ifdef _WIN32
    return sjis;
#else
    std::string utf8;
    return AppendSjisAsUtf8(sjis, utf8) ? utf8 : sjis;
#endif
}

}  // namespace torvane::cli
