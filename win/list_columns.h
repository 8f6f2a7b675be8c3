#pragma once
// Report-style list view columns fixed in a form's design.
#include <windows.h>

namespace torvane::win {

struct ListColumn {
    const wchar_t* caption;
    int width;
    int format;  // LVCFMT_LEFT, LVCFMT_CENTER, LVCFMT_RIGHT
};

// Adds the columns unless the list has columns already (a form that created them itself).
void AddListColumns(HWND list, const ListColumn* columns, int count);

}  // namespace torvane::win
