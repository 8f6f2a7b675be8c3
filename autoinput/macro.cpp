#include "autoinput/macro.h"

#include <cstdint>
#include <vector>

#include "store/sjis.h"

namespace torvane {

// 標準[U+P]=%U\t%P,ﾊﾟｽﾜｰﾄﾞ[P]=%P,ｼﾘｱﾙｷｰ[S+K]=%S\t%K,ｼﾘｱﾙ[S]=%S,ﾌﾟﾛﾀﾞｸﾄｷｰ[K]=%K,
// spelt in Shift_JIS bytes so that every compiler, whatever it does with narrow literals,
// produces the same text (the names after the first are one-byte katakana).
const char* const DefaultMacros =
    "\x95\x57\x8F\x80[U+P]=%U\\t%P,"
    "\xCA\xDF\xBD\xDC\xB0\xC4\xDE[P]=%P,"
    "\xBC\xD8\xB1\xD9\xB7\xB0[S+K]=%S\\t%K,"
    "\xBC\xD8\xB1\xD9[S]=%S,"
    "\xCC\xDF\xDB\xC0\xDE\xB8\xC4\xB7\xB0[K]=%K,";

const char* const kFieldLetters = "UPSKQABYVWMNTDLG";

namespace {

// The full-width "－" that stands for a missing limit date.
const char* const kNoLimitDate = "\x81\x7C";

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsFieldLetter(char c) {
    const char upper = UpperAscii(c);
    for (const char* p = kFieldLetters; *p; ++p) {
        if (*p == upper) return true;
    }
    return false;
}

std::string PriceText(int32_t price) {
    const int64_t magnitude = price < 0 ? -static_cast<int64_t>(price) : price;
    return std::to_string(magnitude);
}

// Builds the sender's text while keeping track of one thing the sender will see: whether the
// text ends in a backslash that has not yet been paired with its code letter (or with a second
// backslash). Field text must never complete such a backslash.
class TMacroWriter {
public:
    void AppendByte(char c) {
        openBackslash_ = !openBackslash_ && c == '\\';
        out_ += c;
    }

    void AppendPair(char lead, char trail) {
        out_ += lead;
        out_ += trail;
        openBackslash_ = false;  // the sender drops a backslash before a double-byte character
    }

    void AppendField(const std::string& text, std::string_view splitToken) {
        DropOpenBackslash();
        const size_t n = text.size();
        for (size_t i = 0; i < n; ++i) {
            const char c = text[i];
            if (IsLeadByte(c)) {
                if (i + 1 >= n) break;  // a broken last character would pair with what follows
                out_ += c;
                out_ += text[++i];
            } else if (c == '\\') {
                out_ += "\\\\";
            } else if (c == '-' && !splitToken.empty()) {
                out_ += splitToken;
            } else {
                out_ += c;
            }
        }
    }

    void DropOpenBackslash() {
        if (openBackslash_) out_.pop_back();
        openBackslash_ = false;
    }

