#include "tools/value_edit_win.h"

// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>

#include "tools/value_edit.h"
#include "win/exceptions_win.h"
#include "win/text.h"

namespace torvane {

namespace {
constexpr UINT_PTR kSubclassId = 0x56454454;  // "VEDT"
// Where the edit keeps its object, for From().
constexpr wchar_t kProperty[] = L"TorvaneValueEdit";
}

TValueEdit::TValueEdit(HWND hwnd) : hwnd_(hwnd) {}

TValueEdit* TValueEdit::Create(HWND parent, int id, int x, int y, int height, DWORD style) {
    const HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"0", style | ES_RIGHT | ES_AUTOHSCROLL, x, y,
                                      kDefaultWidth, height, parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                      nullptr);
    return edit ? Attach(edit) : nullptr;
}

TValueEdit* TValueEdit::Attach(HWND edit) {
    if (TValueEdit* existing = From(edit)) return existing;
    auto* self = new TValueEdit(edit);
    SetWindowLongPtrW(edit, GWL_STYLE, GetWindowLongPtrW(edit, GWL_STYLE) | ES_RIGHT);
    if (!SetWindowSubclass(edit, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(self))) {
        delete self;
        return nullptr;
    }
    SetPropW(edit, kProperty, self);
    self->lastText_ = win::GetWindowTextSjis(edit);
    return self;
}

TValueEdit* TValueEdit::From(HWND edit) {
    return edit ? static_cast<TValueEdit*>(GetPropW(edit, kProperty)) : nullptr;
}

int32_t TValueEdit::Value() const {
    return ValueOfText(Text());
}

void TValueEdit::SetValue(int32_t value) {
    SetText(std::to_string(value));
}

std::string TValueEdit::Text() const {
    return win::GetWindowTextSjis(hwnd_);
}

void TValueEdit::SetText(const std::string& text) {
    win::SetWindowTextSjis(hwnd_, text);
}

void TValueEdit::SetMaxColumn(int maxColumn) {
    if (maxColumn == maxColumn_) return;
    maxColumn_ = maxColumn;
    lastText_.clear();
    TextChanged();
}

void TValueEdit::SetScale(int scale) {
    if (scale > 0 && scale > scale_) SetText(CutToScale(Text(), scale));
    scale_ = scale;
}

// Only a fixed-point display: Value still reads the digits without the point, in units of
// 10^-Scale, and ignores Base.
void TValueEdit::SetBase(int base) {
    if (base <= 1) return;
    base_ = base;
    SetText(RebaseValueText(Text(), scale_, base_));
}

LRESULT CALLBACK TValueEdit::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR refData) {
    auto* self = reinterpret_cast<TValueEdit*>(refData);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
        RemovePropW(hwnd, kProperty);
        delete self;
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    LRESULT result = 0;
    win::Guarded(GetAncestor(hwnd, GA_ROOT), [&] { result = self->HandleMessage(msg, wParam, lParam); });
    return result;
}

LRESULT TValueEdit::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CHAR:
            if (!FilterChar(static_cast<wchar_t>(wParam))) return 0;
            break;
        case WM_KEYDOWN:
            if (OnKeyDown && OnKeyDown(*this, wParam)) return 0;
            break;
    }
    const LRESULT result = DefSubclassProc(hwnd_, msg, wParam, lParam);
    switch (msg) {
        // Everything that can change the text; pasted text is tidied, not filtered.
        case WM_CHAR:
        case WM_KEYDOWN:
        case WM_SETTEXT:
        case WM_PASTE:
        case WM_CUT:
        case WM_CLEAR:
        case WM_UNDO:
        case EM_UNDO:
        case EM_REPLACESEL:
        case WM_IME_CHAR:
        case WM_IME_ENDCOMPOSITION:
            TextChanged();
            break;
    }
    return result;
}

bool TValueEdit::FilterChar(wchar_t ch) {
    if (ch >= 0x80) return false;
    const std::string text = Text();
    DWORD start = 0;
    SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    if (!ValueKeyAccepted(text, start, scale_, static_cast<char>(ch))) return false;
    if (ch < 32) return true;
    // Leading zeros go before the new character does: "0" and a typed 7 make "7", not "07".
    std::string dropped = TidyValueText(text + static_cast<char>(ch));
    dropped.pop_back();
    if (dropped != text) {
        SetText(dropped);
        const LPARAM end = static_cast<LPARAM>(dropped.size());
        SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(end), end);
    }
    return true;
}

void TValueEdit::TextChanged() {
    if (tidying_) return;
    std::string text = Text();
    if (text == lastText_) return;
    tidying_ = true;
    const std::string tidy = LimitValueText(text, maxColumn_);
    if (tidy != text) {
        const bool cut = maxColumn_ > 0 && TidyValueText(text).size() > static_cast<size_t>(maxColumn_);
        DWORD start = 0;
        SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
        const LPARAM shift = static_cast<LPARAM>(text.size()) - static_cast<LPARAM>(tidy.size());
        SetText(tidy);
        // A cut puts the caret at the end; tidying keeps it where it was, less what went in front.
        const LPARAM caret =
            cut ? static_cast<LPARAM>(tidy.size()) : std::max<LPARAM>(0, static_cast<LPARAM>(start) - shift);
        SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(caret), caret);
        text = tidy;
    }
    lastText_ = text;
    tidying_ = false;
    if (OnChange) OnChange(*this);
}

}  // namespace torvane
