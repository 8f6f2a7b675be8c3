#include "app/money_summary.h"

namespace torvane {

void MoneySummary::Add(const TPassItem& item) {
    ++allCount;
    if (item.Price > 0) {
        ++pricedCount;
        sum += item.Price;
    }
}

std::string GroupThousands(int64_t value) {
    // Through the unsigned magnitude, so the most negative value has digits too.
    const bool negative = value < 0;
    uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::string reversed;
    int digits = 0;
    do {
        if (digits > 0 && digits % 3 == 0) reversed += ',';
        reversed += static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
        ++digits;
    } while (magnitude != 0);
    if (negative) reversed += '-';
    return std::string(reversed.rbegin(), reversed.rend());
}

std::string MoneySummaryText(const MoneySummary& summary) {
    return "購入金額が入力されている項目は\r\n【" + std::to_string(summary.pricedCount) + "件/" +
           std::to_string(summary.allCount) + "件】ありました($は除く)\r\nその合計は【\\" +
           GroupThousands(summary.sum) + "】です！";
}

}  // namespace torvane
