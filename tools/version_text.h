#pragma once
// Texts derived from the version resource, shared by the about box and the main window's title.
#include <string>

namespace torvane {

// The file version without its last "." and what follows: "1.2.1.29" gives "1.2.1"; a
// version without "." is returned whole.
std::string ShortVersion(const std::string& fileVersion);

// The about box's version line: product name, a line feed, "Version. " and the file version
// followed by ")", with the last "." of all that turned into " (Build ": Torvane and 1.2.1.29
// give "Torvane\nVersion. 1.2.1 (Build 29)".
std::string AboutVersionText(const std::string& productName, const std::string& fileVersion);

// Every backslash followed by "n" becomes CR LF, so a version resource can carry line breaks.
std::string ExpandLineBreaks(const std::string& text);

}  // namespace torvane
