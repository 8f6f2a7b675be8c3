#include "tools/about_dialog_win.h"

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

}  // namespace torvane
