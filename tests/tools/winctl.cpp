// A small helper for scripts driving Torvane under Wine, whose windows live inside Wine's
// virtual desktop where X tools cannot see them.
//   winctl wait  TITLE-PREFIX [SECONDS]   exit 0 once a visible top-level window's title starts so
//   winctl close TITLE-PREFIX [SECONDS]   posts WM_CLOSE to it and waits until it is gone
//   winctl show  TITLE-PREFIX             prints the window's rectangle as "x y w h"
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Search {
    std::wstring prefix;
    HWND found = nullptr;
};

BOOL CALLBACK FindByPrefix(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    wchar_t title[512];
    if (!IsWindowVisible(hwnd) || !GetWindowTextW(hwnd, title, 512)) return TRUE;
    if (std::wcsncmp(title, search->prefix.c_str(), search->prefix.size()) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindTopLevel(const std::wstring& prefix) {
    Search search{prefix};
    EnumWindows(FindByPrefix, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitFor(const std::wstring& prefix, double seconds) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < seconds * 1000; Sleep(100)) {
        if (HWND hwnd = FindTopLevel(prefix)) return hwnd;
    }
    return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: winctl wait|close|show TITLE-PREFIX [SECONDS]\n");
        return 2;
    }
    const std::wstring verb = argv[1];
    const std::wstring prefix = argv[2];
    const double seconds = argc > 3 ? _wtof(argv[3]) : 30;
    HWND hwnd = WaitFor(prefix, verb == L"show" ? 0.5 : seconds);
    if (!hwnd) {
        std::fprintf(stderr, "winctl: no window titled \"%ls...\"\n", prefix.c_str());
        return 1;
    }
    if (verb == L"wait") return 0;
    if (verb == L"show") {
        RECT r;
        GetWindowRect(hwnd, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (verb == L"close") {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        const DWORD waited = process ? WaitForSingleObject(process, static_cast<DWORD>(seconds * 1000)) : WAIT_FAILED;
        if (process) CloseHandle(process);
        return waited == WAIT_OBJECT_0 ? 0 : 1;
    }
    std::fprintf(stderr, "winctl: unknown verb\n");
    return 2;
}
