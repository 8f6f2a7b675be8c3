#include "store/pass_item.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "store/comma_text.h"

namespace torvane {

const char* const KindNames[kKindCount] = {"ソフトウェア", "ログイン", "メール", "WEB登録", "ハードウェア", "その他"};

const std::string& KindName(int32_t kind) {
    static const std::string names[kKindCount] = {KindNames[0], KindNames[1], KindNames[2],
                                                  KindNames[3], KindNames[4], KindNames[5]};
    static const std::string none;
    return kind >= 0 && kind < kKindCount ? names[kind] : none;
}

bool SameRecordKey(const TPassItem& a, const TPassItem& b) {
    return a.Path == b.Path && a.Title == b.Title && a.UserID == b.UserID && a.Passwd == b.Passwd &&
           a.Company == b.Company;
}

namespace {

constexpr std::size_t kFieldCount = 19;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

void AppendNumber(std::string& out, long value) {
    char buf[24];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, result.ptr);
}

// The text with each double quote written twice.
void AppendEscaped(std::string& out, const std::string& text) {
    std::size_t from = 0;
    for (std::size_t q = text.find('"'); q != std::string::npos; q = text.find('"', from)) {
        out.append(text, from, q + 1 - from);
        out += '"';
        from = q + 1;
    }
    out.append(text, from, std::string::npos);
}

void AppendQuoted(std::string& out, const std::string& text) {
    out += '"';
    AppendEscaped(out, text);
    out += '"';
}

// Path, URL and Mail go into the line as they are, which the reader cannot take back when they
// hold a "," (it splits the field), a double quote or a control character. Such a field is
// quoted instead; the reader accepts quoted fields everywhere. The line's first field is also
// quoted when it begins with a blank (the reader trims the whole line) or with ";" (the line
// would read as a comment and the record would be lost).
void AppendFreeText(std::string& out, const std::string& text, bool firstField) {
    bool quote = firstField && !text.empty() && (static_cast<unsigned char>(text[0]) <= 32 || text[0] == ';');
    for (std::size_t i = 0; !quote && i < text.size(); ++i) {
        const char c = text[i];
        quote = static_cast<unsigned char>(c) < 32 || c == ',' || c == '"';
    }
    if (quote) {
        AppendQuoted(out, text);
    } else {
        out += text;
    }
}

// A strict signed decimal integer, as date parts must be. Only a sign and decimal digits are
// taken: the platform's own conversion also reads "$" and "0x" hexadecimal, but the data file
// never holds those, so in a date part they mean a damaged field, better reported than read as
// some unintended day. Blanks cannot occur here: they separate the parts.
bool TryStrictInt(std::string_view text, int32_t& out) {
    const bool negative = !text.empty() && text[0] == '-';
    const std::size_t first = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (first == text.size()) return false;
    long long magnitude = 0;
    for (std::size_t i = first; i < text.size(); ++i) {
        if (!IsDigit(text[i])) return false;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > 2147483648LL) return false;
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max()) return false;
    out = static_cast<int32_t>(value);
    return true;
}

[[noreturn]] void ThrowNotAnInteger(std::string_view text) {
    std::string message = "'";
    message.append(text.data(), text.size());
    message += "' は整数ではありません";
    throw EConvertError(message);
}

}  // namespace

std::string FormatLine(const TPassItem& item) {
    std::string out;
    out.reserve(96 + item.Path.size() + item.Title.size() + item.UserID.size() + item.Passwd.size() + item.Hint.size() +
                item.Answer.size() + item.Company.size() + item.Serial.size() + item.ProdKey.size() +
                item.ShopName.size() + item.URL.size() + item.Mail.size() + item.Macro.size() + item.Memo.size());
    AppendFreeText(out, item.Path, true);
    out += ',';
    AppendQuoted(out, item.Title);
    out += ',';
    AppendNumber(out, item.Kind);
    for (const std::string* text :
         {&item.UserID, &item.Passwd, &item.Hint, &item.Answer, &item.Company, &item.Serial, &item.ProdKey}) {
        out += ',';
        AppendQuoted(out, *text);
    }
    out += ",\"";
    AppendNumber(out, item.Price);
    out += '@';
    AppendEscaped(out, item.ShopName);
    out += "\",";
    AppendNumber(out, item.Flags);
    out += ',';
    out += FormatDate(item.LimitDate);
    out += ',';
    AppendFreeText(out, item.URL, false);
    out += ',';
    AppendFreeText(out, item.Mail, false);
    out += ',';
    out += FormatDate(item.FirstDate);
    out += ',';
    out += FormatDate(item.LastDate);
    out += ',';
    AppendQuoted(out, item.Macro);
    out += ',';
    AppendQuoted(out, item.Memo);
    return out;
}

