#include "autoinput/comma_list.h"

#include "store/comma_text.h"

namespace torvane {

namespace {

bool IsBlank(char c) {
    const unsigned char b = static_cast<unsigned char>(c);
    return b >= 1 && b <= 32;
}

bool NeedsQuotes(const std::string& entry) {
    for (char c : entry) {
        if (IsBlank(c) || c == '"' || c == ',') return true;
    }
    return false;
}

std::string Quoted(const std::string& entry) {
    std::string out;
    out.reserve(entry.size() + 2);
    out += '"';
    for (char c : entry) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

}  // namespace

// The record line's splitter reads macro lists too; here a space separates entries as well.
std::vector<std::string> ReadCommaList(const std::string& text) {
    std::vector<std::string> entries;
    CommaSplitter splitter(text, CommaBlanks::ControlsAndSpace);
    CommaField field;
    while (splitter.Next(field)) entries.push_back(field.Text());
    return entries;
}

std::string WriteCommaList(const std::vector<std::string>& entries) {
    std::string out;
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string& entry = entries[i];
        if (i > 0) out += ',';
        // An empty last entry written bare would leave a trailing comma, which reads as no
        // entry at all; quoted it survives (this also gives "" for a list of one empty entry).
        const bool lastAndEmpty = entry.empty() && i + 1 == entries.size();
        out += NeedsQuotes(entry) || lastAndEmpty ? Quoted(entry) : entry;
    }
    return out;
}

}  // namespace torvane
