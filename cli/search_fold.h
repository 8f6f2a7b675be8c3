#pragma once
// The comparison form of search: texts that a Japanese reader takes for the same letters
// compare equal.
//
// Folded (in this order):
//   - full-width ASCII (！ to ～) to ASCII, the ideographic space to a space,
//     ￥ and ¥ to "\" (the yen sign of Shift_JIS), the minus sign − to "-";
//   - half-width katakana (ｱ, ｶﾞ, ﾊﾟ, ｰ, ｡ and the others) to full-width (ア, ガ, パ, ー, 。),
//     a half-width voiced mark joining the kana before it;
//   - upper-case to lower-case for Latin (A-Z, also the full-width ones), Greek and Cyrillic.
// Not folded: hiragana and katakana stay different (かな ≠ カナ), as do kanji variants.
#include <string>
#include <string_view>

namespace torvane::cli {

// The folded code points of UTF-8 text; a byte that is not UTF-8 becomes U+FFFD.
std::u32string FoldForSearch(std::string_view utf8);

}  // namespace torvane::cli
