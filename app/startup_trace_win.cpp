#include "app/startup_trace_win.h"

#include <windows.h>

#include <cstdio>

namespace torvane {

void StartupMark(const char* step) {
    static const bool wanted = GetEnvironmentVariableW(L"TORVANE_STARTUP_TRACE", nullptr, 0) > 0;
    if (!wanted) return;
    wchar_t path[MAX_PATH];
    if (GetEnvironmentVariableW(L"TORVANE_STARTUP_TRACE", path, MAX_PATH) >= MAX_PATH) return;
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    std::FILE* file = _wfopen(path, L"ab");
    if (!file) return;
    std::fprintf(file, "%s %.3f\n", step,
                 static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart));
    std::fclose(file);
}

}  // namespace torvane
