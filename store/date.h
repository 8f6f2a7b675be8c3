#pragma once
// Dates are day counts since 1899-12-30 (the fraction is the time of day), as the data
// file and every form use them. "Now" comes from a replaceable clock so tests can fix it.
#include <string>

namespace torvane {

using TDate = double;

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    virtual TDate Now() const = 0;  // local date and time
    virtual TimeOfDay LocalTimeOfDay() const = 0;
    virtual TimeOfDay UtcTimeOfDay() const = 0;
};

// The clock of the process: the system clock unless a test installed another.
const IClock& Clock();
// Installs a clock (not owned); nullptr restores the system clock.
void SetClock(const IClock* clock);

TDate Now();
TDate Today();  // whole days of Now()

bool IsValidDate(int year, int month, int day);
// False for a combination that is not a date of years 1 to 9999.
bool TryEncodeDate(int year, int month, int day, TDate& out);
void DecodeDate(TDate date, int& year, int& month, int& day);
// "yyyy/mm/dd" with a literal "/", whatever the locale says.
std::string FormatDate(TDate date);

}  // namespace torvane
