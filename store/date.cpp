#include "store/date.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace torvane {
namespace {

// 1970-01-01 as a day count of ours.
constexpr long kUnixEpoch = 25569;
// The day counts of 0001-01-01 and 9999-12-31; values outside are clamped before decoding.
constexpr double kMinDay = -693593;
constexpr double kMaxDay = 2958465;

// Howard Hinnant's days_from_civil / civil_from_days, counting days from 1970-01-01.
long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

void CivilFromDays(long z, int& y, int& m, int& d) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400) + (m <= 2);
}

class SystemClock : public IClock {
public:
    TDate Now() const override {
        std::tm local = LocalTm(nullptr);
        TDate day = 0;
        TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, day);
        const TimeOfDay t = LocalTimeOfDay();
        return day + ((t.hour * 60.0 + t.minute) * 60.0 + t.second + t.millisecond / 1000.0) / 86400.0;
    }
    TimeOfDay LocalTimeOfDay() const override {
        int ms = 0;
        std::tm local = LocalTm(&ms);
        return {local.tm_hour, local.tm_min, local.tm_sec, ms};
    }
    TimeOfDay UtcTimeOfDay() const override {
        const auto now = std::chrono::system_clock::now();
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
        const long long secOfDay = (ms / 1000) % 86400;
        return {static_cast<int>(secOfDay / 3600), static_cast<int>(secOfDay / 60 % 60),
                static_cast<int>(secOfDay % 60), static_cast<int>(ms % 1000)};
    }

private:
    static std::tm LocalTm(int* millisecond) {
        const auto now = std::chrono::system_clock::now();
        const std::time_t t = std::chrono::system_clock::to_time_t(now);
        if (millisecond) {
            *millisecond = static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
        }
        std::tm out{};
#ifdef _WIN32
        localtime_s(&out, &t);
#else
        localtime_r(&t, &out);
#endif
        return out;
    }
};

const SystemClock kSystemClock;
const IClock* gClock = &kSystemClock;

}  // namespace

const IClock& Clock() { return *gClock; }
void SetClock(const IClock* clock) { gClock = clock ? clock : &kSystemClock; }

TDate Now() { return gClock->Now(); }
TDate Today() { return std::floor(gClock->Now()); }

bool IsValidDate(int year, int month, int day) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDate& out) {
    if (!IsValidDate(year, month, day)) return false;
    out = static_cast<TDate>(DaysFromCivil(year, month, day) + kUnixEpoch);
    return true;
}

void DecodeDate(TDate date, int& year, int& month, int& day) {
    // A negative count holds its day in the integral part, its time in the fraction.
    if (!(date >= kMinDay)) date = kMinDay;  // also NaN
    if (date > kMaxDay) date = kMaxDay;
    CivilFromDays(static_cast<long>(std::trunc(date)) - kUnixEpoch, year, month, day);
}

std::string FormatDate(TDate date) {
    int y = 0, m = 0, d = 0;
    DecodeDate(date, y, m, d);
    if (y >= 0 && y <= 9999 && m >= 0 && m <= 99 && d >= 0 && d <= 99) {
        // Every record line holds three dates: written digit by digit, as the format would.
        const char text[10] = {static_cast<char>('0' + y / 1000),     static_cast<char>('0' + y / 100 % 10),
                               static_cast<char>('0' + y / 10 % 10),  static_cast<char>('0' + y % 10),
                               '/',
                               static_cast<char>('0' + m / 10),       static_cast<char>('0' + m % 10),
                               '/',
                               static_cast<char>('0' + d / 10),       static_cast<char>('0' + d % 10)};
        return std::string(text, sizeof text);
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", y, m, d);
    return buf;
}

}  // namespace torvane
