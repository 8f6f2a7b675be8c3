#pragma once
// The base of every window class of ours: one C++ object per window, one switch per window.
//
//   class TMyForm : public win::Window {
//   protected:
//       LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
//           switch (msg) {
//           case WM_SIZE: ...; return 0;
//           }
//           return Window::HandleMessage(msg, wParam, lParam);
//       }
//   };
//   Window::RegisterWindowClass(L"TMyForm", wc);   // once
//   form.Create(L"TMyForm", L"caption", WS_OVERLAPPEDWINDOW);
//
// The object must outlive its window, or destroy it: the destructor destroys a window still open.
#include <windows.h>

namespace torvane::win {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const { return hwnd_; }

    // Registers a class whose window procedure dispatches to HandleMessage. The caller fills what
    // differs (style, icon, cursor, background, menu); size, procedure, instance and name are set
    // here. A class already registered counts as success.
    static bool RegisterWindowClass(const wchar_t* className, WNDCLASSEXW wc = {});

    // CreateWindowExW with this object bound to the new window. Returns the handle, or nullptr.
    HWND Create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle = 0, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int width = CW_USEDEFAULT, int height = CW_USEDEFAULT, HWND parent = nullptr,
                HMENU menuOrId = nullptr);
    // Destroys the window if it is still open.
    void Destroy();

protected:
    // The window's messages from WM_NCCREATE to WM_NCDESTROY. Return the message's result;
    // unhandled messages go here, which passes them to DefWindowProcW.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // Called once the window is gone (after WM_NCDESTROY); Handle() is null by then.
    virtual void OnWindowGone() {}

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

// Layout in pixels, for forms laid out in pixels rather than dialog units.
// The screen's pixels per inch, by which a layout given for 96 scales.
int ScreenDpi(HWND hwnd);
// Resizes a window so that its client area is width x height, keeping its top-left corner.
void SetClientSize(HWND hwnd, int width, int height);
// Moves a window to the middle of the screen (not of the work area).
void CenterOnScreen(HWND hwnd);
// Gives a dialog its client size, then moves it to topLeft when given, else to the screen's middle.
void PlaceDialog(HWND hwnd, int width, int height, const POINT* topLeft);

}  // namespace torvane::win
