#pragma once
// The settings file: an ordered list of lines, each a name, "=" and a value, with no sections.
// A line's name is the text before its first "=" and is matched without regard to ASCII letter
// case; the first matching line is the one read or replaced. Lines without "=" and lines with
// names nobody asks for stay where they are.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/platform.h"

namespace torvane {

class TInitFile {
public:
    // Reads the file's lines when it exists; otherwise starts with none. A file that exists but
    // cannot be read starts with none too, and is then never written over.
    TInitFile(std::string path, IFileOps& fileOps);
    // Writes the lines back when the path is not empty and a Write... call changed them.
    // A failure here is silent; call UpdateFile first to learn of it.
    ~TInitFile();
    TInitFile(const TInitFile&) = delete;
    TInitFile& operator=(const TInitFile&) = delete;

    // A value that is not a decimal 32-bit integer reads as the default, like an absent one.
    int32_t ReadInteger(const std::string& name, int32_t def) const;
    void WriteInteger(const std::string& name, int32_t value);
    // Exactly "1" is true; any other value of a present line is false.
    bool ReadBool(const std::string& name, bool def) const;
    void WriteBool(const std::string& name, bool value);
    std::string ReadString(const std::string& name, const std::string& def) const;
    // An empty value, and one that holds a CR or an LF (which the file cannot keep within one
    // line), deletes the name's lines instead, so that it reads as absent afterwards.
    void WriteString(const std::string& name, const std::string& value);

    // Writes the lines now, each followed by CR LF, into a temporary file beside the target that
    // then replaces it, and clears the changed mark whatever the outcome. False with the reason
    // on failure; the file on disk then keeps its previous content and no temporary file stays.
    bool UpdateFile(std::string& error);

    bool Modified() const { return changed_; }
    const std::string& FileName() const { return path_; }
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    // Index of the first line with that name, or lines_.size().
    size_t Find(const std::string& name) const;
    std::optional<std::string> Value(const std::string& name) const;

    std::string path_;
    IFileOps& fileOps_;
    std::vector<std::string> lines_;
    std::string readError_;
    bool changed_ = false;
};

}  // namespace torvane
