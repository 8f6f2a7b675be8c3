#pragma once
// Comma lists as record lines and date fields hold them: fields separated by ",", a field that
// begins with a double quote runs to the next lone double quote, "" inside it standing for one.
// The splitter works on bytes without copying; only a field that holds doubled quotes needs one.
#include <cstddef>
#include <string>
#include <string_view>

namespace torvane {

// Which characters sit between fields: they are skipped before and after a field and end an
// unquoted one. The byte 0 is never one of them: it is kept as field text.
enum class CommaBlanks {
    Controls,          // codes 1 to 31: a space is part of the field (record lines)
    ControlsAndSpace,  // codes 1 to 32: a space separates fields too (date fields)
};

struct CommaField {
    // The field's bytes; for a quoted field those between the quotes, doubled quotes still doubled.
    std::string_view body;
    bool doubledQuotes = false;

    // The field's text, doubled quotes made single.
    void AssignTo(std::string& out) const;
    std::string Text() const;
};

class CommaSplitter {
public:
    CommaSplitter(std::string_view text, CommaBlanks blanks);
    // Reads the next field; false at the end of the text. A "," at the very end adds no field.
    bool Next(CommaField& field);

private:
    bool IsBlank(unsigned char c) const { return c >= 1 && c <= lastBlank_; }
    void SkipBlanks();

    std::string_view text_;
    std::size_t pos_ = 0;
    unsigned char lastBlank_;
};

// The text without its leading and trailing characters of codes 0 to 32.
std::string_view TrimBlanks(std::string_view text);

}  // namespace torvane
