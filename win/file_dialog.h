#pragma once
// The open and save dialogs for data files. Paths go in and come out as Shift_JIS, as the
// program keeps them; a name the user picks that Shift_JIS cannot hold is refused with an
// error box instead of being turned into a different name.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace torvane::win {

struct FileFilter {
    std::wstring description;  // "CSVファイル"
    std::wstring pattern;      // "*.csv"
};

struct FileDialogOptions {
    std::vector<FileFilter> filters;
    std::wstring defaultExt;  // appended to a name typed without one, without the "."
    std::string initialDir;   // Shift_JIS; empty for the system's choice
};

// The chosen file, or nothing when the user cancelled (or picked a name that was refused).
std::optional<std::string> ShowOpenDialog(HWND owner, const FileDialogOptions& options);
// Never asks before replacing an existing file.
std::optional<std::string> ShowSaveDialog(HWND owner, const FileDialogOptions& options);

}  // namespace torvane::win
