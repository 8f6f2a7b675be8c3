#pragma once
// The program's path and its version resource, read through the Unicode functions so that the
// texts come out the same on a system of any code page. Shift_JIS at this interface.
#include <string>
#include <vector>

namespace torvane {

// The running program's own path.
std::string ProgramPath();

struct VersionString {
    const char* name;    // "FileVersion", "CompanyName", ...
    std::string* value;  // filled only while empty
};

// Fills the strings from the version resource of the file at path, in the resource's first
// translation. False when the file has no version resource.
bool ReadVersionStrings(const std::string& path, const std::vector<VersionString>& strings);

}  // namespace torvane
