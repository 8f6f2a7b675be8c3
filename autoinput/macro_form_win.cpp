#include "autoinput/macro_form_win.h"

#include <windows.h>

#include "res/resource.h"
#include "win/button_glyph.h"
#include "win/message_box.h"
#include "win/text.h"
#include "win/window.h"

namespace torvane {

const char kMacroNameEqualsMessage[] = "マクロ名に「=」は使えません。";

namespace {
constexpr int kClientWidth = 328;
constexpr int kClientHeight = 103;
}  // namespace

TMacroForm::TMacroForm() : Dialog(IDD_MACROFORM) {}

bool TMacroForm::OnInitDialog() {
    font_.ApplyTo(Handle());
    LayOut();
    win::SetButtonGlyph(Item(IDOK), win::ButtonGlyph::Ok);
    win::SetButtonGlyph(Item(IDCANCEL), win::ButtonGlyph::Cancel);
    win::SetWindowTextSjis(Item(IDC_MACROFORM_NAME), Name);
    win::SetWindowTextSjis(Item(IDC_MACROFORM_MACRO), Macro);
    return true;
}

void TMacroForm::LayOut() {
    win::PlaceDialog(Handle(), kClientWidth, kClientHeight, placed ? &topLeft : nullptr);
    const HWND dialog = Handle();
    // The labels get the room left of the wide action box: "アクション：" needs all of it.
    win::PlaceItem(dialog, IDC_MACROFORM_NAMELABEL, 5, 14, 77, 14);
    win::PlaceItem(dialog, IDC_MACROFORM_NAME, 82, 10, 121, 21);
    win::PlaceItem(dialog, IDC_MACROFORM_MACROLABEL, 5, 42, 77, 14);
    win::PlaceItem(dialog, IDC_MACROFORM_MACRO, 82, 38, 241, 21);
    win::PlaceItem(dialog, IDOK, 129, 70, 92, 26);
    win::PlaceItem(dialog, IDCANCEL, 231, 70, 92, 26);
}

void TMacroForm::OnOK() {
    const std::string name = win::GetWindowTextSjis(Item(IDC_MACROFORM_NAME));
    const std::string macro = win::GetWindowTextSjis(Item(IDC_MACROFORM_MACRO));
    if (name.find('=') != std::string::npos) {
        win::ShowWarning(Handle(), kMacroNameEqualsMessage);
        const HWND edit = Item(IDC_MACROFORM_NAME);
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        return;
    }
    Name = name;
    Macro = macro;
    // Blanks count as filled: nothing is trimmed.
    End(name.empty() || macro.empty() ? IDCANCEL : IDOK);
}

}  // namespace torvane
