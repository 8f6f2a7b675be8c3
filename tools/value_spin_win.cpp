#include "tools/value_spin_win.h"

// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <stdexcept>

namespace torvane {

namespace {

constexpr int kEditId = 1;
constexpr int kUpDownId = 2;

int To16(int value) {
    return std::clamp(value, SHRT_MIN, SHRT_MAX);
}

// A one-line edit's height for a font: the text height and room for the sunken border.
int EditHeight(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight + 8;
}

}  // namespace

bool TValueSpin::Register() {
    return RegisterOwnedControl<TValueSpin>(kClassName);
}

TValueSpin* TValueSpin::Create(HWND parent, int id, int x, int y, int height, DWORD style) {
    if (height <= 0) height = EditHeight(reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0)));
    return CreateOwnedControl<TValueSpin>(kClassName, parent, id, x, y, kDefaultWidth, height, style);
}

void TValueSpin::CreateChildren() {
    RECT client;
    GetClientRect(Handle(), &client);
    edit_ = TValueEdit::Create(Handle(), kEditId, 0, 0, client.bottom, WS_CHILD | WS_VISIBLE);
    upDown_ = CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_NOTHOUSANDS, 0,
                              0, kUpDownWidth, client.bottom, Handle(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kUpDownId)), GetModuleHandleW(nullptr),
                              nullptr);
    if (!edit_ || !upDown_) return;
    SendMessageW(upDown_, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    SendMessageW(upDown_, UDM_SETPOS32, 0, 0);
    edit_->OnChange = [this](TValueEdit& edit) { SetValue(edit.Value()); };
    edit_->OnKeyDown = [this](TValueEdit&, WPARAM key) { return StepKey(key); };
    Layout();
}

void TValueSpin::Layout() {
    RECT client;
    GetClientRect(Handle(), &client);
    if (upDown_) MoveWindow(upDown_, client.right - kUpDownWidth, 0, kUpDownWidth, client.bottom, TRUE);
    if (edit_) MoveWindow(edit_->Handle(), 0, 0, std::max<int>(0, client.right - kUpDownWidth - kGap), client.bottom, TRUE);
}

// The position the up-down holds; a number typed in range is taken first, as the up-down takes
// its buddy's text.
int TValueSpin::Value() {
    if (edit_) {
        try {
            const int typed = edit_->Value();
            if (typed >= min_ && typed <= max_) SendMessageW(upDown_, UDM_SETPOS32, 0, typed);
        } catch (const std::runtime_error&) {
            // Not a number: the position stays.
        }
    }
    return static_cast<int>(SendMessageW(upDown_, UDM_GETPOS32, 0, 0));
}

void TValueSpin::SetValue(int value) {
    const int position = std::clamp(To16(value), min_, max_);
    SendMessageW(upDown_, UDM_SETPOS32, 0, position);
    const int shown = static_cast<int>(SendMessageW(upDown_, UDM_GETPOS32, 0, 0));
    if (edit_) {
        // The edit's change comes back here; it then finds its value in place and stops.
        auto onChange = std::move(edit_->OnChange);
        edit_->SetValue(shown);
        edit_->OnChange = std::move(onChange);
    }
    if (OnChange) OnChange(*this);
}

void TValueSpin::SetMin(int min) {
    min_ = To16(min);
    if (max_ < min_) max_ = min_;
    SendMessageW(upDown_, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    if (edit_ && edit_->Value() < min_) edit_->SetValue(min_);
}

void TValueSpin::SetMax(int max) {
    max_ = To16(max);
    if (min_ > max_) min_ = max_;
    SendMessageW(upDown_, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    if (edit_ && edit_->Value() > max_) edit_->SetValue(max_);
}

int TValueSpin::Increment() const {
    UDACCEL accel{0, 1};
    SendMessageW(upDown_, UDM_GETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    return static_cast<int>(accel.nInc);
}

void TValueSpin::SetIncrement(int increment) {
    UDACCEL accel{0, static_cast<UINT>(std::max(1, increment))};
    SendMessageW(upDown_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

bool TValueSpin::StepKey(WPARAM key) {
    if (key != VK_UP && key != VK_DOWN) return false;
    SetValue(Value() + (key == VK_UP ? 1 : -1));
    return true;
}

LRESULT TValueSpin::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            CreateChildren();
            return edit_ && upDown_ ? 0 : -1;
        case WM_SIZE:
            Layout();
            return 0;
        case WM_SETFONT:
            if (edit_) SendMessageW(edit_->Handle(), WM_SETFONT, wParam, lParam);
            return 0;
        case WM_GETFONT:
            return edit_ ? SendMessageW(edit_->Handle(), WM_GETFONT, 0, 0) : 0;
        case WM_SETFOCUS:
            if (edit_ && reinterpret_cast<HWND>(wParam) != edit_->Handle()) SetFocus(edit_->Handle());
            return 0;
        case WM_ENABLE:
            if (edit_) EnableWindow(edit_->Handle(), static_cast<BOOL>(wParam));
            EnableWindow(upDown_, static_cast<BOOL>(wParam));
            return 0;
        case WM_KEYDOWN:
            if (StepKey(wParam)) return 0;
            break;
        case WM_VSCROLL:
            if (reinterpret_cast<HWND>(lParam) == upDown_ && LOWORD(wParam) == SB_THUMBPOSITION) {
                SetValue(static_cast<int>(SendMessageW(upDown_, UDM_GETPOS32, 0, 0)));
            }
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            // The edit's own notifications are handled by its subclass; the form may colour it.
            if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORSTATIC) {
                if (const HWND parent = GetParent(Handle())) return SendMessageW(parent, msg, wParam, lParam);
            }
            return 0;
    }
    return OwnedControl::HandleMessage(msg, wParam, lParam);
}

}  // namespace torvane
