#pragma once
// The rules of the numeric edit box, apart from the window: how its text is tidied, which typed
// characters it takes, and how the text reads as a number.
#include <cstdint>
#include <string>

namespace torvane {

// Leading zeros go (a lone "0" stays) and a leading "." gets a "0" in front: "007" -> "7",
// ".5" and "00.5" -> "0.5".
std::string TidyValueText(std::string text);

// Whether a typed character may go into text with the caret at caretOffset (characters before
// it). Control characters (below 32) always pass.
bool ValueKeyAccepted(const std::string& text, size_t caretOffset, int scale, char ch);

// The text after a change, with maxColumn above 0 keeping only the last maxColumn characters
// (tidied again): a number that grows too long loses its leading digits.
std::string LimitValueText(const std::string& text, int maxColumn);

// The number in the text: empty reads as 0; the first "." is ignored ("12.5" reads as 125).
// Throws std::runtime_error "'<text>' は整数ではありません" when it is not a 32-bit integer.
int32_t ValueOfText(const std::string& text);

// Cuts digits after the point beyond scale (scale above 0).
std::string CutToScale(const std::string& text, int scale);

// The text re-rendered as a fixed-point number of scale decimals in units of base (above 1):
// the digits (point removed) padded with zeros to scale decimals, times base, divided by base.
std::string RebaseValueText(const std::string& text, int scale, int base);

}  // namespace torvane
