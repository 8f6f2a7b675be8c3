#pragma once
// The lines of a data file as the record list reads them: Shift_JIS lines with their numbers,
// from a file in the program's own encoding or from one that a spreadsheet or an editor saved
// as UTF-8 or UTF-16 with a byte-order mark.
#include <cstdio>
#include <string>
#include <vector>

#include "store/platform.h"
#include "store/text_file.h"

namespace torvane {

struct SourceLine {
    std::string text;
    long long number = 0;   // from 1
    bool readable = true;   // false: a line of a Unicode file that Shift_JIS cannot hold
};

enum class TextEncoding { ShiftJis, Utf8, Utf16Le, Utf16Be };

// The encoding that the file's byte-order mark names; the mark's length in markLength.
TextEncoding EncodingOfMark(const std::string& firstBytes, size_t& markLength);

class LineSource {
public:
    // Reads the file from its current position. A Unicode file is read whole and converted with
    // the platform's conversion; its lines end as a data file's do.
    LineSource(std::FILE* file, TextEncoding encoding, IFileOps& fileOps, size_t maxLine = kMaxRecordLine);
    bool Next(SourceLine& line);

    bool Failed() const { return error_ != 0 || (!unicode_ && reader_.Failed()); }
    int Error() const { return error_ != 0 ? error_ : reader_.Error(); }
    bool TooLong() const { return tooLong_ || reader_.TooLong(); }
    bool TrailingData() const { return trailingData_ || reader_.TrailingData(); }

private:
    void DecodeAll(std::FILE* file, TextEncoding encoding, size_t maxLine);

    IFileOps& fileOps_;
    bool unicode_;
    TextLineReader reader_;
    std::vector<std::u16string> lines_;
    size_t next_ = 0;
    int error_ = 0;
    bool tooLong_ = false;
    bool trailingData_ = false;
};

}  // namespace torvane
