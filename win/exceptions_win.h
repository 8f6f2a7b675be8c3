#pragma once
// Exceptions never cross a window or dialog procedure: Windows would unwind through its own
// frames, which it does not support. Every handler runs inside Guarded, which shows what escaped
// in the error box "エラー" (the text is the exception's message, Shift_JIS) and lets the program
// go on.
#include <windows.h>

#include <exception>
#include <utility>

namespace torvane::win {

// Shows the error box for an exception that escaped a handler; owner may be null.
void ShowException(HWND owner, const std::exception& error) noexcept;
// The same for something thrown that is not a std::exception.
void ShowUnknownException(HWND owner) noexcept;

// Runs handler(); returns true when it finished, false when it threw (after the error box).
template <class Handler>
bool Guarded(HWND owner, Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const std::exception& error) {
        ShowException(owner, error);
    } catch (...) {
        ShowUnknownException(owner);
    }
    return false;
}

}  // namespace torvane::win
