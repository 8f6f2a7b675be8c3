#pragma once
// A vertical splitter bar between a control on its left and the rest of the form: dragging it
// with the mouse reports where the left control should now end.
#include <windows.h>

#include <functional>

#include "win/window.h"

namespace torvane::win {

class Splitter : public Window {
public:
    // Called while dragging with the bar's new left edge, in the parent's client coordinates.
    std::function<void(int)> OnMoved;

    HWND Create(HWND parent, int id);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    int grabX_ = 0;  // where in the bar the mouse took hold
};

}  // namespace torvane::win
