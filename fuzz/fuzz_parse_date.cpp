// Date fields from a data file: either a day that writes and reads back unchanged, the
// clock's moment, or a conversion error; never anything else.
#include <cmath>
#include <cstdint>
#include <string_view>

#include "store/pass_item.h"
#include "tests/core/fixed_clock.h"

namespace {

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace torvane;
    static FixedClock clock(40000.5);
    TDate date = 0;
    try {
        date = ParseDate(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const EConvertError& e) {
        Require(e.what()[0] != '\0');
        return 0;
    }
    if (date == clock.Now()) return 0;
    Require(date == std::trunc(date) && date >= -693593 && date <= 2958465);
    Require(ParseDate(FormatDate(date)) == date);
    return 0;
}
