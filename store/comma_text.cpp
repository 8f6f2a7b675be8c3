#include "store/comma_text.h"

namespace torvane {

// The splitter looks at single bytes only, without stepping over double-byte characters: its
// marks (",", the double quote, codes 1 to 32) are never the trail byte of a Shift_JIS
// character, so valid text splits the same either way, and a stray lead byte at the end of a
// field cannot swallow the closing quote that follows it.

void CommaField::AssignTo(std::string& out) const {
    if (!doubledQuotes) {
        out.assign(body.data(), body.size());
        return;
    }
    out.clear();
    out.reserve(body.size());
    std::size_t from = 0;
    for (std::size_t q = body.find('"'); q != std::string_view::npos; q = body.find('"', from)) {
        out.append(body.data() + from, q + 1 - from);  // keeps one quote of the pair
        from = q + 2;
    }
    if (from < body.size()) out.append(body.data() + from, body.size() - from);
}

std::string CommaField::Text() const {
    std::string out;
    AssignTo(out);
    return out;
}

CommaSplitter::CommaSplitter(std::string_view text, CommaBlanks blanks)
    : text_(text), lastBlank_(blanks == CommaBlanks::Controls ? 31 : 32) {
    SkipBlanks();
}

void CommaSplitter::SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(static_cast<unsigned char>(text_[pos_]))) ++pos_;
}

bool CommaSplitter::Next(CommaField& field) {
    if (pos_ >= text_.size()) return false;
    field.doubledQuotes = false;
    if (text_[pos_] == '"') {
        const std::size_t start = ++pos_;
        for (;;) {
            const std::size_t q = text_.find('"', pos_);
            if (q == std::string_view::npos) {  // no closing quote: the field runs to the end
                field.body = text_.substr(start);
                pos_ = text_.size();
                break;
            }
            if (q + 1 < text_.size() && text_[q + 1] == '"') {
                field.doubledQuotes = true;
                pos_ = q + 2;
                continue;
            }
            field.body = text_.substr(start, q - start);
            pos_ = q + 1;
            break;
        }
    } else {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != ',' && !IsBlank(static_cast<unsigned char>(text_[pos_]))) {
            ++pos_;
        }
        field.body = text_.substr(start, pos_ - start);
    }
    // Whatever stands before the next "," is left for the following call: it becomes a field of its own.
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
        SkipBlanks();
    }
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
    return text.substr(begin, end - begin);
}

}  // namespace torvane
