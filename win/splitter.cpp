#include "win/splitter.h"

#include <windowsx.h>

namespace torvane::win {

HWND Splitter::Create(HWND parent, int id) {
    WNDCLASSEXW wc{};
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZEWE));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    if (!RegisterWindowClass(L"TorvaneSplitter", wc)) return nullptr;
    return Window::Create(L"TorvaneSplitter", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

LRESULT Splitter::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_LBUTTONDOWN:
            grabX_ = GET_X_LPARAM(lParam);
            SetCapture(Handle());
            return 0;
        case WM_MOUSEMOVE:
            if (GetCapture() == Handle() && OnMoved) {
                POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                MapWindowPoints(Handle(), GetParent(Handle()), &point, 1);
                OnMoved(point.x - grabX_);
            }
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == Handle()) ReleaseCapture();
            return 0;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace torvane::win
