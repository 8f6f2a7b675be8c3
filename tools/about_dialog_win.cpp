#include "tools/about_dialog_win.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "tools/about_form_win.h"
#include "tools/version_text.h"

namespace torvane {

std::string ProgramPath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size()) return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

TAboutDialog::TAboutDialog(const std::string& applicationTitle) {
    ReadVersionInfo(ProgramPath());
    Caption = applicationTitle;
}

void TAboutDialog::ReadVersionInfo(const std::string& path) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) return;
    std::vector<char> info(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, info.data())) return;

    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", &value, &length) || length < 4) return;
    const WORD* translation = static_cast<const WORD*>(value);
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04X%04X\\", translation[0], translation[1]);

    struct Key {
        const char* name;
        std::string* member;
    };
    const Key keys[] = {
        {"CompanyName", &CompanyName},       {"FileDescription", &FileDescription},
        {"FileVersion", &FileVersion},       {"InternalName", &InternalName},
        {"LegalCopyright", &Copyright},      {"LegalTradeMarks", &TradeMarks},
        {"OriginalFilename", &OriginalFilename}, {"ProductName", &ProductName},
        {"ProductVersion", &ProductVersion}, {"Comments", &Comments},
    };
    for (const Key& key : keys) {
        if (!key.member->empty()) continue;
        const std::string query = prefix + std::string(key.name);
        if (VerQueryValueA(info.data(), query.c_str(), &value, &length) && length > 0) {
            // The length counts the terminating zero when there is one; a value without one
            // must not be read past its end.
            const char* text = static_cast<const char*>(value);
            *key.member = std::string(text, strnlen(text, length));
        }
    }
    Comments = ExpandLineBreaks(Comments);
}

std::string TAboutDialog::GetShortVersion() const { return ShortVersion(FileVersion); }

void TAboutDialog::ShowAbout(HWND mainWindow) const {
    TAboutForm form;
    form.caption = Caption + " の情報";
    form.productName = FileDescription;
    form.version = AboutVersionText(ProductName, FileVersion);
    form.copyright = Copyright;
    form.comments = Comments;
    const TPosition position = Position;
    form.place = [position, mainWindow](SIZE box) {
        RECT main{};
        if (mainWindow) GetWindowRect(mainWindow, &main);
        const SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return AboutBoxOrigin(position, box, screen, main);
    };
    form.ShowModal(mainWindow);
}

POINT AboutBoxOrigin(TAboutDialog::TPosition position, SIZE box, SIZE screen, const RECT& main) {
    POINT origin{(screen.cx - box.cx) / 2, (screen.cy - box.cy) / 2};  // spDefault, spScreenCenter
    switch (position) {
        case TAboutDialog::spFormCenter:
            origin = {main.left + (main.right - main.left - box.cx) / 2, main.top + (main.bottom - main.top - box.cy) / 2};
            break;
        case TAboutDialog::spTopLeft:
            origin = {0, 0};
            break;
        case TAboutDialog::spTopRight:
            origin = {screen.cx - box.cx - 2, 0};
            break;
        case TAboutDialog::spBottomLeft:
            origin = {0, screen.cy - box.cy - 2};
            break;
        case TAboutDialog::spBottomRight:
            origin = {screen.cx - box.cx - 2, screen.cy - box.cy - 2};
            break;
        case TAboutDialog::spDefault:
        case TAboutDialog::spScreenCenter:
            break;
    }
    return origin;
}

}  // namespace torvane
