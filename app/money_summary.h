#pragma once
// "￥いくら使ったかな？": how much the purchases in the catalogue cost. Prices in US dollars are
// stored negative and left out; so are records without a price.
#include <cstdint>
#include <string>

#include "store/pass_item.h"

namespace torvane {

struct MoneySummary {
    int64_t pricedCount = 0;  // records with a price above zero
    int64_t allCount = 0;     // every record
    // Summed in 64 bits: even billions of records at the largest 32-bit price cannot overflow,
    // so the amount is always the true sum.
    int64_t sum = 0;

    void Add(const TPassItem& item);
};

// Decimal digits with "," before every group of three from the right: 1234567 gives 1,234,567.
std::string GroupThousands(int64_t value);
// The information box's text (Shift_JIS); the amount carries the currency sign, the single byte
// 0x5C that the Japanese code page shows as the yen sign.
std::string MoneySummaryText(const MoneySummary& summary);

}  // namespace torvane
