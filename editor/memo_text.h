#pragma once
// The Shift_JIS form of an edit box's text, brought up to date after each change by converting
// only what changed: a memo may be a megabyte, and every keystroke in it is stored at once.
#include <functional>
#include <string>
#include <string_view>

namespace torvane {

// Converts UTF-16 text to Shift_JIS; false when a character has no code of its own there (the
// text then holds whatever the conversion gave in its place).
using ToShiftJisFn = std::function<bool(std::wstring_view wide, std::string& sjis)>;

class MemoText {
public:
    explicit MemoText(ToShiftJisFn toSjis) : toSjis_(std::move(toSjis)) {}

    // The box now shows this text.
    void Update(std::wstring_view wide);
    // Nothing known of the box (until the next Update).
    void Forget() { known_ = false; }
    bool Known() const { return known_; }

    const std::string& Text() const { return text_; }
    // Every character converted exactly, so the text shown again is the box's text.
    bool Exact() const { return exact_; }
    // Every CR followed by an LF and every LF preceded by a CR.
    bool WholeLines() const { return lines_; }

private:
    void Convert(std::wstring_view wide);

    ToShiftJisFn toSjis_;
    bool known_ = false;
    bool exact_ = false;
    bool lines_ = false;
    // The text of the last Update, the base of the next one's comparison; wide_ is empty unless
    // exact_, since only an exact text can be patched.
    std::wstring wide_;
    std::string text_;
};

// Whether every CR of the text is followed by an LF and every LF preceded by a CR.
bool OnlyWholeLineBreaks(std::string_view text);

}  // namespace torvane
