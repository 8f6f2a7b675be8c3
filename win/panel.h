#pragma once
// A plain container for controls (a page of a page control, a dock site). Controls report to
// their parent window; a panel hands their WM_COMMAND, WM_NOTIFY and WM_CONTEXTMENU on to its
// own parent, so the form that owns the panel sees them as if the controls were its own.
#include <windows.h>

namespace torvane::win {

// A child panel of parent with the face colour of buttons. id: the panel's control id.
HWND CreatePanel(HWND parent, int id, DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                 DWORD exStyle = 0);

}  // namespace torvane::win
