// A stand-in for a login form that keystrokes are typed into: one Unicode window with three
// edit boxes, Tab moving between them. Tests find it by its class name and read the boxes
// back with WM_GETTEXT; sending it kKeyTargetReset empties the boxes and puts the focus back
// into the first one.
#include <windows.h>

namespace {

constexpr wchar_t kClassName[] = L"TorvaneKeyTarget";
constexpr wchar_t kCaption[] = L"Torvane key target";
constexpr int kFirstBoxId = 101;
constexpr int kBoxCount = 3;
constexpr UINT kKeyTargetReset = WM_APP + 1;

HWND boxes[kBoxCount];
HWND focusBox;  // the box that gets the focus back when the window is activated again

LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            for (int i = 0; i < kBoxCount; ++i) {
                boxes[i] =
                    CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                    10, 10 + i * 34, 300, 26, wnd,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstBoxId + i)), nullptr, nullptr);
            }
            focusBox = boxes[0];
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == EN_SETFOCUS) focusBox = reinterpret_cast<HWND>(lParam);
            return 0;
        case WM_SETFOCUS:
            SetFocus(focusBox);
            return 0;
        case kKeyTargetReset:
            for (HWND box : boxes) SetWindowTextW(box, L"");
            focusBox = boxes[0];
            if (GetActiveWindow() == wnd) SetFocus(focusBox);
            return 1;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) return 1;
    HWND wnd = CreateWindowExW(0, kClassName, kCaption, WS_OVERLAPPEDWINDOW, 100, 100, 340, 160, nullptr, nullptr,
                               instance, nullptr);
    if (!wnd) return 1;
    ShowWindow(wnd, show);
    UpdateWindow(wnd);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Tab moves between the boxes as in a dialog; the key is not typed as a character.
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB) {
            const bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
            if (HWND next = GetNextDlgTabItem(wnd, msg.hwnd, back)) SetFocus(next);
            continue;
        }
        if (msg.message == WM_KEYUP && msg.wParam == VK_TAB) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
