#pragma once
// A font the form owns, made from a face name, a height in pixels at 96 dots per inch and a
// character set (the dialog manager ignores a template's character set).
#include <windows.h>

namespace torvane::win {

class Font {
public:
    Font() = default;
    Font(const wchar_t* face, int pixelHeight, BYTE charSet = SHIFTJIS_CHARSET);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    HFONT Handle() const { return font_; }
    // Gives the font to a window and all its child controls.
    void ApplyTo(HWND window) const;

private:
    HFONT font_ = nullptr;
};

// The forms' font: "ＭＳ Ｐゴシック", 12 pixels, Shift_JIS.
inline constexpr wchar_t kFormFontFace[] = L"ＭＳ Ｐゴシック";
inline constexpr int kFormFontHeight = 12;

}  // namespace torvane::win
