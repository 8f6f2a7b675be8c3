#pragma once
// Programs that tests start and drive in the session's desktop (our key target, Wine's
// notepad), and reading back what was typed into them.
#include <windows.h>

#include <initializer_list>
#include <iterator>
#include <string>

#include "win/text.h"

namespace torvane::wintest {

// The folder of the running test program, where the helper programs are built.
inline std::wstring ExeDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    return dir.substr(0, dir.find_last_of(L"\\/") + 1);
}

// A program started for a test and ended by its process handle.
class ChildApp {
public:
    ~ChildApp() { Stop(); }

    // Starts the command line and waits for its top-level window of the given class.
    bool Start(std::wstring commandLine, const wchar_t* className) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_)) {
            return false;
        }
        WaitForInputIdle(pi_.hProcess, 10000);
        for (int i = 0; i < 200 && window_ == nullptr; ++i) {
            for (HWND w = FindWindowExW(nullptr, nullptr, className, nullptr); w != nullptr;
                 w = FindWindowExW(nullptr, w, className, nullptr)) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid == pi_.dwProcessId && IsWindowVisible(w)) window_ = w;
            }
            if (window_ == nullptr) Sleep(50);
        }
        return window_ != nullptr;
    }

    void Stop() {
        if (pi_.hProcess == nullptr) return;
        TerminateProcess(pi_.hProcess, 0);
        WaitForSingleObject(pi_.hProcess, 5000);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
        pi_ = {};
        window_ = nullptr;
    }

    HWND Window() const { return window_; }
    DWORD ThreadId() const { return pi_.dwThreadId; }

private:
    PROCESS_INFORMATION pi_{};
    HWND window_ = nullptr;
};

inline std::string ControlText(HWND control) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                        &got);
    text.resize(got);
    return win::ToSjis(text);
}

// The posted messages may still be queued in the target when the sender returns: read until
// the text is the expected one or the target has had ample time.
inline std::string TextWhenSettled(HWND control, const std::string& expected) {
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text = ControlText(control);
        if (text == expected) break;
        Sleep(50);
    }
    return text;
}

// Puts windows into the Z-order top down in the given order.
inline void StackOnTop(std::initializer_list<HWND> topDown) {
    for (auto it = std::rbegin(topDown); it != std::rend(topDown); ++it) {
        SetWindowPos(*it, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

}  // namespace torvane::wintest
