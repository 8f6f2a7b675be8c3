#include "app/money_summary.h"

#include <gtest/gtest.h>

#include <limits>

namespace torvane {
namespace {

TPassItem Priced(int32_t price) {
    TPassItem item;
    item.Price = price;
    return item;
}

TEST(MoneySummaryTest, CountsAndSumsOnlyYenPrices) {
    MoneySummary summary;
    for (int32_t price : {1000, 0, 2500, -30, 0}) summary.Add(Priced(price));
    EXPECT_EQ(2, summary.pricedCount);
    EXPECT_EQ(5, summary.allCount);
    EXPECT_EQ(3500, summary.sum);
    EXPECT_EQ(
        "購入金額が入力されている項目は\r\n【2件/5件】ありました($は除く)\r\n"
        "その合計は【\\3,500】です！",
        MoneySummaryText(summary));
}

TEST(MoneySummaryTest, NothingPricedGivesZero) {
    MoneySummary summary;
    summary.Add(Priced(0));
    summary.Add(Priced(-1));
    EXPECT_EQ(0, summary.pricedCount);
    EXPECT_EQ(2, summary.allCount);
    // The currency sign is the single byte 0x5C, not a double-byte yen sign.
    const std::string text = MoneySummaryText(summary);
    EXPECT_NE(std::string::npos, text.find("【\\0】"));
}

TEST(MoneySummaryTest, SumBeyondThirtyTwoBitsIsShownAsItIs) {
    MoneySummary summary;
    const int32_t max = std::numeric_limits<int32_t>::max();
    summary.Add(Priced(max));
    summary.Add(Priced(max));
    summary.Add(Priced(2));
    EXPECT_EQ(4294967296LL, summary.sum);
    EXPECT_NE(std::string::npos, MoneySummaryText(summary).find("【\\4,294,967,296】"));
}

TEST(MoneySummaryTest, GroupsDigitsInThrees) {
    EXPECT_EQ("0", GroupThousands(0));
    EXPECT_EQ("999", GroupThousands(999));
    EXPECT_EQ("1,000", GroupThousands(1000));
    EXPECT_EQ("1,234,567", GroupThousands(1234567));
    EXPECT_EQ("-12,345", GroupThousands(-12345));
    EXPECT_EQ("-9,223,372,036,854,775,808", GroupThousands(std::numeric_limits<int64_t>::min()));
}

}  // namespace
}  // namespace torvane
