#pragma once
// Text files as the program reads and writes them: a line ends at CR (an LF right after it is
// skipped, a lone LF stays in the line), a character 26 ends the file, lines are written with
// CR LF. Writes go to a temporary file beside the target, which replaces it only when complete.
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "store/platform.h"

namespace torvane {

// How a file's lines end and where it ends.
struct LineRules {
    // '\r': a line ends at CR and an LF right after it is skipped; '\n': a line ends at LF (for
    // a file that holds no CR at all, as editors on other systems leave it).
    char lineEnd = '\r';
    // A character 26 ends the file (a data file); otherwise it is an ordinary byte.
    bool endMark = true;
    // A longer line stops the reading (TooLong); a file of one endless line never exhausts memory.
    size_t maxLine = static_cast<size_t>(-1);
};

// The longest record line a data file may hold.
constexpr size_t kMaxRecordLine = 64u * 1024 * 1024;

// '\r' when the file holds a CR before its end (or before a character 26 when endMark), '\n'
// when it holds none; reads from the current position and goes back to it. A scan that finds
// no line end at all within maxLine bytes stops there with '\r'.
char LineEndOf(std::FILE* file, bool endMark, size_t maxLine);

// Reads lines from a file opened in binary mode; the file stays the caller's.
class TextLineReader {
public:
    explicit TextLineReader(std::FILE* file, LineRules rules = {});

    // The next line without its end; false at the end of the file, at a character 26, on a
    // read error (Failed then tells) or at a line longer than the rules allow (TooLong).
    bool ReadLine(std::string& line);
    bool Failed() const { return error_ != 0; }
    int Error() const { return error_; }
    bool TooLong() const { return tooLong_; }
    // The number of the line last read, from 1.
    long long LineNumber() const { return lineNumber_; }
    // True when the line last read ended at a CR; false when it ended at the end of the file or
    // at a character 26.
    bool LineEndedAtCr() const { return endedAtCr_; }
    // True once reading stopped at a character 26 that is followed by more than further
    // characters 26 and line ends: the file holds data that was never read.
    bool TrailingData() const { return trailingData_; }

private:
    bool Fill();
    // Stops at the character 26 at buffer_[mark] and looks through the rest of the file.
    void StopAt(size_t mark);

    std::FILE* file_;
    LineRules rules_;
    std::vector<char> buffer_;
    size_t pos_ = 0;
    size_t end_ = 0;
    bool eof_ = false;      // no more bytes from the file
    bool stopped_ = false;  // a character 26 was met
    bool skipLf_ = false;   // the last line ended at CR and the LF after it is still to come
    bool endedAtCr_ = false;
    bool trailingData_ = false;
    bool tooLong_ = false;
    long long lineNumber_ = 0;
    int error_ = 0;
};

// A whole file's lines held in memory, split by the same rules as TextLineReader: the views
// point into the bytes given, which must outlive them.
struct SplitText {
    std::vector<std::string_view> lines;
    bool tooLong = false;       // as TextLineReader::TooLong; the lines before the long one are kept
    bool trailingData = false;  // as TextLineReader::TrailingData
};
SplitText SplitLines(std::string_view bytes, LineRules rules);
// LineEndOf for bytes in memory.
char LineEndIn(std::string_view bytes, bool endMark, size_t maxLine);
// Appends the rest of the file from its position in as few reads as its size allows; 0, or the
// errno of a read error (bytes holds what was read before it). Stops early once the bytes end
// in a line longer than maxLine, so that an endless file of one line never exhausts memory.
int ReadRest(std::FILE* file, std::string& bytes, size_t maxLine);

// Writes a new version of a file. Nothing reaches the target before Commit: a failure at any
// point leaves the target as it was and removes the temporary file. The new version keeps the
// target's permissions; a target that is a link stays one (the file it leads to is replaced);
// a read-only target is refused. Temporary files that an interrupted save of the same name left
// never make a save fail, and a committed save removes them. Error texts are those of the given
// file operations.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(IFileOps& fileOps) : fileOps_(fileOps) {}
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file in the target's folder; false with the error's text.
    bool Open(const std::string& target, std::string& error);
    // Buffered; false with the error's text once a write failed.
    bool Write(std::string_view text, std::string& error);
    // Flushes the data to the disk and closes the file; false with the error's text (a write error).
    bool Finish(std::string& error);
    // Replaces the target by the finished file; false with the platform's text.
    bool Commit(std::string& error);
    // Closes and removes the temporary file unless it was committed.
    void Abandon();

    const std::string& TempPath() const { return tempPath_; }

private:
    bool Flush(std::string& error);
    bool WriteOut(std::string_view text, std::string& error);

    IFileOps& fileOps_;
    std::FILE* file_ = nullptr;
    std::string pending_;
    std::string target_;
    std::string folder_;  // the target's folder, ending in its separator (or empty)
    std::string stem_;    // the temporary names' beginning: the target's name (cut to fit) and ".~tmp"
    std::string tempPath_;
    bool finished_ = false;
    bool committed_ = false;
    size_t unhinted_ = 0;  // bytes written since the system was last asked to start writing them out
};

enum class CopyResult { Copied, TargetExists, Failed };

// Copies source to a new file target with the source's permissions. A target name that is taken
// (by any kind of entry, even one made a moment ago) is left alone: TargetExists. On failure the
// error's text (from fileOps) is given, and a partial copy is removed.
CopyResult CopyToNewFile(const std::string& source, const std::string& target, IFileOps& fileOps, std::string& error);

}  // namespace torvane
