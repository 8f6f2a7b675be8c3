#pragma once
// Record text is Shift_JIS bytes; Win32 controls are Unicode. Conversions happen here, with
// code page 932 named explicitly so the result never depends on the thread's code page.
#include <string>

namespace torvane::win {

std::wstring ToWide(const std::string& sjis);
std::string ToSjis(const std::wstring& wide);
// As ToSjis, but false (and sjis untouched) when a character has no Shift_JIS code and would
// become "?" or a look-alike.
bool ToSjisExactly(const std::wstring& wide, std::string& sjis);
// The text of a window or control, as Shift_JIS.
std::string GetWindowTextSjis(void* hwnd);
void SetWindowTextSjis(void* hwnd, const std::string& sjis);

}  // namespace torvane::win
