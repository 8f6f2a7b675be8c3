#include "settings/init_file.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <string_view>
#include <utility>

#include "store/sjis.h"
#include "store/text_file.h"

namespace torvane {

namespace {

// A line without "=" has no name and never matches.
bool HasName(const std::string& line, const std::string& name) {
    const size_t eq = line.find('=');
    return eq != std::string::npos && SameTextIgnoringCase(std::string_view(line).substr(0, eq), name);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Decimal with an optional sign; blanks around the number are allowed because the file is
// edited by hand.
bool ParseInt32(std::string_view text, int32_t& value) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
    if (text.empty()) return false;
    int32_t parsed = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, parsed, 10);
    if (ec != std::errc() || ptr != end) return false;
    value = parsed;
    return true;
}

}  // namespace

TInitFile::TInitFile(std::string path, IFileOps& fileOps) : path_(std::move(path)), fileOps_(fileOps) {
    if (path_.empty()) return;
    fileOps_.ClearError();
    std::FILE* file = fileOps_.OpenRead(path_);
    if (!file) {
        // A missing file is the normal first start; any other failure is kept for UpdateFile.
        const int cause = errno != 0 ? errno : EIO;
        const std::string error = fileOps_.ErrorText(cause);
        if (cause != ENOENT || fileOps_.FileExists(path_)) readError_ = error;
        return;
    }
    // A character 26 ends a data file, not this one: every line after it would be lost when the
    // file is written again.
    LineRules rules;
    rules.endMark = false;
    TextLineReader reader(file, rules);
    std::string line;
    while (reader.ReadLine(line)) {
        // A settings file is often edited by hand with an editor that ends lines in LF alone:
        // every CR, LF or CR LF ends a line here, unlike in a data file.
        size_t start = 0;
        for (size_t lf = line.find('\n'); lf != std::string::npos; lf = line.find('\n', start)) {
            lines_.push_back(line.substr(start, lf - start));
            start = lf + 1;
        }
        // An LF that ends the file ends the last line; it does not start another. Before a CR
        // it still does: "A=1\n\r\n" is A=1 and an empty line.
        if (start == 0 || start < line.size() || reader.LineEndedAtCr()) lines_.push_back(line.substr(start));
    }
    if (reader.Failed()) readError_ = fileOps_.ErrorText(reader.Error());
    std::fclose(file);
}

TInitFile::~TInitFile() {
    if (!changed_) return;
    std::string ignored;
    UpdateFile(ignored);
}

size_t TInitFile::Find(const std::string& name) const {
    auto it = std::find_if(lines_.begin(), lines_.end(), [&](const std::string& line) { return HasName(line, name); });
    return static_cast<size_t>(it - lines_.begin());
}

std::optional<std::string> TInitFile::Value(const std::string& name) const {
    const size_t i = Find(name);
    if (i == lines_.size()) return std::nullopt;
    return lines_[i].substr(lines_[i].find('=') + 1);
}

int32_t TInitFile::ReadInteger(const std::string& name, int32_t def) const {
    const std::optional<std::string> text = Value(name);
    int32_t value = 0;
    return text && ParseInt32(*text, value) ? value : def;
}

void TInitFile::WriteInteger(const std::string& name, int32_t value) {
    WriteString(name, std::to_string(value));
}

bool TInitFile::ReadBool(const std::string& name, bool def) const {
    const std::optional<std::string> text = Value(name);
    return text ? *text == "1" : def;
}

void TInitFile::WriteBool(const std::string& name, bool value) {
    WriteString(name, value ? "1" : "0");
}

std::string TInitFile::ReadString(const std::string& name, const std::string& def) const {
    return Value(name).value_or(def);
}

void TInitFile::WriteString(const std::string& name, const std::string& value) {
    changed_ = true;
    // A line end in a value would split its line when the file is read again: the rest would come
    // back as a line of its own, even as another key. Such a value (a folder name with control
    // characters, say) is dropped like an empty one, so the key reads as its default next time.
    if (value.empty() || value.find_first_of("\r\n") != std::string::npos) {
        // Every line of the name goes, or a later duplicate would be read in its place.
        auto named = [&](const std::string& line) { return HasName(line, name); };
        lines_.erase(std::remove_if(lines_.begin(), lines_.end(), named), lines_.end());
        return;
    }
    std::string line = name + "=" + value;
    const size_t i = Find(name);
    if (i < lines_.size()) {
        lines_[i] = std::move(line);
    } else {
        lines_.push_back(std::move(line));
    }
}

bool TInitFile::UpdateFile(std::string& error) {
    changed_ = false;
    if (path_.empty()) return true;
    // Writing what was read of a file that could not be read whole would lose its other lines.
    if (!readError_.empty()) {
        error = readError_;
        return false;
    }
    std::string text;
    for (const std::string& line : lines_) text += line + "\r\n";
    AtomicFileWriter writer(fileOps_);
    return writer.Open(path_, error) && writer.Write(text, error) && writer.Commit(error);
}

}  // namespace torvane
