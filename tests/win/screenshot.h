#pragma once
// Pictures of our windows as the user sees them, for `make screenshots`: when the environment
// variable TORVANE_SCREENSHOT_DIR names a folder (a Windows path), SaveScreenshot writes the
// window's screen area there as <name>.bmp; scripts/screenshot.sh turns them into PNGs.
#include <windows.h>

namespace torvane::wintest {

// Does nothing unless TORVANE_SCREENSHOT_DIR is set. Returns true when a file was written.
bool SaveScreenshot(HWND window, const char* name);

}  // namespace torvane::wintest
