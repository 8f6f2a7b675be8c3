#pragma once
// The about box's window: the program's icon, description, version, copyright and comments,
// and an OK button. TAboutDialog::ShowAbout fills and places it for each showing.
#include <windows.h>

#include <functional>
#include <string>

#include "win/dialog.h"
#include "win/font.h"

namespace torvane {

class TAboutForm : public win::Dialog {
public:
    TAboutForm();
    ~TAboutForm() override;

    // In: the texts, Shift_JIS ("\r\n" breaks lines in comments).
    std::string caption;
    std::string productName;
    std::string version;
    std::string copyright;
    std::string comments;
    // In: the window's top-left corner on the screen for its outer size, once it is laid out.
    std::function<POINT(SIZE)> place;

protected:
    bool OnInitDialog() override;

private:
    void CreateComments();
    void LayOut();

    win::Font font_{win::kFormFontFace, win::kFormFontHeight};
    HFONT boldFont_ = nullptr;
};

}  // namespace torvane
