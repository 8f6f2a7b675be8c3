#pragma once
// TValueEdit: a right-aligned edit box that takes only digits and one decimal point and tidies
// its text on every change (tools/value_edit.h has the rules). It is a plain EDIT control with
// our subclass, so a dialog template's edit can become one (Attach). The object belongs to the
// window and goes with it.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace torvane {

class TValueEdit {
public:
    static constexpr int kDefaultWidth = 40;

    // A new edit: 40 pixels wide, text "0", ES_RIGHT added to the ordinary edit style.
    static TValueEdit* Create(HWND parent, int id, int x, int y, int height,
                              DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    // Makes an existing edit control (say, of a dialog template) a numeric edit.
    static TValueEdit* Attach(HWND edit);
    // The numeric edit of a window; null for any other.
    static TValueEdit* From(HWND edit);

    HWND Handle() const { return hwnd_; }

    // Throws std::runtime_error "'<text>' は整数ではありません" when the text is no 32-bit integer.
    int32_t Value() const;
    void SetValue(int32_t value);
    std::string Text() const;
    void SetText(const std::string& text);

    int MaxColumn() const { return maxColumn_; }
    void SetMaxColumn(int maxColumn);
    int Scale() const { return scale_; }
    void SetScale(int scale);
    int Base() const { return base_; }
    void SetBase(int base);

    // After every change of the text, once it is tidied.
    std::function<void(TValueEdit&)> OnChange;
    // Key-down messages before the edit handles them; return true to swallow the key.
    std::function<bool(TValueEdit&, WPARAM key)> OnKeyDown;

private:
    explicit TValueEdit(HWND hwnd);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR refData);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    bool FilterChar(wchar_t ch);
    // Tidies a text that changed and raises OnChange; nothing when the text is as last seen.
    void TextChanged();

    HWND hwnd_;
    std::string lastText_;
    int maxColumn_ = 0;
    int scale_ = 0;
    int base_ = 1;
    bool tidying_ = false;
};

}  // namespace torvane
