#pragma once
// File names beside the program: the settings, help and default data files share the program's
// path and differ in the extension. Paths are Shift_JIS bytes.
#include <string>

namespace torvane {

// path with the extension of its last component replaced by ext (which includes the "."), or
// with ext appended when that component has none. The second byte of a double-byte character
// (such as the 0x5C of "ソ") never counts as a folder separator.
std::string ChangeFileExt(const std::string& path, const std::string& ext);

}  // namespace torvane
