#pragma once
// TPassGen, the password generator dialog: the user picks the character classes and the length,
// draws passwords from the system's secure random source until one pleases, and takes it with
// "パスワード更新" (the result IDOK; "閉じる" gives IDNO). A password is drawn as it opens.
#include <windows.h>

#include <string>

#include "store/secure_random.h"
#include "win/dialog.h"
#include "win/font.h"

namespace torvane {

class TBevelLabel;
class TValueSpin;

class TPassGen : public win::Dialog {
public:
    // source: where the characters come from; null for the system's secure generator.
    explicit TPassGen(ISecureRandom* source = nullptr);

    // in: where the dialog's top-left corner goes (screen); the screen's middle when not set.
    bool placed = false;
    POINT topLeft{};
    // out: the password shown when the dialog closed (Shift_JIS, ASCII).
    std::string PassString;

    // The password in view.
    std::string Shown() const;
    void SpeedButton1Click();
    // A class box was clicked: at least one class stays allowed.
    void UpAlphaClick(int id);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;

private:
    void LayOut();
    unsigned Classes() const;

    ISecureRandom* source_;
    TValueSpin* length_ = nullptr;
    TBevelLabel* passString_ = nullptr;
    win::Font font_{win::kFormFontFace, win::kFormFontHeight};
};

}  // namespace torvane
