#include "win/font.h"

namespace torvane::win {

Font::Font(const wchar_t* face, int pixelHeight, BYTE charSet) {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(pixelHeight, GetDeviceCaps(screen, LOGPIXELSY), 96);
    ReleaseDC(nullptr, screen);
    font_ = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charSet, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

Font::~Font() {
    if (font_) DeleteObject(font_);
}

void Font::ApplyTo(HWND window) const {
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
}

}  // namespace torvane::win
