// How long a typical macro run takes with the default delays: a user name of 8 characters,
// a Tab and a password of 8 characters, KeyDelay 50 and KeyPause 500. The delays alone add up
// to 1.9 s; the measured figure shows what the posting and the target add on top.
// Types into keytarget.exe when it lies beside this program (a test build), otherwise into
// whatever visible window lies below.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "autoinput/send_keys_win.h"
#include "win/text.h"

namespace {

constexpr int kKeyDelay = 50;
constexpr int kKeyPause = 500;
constexpr double kExpectedSeconds = 0.5 + 8 * 0.05 + (2 * 0.05 + 0.5) + 8 * 0.05;
constexpr char kMacroText[] = "yamada01\\tpa55word";

std::wstring ExeDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    return dir.substr(0, dir.find_last_of(L"\\/") + 1);
}

// Starts keytarget.exe and waits for its window; null when it isn't there.
HWND StartKeyTarget(PROCESS_INFORMATION& pi) {
    std::wstring commandLine = L"\"" + ExeDirectory() + L"keytarget.exe\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        return nullptr;
    }
    WaitForInputIdle(pi.hProcess, 10000);
    for (int i = 0; i < 200; ++i) {
        for (HWND w = FindWindowExW(nullptr, nullptr, L"TorvaneKeyTarget", nullptr); w != nullptr;
             w = FindWindowExW(nullptr, w, L"TorvaneKeyTarget", nullptr)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == pi.dwProcessId && IsWindowVisible(w)) return w;
        }
        Sleep(50);
    }
    return nullptr;
}

HWND CreateStartWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TorvaneTimingStart";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"start", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                           nullptr);
}

std::string BoxText(HWND target, int id) {
    HWND box = GetDlgItem(target, id);
    wchar_t text[256] = {};
    DWORD_PTR got = 0;
    SendMessageTimeoutW(box, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &got);
    return torvane::win::ToSjis(std::wstring(text, got));
}

}  // namespace

int main() {
    PROCESS_INFORMATION pi{};
    HWND target = StartKeyTarget(pi);
    HWND start = CreateStartWindow();
    if (target) SetWindowPos(target, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(start, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    const auto begin = std::chrono::steady_clock::now();
    {
        torvane::win::TSendKeys keys;
        keys.KeyDelay = kKeyDelay;
        keys.KeyPause = kKeyPause;
        keys.FindTarget(start);
        keys.SendText(kMacroText);
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - begin;

    std::printf("send_keys_timing: 8 characters, \\t, 8 characters; KeyDelay %d ms, KeyPause %d ms\n", kKeyDelay,
                kKeyPause);
    std::printf("  measured %.3f s   expected %.1f s   (%+.0f ms)\n", elapsed.count(), kExpectedSeconds,
                (elapsed.count() - kExpectedSeconds) * 1000);
    if (target) {
        Sleep(300);
        std::printf("  target boxes: \"%s\" \"%s\"\n", BoxText(target, 101).c_str(), BoxText(target, 102).c_str());
        TerminateProcess(pi.hProcess, 0);
        WaitForSingleObject(pi.hProcess, 5000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    } else {
        std::printf("  (keytarget.exe not found beside this program: typed into the window below)\n");
    }
    DestroyWindow(start);
    return 0;
}
