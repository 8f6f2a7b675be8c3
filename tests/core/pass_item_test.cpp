#include "store/pass_item.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "tests/core/fixed_clock.h"

namespace torvane {
namespace {

const char kSampleLine[] = R"(,"A",0,"","","","","","","","0@",0,2001/06/19,,,2001/06/19,1899/12/30,"","")";
constexpr TDate kJune19 = 37061;  // 2001/06/19

auto AllFields(const TPassItem& r) {
    return std::tie(r.FirstDate, r.LastDate, r.Path, r.Title, r.Kind, r.UserID, r.Passwd, r.Hint, r.Answer, r.Company,
                    r.Serial, r.ProdKey, r.Price, r.ShopName, r.Flags, r.LimitDate, r.URL, r.Mail, r.Macro, r.Memo);
}

TPassItem RoundTrip(const TPassItem& item) {
    const auto back = ParseLine(FormatLine(item));
    EXPECT_TRUE(back.has_value()) << FormatLine(item);
    return back.value_or(TPassItem{});
}

// The sample line's fields (none holds a comma), to be changed one at a time and joined again.
std::vector<std::string> SampleFields() {
    std::vector<std::string> fields(1);
    for (const char* c = kSampleLine; *c; ++c) {
        if (*c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += *c;
        }
    }
    return fields;
}

std::string Join(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + fields[i];
    return line;
}

std::string ConvertError(std::string_view field) {
    try {
        ParseDate(field);
    } catch (const EConvertError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(PassItemLineTest, SampleRecordMatchesTheFileByteForByte) {
    TPassItem item;
    item.Title = "A";
    item.FirstDate = item.LimitDate = kJune19;
    EXPECT_EQ(kSampleLine, FormatLine(item));
    ASSERT_EQ(19u, SampleFields().size());

    const auto read = ParseLine(kSampleLine);
    ASSERT_TRUE(read);
    EXPECT_EQ(AllFields(item), AllFields(*read));  // LastDate 0 came back as 1899/12/30
}

TEST(PassItemLineTest, EveryFieldInItsPlace) {
    TPassItem item;
    ASSERT_TRUE(TryEncodeDate(2001, 6, 19, item.FirstDate));
    ASSERT_TRUE(TryEncodeDate(2002, 1, 2, item.LastDate));
    ASSERT_TRUE(TryEncodeDate(2003, 3, 31, item.LimitDate));
    item.Path = "ソフト\\ツール";  // ソ ends in the byte of "\"
    item.Title = "エディタ \"Pro\"";
    item.Kind = 3;
    item.UserID = "user";
    item.Passwd = "p,w";
    item.Answer = "犬";
    item.Company = "ソニー";
    item.Serial = "12-34";
    item.ProdKey = "AB-CD";
    item.Price = -25;
    item.ShopName = "Shop";
    item.Flags = KeySplit | SerSplit | HasLimitDate;
    item.URL = "http://example.com/ソ";
    item.Mail = "a@example.com";
    item.Macro = "\"a b=%U\",c=%P";
    item.Memo = "1行目\r\n\"2\"行目\r\n";
    EXPECT_EQ(
        "ソフト\\ツール,\"エディタ \"\"Pro\"\"\",3,\"user\",\"p,w\",\"\",\"犬\",\"ソニー\",\"12-34\",\"AB-CD\","
        "\"-25@Shop\",11,2003/03/31,http://example.com/ソ,a@example.com,2001/06/19,2002/01/02,"
        "\"\"\"a b=%U\"\",c=%P\",\"1行目\r\n\"\"2\"\"行目\r\n\"",
        FormatLine(item));
    EXPECT_EQ(AllFields(item), AllFields(RoundTrip(item)));
}

TEST(PassItemLineTest, OnlyLinesOfNineteenFieldsAreRecords) {
    auto fields = SampleFields();
    EXPECT_TRUE(ParseLine(Join(fields) + ","));  // a closing "," adds no field
    fields.pop_back();
    EXPECT_FALSE(ParseLine(Join(fields)));
    EXPECT_FALSE(ParseLine(Join(fields) + ","));
    fields.push_back("\"\"");
    fields.push_back("x");
    EXPECT_FALSE(ParseLine(Join(fields)));
    EXPECT_FALSE(ParseLine(std::string(";") + kSampleLine));
    EXPECT_FALSE(ParseLine(std::string(" \t;") + kSampleLine));
    EXPECT_FALSE(ParseLine(""));
}

TEST(PassItemLineTest, FieldSplittingKeepsSpacesAndSkipsControls) {
    auto fields = SampleFields();
    fields[0] = "  top folder ";  // leading blanks of the line go, inner and trailing stay
    fields[13] = "  http://x/ ";
    fields[14] = "\tme@x\r\n";
    fields[18] = "\"memo\r\nline two   ";  // no closing quote: runs to the trimmed end
    const auto item = ParseLine(Join(fields));
    ASSERT_TRUE(item);
    EXPECT_EQ("top folder ", item->Path);
    EXPECT_EQ("  http://x/ ", item->URL);
    EXPECT_EQ("me@x", item->Mail);
    EXPECT_EQ("memo\r\nline two", item->Memo);

    fields = SampleFields();
    fields[1] = "\"A\"B";  // text after the closing quote becomes a field: 20 fields
    EXPECT_FALSE(ParseLine(Join(fields)));
    fields[1] = "A\tB";  // so does text after a control character
    EXPECT_FALSE(ParseLine(Join(fields)));
}

TEST(PassItemLineTest, PriceAndShopShareAField) {
    const std::vector<std::tuple<std::string, int32_t, std::string>> cases = {
        {"\"-25@Shop\"", -25, "Shop"}, {"\"@\"", 0, ""},    {"1500", 1500, ""},
        {"\"1500@ 店 \"", 1500, "店"}, {"9@a@b", 9, "a@b"}, {"\"7@\"\"Q\"\"\"", 7, "\"Q\""},
    };
    for (const auto& [field, price, shop] : cases) {
        auto fields = SampleFields();
        fields[10] = field;
        const auto item = ParseLine(Join(fields));
        ASSERT_TRUE(item) << field;
        EXPECT_EQ(price, item->Price) << field;
        EXPECT_EQ(shop, item->ShopName) << field;
        EXPECT_EQ(AllFields(*item), AllFields(RoundTrip(*item))) << field;
    }
}

TEST(PassItemLineTest, KindAndFlagsAreNumbers) {
    auto fields = SampleFields();
    fields[2] = "-3";
    fields[11] = "65547";  // kept in 16 bits
    const auto item = ParseLine(Join(fields));
    ASSERT_TRUE(item);
    EXPECT_EQ(-3, item->Kind);
    EXPECT_EQ(11, item->Flags);
    EXPECT_EQ("", KindName(item->Kind));
    EXPECT_EQ("", KindName(6));
    EXPECT_EQ("WEB登録", KindName(3));
}

TEST(PassItemLineTest, FreeTextThatWouldNotReadBackIsQuoted) {
    // Path, URL and Mail stay unquoted unless the reader could not take them back.
    const std::vector<std::string> quoted = {"a,b", "\"x", "a\"b", "a\tb", "a\r\nb", std::string("a\0b", 3)};
    for (const std::string& text : quoted) {
        TPassItem item;
        item.Path = item.URL = item.Mail = text;
        const std::string line = FormatLine(item);
        std::string expected = "\"";
        for (char c : text) expected += c == '"' ? std::string("\"\"") : std::string(1, c);
        expected += "\"";
        EXPECT_EQ(0u, line.find(expected + ",")) << line;
        EXPECT_NE(std::string::npos, line.find("," + expected + "," + expected + ",")) << line;
        EXPECT_EQ(AllFields(item), AllFields(RoundTrip(item))) << line;
    }
    // Leading blanks and ";" only matter at the start of the line.
    for (const std::string text : {" lead", "\x01x", ";x"}) {
        TPassItem item;
        item.Path = item.URL = item.Mail = text;
        const std::string line = FormatLine(item);
        EXPECT_EQ('"', line[0]) << line;
        EXPECT_EQ(AllFields(item), AllFields(RoundTrip(item))) << line;
    }
    TPassItem item;
    item.URL = item.Mail = " lead;";
    EXPECT_NE(std::string::npos, FormatLine(item).find(", lead;, lead;,"));
    EXPECT_EQ(AllFields(item), AllFields(RoundTrip(item)));
}

TEST(PassItemLineTest, AMalformedDateStopsTheReader) {
    auto fields = SampleFields();
    fields[15] = "2001/02/30";
    EXPECT_THROW(ParseLine(Join(fields)), EConvertError);
    fields[15] = "";
    FixedClock clock(40000.25);
    const auto item = ParseLine(Join(fields));
    ASSERT_TRUE(item);
    EXPECT_EQ(40000.25, item->FirstDate);
}

TEST(ParseNumberTest, LeadingDigitsWithOptionalMinus) {
    const std::vector<std::pair<std::string, int32_t>> cases = {
        {"", 0},
        {"-", 0},
        {"12", 12},
        {"-12", -12},
        {"0012x3", 12},
        {"+5", 0},
        {" 5", 0},
        {"--1", 0},
        {"5 ", 5},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"99999999999", INT32_MAX},
        {"-99999999999", INT32_MIN},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(value, ParseNumber(text)) << text;
}

TEST(ParseDateTest, ThreePartsWithAnySeparator) {
    for (const char* text : {"2001/06/19", "2001.6.19", "2001,06,19", "2001 6 19", "\"2001/06/19\"", " 2001/06/19 ",
                             "2001/06/19/", "2001. 6. 19", "+2001/6/19"}) {
        EXPECT_EQ(kJune19, ParseDate(text)) << text;
    }
}

TEST(ParseDateTest, OtherPartCountsGiveTheCurrentMoment) {
    FixedClock clock(40000.25);
    for (const char* text : {"", "  ", "\"\"", "2001/06", "2001-06-19", "2001/06/19 10:00", "1/2/3/4"}) {
        EXPECT_EQ(40000.25, ParseDate(text)) << text;
    }
}

TEST(ParseDateTest, ThreePartsThatAreNotADayRaiseTheConversionError) {
    const std::string noDate = "日付に変換できない値が渡されました";
    for (const char* text : {"2001/02/30", "2001/13/1", "0/1/1", "10000/1/1", "-1/1/1", "2001/0/1"}) {
        EXPECT_EQ(noDate, ConvertError(text)) << text;
    }
    EXPECT_EQ("'x' は整数ではありません", ConvertError("2001/x/19"));
    EXPECT_EQ("'' は整数ではありません", ConvertError("2001//19"));
    EXPECT_EQ("'a' は整数ではありません", ConvertError("a/b/c"));  // the year is read first
    EXPECT_EQ("'$7D1' は整数ではありません", ConvertError("$7D1/6/19"));
    EXPECT_EQ("'0x7D1' は整数ではありません", ConvertError("0x7D1/6/19"));
    EXPECT_EQ("'4294969297' は整数ではありません", ConvertError("4294969297/6/19"));
    EXPECT_EQ("'６' は整数ではありません", ConvertError("2001/６/19"));
    EXPECT_EQ("'ソ' は整数ではありません", ConvertError("2001/ソ/19"));
}

TEST(ExpiryStateTest, StrictWholeDayComparisons) {
    FixedClock clock(40000.75);
    EXPECT_EQ(0, ExpiryState(nullptr, 7));
    TPassItem item;
    item.LimitDate = 30000;
    EXPECT_EQ(0, ExpiryState(&item, 7));  // no limit date
    item.Flags = HasLimitDate;
    const std::vector<std::tuple<TDate, int, int>> cases = {
        {40000, 0, 0}, {39999, 0, 2}, {39999.9, 0, 2}, {40000.9, 0, 0},
        {40007, 7, 0}, {40006, 7, 1}, {40000, 7, 1},   {39999, 7, 2},
    };
    for (const auto& [limit, warnDays, state] : cases) {
        item.LimitDate = limit;
        EXPECT_EQ(state, ExpiryState(&item, warnDays)) << limit << " " << warnDays;
    }
}

}  // namespace
}  // namespace torvane
