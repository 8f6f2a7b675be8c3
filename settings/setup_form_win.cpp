#include "settings/setup_form_win.h"

#include "res/resource.h"
#include "win/pass_form_win.h"
#include "store/pass_list.h"
#include "tools/value_spin_win.h"
#include "win/button_glyph.h"
#include "win/message_box.h"
#include "win/text.h"
#include "win/window.h"

namespace torvane {

namespace {

constexpr char kConfirmCaption[] = "確認のため新しいパスワードをもう一度入力してください";
constexpr char kPasswordMismatch[] = "パスワードが一致しません。\r\nパスワードは変更されていません。";

// The layout in pixels at 96 dots per inch.
constexpr int kClientWidth = 457, kClientHeight = 181;
struct Place {
    int id, x, y, width, height;
};
constexpr Place kPlaces[] = {
    {IDC_SETUP_GENERAL, 8, 6, 215, 78},
    {IDC_SETUP_PASSWORD_LABEL, 16, 28, 62, 14},
    {IDC_SETUP_PASSWORD, 80, 24, 132, 21},
    {IDC_SETUP_WINDOWHIDE, 16, 54, 204, 18},
    {IDC_SETUP_EXPIRY, 8, 90, 215, 83},
    {IDC_SETUP_ALERMDATE, 16, 110, 46, 21},
    {IDC_SETUP_ALERMDATE_LABEL, 66, 114, 154, 14},
    {IDC_SETUP_NOTIFYITEM, 16, 142, 204, 18},
    {IDC_SETUP_MACRO, 231, 6, 218, 128},
    {IDC_SETUP_KEYDELAY_LABEL, 239, 28, 124, 14},
    {IDC_SETUP_KEYDELAY, 367, 24, 72, 21},
    {IDC_SETUP_KEYPAUSE_LABEL, 239, 56, 124, 14},
    {IDC_SETUP_KEYPAUSE, 367, 52, 72, 21},
    {IDC_SETUP_EXECHIDE, 239, 82, 204, 18},
    {IDC_SETUP_ADDENTER, 239, 106, 204, 18},
    {IDOK, 259, 146, 90, 25},
    {IDCANCEL, 359, 146, 90, 25},
};

struct SpinSpec {
    int id;
    int min, max;
    int after;  // the control the spin follows in the tab order
};
constexpr SpinSpec kSpins[] = {
    {IDC_SETUP_ALERMDATE, TSetupForm::kAlermDateMin, TSetupForm::kAlermDateMax, IDC_SETUP_WINDOWHIDE},
    {IDC_SETUP_KEYDELAY, TSetupForm::kKeyDelayMin, TSetupForm::kKeyDelayMax, IDC_SETUP_NOTIFYITEM},
    {IDC_SETUP_KEYPAUSE, TSetupForm::kKeyPauseMin, TSetupForm::kKeyPauseMax, IDC_SETUP_KEYDELAY},
};

}  // namespace

TSetupForm::TSetupForm(TInitParam& params) : Dialog(IDD_SETUPFORM), params_(params) {}

bool TSetupForm::OnInitDialog() {
    CreateSpins();
    font_.ApplyTo(Handle());
    LayOut();
    win::SetButtonGlyph(Item(IDOK), win::ButtonGlyph::Ok);
    win::SetButtonGlyph(Item(IDCANCEL), win::ButtonGlyph::Cancel);
    // Common controls 6 would mask with a black circle; the masking character is "*".
    SendMessageW(Item(IDC_SETUP_PASSWORD), EM_SETPASSWORDCHAR, L'*', 0);
    FormCreate();
    SetFocus(Item(IDCANCEL));
    return false;
}

// The number boxes hold their values within their ranges whatever is typed or stored.
void TSetupForm::CreateSpins() {
    TValueSpin::Register();
    for (const SpinSpec& spec : kSpins) {
        TValueSpin* spin = TValueSpin::Create(Handle(), spec.id, 0, 0);
        if (!spin) continue;
        spin->SetMin(spec.min);
        spin->SetMax(spec.max);
        SetWindowPos(spin->Handle(), Item(spec.after), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void TSetupForm::LayOut() {
    const HWND dialog = Handle();
    const int dpi = win::ScreenDpi(dialog);
    auto px = [dpi](int value) { return MulDiv(value, dpi, 96); };
    win::SetClientSize(dialog, px(kClientWidth), px(kClientHeight));
    for (const Place& place : kPlaces) {
        win::PlaceItem(dialog, place.id, px(place.x), px(place.y), px(place.width), px(place.height));
    }
    win::CenterOnScreen(dialog);
}

int TSetupForm::SpinValue(int id) const {
    TValueSpin* spin = TValueSpin::From(Item(id));
    return spin ? spin->Value() : 0;
}

void TSetupForm::SetSpin(int id, int value) {
    if (TValueSpin* spin = TValueSpin::From(Item(id))) spin->SetValue(value);
}

bool TSetupForm::Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TSetupForm::SetChecked(int id, bool checked) {
    SendMessageW(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// The check box "起動時にウィンドウを表示しない" is STARTFOR, and "実行時にタスクトレイに隠す"
// is WINDOWHIDE.
void TSetupForm::FormCreate() {
    SetSpin(IDC_SETUP_KEYDELAY, params_.KeyDelay);
    SetSpin(IDC_SETUP_KEYPAUSE, params_.KeyPause);
    SetChecked(IDC_SETUP_EXECHIDE, params_.WindowHide);
    SetChecked(IDC_SETUP_ADDENTER, params_.AddEnter);
    SetSpin(IDC_SETUP_ALERMDATE, params_.AlermDate);
    SetChecked(IDC_SETUP_WINDOWHIDE, params_.StartFor);
    win::SetWindowTextSjis(Item(IDC_SETUP_PASSWORD), params_.Password);
    SetChecked(IDC_SETUP_NOTIFYITEM, params_.NotifyTop);
}

void TSetupForm::OnOK() {
    OkBtnClick();
    Dialog::OnOK();
}

void TSetupForm::OkBtnClick() {
    params_.KeyDelay = SpinValue(IDC_SETUP_KEYDELAY);
    params_.KeyPause = SpinValue(IDC_SETUP_KEYPAUSE);
    params_.WindowHide = Checked(IDC_SETUP_EXECHIDE);
    params_.AddEnter = Checked(IDC_SETUP_ADDENTER);
    params_.AlermDate = SpinValue(IDC_SETUP_ALERMDATE);
    params_.StartFor = Checked(IDC_SETUP_WINDOWHIDE);
    TakePassword(win::GetWindowTextSjis(Item(IDC_SETUP_PASSWORD)));
    params_.NotifyTop = Checked(IDC_SETUP_NOTIFYITEM);
}

// A password typed once may hold a slip the user cannot see behind the stars; the data file
// would then be saved under a password nobody knows. A new one is taken only when typed twice.
void TSetupForm::TakePassword(const std::string& typed) {
    if (typed == params_.Password) return;
    std::string again;
    TPassForm confirm;
    if (!ShowPasswordDialog(confirm, kConfirmCaption, again)) return;
    if (again != typed) {
        win::ShowWarning(Handle(), kPasswordMismatch);
        return;
    }
    params_.Password = typed;
    passwordChanged_ = true;
}

INT_PTR ShowSetupForm(HWND owner, TInitParam& params, TPassList* records) {
    TSetupForm form(params);
    const INT_PTR result = form.ShowModal(owner);
    if (result == IDOK && form.PasswordChanged() && records) records->Modified = true;
    return result;
}

}  // namespace torvane