std::optional<TPassItem> ParseLine(std::string_view text) {
    text = TrimBlanks(text);
    if (!text.empty() && text[0] == ';') return std::nullopt;

    CommaField fields[kFieldCount + 1];
    std::size_t count = 0;
    CommaSplitter splitter(text, CommaBlanks::Controls);
    while (count <= kFieldCount && splitter.Next(fields[count])) ++count;
    if (count != kFieldCount) return std::nullopt;

    TPassItem item;
    fields[0].AssignTo(item.Path);
    fields[1].AssignTo(item.Title);
    // Numbers and dates stop at (or drop) double quotes, so they read the raw field alike.
    item.Kind = ParseNumber(fields[2].body);
    fields[3].AssignTo(item.UserID);
    fields[4].AssignTo(item.Passwd);
    fields[5].AssignTo(item.Hint);
    fields[6].AssignTo(item.Answer);
    fields[7].AssignTo(item.Company);
    fields[8].AssignTo(item.Serial);
    fields[9].AssignTo(item.ProdKey);

    const CommaField& purchase = fields[10];
    item.Price = ParseNumber(purchase.body);
    const std::size_t at = purchase.body.find('@');
    if (at != std::string_view::npos) {
        // "@" is not a quote, so the raw field splits where its text does.
        CommaField shop{TrimBlanks(purchase.body.substr(at + 1)), purchase.doubledQuotes};
        shop.AssignTo(item.ShopName);
    }

    item.Flags = static_cast<uint16_t>(ParseNumber(fields[11].body));
    item.LimitDate = ParseDate(fields[12].body);
    fields[13].AssignTo(item.URL);
    fields[14].AssignTo(item.Mail);
    item.FirstDate = ParseDate(fields[15].body);
    item.LastDate = ParseDate(fields[16].body);
    fields[17].AssignTo(item.Macro);
    fields[18].AssignTo(item.Memo);
    return item;
}

TDate ParseDate(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (const char c : field) {
        if (c == '"') continue;
        text += c == '.' || c == '/' ? ',' : c;
    }

    std::string_view parts[3];
    std::size_t count = 0;
    CommaField part;
    CommaSplitter splitter(text, CommaBlanks::ControlsAndSpace);
    while (count <= 3 && splitter.Next(part)) {
        if (count < 3) parts[count] = part.body;
        ++count;
    }
    if (count != 3) return Now();

    int32_t ymd[3] = {};
    for (int i = 0; i < 3; ++i) {
        if (!TryStrictInt(parts[i], ymd[i])) ThrowNotAnInteger(parts[i]);
    }
    TDate day = 0;
    if (!TryEncodeDate(ymd[0], ymd[1], ymd[2], day)) throw EConvertError("日付に変換できない値が渡されました");
    return day;
}

// Values beyond 32 bits are held at the nearest end of the range rather than wrapped: a
// wrapped price could even change its sign, and with it its currency.
int32_t ParseNumber(std::string_view field) {
    const bool negative = !field.empty() && field[0] == '-';
    long long magnitude = 0;
    for (std::size_t i = negative ? 1 : 0; i < field.size() && IsDigit(field[i]); ++i) {
        magnitude = magnitude * 10 + (field[i] - '0');
        if (magnitude > 2147483648LL) magnitude = 2147483648LL;
    }
    const long long value = negative ? -magnitude : magnitude;
    return static_cast<int32_t>(value > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                                            : value);
}

int ExpiryState(const TPassItem* item, int warnDays) {
    if (item == nullptr || (item->Flags & HasLimitDate) == 0) return 0;
    const TDate today = Today();
    const TDate limit = std::trunc(item->LimitDate);  // the day lives in the integral part
    if (today > limit) return 2;
    if (today + warnDays > limit) return 1;
    return 0;
}

}  // namespace torvane
