#pragma once
// TMacroForm, "マクロ定義": the user names a macro and writes its template. OK with either box
// empty closes as Cancel. A name holding "=" is refused with a message and the dialog stays
// open: the macro list splits an entry at its first "=", so the rest of such a name would
// silently become the start of the template.
#include <string>

#include "win/dialog.h"
#include "win/font.h"

namespace torvane {

class TMacroForm : public win::Dialog {
public:
    TMacroForm();

    // in/out (Shift_JIS): the texts of Name and Macro, as typed, nothing trimmed.
    std::string Name;
    std::string Macro;
    // in: where the dialog's top-left corner goes (screen); the screen's middle when not set.
    bool placed = false;
    POINT topLeft{};

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void LayOut();

    win::Font font_{win::kFormFontFace, win::kFormFontHeight};
};

// What the dialog says about a name with "=".
extern const char kMacroNameEqualsMessage[];

}  // namespace torvane
