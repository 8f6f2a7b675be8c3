#pragma once
// TBevelLabel: read-only text inside a three-dimensional frame, painted by the control itself
// (the generated password, a macro's expansion, the about box's comments). It never takes the
// focus. Usable from a dialog template by its class name "TBevelLabel" (call Register first);
// the window's text is the caption. The object belongs to its window.
#include <windows.h>

#include <string>

#include "tools/owned_control_win.h"

namespace torvane {

class TBevelLabel : public OwnedControl {
public:
    static constexpr wchar_t kClassName[] = L"TBevelLabel";
    enum class Bevel { None, Lowered, Raised };
    enum class Alignment { Left, Right, Center };
    enum class Layout { Top, Center, Bottom };
    // Colours: a COLORREF, or one of these.
    static constexpr long long kWindowColor = -1;   // the system window background
    static constexpr long long kButtonFace = -2;    // the system face colour, as a label on a form

    static bool Register();
    static TBevelLabel* Create(HWND parent, int id, int x, int y, int width, int height,
                               DWORD style = WS_CHILD | WS_VISIBLE);
    static TBevelLabel* From(HWND hwnd) { return OwnedControlFrom<TBevelLabel>(hwnd); }

    // The caption in Shift_JIS (the window text is the caption, in Unicode).
    std::string Caption() const;
    void SetCaption(const std::string& caption);

    Bevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(Bevel bevel) { Set(bevelOuter_, bevel); }
    Bevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(Bevel bevel) { Set(bevelInner_, bevel); }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width) { Set(bevelWidth_, width); }
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width) { Set(borderWidth_, width); }
    bool Down() const { return down_; }
    // A new value lowers (true) or raises (false) the inner bevel and removes the outer one.
    void SetDown(bool down);
    int TextBorder() const { return textBorder_; }
    void SetTextBorder(int border) { Set(textBorder_, border); }
    int TextOffset() const { return textOffset_; }
    void SetTextOffset(int offset) { Set(textOffset_, offset); }
    long long Color() const { return color_; }
    void SetColor(long long color) { Set(color_, color); }
    Alignment TextAlignment() const { return alignment_; }
    void SetAlignment(Alignment alignment) { Set(alignment_, alignment); }
    Layout TextLayout() const { return layout_; }
    void SetLayout(Layout layout) { Set(layout_, layout); }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap) { Set(wordWrap_, wrap); }

    // The fill colour as painted.
    COLORREF FillColor() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    template <class T>
    void Set(T& field, T value) {
        field = value;
        InvalidateRect(Handle(), nullptr, TRUE);
    }
    void Paint(HDC dc);

    Bevel bevelOuter_ = Bevel::None;
    Bevel bevelInner_ = Bevel::Lowered;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    bool down_ = false;
    int textBorder_ = 0;
    int textOffset_ = 0;
    long long color_ = kButtonFace;
    Alignment alignment_ = Alignment::Left;
    Layout layout_ = Layout::Top;
    bool wordWrap_ = false;
    HFONT font_ = nullptr;
};

}  // namespace torvane
