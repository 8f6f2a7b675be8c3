#include "editor/memo_text.h"

#include <algorithm>

#include "store/sjis.h"

namespace torvane {

namespace {

// The byte where the character `count` characters after the one at byte `from` begins; every
// character of an exact text is one Shift_JIS character of one or two bytes.
size_t SkipCharacters(const std::string& text, size_t from, size_t count) {
    size_t at = from;
    for (; count > 0 && at < text.size(); --count) at += IsLeadByte(text[at]) && at + 1 < text.size() ? 2 : 1;
    return at;
}

bool IsBreak(char c) {
    return c == '\r' || c == '\n';
}

// The line breaks from byte `from` to byte `to` are whole pairs, looking one byte beyond each end.
bool WholeLinesBetween(std::string_view text, size_t from, size_t to) {
    for (size_t i = from; i < to && i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')) return false;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
    }
    return true;
}

}  // namespace

bool OnlyWholeLineBreaks(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (!IsBreak(text[i])) continue;
        if (text[i] != '\r' || i + 1 >= text.size() || text[i + 1] != '\n') return false;
        ++i;
    }
    return true;
}

void MemoText::Convert(std::wstring_view wide) {
    exact_ = toSjis_(wide, text_);
    wide_.assign(exact_ ? wide : std::wstring_view());
    lines_ = OnlyWholeLineBreaks(text_);
    known_ = true;
}

void MemoText::Update(std::wstring_view wide) {
    if (!exact_) return Convert(wide);
    // A keystroke changes a few characters somewhere: only those between the common beginning
    // and the common end are converted.
    const std::wstring_view old = wide_;
    const size_t shorter = std::min(old.size(), wide.size());
    const size_t prefix = static_cast<size_t>(
        std::mismatch(old.begin(), old.begin() + static_cast<std::ptrdiff_t>(shorter), wide.begin()).first -
        old.begin());
    size_t suffix = 0;
    while (suffix < shorter - prefix && old[old.size() - 1 - suffix] == wide[wide.size() - 1 - suffix]) ++suffix;
    const std::wstring_view added = wide.substr(prefix, wide.size() - suffix - prefix);
    std::string sjis;
    if (!toSjis_(added, sjis)) return Convert(wide);
    const size_t begin = SkipCharacters(text_, 0, prefix);
    const size_t end = SkipCharacters(text_, begin, old.size() - suffix - prefix);
    text_.replace(begin, end - begin, sjis);
    wide_.replace(prefix, old.size() - suffix - prefix, added);
    // Outside the replaced bytes and their neighbours, the breaks are as they were.
    lines_ = lines_ ? WholeLinesBetween(text_, begin > 0 ? begin - 1 : 0, begin + sjis.size() + 1)
                    : OnlyWholeLineBreaks(text_);
    known_ = true;
}

}  // namespace torvane
