#include "tools/value_edit.h"

#include <stdexcept>

namespace torvane {

std::string TidyValueText(std::string text) {
    size_t zeros = 0;
    while (text.size() - zeros >= 2 && text[zeros] == '0') ++zeros;
    text.erase(0, zeros);
    if (!text.empty() && text[0] == '.') text.insert(0, "0");
    return text;
}

bool ValueKeyAccepted(const std::string& text, size_t caretOffset, int scale, char ch) {
    const auto code = static_cast<unsigned char>(ch);
    const size_t point = text.find('.');
    if (point != std::string::npos) {
        if (ch == '.') return false;
        const size_t decimals = text.size() - point - 1;
        if (caretOffset > point && scale > 0 && decimals >= static_cast<size_t>(scale) && code >= 32) return false;
    }
    return code < 32 || ch == '.' || (ch >= '0' && ch <= '9');
}

std::string LimitValueText(const std::string& text, int maxColumn) {
    std::string tidy = TidyValueText(text);
    if (maxColumn > 0 && tidy.size() > static_cast<size_t>(maxColumn)) {
        tidy = TidyValueText(tidy.substr(tidy.size() - static_cast<size_t>(maxColumn)));
    }
    return tidy;
}

int32_t ValueOfText(const std::string& text) {
    if (text.empty()) return 0;
    std::string digits = text;
    const size_t point = digits.find('.');
    if (point != std::string::npos) digits.erase(point, 1);
    const auto fail = [&text] { return std::runtime_error("'" + text + "' は整数ではありません"); };
    size_t i = 0;
    bool negative = false;
    if (i < digits.size() && (digits[i] == '-' || digits[i] == '+')) negative = digits[i++] == '-';
    if (i == digits.size()) throw fail();
    int64_t value = 0;
    for (; i < digits.size(); ++i) {
        if (digits[i] < '0' || digits[i] > '9') throw fail();
        value = value * 10 + (digits[i] - '0');
        if (value > int64_t{INT32_MAX} + 1) throw fail();
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) throw fail();
    return static_cast<int32_t>(value);
}

std::string CutToScale(const std::string& text, int scale) {
    const size_t point = text.find('.');
    if (scale <= 0 || point == std::string::npos || text.size() - point - 1 <= static_cast<size_t>(scale)) {
        return text;
    }
    return text.substr(0, point + 1 + static_cast<size_t>(scale));
}

std::string RebaseValueText(const std::string& text, int scale, int base) {
    if (base <= 1) return text;
    std::string digits = text.empty() ? "0" : text;
    size_t decimals = 0;
    const size_t point = digits.find('.');
    if (point != std::string::npos) {
        decimals = digits.size() - point - 1;
        digits.erase(point, 1);
    }
    const size_t wanted = scale > 0 ? static_cast<size_t>(scale) : 0;
    if (decimals < wanted) digits.append(wanted - decimals, '0');
    // Digits beyond the scale stay in the number: the value in units is whatever they spell.
    const int64_t units = ValueOfText(digits);
    std::string rendered = std::to_string(units * base / base);
    if (wanted == 0) return rendered;
    if (rendered.size() <= wanted) rendered.insert(0, wanted + 1 - rendered.size(), '0');
    rendered.insert(rendered.size() - wanted, ".");
    return rendered;
}

}  // namespace torvane
