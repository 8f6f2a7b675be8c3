#pragma once
// Shift_JIS scanning: a double-byte character begins with a lead byte 0x81-0x9F or 0xE0-0xFC,
// and its second byte may be 0x5C ("\") or another mark a scanner looks for, so scanners step
// over double-byte characters whole.
#include <string>
#include <string_view>

namespace torvane {

constexpr bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
constexpr bool IsLeadByte(char c) { return IsLeadByte(static_cast<unsigned char>(c)); }

// ASCII letters match in either case; a double-byte character matches byte for byte, since its
// second byte may fall in the range of ASCII letters.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

// A data file is protected (enciphered under a password) exactly when its name ends in ".tvd",
// letter case included: "A.TVD" is a plain file.
bool IsProtectedFileName(std::string_view fileName);

}  // namespace torvane
