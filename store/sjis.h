#pragma once
// Shift_JIS scanning: a double-byte character begins with a lead byte 0x81-0x9F or 0xE0-0xFC,
// and its second byte may be 0x5C ("\") or another mark a scanner looks for, so scanners step
// over double-byte characters whole.

namespace torvane {

constexpr bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
constexpr bool IsLeadByte(char c) { return IsLeadByte(static_cast<unsigned char>(c)); }

}  // namespace torvane
