#include "win/pass_form_win.h"

#include <windows.h>

#include "res/resource.h"
#include "win/button_glyph.h"
#include "win/text.h"
#include "win/window.h"

namespace torvane {

namespace {

// The layout in pixels at 96 dots per inch.
constexpr int kClientWidth = 239;
constexpr int kClientHeight = 87;
constexpr int kBevelHeight = 46;
constexpr int kLabelLeft = 10, kLabelTop = 15;
constexpr int kEditLeft = 70, kEditTop = 10, kEditWidth = 151, kEditHeight = 20;
constexpr int kButtonTop = 55, kButtonWidth = 90, kButtonHeight = 25;
constexpr int kOkLeft = 15, kCancelLeft = 125;

}  // namespace

TPassForm::TPassForm() : Dialog(IDD_PASSFORM) {}

bool TPassForm::OnInitDialog() {
    win::SetWindowTextSjis(Handle(), caption);
    font_.ApplyTo(Handle());
    LayOut();
    win::SetButtonGlyph(Item(IDOK), win::ButtonGlyph::Ok);
    win::SetButtonGlyph(Item(IDCANCEL), win::ButtonGlyph::Cancel);

    const HWND edit = Item(IDC_PASSFORM_PASSWD);
    // Common controls 6 would mask with a black circle; the masking character is "*".
    SendMessageW(edit, EM_SETPASSWORDCHAR, L'*', 0);
    win::SetWindowTextSjis(edit, passwd);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SetFocus(edit);
    return false;
}

// The template is in dialog units, whose size follows the font the system picked; the form is
// laid out in pixels, scaled only by the screen's resolution.
void TPassForm::LayOut() {
    const HWND dialog = Handle();
    HDC screen = GetDC(dialog);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    auto px = [dpi](int value) { return MulDiv(value, dpi, 96); };

    const HWND label = Item(IDC_PASSFORM_LABEL);
    SIZE labelSize{0, 0};
    const std::wstring labelText = win::ToWide(win::GetWindowTextSjis(label));
    HGDIOBJ oldFont = SelectObject(screen, font_.Handle());
    GetTextExtentPoint32W(screen, labelText.c_str(), static_cast<int>(labelText.size()), &labelSize);
    SelectObject(screen, oldFont);
    ReleaseDC(dialog, screen);

    win::SetClientSize(dialog, px(kClientWidth), px(kClientHeight));
    // The bevel is only its bottom line: shadow above highlight, the last two rows of the area.
    win::PlaceItem(dialog, IDC_PASSFORM_BEVEL, 0, px(kBevelHeight) - 2, px(kClientWidth), 2);
    win::PlaceItem(dialog, IDC_PASSFORM_LABEL, px(kLabelLeft), px(kLabelTop), labelSize.cx, labelSize.cy);
    win::PlaceItem(dialog, IDC_PASSFORM_PASSWD, px(kEditLeft), px(kEditTop), px(kEditWidth), px(kEditHeight));
    win::PlaceItem(dialog, IDOK, px(kOkLeft), px(kButtonTop), px(kButtonWidth), px(kButtonHeight));
    win::PlaceItem(dialog, IDCANCEL, px(kCancelLeft), px(kButtonTop), px(kButtonWidth), px(kButtonHeight));
    win::CenterOnScreen(dialog);
}

void TPassForm::KeepText() {
    passwd = win::GetWindowTextSjis(Item(IDC_PASSFORM_PASSWD));
}

void TPassForm::OnOK() {
    KeepText();
    Dialog::OnOK();
}

void TPassForm::OnCancel() {
    KeepText();
    Dialog::OnCancel();
}

bool ShowPasswordDialog(TPassForm& dialog, const std::string& caption, std::string& text) {
    dialog.caption = caption;
    if (dialog.ShowModal(nullptr) == IDOK) {
        text = dialog.passwd;
        return true;
    }
    text.clear();
    return false;
}

bool WinPasswordDialog::Show(const std::string& caption, std::string& text) {
    return ShowPasswordDialog(form_, caption, text);
}

}  // namespace torvane
