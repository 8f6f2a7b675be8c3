// Stands in for the program the shell starts for a web address: appends its command line to
// "urlrecorder.log" beside it (UTF-8, one line per start) and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring log = path;
    log = log.substr(0, log.find_last_of(L"\\/") + 1) + L"urlrecorder.log";
    const wchar_t* line = GetCommandLineW();
    const int size = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line, -1, text.data(), size, nullptr, nullptr);
    if (std::FILE* file = _wfopen(log.c_str(), L"ab")) {
        std::fputs((text + "\n").c_str(), file);
        std::fclose(file);
    }
    return 0;
}
