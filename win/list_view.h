#pragma once
// Small pieces shared by our report-style list views.
#include <windows.h>

namespace torvane::win {

struct ListColumn {
    const wchar_t* caption;
    int width;
    int format;  // LVCFMT_LEFT, LVCFMT_CENTER, LVCFMT_RIGHT
};

// Adds the columns unless the list has columns already (a form that created them itself).
void AddListColumns(HWND list, const ListColumn* columns, int count);

// Selects, focuses and scrolls to a row; a row outside 0 to count - 1 clears the selection.
void SelectListRow(HWND list, int row, int count);

}  // namespace torvane::win
