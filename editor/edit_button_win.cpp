#include "editor/edit_button_win.h"

#include <algorithm>

#include "editor/clipboard_win.h"
#include "win/text.h"

namespace torvane {

UINT TEditButton::MaskedClearDelayMs = 30000;

namespace {

constexpr int kEditId = 1;
constexpr int kButtonId = 2;
constexpr UINT_PTR kClearTimer = 1;

// A button that never takes the focus, as a speed button: it presses while the mouse holds it
// and clicks when the mouse is let go over it. BM_CLICK clicks it too.
class SpeedButton : public OwnedControl {
public:
    static constexpr wchar_t kClassName[] = L"TorvaneSpeedButton";

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
                SetCapture(Handle());
                tracking_ = true;
                SetPressed(true);
                return 0;
            case WM_MOUSEMOVE:
                if (tracking_) SetPressed(Inside(lParam));
                return 0;
            case WM_LBUTTONUP:
                if (tracking_) {
                    tracking_ = false;
                    ReleaseCapture();
                    const bool click = Inside(lParam);
                    SetPressed(false);
                    if (click) Click();
                }
                return 0;
            case WM_CAPTURECHANGED:
                tracking_ = false;
                SetPressed(false);
                return 0;
            case BM_CLICK:
                Click();
                return 0;
            case WM_ENABLE:
                InvalidateRect(Handle(), nullptr, TRUE);
                return 0;
            case WM_PAINT: {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(Handle(), &ps);
                if (TEditButton* owner = TEditButton::From(GetParent(Handle()))) owner->PaintButton(dc, pressed_);
                EndPaint(Handle(), &ps);
                return 0;
            }
        }
        return OwnedControl::HandleMessage(msg, wParam, lParam);
    }

private:
    bool Inside(LPARAM lParam) const {
        RECT client;
        GetClientRect(Handle(), &client);
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        return PtInRect(&client, point) != FALSE;
    }
    void SetPressed(bool pressed) {
        if (pressed == pressed_) return;
        pressed_ = pressed;
        InvalidateRect(Handle(), nullptr, TRUE);
    }
    void Click() {
        if (!IsWindowEnabled(Handle())) return;
        SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Handle()));
    }

    bool tracking_ = false;
    bool pressed_ = false;
};

}  // namespace

bool TEditButton::Register() {
    return RegisterOwnedControl<TEditButton>(kClassName) && RegisterOwnedControl<SpeedButton>(SpeedButton::kClassName);
}

TEditButton* TEditButton::Create(HWND parent, int id, int x, int y, int width, int height, DWORD style) {
    if (!Register()) return nullptr;
    if (width <= 0) width = kEditWidth + kButtonWidth + 1;
    if (height <= 0) height = kButtonHeight;
    TEditButton* control = CreateOwnedControl<TEditButton>(kClassName, parent, id, x, y, width, height, style);
    if (control) {
        SendMessageW(control->Handle(), WM_SETFONT, SendMessageW(parent, WM_GETFONT, 0, 0), FALSE);
    }
    return control;
}

void TEditButton::CreateChildren() {
    RegisterOwnedControl<SpeedButton>(SpeedButton::kClassName);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", nullptr, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0,
                            kEditWidth, kButtonHeight, Handle(), reinterpret_cast<HMENU>(kEditId), instance, nullptr);
    button_ = CreateWindowExW(0, SpeedButton::kClassName, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, kButtonWidth,
                              kButtonHeight, Handle(), reinterpret_cast<HMENU>(kButtonId), instance, nullptr);
    Layout();
}

void TEditButton::Layout() {
    RECT client;
    GetClientRect(Handle(), &client);
    const int w = client.right;
    const int h = client.bottom;
    const int b = bevelWidth_;
    if (button_) MoveWindow(button_, w - h, 0, h, h, TRUE);
    if (edit_) MoveWindow(edit_, b, b, std::max(0, w - h - b), std::max(0, h - 2 * b), TRUE);
}

std::string TEditButton::Text() const {
    return win::GetWindowTextSjis(edit_);
}

void TEditButton::SetText(const std::string& text) {
    if (text == Text()) return;
    win::SetWindowTextSjis(edit_, text);
}

wchar_t TEditButton::PasswordChar() const {
    return static_cast<wchar_t>(SendMessageW(edit_, EM_GETPASSWORDCHAR, 0, 0));
}

void TEditButton::SetPasswordChar(wchar_t ch) {
    SendMessageW(edit_, EM_SETPASSWORDCHAR, ch, 0);
    InvalidateRect(edit_, nullptr, TRUE);
}

bool TEditButton::ReadOnly() const {
    return (GetWindowLongPtrW(edit_, GWL_STYLE) & ES_READONLY) != 0;
}

