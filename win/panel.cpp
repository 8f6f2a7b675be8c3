#include "win/panel.h"

namespace torvane::win {

namespace {

constexpr wchar_t kPanelClass[] = L"TorvanePanel";

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CONTEXTMENU:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
            if (const HWND parent = GetParent(hwnd)) return SendMessageW(parent, msg, wParam, lParam);
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool RegisterPanelClass() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, kPanelClass, &wc)) return true;
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kPanelClass;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

HWND CreatePanel(HWND parent, int id, DWORD style, DWORD exStyle) {
    if (!RegisterPanelClass()) return nullptr;
    return CreateWindowExW(exStyle, kPanelClass, nullptr, style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

}  // namespace torvane::win
