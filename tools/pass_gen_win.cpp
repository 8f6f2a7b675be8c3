#include "tools/pass_gen_win.h"

#include "res/resource.h"
#include "tools/bevel_label_win.h"
#include "tools/pass_gen_rules.h"
#include "tools/value_spin_win.h"
#include "win/message_box.h"
#include "win/secure_random_win.h"
#include "win/window.h"

namespace torvane {

namespace {

constexpr int kClientWidth = 262;
constexpr int kClientHeight = 164;

struct ClassBox {
    int id;
    unsigned passClass;
};
constexpr ClassBox kClassBoxes[] = {{IDC_PASSGEN_UPALPHA, kPassUpper},
                                    {IDC_PASSGEN_LOWALPHA, kPassLower},
                                    {IDC_PASSGEN_DIGIT, kPassDigit},
                                    {IDC_PASSGEN_SPEC, kPassSymbol}};

win::WinSecureRandom& SystemSource() {
    static win::WinSecureRandom source;
    return source;
}

}  // namespace

TPassGen::TPassGen(ISecureRandom* source) : Dialog(IDD_PASSGEN), source_(source ? source : &SystemSource()) {
    // The template names these classes: they must exist before the dialog does.
    TValueSpin::Register();
    TBevelLabel::Register();
}

bool TPassGen::OnInitDialog() {
    font_.ApplyTo(Handle());
    length_ = TValueSpin::From(Item(IDC_PASSGEN_LENGTH));
    passString_ = TBevelLabel::From(Item(IDC_PASSGEN_STRING));
    if (!length_ || !passString_) {
        End(IDCANCEL);
        return true;
    }
    SendMessageW(length_->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
    SendMessageW(passString_->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
    LayOut();
    length_->SetMax(kPassLengthMax);
    length_->SetMin(kPassLengthMin);
    length_->SetIncrement(1);
    length_->SetValue(kPassLengthDefault);
    for (const ClassBox& box : kClassBoxes) {
        CheckDlgButton(Handle(), box.id, (kPassClassesDefault & box.passClass) ? BST_CHECKED : BST_UNCHECKED);
    }
    passString_->SetColor(TBevelLabel::kWindowColor);
    passString_->SetTextOffset(4);
    passString_->SetLayout(TBevelLabel::Layout::Center);
    SpeedButton1Click();
    return true;
}

void TPassGen::LayOut() {
    win::PlaceDialog(Handle(), kClientWidth, kClientHeight, placed ? &topLeft : nullptr);
    const HWND dialog = Handle();
    win::PlaceItem(dialog, IDC_PASSGEN_GROUP, 8, 4, 246, 120);
    win::PlaceItem(dialog, IDC_PASSGEN_UPALPHA, 14, 20, 120, 18);
    win::PlaceItem(dialog, IDC_PASSGEN_LOWALPHA, 134, 20, 118, 18);
    win::PlaceItem(dialog, IDC_PASSGEN_DIGIT, 14, 40, 120, 18);
    win::PlaceItem(dialog, IDC_PASSGEN_SPEC, 134, 40, 118, 18);
    win::PlaceItem(dialog, IDC_PASSGEN_BEVEL, 16, 64, 230, 2);
    win::PlaceItem(dialog, IDC_PASSGEN_LABEL1, 18, 77, 40, 14);
    win::PlaceItem(dialog, IDC_PASSGEN_LENGTH, 60, 73, TValueSpin::kDefaultWidth, 21);
    win::PlaceItem(dialog, IDC_PASSGEN_GENERATE, 136, 72, 90, 24);
    win::PlaceItem(dialog, IDC_PASSGEN_STRING, 18, 99, 224, 20);
    win::PlaceItem(dialog, IDOK, 16, 131, 110, 26);
    win::PlaceItem(dialog, IDC_PASSGEN_CLOSE, 136, 131, 110, 26);
}

unsigned TPassGen::Classes() const {
    unsigned classes = 0;
    for (const ClassBox& box : kClassBoxes) {
        if (IsDlgButtonChecked(Handle(), box.id) == BST_CHECKED) classes |= box.passClass;
    }
    return classes;
}

std::string TPassGen::Shown() const {
    return passString_ ? passString_->Caption() : std::string();
}

void TPassGen::SpeedButton1Click() {
    std::string password;
    switch (GeneratePassword(Classes(), length_->Value(), *source_, password)) {
        case PassGenResult::Ok:
            passString_->SetCaption(password);
            break;
        case PassGenResult::NoClass:
            win::ShowWarning(Handle(), kPassNoClassWarning);
            break;
        case PassGenResult::SourceFailed:
            // Never a password from a source that failed: the one in view stays.
            win::ShowError(Handle(), "乱数を取得できませんでした。");
            break;
    }
}

void TPassGen::UpAlphaClick(int id) {
    unsigned classes = Classes();
    for (const ClassBox& box : kClassBoxes) {
        if (box.id != id) continue;
        if (!KeepOneClass(classes, box.passClass)) {
            win::ShowWarning(Handle(), kPassNoClassWarning);
            CheckDlgButton(Handle(), id, BST_CHECKED);
        }
    }
}

bool TPassGen::OnCommand(int id, int code, HWND control) {
    switch (id) {
        case IDC_PASSGEN_GENERATE:
            if (code == BN_CLICKED) SpeedButton1Click();
            return true;
        case IDC_PASSGEN_CLOSE:
            if (code == BN_CLICKED) {
                PassString = Shown();
                End(IDNO);
            }
            return true;
        case IDC_PASSGEN_UPALPHA:
        case IDC_PASSGEN_LOWALPHA:
        case IDC_PASSGEN_DIGIT:
        case IDC_PASSGEN_SPEC:
            if (code == BN_CLICKED) UpAlphaClick(id);
            return true;
    }
    return Dialog::OnCommand(id, code, control);
}

void TPassGen::OnOK() {
    PassString = Shown();
    Dialog::OnOK();
}

}  // namespace torvane
