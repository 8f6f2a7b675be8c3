#pragma once
// The pools that serve the program's small allocations (win/small_heap_win.cpp replaces the
// global operator new and delete of every Windows executable that links the Win32 library).

namespace torvane::win {

// True for a block that the pools handed out.
bool SmallHeapOwns(const void* block);

}  // namespace torvane::win
