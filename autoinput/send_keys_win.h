#pragma once
// Types an expanded macro into another application by posting character and key messages to
// the control that has the focus there. One sender per run: create, set the delays, choose the
// target, send, destroy (which gives the input state back).
#include <windows.h>

#include <cstdint>
#include <string>

namespace torvane::win {

class TSendKeys {
public:
    TSendKeys();
    ~TSendKeys();
    TSendKeys(const TSendKeys&) = delete;
    TSendKeys& operator=(const TSendKeys&) = delete;

    // Milliseconds: after the target comes forward and after every backslash code.
    int KeyPause = 500;
    // Milliseconds after every posted message, so the target keeps up.
    int KeyDelay = 10;

    // Makes the first visible window below start in the Z-order the target; none if there is none.
    void FindTarget(HWND start);
    // Shares the input state with the window's thread, brings it forward and waits KeyPause.
    void SetTarget(HWND wnd);
    // Posts the text (Shift_JIS, backslash codes) to the focused control of the target.
    void SendText(const std::string& text);
    // One key press, with Ctrl and Shift around it as the key word asks.
    void PostVirtualKey(HWND wnd, std::uint16_t keyWord);
    void PostKey(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND TargetWnd() const { return targetWnd_; }
    DWORD TargetThread() const { return targetThread_; }
    DWORD OwnThread() const { return ownThread_; }

private:
    void Detach();

    HWND targetWnd_ = nullptr;
    DWORD targetThread_ = 0;
    DWORD ownThread_ = 0;
};

}  // namespace torvane::win
