#include "tools/pass_gen_rules.h"

#include <algorithm>
#include <cctype>

namespace torvane {

unsigned PassCharClass(unsigned char code) {
    if (code >= 'A' && code <= 'Z') return kPassUpper;
    if (code >= 'a' && code <= 'z') return kPassLower;
    if (code >= '0' && code <= '9') return kPassDigit;
    if (code > 0x20 && code < 0x7F) return kPassSymbol;  // every other printable ASCII character
    return 0;
}

int ClampPassLength(int length) {
    return std::clamp(length, kPassLengthMin, kPassLengthMax);
}

bool KeepOneClass(unsigned& classes, unsigned clicked) {
    if ((classes & kPassAllClasses) != 0) return true;
    classes |= clicked & kPassAllClasses;
    return false;
}

bool ParsePassClasses(const std::string& letters, unsigned& classes) {
    unsigned result = 0;
    for (char c : letters) {
        switch (std::toupper(static_cast<unsigned char>(c))) {
            case 'U': result |= kPassUpper; break;
            case 'L': result |= kPassLower; break;
            case 'D': result |= kPassDigit; break;
            case 'S': result |= kPassSymbol; break;
            default: return false;
        }
    }
    if (result == 0) return false;
    classes = result;
    return true;
}

PassGenResult GeneratePassword(unsigned classes, int length, ISecureRandom& source, std::string& password) {
    classes &= kPassAllClasses;
    if (classes == 0) return PassGenResult::NoClass;
    const size_t wanted = static_cast<size_t>(ClampPassLength(length));
    // Each byte stands for one draw of a number below 255: byte 255 is in no class, so it is
    // rejected like every other character that is not allowed, and the survivors stay uniform.
    // With digits only about one byte in 26 is kept; a source that yields nothing usable for a
    // million bytes is broken, not unlucky.
    constexpr size_t kMaxBytes = 1u << 20;
    unsigned char batch[256];
    std::string result;
    result.reserve(wanted);
    for (size_t used = 0; result.size() < wanted; used += sizeof batch) {
        if (used >= kMaxBytes || !source.Fill(batch, sizeof batch)) return PassGenResult::SourceFailed;
        for (unsigned char b : batch) {
            if (result.size() < wanted && (PassCharClass(b) & classes) != 0) result += static_cast<char>(b);
        }
    }
    std::fill(batch, batch + sizeof batch, 0);
    password = result;
    return PassGenResult::Ok;
}

}  // namespace torvane
