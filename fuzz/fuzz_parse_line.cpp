// Record lines from a data file: the reader must never fail other than with a conversion
// error, and whatever it reads must write a line that reads back to the same record, so a
// load followed by a save loses nothing.
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>

#include "store/pass_item.h"
#include "tests/core/fixed_clock.h"

namespace {

using namespace torvane;

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

auto AllFields(const TPassItem& r) {
    return std::tie(r.FirstDate, r.LastDate, r.Path, r.Title, r.Kind, r.UserID, r.Passwd, r.Hint, r.Answer, r.Company,
                    r.Serial, r.ProdKey, r.Price, r.ShopName, r.Flags, r.LimitDate, r.URL, r.Mail, r.Macro, r.Memo);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A whole day, so that a date taken from the clock writes and reads back unchanged.
    static FixedClock clock(40000);
    std::optional<TPassItem> item;
    try {
        item = ParseLine(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const EConvertError&) {
        return 0;
    }
    if (!item) return 0;
    const std::string line = FormatLine(*item);
    const std::optional<TPassItem> back = ParseLine(line);  // must not throw either
    Require(back.has_value());
    Require(AllFields(*item) == AllFields(*back));
    Require(FormatLine(*back) == line);
    return 0;
}
