#include "win/platform_win.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "win/collate.h"
#include "win/text.h"

namespace torvane::win {

int LocaleCollator::Compare(const std::string& a, const std::string& b) const {
    return CompareJapanese(a, b);
}

bool LocaleCollator::SortKey(const std::string& text, std::string& key) const {
    return JapaneseSortKey(text, key);
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
    wchar_t* buffer = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = n && buffer ? ToSjis(std::wstring(buffer, n)) : std::string();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text;
}

}  // namespace torvane::win
