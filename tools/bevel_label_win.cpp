#include "tools/bevel_label_win.h"

#include "win/text.h"

namespace torvane {

namespace {

COLORREF SystemColor(long long color) {
    if (color == TBevelLabel::kWindowColor) return GetSysColor(COLOR_WINDOW);
    if (color == TBevelLabel::kButtonFace) return GetSysColor(COLOR_BTNFACE);
    return static_cast<COLORREF>(color);
}

void FillSide(HDC dc, int left, int top, int width, int height, COLORREF color) {
    const RECT side{left, top, left + width, top + height};
    SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &side, nullptr, 0, nullptr);
}

// A frame of the given width on rect, which then shrinks by it.
void Frame(HDC dc, RECT& rect, int width, COLORREF topLeft, COLORREF bottomRight) {
    if (width <= 0) return;
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    FillSide(dc, rect.left, rect.top, w, width, topLeft);
    FillSide(dc, rect.left, rect.top, width, h, topLeft);
    FillSide(dc, rect.left, rect.bottom - width, w, width, bottomRight);
    FillSide(dc, rect.right - width, rect.top, width, h, bottomRight);
    InflateRect(&rect, -width, -width);
}

void DrawBevel(HDC dc, RECT& rect, TBevelLabel::Bevel kind, int width) {
    if (kind == TBevelLabel::Bevel::None) return;
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    if (kind == TBevelLabel::Bevel::Lowered) {
        Frame(dc, rect, width, shadow, highlight);
    } else {
        Frame(dc, rect, width, highlight, shadow);
    }
}

}  // namespace

bool TBevelLabel::Register() {
    return RegisterOwnedControl<TBevelLabel>(kClassName, nullptr);
}

TBevelLabel* TBevelLabel::Create(HWND parent, int id, int x, int y, int width, int height, DWORD style) {
    TBevelLabel* label = CreateOwnedControl<TBevelLabel>(kClassName, parent, id, x, y, width, height, style);
    if (label) {
        label->font_ = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0));
    }
    return label;
}

std::string TBevelLabel::Caption() const {
    return win::GetWindowTextSjis(Handle());
}

void TBevelLabel::SetCaption(const std::string& caption) {
    win::SetWindowTextSjis(Handle(), caption);
}

void TBevelLabel::SetDown(bool down) {
    if (down == down_) return;
    down_ = down;
    bevelInner_ = down ? Bevel::Lowered : Bevel::Raised;
    bevelOuter_ = Bevel::None;
    InvalidateRect(Handle(), nullptr, TRUE);
}

COLORREF TBevelLabel::FillColor() const {
    return SystemColor(color_);
}

void TBevelLabel::Paint(HDC dc) {
    RECT rect;
    GetClientRect(Handle(), &rect);
    DrawBevel(dc, rect, bevelOuter_, bevelWidth_);
    Frame(dc, rect, borderWidth_, FillColor(), FillColor());
    DrawBevel(dc, rect, bevelInner_, bevelWidth_);
    SetBkColor(dc, FillColor());
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);

    InflateRect(&rect, -textBorder_, -textBorder_);
    rect.left += textOffset_;
    // "&" is shown as itself: a generated password may hold one.
    UINT flags = DT_EXPANDTABS | DT_NOPREFIX;
    flags |= alignment_ == Alignment::Right ? DT_RIGHT : alignment_ == Alignment::Center ? DT_CENTER : DT_LEFT;
    if (wordWrap_) flags |= DT_WORDBREAK;

    const int length = GetWindowTextLengthW(Handle());
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(Handle(), text.data(), length + 1)));
    HGDIOBJ oldFont = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    if (layout_ != Layout::Top) {
        RECT measured = rect;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, flags | DT_CALCRECT);
        const int d = (rect.bottom - rect.top + 1) - (measured.bottom - measured.top);
        OffsetRect(&rect, 0, layout_ == Layout::Bottom ? d : d / 2);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(IsWindowEnabled(Handle()) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
    SelectObject(dc, oldFont);
}

LRESULT TBevelLabel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Handle(), &ps);
            Paint(dc);
            EndPaint(Handle(), &ps);
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint fills everything
        case WM_SETTEXT: {
            const LRESULT result = OwnedControl::HandleMessage(msg, wParam, lParam);
            InvalidateRect(Handle(), nullptr, TRUE);
            return result;
        }
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) InvalidateRect(Handle(), nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_ENABLE:
            InvalidateRect(Handle(), nullptr, TRUE);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case WM_SIZE:
            InvalidateRect(Handle(), nullptr, TRUE);
            return 0;
    }
    return OwnedControl::HandleMessage(msg, wParam, lParam);
}

}  // namespace torvane
