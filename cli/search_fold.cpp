#include "cli/search_fold.h"

namespace torvane::cli {
namespace {

// Full-width forms of the half-width katakana block U+FF61 to U+FF9F, in block order.
constexpr char16_t kWideKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,  // ｡ to ｫ
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC,                                                  // ｬ to ｰ
    0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,          // ｱ to ｺ
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8,          // ｻ to ﾄ
    0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB,          // ﾅ to ﾎ
    0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8,                          // ﾏ to ﾖ
    0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,                  // ﾗ to ﾟ
};
constexpr char32_t kHalfVoiced = 0xFF9E;
constexpr char32_t kHalfSemiVoiced = 0xFF9F;

// The voiced form of a full-width kana, or 0: カ to ト and ハ to ホ take it one code above,
// ウ becomes ヴ.
char32_t Voiced(char32_t kana) {
    if (kana == 0x30A6) return 0x30F4;
    if (kana >= 0x30AB && kana <= 0x30C8) {
        // The small ッ at 0x30C3 shifts the pairs by one.
        const bool base = kana < 0x30C3 ? (kana - 0x30AB) % 2 == 0 : kana > 0x30C3 && (kana - 0x30C4) % 2 == 0;
        return base ? kana + 1 : 0;
    }
    if (kana >= 0x30CF && kana <= 0x30DB && (kana - 0x30CF) % 3 == 0) return kana + 1;
    return 0;
}

char32_t SemiVoiced(char32_t kana) {
    return kana >= 0x30CF && kana <= 0x30DB && (kana - 0x30CF) % 3 == 0 ? kana + 2 : 0;
}

char32_t FoldOne(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFF01 - 0x21;
    if (c == 0x3000) return U' ';
    if (c == 0xFFE5 || c == 0x00A5) return U'\\';
    if (c == 0x2212) return U'-';
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    if (c >= 0x0391 && c <= 0x03A9 && c != 0x03A2) return c + 0x20;  // Greek
    if (c >= 0x0410 && c <= 0x042F) return c + 0x20;                  // Cyrillic
    if (c == 0x0401) return 0x0451;
    return c;
}

// Decodes one UTF-8 sequence at text[i], advancing i; U+FFFD for a malformed one.
char32_t Decode(std::string_view text, size_t& i) {
    const unsigned char lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) > text.size()) return 0xFFFD;
    char32_t c = lead & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) return 0xFFFD;
        c = (c << 6) | (next & 0x3F);
        ++i;
    }
    return c;
}

}  // namespace

std::u32string FoldForSearch(std::string_view utf8) {
    std::u32string folded;
    folded.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t c = Decode(utf8, i);
        if (c >= 0xFF61 && c <= 0xFF9F) {
            if ((c == kHalfVoiced || c == kHalfSemiVoiced) && !folded.empty()) {
                const char32_t joined = c == kHalfVoiced ? Voiced(folded.back()) : SemiVoiced(folded.back());
                if (joined) {
                    folded.back() = joined;
                    continue;
                }
            }
            c = kWideKana[c - 0xFF61];
        }
        folded += FoldOne(c);
    }
    return folded;
}

}  // namespace torvane::cli
