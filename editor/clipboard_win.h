#pragma once
// Text put on the clipboard by the copy buttons. Besides the text it carries the registered
// formats that keep it out of clipboard monitors, clipboard history and the cloud clipboard:
// copied passwords and serial numbers should live only where the user pastes them.
#include <windows.h>

#include <string>

namespace torvane {

// Puts the text (Shift_JIS) on the clipboard as CF_UNICODETEXT and CF_TEXT with the private
// formats. Returns the clipboard's sequence number after the copy, 0 when the copy failed.
DWORD CopyTextPrivately(HWND owner, const std::string& text);

// Empties the clipboard if it still holds what the copy with this sequence number put there.
// True when it was emptied.
bool ClearClipboardIfUnchanged(HWND owner, DWORD sequence);

}  // namespace torvane
