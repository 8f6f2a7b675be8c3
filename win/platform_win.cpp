#include "win/platform_win.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>

namespace torvane::win {

int LocaleCollator::Compare(const std::string& a, const std::string& b) const {
    const int r = CompareStringA(LOCALE_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()), b.data(),
                                 static_cast<int>(b.size()));
    return r - CSTR_EQUAL;  // CSTR_LESS_THAN 1, CSTR_EQUAL 2, CSTR_GREATER_THAN 3
}

namespace {
TimeOfDay ToTimeOfDay(const SYSTEMTIME& st) {
    return {st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}
}  // namespace

TDate WinClock::Now() const {
    SYSTEMTIME st;
    GetLocalTime(&st);
    TDate day = 0;
    TryEncodeDate(st.wYear, st.wMonth, st.wDay, day);
    return day + ((st.wHour * 60.0 + st.wMinute) * 60.0 + st.wSecond + st.wMilliseconds / 1000.0) / 86400.0;
}

TimeOfDay WinClock::LocalTimeOfDay() const {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return ToTimeOfDay(st);
}

TimeOfDay WinClock::UtcTimeOfDay() const {
    SYSTEMTIME st;
    GetSystemTime(&st);
    return ToTimeOfDay(st);
}

std::string SystemErrorText(unsigned long code) {
    char* buffer = nullptr;
    const DWORD n =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = n && buffer ? std::string(buffer, n) : std::string();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text;
}

}  // namespace torvane::win
