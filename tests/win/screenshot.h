#pragma once
// Pictures of our windows as the user sees them, for `make screenshots`: when the environment
// variable TORVANE_SCREENSHOT_DIR names a folder (a Windows path), SaveScreenshot writes the
// window's screen area there as <name>.bmp; scripts/screenshot.sh turns them into PNGs.
#include <windows.h>

#include <vector>

namespace torvane::wintest {

// The client area of a control as it paints itself for WM_PRINTCLIENT with flags: 32-bit
// pixels (0x00RRGGBB), top row first; width, when asked, gets the length of a row.
std::vector<DWORD> PaintedClient(HWND control, UINT flags, int* width = nullptr);

// Does nothing unless TORVANE_SCREENSHOT_DIR is set. Returns true when a file was written.
bool SaveScreenshot(HWND window, const char* name);

}  // namespace torvane::wintest
