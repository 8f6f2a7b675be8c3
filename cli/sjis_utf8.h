#pragma once
// Record text is Shift_JIS (code page 932); JSON and the native console want UTF-8.
#include <string>
#include <string_view>

namespace torvane::cli {

// Appends the UTF-8 form of the text; false (out unchanged) when the bytes are not Shift_JIS text.
bool AppendSjisAsUtf8(std::string_view sjis, std::string& out);

// A message for the console: UTF-8 natively, the text as it is on Windows, whose console
// shows the ANSI code page.
std::string ConsoleText(const std::string& sjis);

}  // namespace torvane::cli
