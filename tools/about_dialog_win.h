#pragma once
// The about box's texts, read once from the program's version resource when the object is
// created. The main window's title uses the short version.
#include <windows.h>

#include <string>

#include "tools/version_text_win.h"

namespace torvane {

class TAboutDialog {
public:
    enum TPosition { spDefault, spFormCenter, spScreenCenter, spTopLeft, spTopRight, spBottomLeft, spBottomRight };

    // Reads the version resource of the running program; Caption becomes the application title.
    explicit TAboutDialog(const std::string& applicationTitle = "Torvane");

    // Fills every text still empty from the version resource of the file at path.
    void ReadVersionInfo(const std::string& path);
    std::string GetShortVersion() const;
    // Shows the box modally, placed as Position says; mainWindow (may be null) owns it while it
    // is open and is the form that spFormCenter centres on.
    void ShowAbout(HWND mainWindow = nullptr) const;

    std::string CompanyName;
    std::string FileDescription;
    std::string FileVersion;
    std::string InternalName;
    std::string Copyright;
    std::string TradeMarks;
    std::string OriginalFilename;
    std::string ProductName;
    std::string ProductVersion;
    std::string Comments;
    std::string Caption;
    TPosition Position = spDefault;
};

// Where the box of size box goes on a screen of size screen; main is the main window's
// rectangle (spFormCenter), halves rounding towards zero.
POINT AboutBoxOrigin(TAboutDialog::TPosition position, SIZE box, SIZE screen, const RECT& main);

}  // namespace torvane
