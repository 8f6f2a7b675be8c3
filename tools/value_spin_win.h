#pragma once
// TValueSpin: a numeric edit with an up-down button pair on its right; its value is a 16-bit
// integer kept within Min and Max. The edit takes the focus for the spin; every edit of the
// text is pulled into the range at once. Usable from a dialog template by its class name
// "TValueSpin" (call TValueSpin::Register first); the object belongs to its window.
#include <windows.h>

#include <functional>

#include "tools/owned_control_win.h"
#include "tools/value_edit_win.h"

namespace torvane {

class TValueSpin : public OwnedControl {
public:
    static constexpr wchar_t kClassName[] = L"TValueSpin";
    static constexpr int kUpDownWidth = 16;
    static constexpr int kGap = 2;
    static constexpr int kDefaultWidth = TValueEdit::kDefaultWidth + kUpDownWidth + kGap;  // 58

    static bool Register();
    // height 0: as high as a one-line edit of the parent's font.
    static TValueSpin* Create(HWND parent, int id, int x, int y, int height = 0,
                              DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    static TValueSpin* From(HWND hwnd) { return OwnedControlFrom<TValueSpin>(hwnd); }

    int Value();
    void SetValue(int value);
    int Min() const { return min_; }
    void SetMin(int min);
    int Max() const { return max_; }
    void SetMax(int max);
    int Increment() const;
    void SetIncrement(int increment);

    TValueEdit* Edit() const { return edit_; }
    HWND UpDown() const { return upDown_; }

    // Raised by every setting of Value.
    std::function<void(TValueSpin&)> OnChange;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateChildren();
    void Layout();
    bool StepKey(WPARAM key);

    TValueEdit* edit_ = nullptr;
    HWND upDown_ = nullptr;
    int min_ = 0;
    int max_ = 100;
};

}  // namespace torvane
