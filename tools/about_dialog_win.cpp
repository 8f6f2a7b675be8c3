#include "tools/about_dialog_win.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "tools/about_form_win.h"
#include "tools/version_text.h"
#include "tools/version_text_win.h"

namespace torvane {

TAboutDialog::TAboutDialog(const std::string& applicationTitle) {
    ReadVersionInfo(ProgramPath());
    Caption = applicationTitle;
}

void TAboutDialog::ReadVersionInfo(const std::string& path) {
    ReadVersionStrings(path, {
                                 {"CompanyName", &CompanyName},
                                 {"FileDescription", &FileDescription},
                                 {"FileVersion", &FileVersion},
                                 {"InternalName", &InternalName},
                                 {"LegalCopyright", &Copyright},
                                 {"LegalTradeMarks", &TradeMarks},
                                 {"OriginalFilename", &OriginalFilename},
                                 {"ProductName", &ProductName},
                                 {"ProductVersion", &ProductVersion},
                                 {"Comments", &Comments},
                             });
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
