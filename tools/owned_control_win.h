#pragma once
// The base of our custom controls (edit box with button, numeric spin, bevelled label): a
// registered window class whose window owns its C++ object. The object is made at WM_NCCREATE
// and freed at WM_NCDESTROY, so a control works the same whether code creates it or a dialog
// template names its class; From() finds the object of a window.
//
//   class TMyControl : public OwnedControl { ... };
//   RegisterOwnedControl<TMyControl>(L"TMyControl");
//   TMyControl* c = CreateOwnedControl<TMyControl>(L"TMyControl", parent, id, x, y, w, h);
#include <windows.h>

#include "win/exceptions_win.h"

namespace torvane {

class OwnedControl {
public:
    OwnedControl() = default;
    OwnedControl(const OwnedControl&) = delete;
    OwnedControl& operator=(const OwnedControl&) = delete;
    virtual ~OwnedControl() = default;

    HWND Handle() const { return hwnd_; }

protected:
    // The control's messages from WM_NCCREATE on; unhandled ones go to DefWindowProcW.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }

private:
    template <class T>
    friend LRESULT CALLBACK OwnedControlProc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
};

template <class T>
LRESULT CALLBACK OwnedControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<OwnedControl*>(GetWindowLongPtrW(hwnd, 0));
    if (msg == WM_NCCREATE && !self) {
        self = new T();
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    LRESULT result = 0;
    if (!win::Guarded(GetAncestor(hwnd, GA_ROOT), [&] { result = self->HandleMessage(msg, wParam, lParam); })) {
        if (msg == WM_PAINT) ValidateRect(hwnd, nullptr);
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, 0, 0);
        delete self;
    }
    return result;
}

// Registers the class once; later calls only report success.
template <class T>
bool RegisterOwnedControl(const wchar_t* className, HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, className, &wc)) return true;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = OwnedControlProc<T>;
    wc.cbWndExtra = sizeof(void*);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return RegisterClassExW(&wc) != 0;
}

// The object of a window of class T; null for any other window.
template <class T>
T* OwnedControlFrom(HWND hwnd) {
    if (!hwnd || GetClassLongPtrW(hwnd, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&OwnedControlProc<T>)) {
        return nullptr;
    }
    return static_cast<T*>(reinterpret_cast<OwnedControl*>(GetWindowLongPtrW(hwnd, 0)));
}

template <class T>
T* CreateOwnedControl(const wchar_t* className, HWND parent, int id, int x, int y, int width, int height,
                      DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP, DWORD exStyle = 0) {
    if (!RegisterOwnedControl<T>(className)) return nullptr;
    const HWND hwnd = CreateWindowExW(exStyle, className, nullptr, style, x, y, width, height, parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                      nullptr);
    return OwnedControlFrom<T>(hwnd);
}

}  // namespace torvane
