#include "win/button_glyph.h"

#include <commctrl.h>

namespace torvane::win {

namespace {

constexpr int kSize = 16;
constexpr COLORREF kTransparent = RGB(255, 0, 255);

void DrawTick(HDC dc) {
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(0, 128, 0));
    HGDIOBJ old = SelectObject(dc, pen);
    const POINT tick[] = {{3, 8}, {6, 11}, {12, 4}};
    Polyline(dc, tick, 3);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void DrawCross(HDC dc) {
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(192, 0, 0));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, 4, 4, nullptr);
    LineTo(dc, 12, 12);
    MoveToEx(dc, 11, 4, nullptr);
    LineTo(dc, 3, 12);
    SelectObject(dc, old);
    DeleteObject(pen);
}

HIMAGELIST MakeGlyph(ButtonGlyph glyph) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kSize, kSize);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT all{0, 0, kSize, kSize};
    HBRUSH background = CreateSolidBrush(kTransparent);
    FillRect(dc, &all, background);
    DeleteObject(background);
    if (glyph == ButtonGlyph::Ok) {
        DrawTick(dc);
    } else {
        DrawCross(dc);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    HIMAGELIST list = ImageList_Create(kSize, kSize, ILC_COLOR24 | ILC_MASK, 1, 0);
    ImageList_AddMasked(list, bitmap, kTransparent);
    DeleteObject(bitmap);
    return list;
}

}  // namespace

void SetButtonGlyph(HWND button, ButtonGlyph glyph) {
    static const HIMAGELIST ok = MakeGlyph(ButtonGlyph::Ok);
    static const HIMAGELIST cancel = MakeGlyph(ButtonGlyph::Cancel);
    BUTTON_IMAGELIST images{};
    images.himl = glyph == ButtonGlyph::Ok ? ok : cancel;
    images.margin = {4, 0, 0, 0};
    images.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
    SendMessageW(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
}

}  // namespace torvane::win
