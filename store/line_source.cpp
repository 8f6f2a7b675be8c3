#include "store/line_source.h"

#include <cerrno>

namespace torvane {
namespace {

constexpr char16_t kEndOfFile = 26;
// Stands for a byte sequence that is not UTF-8; no Shift_JIS character maps to it.
constexpr char16_t kInvalid = 0xFFFF;

LineRules RulesFor(std::FILE* file, TextEncoding encoding, size_t maxLine) {
    LineRules rules;
    rules.maxLine = maxLine;
    if (encoding == TextEncoding::ShiftJis) rules.lineEnd = LineEndOf(file, true, maxLine);
    return rules;
}

void AppendUtf8(const std::string& bytes, size_t from, std::u16string& out) {
    for (size_t i = from; i < bytes.size();) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        char32_t code = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool ok = extra >= 0 && i + static_cast<size_t>(extra) < bytes.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const unsigned char c = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
            if ((c & 0xC0) != 0x80) ok = false;
            code = (code << 6) | (c & 0x3F);
        }
        static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (!ok || code < kMinimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            out.push_back(kInvalid);
            ++i;
            continue;
        }
        i += static_cast<size_t>(extra) + 1;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
}

bool IsLineEndOrMark(char16_t c) {
    return c == u'\r' || c == u'\n' || c == kEndOfFile;
}

}  // namespace

TextEncoding EncodingOfMark(const std::string& firstBytes, size_t& markLength) {
    markLength = 0;
    if (firstBytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        markLength = 3;
        return TextEncoding::Utf8;
    }
    if (firstBytes.compare(0, 2, "\xFF\xFE") == 0) {
        markLength = 2;
        return TextEncoding::Utf16Le;
    }
    if (firstBytes.compare(0, 2, "\xFE\xFF") == 0) {
        markLength = 2;
        return TextEncoding::Utf16Be;
    }
    return TextEncoding::ShiftJis;
}

LineSource::LineSource(std::FILE* file, TextEncoding encoding, IFileOps& fileOps, size_t maxLine)
    : fileOps_(fileOps),
      unicode_(encoding != TextEncoding::ShiftJis),
      reader_(file, RulesFor(file, encoding, maxLine)) {
    if (unicode_) DecodeAll(file, encoding, maxLine);
}

// The whole file at once: a UTF-16 file's line ends are two bytes wide, and a file saved from
// a spreadsheet is small.
void LineSource::DecodeAll(std::FILE* file, TextEncoding encoding, size_t maxLine) {
    std::string bytes;
    std::vector<char> chunk(64 * 1024);
    for (;;) {
        const size_t n = std::fread(chunk.data(), 1, chunk.size(), file);
        if (n == 0) break;
        bytes.append(chunk.data(), n);
    }
    if (std::ferror(file)) {
        error_ = errno != 0 ? errno : EIO;
        return;
    }
    std::u16string text;
    if (encoding == TextEncoding::Utf8) {
        AppendUtf8(bytes, 0, text);
    } else {
        const bool little = encoding == TextEncoding::Utf16Le;
        text.reserve(bytes.size() / 2 + 1);
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const unsigned char a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
            text.push_back(static_cast<char16_t>(little ? a | b << 8 : b | a << 8));
        }
        if (bytes.size() % 2 != 0) text.push_back(kInvalid);
    }
    const bool crEnds = text.find(u'\r') != std::u16string::npos;
    const char16_t lineEnd = crEnds ? u'\r' : u'\n';
    size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == kEndOfFile) {
            for (size_t i = pos + 1; i < text.size(); ++i) trailingData_ = trailingData_ || !IsLineEndOrMark(text[i]);
            break;
        }
        size_t end = pos;
        while (end < text.size() && text[end] != lineEnd && text[end] != kEndOfFile) ++end;
        if (end - pos > maxLine) {
            tooLong_ = true;
            return;
        }
        lines_.push_back(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == lineEnd) {
            ++pos;
            if (crEnds && pos < text.size() && text[pos] == u'\n') ++pos;
        }
    }
}

bool LineSource::Next(SourceLine& line) {
    if (!unicode_) {
        if (!reader_.ReadLine(line.text)) return false;
        line.number = reader_.LineNumber();
        line.readable = true;
        return true;
    }
    if (next_ >= lines_.size()) return false;
    line.number = static_cast<long long>(next_) + 1;
    line.text.clear();
    line.readable = fileOps_.ToShiftJis(lines_[next_], line.text);
    ++next_;
    return true;
}

}  // namespace torvane
