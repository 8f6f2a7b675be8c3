#include "app/app_window_win.h"

namespace torvane {

namespace {
constexpr wchar_t kClassName[] = L"TorvaneApplication";
// Posted to itself: activation may not be passed on while it is still being handled.
constexpr UINT kActivateForm = WM_APP + 1;
}  // namespace

bool AppWindow::Create(const std::wstring& title) {
    WNDCLASSEXW wc{};
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    if (!RegisterWindowClass(kClassName, wc)) return false;
    // No size, in the middle of the screen: it is never seen, only its task-bar button is.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    if (!Window::Create(kClassName, title.c_str(),
                        WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, x, y, 0, 0)) {
        return false;
    }
    return true;
}

LRESULT AppWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_MINIMIZE:
                    // The task-bar button of the active application, or its system menu.
                    if (OnMinimize) OnMinimize();
                    return 0;
                case SC_CLOSE:
                    if (mainWindow_) PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
                    return 0;
            }
            break;
        case WM_SIZE:
            // Minimised some other way (all windows minimised at once).
            if (wParam == SIZE_MINIMIZED && OnMinimize) OnMinimize();
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) PostMessageW(Handle(), kActivateForm, 0, 0);
            return 0;
        case kActivateForm:
            ActivateForm();
            return 0;
        case WM_CLOSE:
            if (mainWindow_) PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
            return 0;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

void AppWindow::ActivateForm() {
    if (GetActiveWindow() != Handle()) return;
    // The form last active, which is a modal dialog while one is open.
    const HWND popup = GetLastActivePopup(Handle());
    const HWND target = popup && popup != Handle() ? popup : mainWindow_;
    if (target && IsWindowVisible(target) && IsWindowEnabled(target)) SetActiveWindow(target);
}

}  // namespace torvane