    std::string Take() { return std::move(out_); }

private:
    std::string out_;
    bool openBackslash_ = false;
};

void Expand(const std::string& entry, const TPassItem& item, TMacroWriter& writer) {
    const std::string templ = MacroTemplate(entry);
    const size_t n = templ.size();
    size_t i = 0;
    while (i < n) {
        const char c = templ[i];
        if (c == '%') {
            std::string_view split = SplitToken(false);
            if (++i < n && templ[i] == '$') {
                split = SplitToken(true);
                ++i;
            }
            if (i >= n) break;
            const char letter = templ[i];
            if (IsLeadByte(letter)) {
                // Not a field letter: the character stands for itself, taken whole.
                if (i + 1 >= n) break;
                writer.AppendPair(letter, templ[i + 1]);
                i += 2;
            } else if (IsFieldLetter(letter)) {
                const TFieldText field = FieldText(letter, item);
                writer.AppendField(field.Text, field.Split ? split : std::string_view());
                ++i;
            } else {
                writer.AppendByte(letter);
                ++i;
            }
        } else if (IsLeadByte(c)) {
            if (i + 1 >= n) break;
            writer.AppendPair(c, templ[i + 1]);
            i += 2;
        } else {
            writer.AppendByte(c);
            ++i;
        }
    }
}

}  // namespace

std::string FullMacroList(const TPassItem* item) {
    return item ? DefaultMacros + item->Macro : std::string();
}

std::string MacroEntry(const std::string& list, int index) {
    if (index < 0) return std::string();
    std::vector<std::string> entries = ReadCommaList(list);
    return static_cast<size_t>(index) < entries.size() ? std::move(entries[index]) : std::string();
}

// "=" (0x3D) is never the second byte of a double-byte character, so a byte search is safe.
std::string MacroName(const std::string& entry) {
    const size_t eq = entry.find('=');
    return eq == std::string::npos ? std::string() : entry.substr(0, eq);
}

std::string PreviewText(const std::string& text, size_t limit) {
    if (text.size() <= limit) return text;
    size_t end = 0;
    while (end < limit) {
        const size_t step = IsLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
        if (end + step > limit) break;
        end += step;
    }
    return text.substr(0, end) + "…";
}

std::string MacroTemplate(const std::string& entry) {
    const size_t eq = entry.find('=');
    return eq == std::string::npos ? entry : entry.substr(eq + 1);
}

void SetMacro(TPassItem& item, int index, const std::string& name, const std::string& templ) {
    std::vector<std::string> entries = ReadCommaList(item.Macro);
    std::string entry = name + "=" + templ;
    if (index >= 0 && static_cast<size_t>(index) < entries.size()) {
        entries[index] = std::move(entry);
    } else {
        entries.push_back(std::move(entry));
    }
    item.Macro = WriteCommaList(entries);
}

bool DeleteMacro(TPassItem& item, int index) {
    std::vector<std::string> entries = ReadCommaList(item.Macro);
    if (index < 0 || static_cast<size_t>(index) >= entries.size()) return false;
    entries.erase(entries.begin() + index);
    item.Macro = WriteCommaList(entries);
    return true;
}

TFieldText FieldText(char letter, const TPassItem& item) {
    switch (UpperAscii(letter)) {
        case 'U':
            return {item.UserID};
        case 'P':
            return {item.Passwd};
        case 'S':
            return {item.Serial, (item.Flags & SerSplit) != 0};
        case 'K':
            return {item.ProdKey, (item.Flags & KeySplit) != 0};
        case 'Q':
            return {item.Hint};
        case 'A':
            return {item.Answer};
        case 'B':
            return {item.ShopName};
        case 'Y':
            return {PriceText(item.Price)};
        case 'V':
            return {item.Company};
        case 'W':
            return {item.URL};
        case 'M':
            return {item.Mail};
        case 'N':
            return {item.Memo};
        case 'T':
            return {item.Title};
        case 'D':
            return {FormatDate(item.FirstDate)};
        case 'L':
            return {(item.Flags & HasLimitDate) ? FormatDate(item.LimitDate) : std::string(kNoLimitDate)};
        case 'G':
            return {KindName(item.Kind)};
        default:
            return {std::string(1, letter)};
    }
}

std::string_view SplitToken(bool pauseSplit) {
    return pauseSplit ? "\\p" : "\\t";
}

std::string ExpandMacro(const std::string& entry, const TPassItem& item) {
    TMacroWriter writer;
    Expand(entry, item, writer);
    return writer.Take();
}

std::string BuildMacroText(const std::string& entry, bool addEnter, const TPassItem& item) {
    if (entry.empty()) return std::string();
    TMacroWriter writer;
    Expand(entry, item, writer);
    if (addEnter) {
        writer.DropOpenBackslash();
        writer.AppendByte('\\');
        writer.AppendByte('p');
        writer.AppendByte('\\');
        writer.AppendByte('n');
    }
    return writer.Take();
}

std::string BuildMacroText(int number, bool addEnter, const TPassItem& item) {
    return BuildMacroText(MacroEntry(FullMacroList(&item), number), addEnter, item);
}

}  // namespace torvane