void TEditButton::SetReadOnly(bool readOnly) {
    SendMessageW(edit_, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void TEditButton::SetBevelWidth(int width) {
    bevelWidth_ = std::max(1, width);
    Layout();
}

void TEditButton::SetFlatButton(bool flat) {
    flat_ = flat;
    InvalidateRect(button_, nullptr, TRUE);
}

void TEditButton::SetGlyph(HBITMAP glyph, int numGlyphs) {
    glyph_ = glyph;
    numGlyphs_ = std::clamp(numGlyphs, 1, 4);
    InvalidateRect(Handle(), nullptr, TRUE);
    InvalidateRect(button_, nullptr, TRUE);
}

void TEditButton::ButtonClick() {
    if (AutoCopy) {
        // The real text, also behind a password character.
        const DWORD sequence = CopyTextPrivately(Handle(), Text());
        KillTimer(Handle(), kClearTimer);
        clearSequence_ = 0;
        if (sequence && PasswordChar() != 0) {
            clearSequence_ = sequence;
            SetTimer(Handle(), kClearTimer, MaskedClearDelayMs, nullptr);
        }
    }
    if (OnBtnClick) OnBtnClick(*this);
}

void TEditButton::ClearNow() {
    KillTimer(Handle(), kClearTimer);
    ClearClipboardIfUnchanged(Handle(), clearSequence_);
    clearSequence_ = 0;
}

void TEditButton::PaintButton(HDC dc, bool pressed) const {
    RECT rect;
    GetClientRect(button_, &rect);
    const bool enabled = IsWindowEnabled(button_) != FALSE;
    if (flat_) {
        FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
        if (pressed) DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT);
    } else {
        DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    }
    if (!glyph_) return;
    BITMAP info{};
    GetObjectW(glyph_, sizeof info, &info);
    const int width = info.bmWidth / numGlyphs_;
    // Up, disabled, pressed, down: the first when there is no picture for the state.
    int index = !enabled && numGlyphs_ >= 2 ? 1 : pressed && numGlyphs_ >= 3 ? 2 : 0;
    const int x = (rect.right - width) / 2 + (pressed ? 1 : 0);
    const int y = (rect.bottom - info.bmHeight) / 2 + (pressed ? 1 : 0);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, glyph_);
    // The bottom-left pixel is the transparent colour.
    const COLORREF transparent = GetPixel(memory, index * width, info.bmHeight - 1);
    GdiTransparentBlt(dc, x, y, width, info.bmHeight, memory, index * width, 0, width, info.bmHeight, transparent);
    SelectObject(memory, old);
    DeleteDC(memory);
}

LRESULT TEditButton::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            CreateChildren();
            return edit_ && button_ ? 0 : -1;
        case WM_SIZE:
            Layout();
            return 0;
        case WM_SETFOCUS:
            // Tabbing onto the control puts the caret into its edit box.
            if (reinterpret_cast<HWND>(wParam) != edit_) SetFocus(edit_);
            return 0;
        case WM_ENABLE:
            EnableWindow(edit_, static_cast<BOOL>(wParam));
            EnableWindow(button_, static_cast<BOOL>(wParam));
            return 0;
        case WM_SETFONT:
            SendMessageW(edit_, WM_SETFONT, wParam, lParam);
            return 0;
        case WM_GETFONT:
            return SendMessageW(edit_, WM_GETFONT, 0, 0);
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH:
        case WM_SETTEXT:
            if (edit_) return SendMessageW(edit_, msg, wParam, lParam);
            break;
        case WM_COMMAND:
            if (LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED) {
                ButtonClick();
            } else if (LOWORD(wParam) == kEditId) {
                switch (HIWORD(wParam)) {
                    case EN_CHANGE:
                        if (OnChange) OnChange(*this);
                        break;
                    case EN_SETFOCUS:
                        if (OnEnter) OnEnter(*this);
                        break;
                    case EN_KILLFOCUS:
                        if (OnExit) OnExit(*this);
                        break;
                }
            }
            return 0;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            if (const HWND parent = GetParent(Handle())) return SendMessageW(parent, msg, wParam, lParam);
            break;
        case WM_TIMER:
            if (wParam == kClearTimer) {
                ClearNow();
                return 0;
            }
            break;
        case WM_DESTROY:
            // A masked copy is not left behind when the field goes before its time is up.
            if (clearSequence_) ClearNow();
            break;
    }
    return OwnedControl::HandleMessage(msg, wParam, lParam);
}

HBITMAP CopyGlyph() {
    static HBITMAP glyph = [] {
        constexpr int kSize = 12;
        HDC screen = GetDC(nullptr);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, kSize * 2, kSize);
        HDC dc = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        const RECT all{0, 0, kSize * 2, kSize};
        HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(dc, &all, magenta);
        DeleteObject(magenta);
        // Two sheets, the front one over the back one; the second picture greyed.
        for (int i = 0; i < 2; ++i) {
            const COLORREF ink = i == 0 ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT);
            HBRUSH paper = CreateSolidBrush(RGB(255, 255, 255));
            HBRUSH border = CreateSolidBrush(ink);
            const int left = i * kSize;
            const RECT back{left + 1, 0, left + 8, 8};
            const RECT front{left + 4, 3, left + 11, 11};
            for (const RECT& sheet : {back, front}) {
                FillRect(dc, &sheet, paper);
                FrameRect(dc, &sheet, border);
            }
            DeleteObject(paper);
            DeleteObject(border);
        }
        SelectObject(dc, old);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        return bitmap;
    }();
    return glyph;
}

}  // namespace torvane
