#include "win/file_dialog.h"

#include <commdlg.h>

#include "win/message_box.h"
#include "win/text.h"

namespace torvane::win {

namespace {

using DialogEntry = BOOL(WINAPI*)(OPENFILENAMEW*);

// Bound on first use rather than imported: the library and what it brings with it (the printer
// spooler, which looks for printers when it loads) would otherwise add to every start.
DialogEntry DialogFunction(bool save) {
    static const HMODULE library = LoadLibraryW(L"comdlg32.dll");
    if (!library) return nullptr;
    const FARPROC entry = GetProcAddress(library, save ? "GetSaveFileNameW" : "GetOpenFileNameW");
    return reinterpret_cast<DialogEntry>(reinterpret_cast<void*>(entry));
}

// Descriptions and patterns, each ending in a zero, the whole ending in a second zero.
std::wstring FilterText(const std::vector<FileFilter>& filters) {
    std::wstring text;
    for (const FileFilter& filter : filters) {
        text += filter.description;
        text += L'\0';
        text += filter.pattern;
        text += L'\0';
    }
    text += L'\0';
    return text;
}

std::optional<std::string> Run(HWND owner, const FileDialogOptions& options, bool save) {
    std::wstring file(MAX_PATH * 4, L'\0');
    const std::wstring filter = FilterText(options.filters);
    const std::wstring initialDir = ToWide(options.initialDir);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrDefExt = options.defaultExt.empty() ? nullptr : options.defaultExt.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    const DialogEntry dialog = DialogFunction(save);
    if (!dialog || !dialog(&ofn)) return std::nullopt;
    file.resize(file.find(L'\0'));

    const std::string sjis = ToSjis(file);
    if (ToWide(sjis) != file) {
        ShowMessageBox(owner, BoxType::Error, L"ファイル名に使用できない文字が含まれています\r\n" + file);
        return std::nullopt;
    }
    return sjis;
}

}  // namespace

std::optional<std::string> ShowOpenDialog(HWND owner, const FileDialogOptions& options) {
    return Run(owner, options, false);
}

std::optional<std::string> ShowSaveDialog(HWND owner, const FileDialogOptions& options) {
    return Run(owner, options, true);
}

}  // namespace torvane::win
