#pragma once
// The password dialog: one masked edit box, OK and Cancel. The caller gives the caption and
// takes the entered text.
#include <memory>
#include <string>

#include "store/platform.h"
#include "win/dialog.h"
#include "win/font.h"

namespace torvane {

class TPassForm : public win::Dialog {
public:
    TPassForm();

    std::string caption = "パスワード入力";  // in: the window caption (Shift_JIS)
    // in/out: the text of Passwd (Shift_JIS). It is read back whenever the dialog closes, so a
    // second showing of the same object opens with the text the first one left.
    std::string passwd;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void LayOut();
    void KeepText();

    win::Font font_{win::kFormFontFace, win::kFormFontHeight};
};

// Shows the dialog, unowned, with the caption. OK: text gets Passwd's text and the result is
// true. Cancel or closing otherwise: text becomes empty and the result is false.
bool ShowPasswordDialog(TPassForm& dialog, const std::string& caption, std::string& text);

// The record list's password dialog: one TPassForm for the whole request, so its edit box keeps
// its text between showings.
class WinPasswordDialog : public IPasswordDialog {
public:
    bool Show(const std::string& caption, std::string& text) override;

private:
    TPassForm form_;
};

}  // namespace torvane
