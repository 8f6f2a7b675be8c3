#pragma once
// TEditButton: a one-line edit box with a small square button at its right end. With AutoCopy
// on, a click on the button puts the field's whole text on the clipboard, also while the field
// shows a password character. Such a masked copy is emptied from the clipboard after
// MaskedClearDelayMs unless something else has been copied since; the copy also carries the
// formats that keep it out of clipboard history (editor/clipboard_win.h).
//
// The control is one tab stop; the focus it receives goes on to its edit box, and the button
// never takes it. Usable from a dialog template by its class name "TEditButton" (call Register
// first); the object belongs to its window.
#include <windows.h>

#include <functional>
#include <string>

#include "tools/owned_control_win.h"

namespace torvane {

class TEditButton : public OwnedControl {
public:
    static constexpr wchar_t kClassName[] = L"TEditButton";
    static constexpr int kEditWidth = 121;   // the edit box's initial width
    static constexpr int kButtonWidth = 23;  // the button's initial size
    static constexpr int kButtonHeight = 22;
    // How long a copy of a masked field stays on the clipboard; tests shorten it.
    static UINT MaskedClearDelayMs;

    static bool Register();
    // width or height 0: the initial size (edit + button + BevelWidth wide, the button's height).
    static TEditButton* Create(HWND parent, int id, int x, int y, int width = 0, int height = 0,
                               DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    static TEditButton* From(HWND hwnd) { return OwnedControlFrom<TEditButton>(hwnd); }

    HWND Edit() const { return edit_; }
    HWND Button() const { return button_; }

    bool AutoCopy = true;
    // Raised after a button click, after the copy.
    std::function<void(TEditButton&)> OnBtnClick;
    // Raised for every change of the text.
    std::function<void(TEditButton&)> OnChange;
    // The edit box got or lost the keyboard focus.
    std::function<void(TEditButton&)> OnEnter;
    std::function<void(TEditButton&)> OnExit;

    // Shift_JIS. Setting the text it already has changes nothing: no change event, the caret
    // and selection stay.
    std::string Text() const;
    void SetText(const std::string& text);
    // 0 for none.
    wchar_t PasswordChar() const;
    void SetPasswordChar(wchar_t ch);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    bool FlatButton() const { return flat_; }
    void SetFlatButton(bool flat);
    // glyph: images side by side, numGlyphs (1 to 4) of them: up, disabled, pressed, down.
    // The control does not own the bitmap.
    void SetGlyph(HBITMAP glyph, int numGlyphs = 1);
    int NumGlyphs() const { return numGlyphs_; }
    HBITMAP Glyph() const { return glyph_; }

    // The button's click: the copy, then OnBtnClick.
    void ButtonClick();
    // True while a masked copy waits to be emptied.
    bool ClearPending() const { return clearSequence_ != 0; }

    // For the button, which paints itself.
    void PaintButton(HDC dc, bool pressed) const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateChildren();
    void Layout();
    void ClearNow();

    HWND edit_ = nullptr;
    HWND button_ = nullptr;
    int bevelWidth_ = 1;
    bool flat_ = false;
    HBITMAP glyph_ = nullptr;
    int numGlyphs_ = 1;
    DWORD clearSequence_ = 0;
};

// The copy button's picture the property panel uses: two sheets, normal and disabled.
HBITMAP CopyGlyph();

}  // namespace torvane
