#pragma once
// Scopes for the main window's long operations (loads, refills, sorts): the hourglass and
// suspended redrawing, each given back however the operation ends.
#include <windows.h>

#include <utility>

namespace torvane {

// The hourglass for the duration of a long operation.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

// Suspends a control's redrawing while any hold on it lives. Refills nest (a load selects the
// top node, which refills the item list), and only the outermost hold may resume: a control
// has no way to say whether its redrawing is suspended.
class RedrawLock {
public:
    class Hold {
    public:
        explicit Hold(RedrawLock& lock) : lock_(lock) {
            if (lock_.holds_++ == 0 && lock_.control_) SendMessageW(lock_.control_, WM_SETREDRAW, FALSE, 0);
        }
        ~Hold() {
            if (--lock_.holds_ == 0 && lock_.control_) {
                SendMessageW(lock_.control_, WM_SETREDRAW, TRUE, 0);
                InvalidateRect(lock_.control_, nullptr, TRUE);
            }
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        RedrawLock& lock_;
    };

    void Attach(HWND control) { control_ = control; }
    bool Suspended() const { return holds_ > 0; }

private:
    HWND control_ = nullptr;
    int holds_ = 0;
};

// Runs a function when the scope ends, however it ends: the steps a handler owes the window
// "also after a failure".
template <class F>
class Finally {
public:
    explicit Finally(F f) : f_(std::move(f)) {}
    ~Finally() { f_(); }
    Finally(const Finally&) = delete;
    Finally& operator=(const Finally&) = delete;

private:
    F f_;
};

}  // namespace torvane
