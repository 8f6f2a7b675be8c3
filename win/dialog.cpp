#include "win/dialog.h"

#include "win/exceptions_win.h"

namespace torvane::win {

namespace {

std::vector<HWND> DisableThreadWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            if (IsWindowVisible(window) && IsWindowEnabled(window)) {
                EnableWindow(window, FALSE);
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

void EnableWindows(std::vector<HWND>& windows) {
    for (HWND window : windows) {
        if (IsWindow(window)) EnableWindow(window, TRUE);
    }
    windows.clear();
}

}  // namespace

Dialog::~Dialog() {
    if (hwnd_) {
        // Only a modeless dialog can still be open here; unbind it before destroying it, since
        // the derived part of this object is gone.
        SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
        const HWND hwnd = hwnd_;
        hwnd_ = nullptr;
        DestroyWindow(hwnd);
    }
}

// An owned dialog disables its owner. An unowned one disables every window of the thread, as a
// task-modal box does: otherwise the user could start a second command in the main window while
// the first one waits for this dialog.
INT_PTR Dialog::ShowModal(HWND owner) {
    const HWND active = GetActiveWindow();
    if (!owner) disabled_ = DisableThreadWindows();
    modal_ = true;
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner, DlgProc,
                                           reinterpret_cast<LPARAM>(this));
    modal_ = false;
    if (!disabled_.empty()) {
        EnableWindows(disabled_);
        if (active && IsWindow(active) && IsWindowVisible(active)) SetActiveWindow(active);
    }
    return result;
}

HWND Dialog::Create(HWND parent) {
    modal_ = false;
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent, DlgProc,
                              reinterpret_cast<LPARAM>(this));
}

void Dialog::End(INT_PTR result) {
    if (!hwnd_) return;
    if (modal_) {
        // Enabled again before the dialog hides, so the activation can return to them.
        EnableWindows(disabled_);
        EndDialog(hwnd_, result);
    } else {
        DestroyWindow(hwnd_);
    }
}

bool Dialog::OnCommand(int id, int code, HWND /*control*/) {
    // Buttons send BN_CLICKED (0); Enter, Esc and the close box send IDOK or IDCANCEL with code 0.
    if (code != BN_CLICKED) return false;
    switch (id) {
        case IDOK:
            OnOK();
            return true;
        case IDCANCEL:
            OnCancel();
            return true;
    }
    return false;
}

INT_PTR Dialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            return OnInitDialog() ? TRUE : FALSE;
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    }
    return FALSE;
}

INT_PTR CALLBACK Dialog::DlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT) and after unbinding have no object.
    if (!self) return FALSE;

    INT_PTR result = FALSE;
    if (!Guarded(hwnd, [&] { result = self->HandleMessage(msg, wParam, lParam); })) {
        // A failed WM_INITDIALOG would leave a half-made dialog: the error box has been shown,
        // close it as cancelled. Other messages count as handled.
        if (msg == WM_INITDIALOG) self->End(IDCANCEL);
        if (msg == WM_PAINT) ValidateRect(hwnd, nullptr);  // else it would fail again at once
        result = TRUE;
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        Guarded(nullptr, [&] { self->OnWindowGone(); });
    }
    return result;
}

void PlaceItem(HWND dialog, int id, int x, int y, int width, int height) {
    SetWindowPos(GetDlgItem(dialog, id), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace torvane::win
