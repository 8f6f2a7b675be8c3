#include "store/text_file.h"

#include <sys/stat.h>
#ifdef __linux__
#include <fcntl.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "store/sjis.h"

namespace torvane {
namespace {

// Large enough that a data file of 100,000 records reads in few calls; a small file (a settings
// file) gets a buffer of its own size, as the allocation is then most of the cost of reading it.
constexpr size_t kReadChunk = 64 * 1024;
constexpr size_t kReadPiece = 1024 * 1024;
constexpr size_t kMinReadChunk = 4 * 1024;
constexpr size_t kWriteBuffer = 64 * 1024;
#ifdef __linux__
constexpr size_t kWritebackStep = 4 * 1024 * 1024;
#endif
constexpr char kEndOfFile = 26;
constexpr int kMaxTempTries = 1000;
// A file name's length limit (255 bytes on POSIX, 255 characters on Windows): the temporary
// name of a file whose name is that long must still fit.
constexpr size_t kMaxNameBytes = 255;
constexpr char kTempMark[] = ".~tmp";
constexpr size_t kTempSuffixDigits = 8;

int LastErrno() {
    return errno != 0 ? errno : EIO;
}

// The bytes left to read from the file's position, or kReadChunk when that is not known.
size_t ReadChunkFor(std::FILE* file) {
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) return kReadChunk;
    const long at = std::ftell(file);
    const long long left = static_cast<long long>(info.st_size) - (at > 0 ? at : 0);
    // One more than the rest, so that the first read already meets the end.
    if (left < 0 || left >= static_cast<long long>(kReadChunk)) return kReadChunk;
    return std::max(kMinReadChunk, static_cast<size_t>(left) + 1);
}

bool IsLineEndOrEndMark(char c) {
    return c == '\r' || c == '\n' || c == kEndOfFile;
}

bool CloseSynced(std::FILE* file, IFileOps& fileOps, std::string& error) {
    fileOps.ClearError();
    bool ok = std::fflush(file) == 0;
    if (ok && !fileOps.Sync(file)) ok = false;
    if (!ok) error = fileOps.ErrorText(LastErrno());
    fileOps.ClearError();
    if (std::fclose(file) != 0 && ok) {
        error = fileOps.ErrorText(LastErrno());
        ok = false;
    }
    return ok;
}

// Where the name begins: after the last "\", "/" or ":" that is no second byte of a character.
size_t NameStart(const std::string& path) {
    size_t start = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsLeadByte(path[i])) {
            ++i;
        } else if (path[i] == '\\' || path[i] == '/' || path[i] == ':') {
            start = i + 1;
        }
    }
    return start;
}

// The name without its folder, cut at a character boundary so that the temporary marks fit
// after it.
std::string TempStem(const std::string& name) {
    const size_t room = kMaxNameBytes - (sizeof kTempMark - 1) - kTempSuffixDigits;
    size_t end = 0;
    for (size_t i = 0; i < name.size();) {
        const size_t width = IsLeadByte(name[i]) && i + 1 < name.size() ? 2 : 1;
        if (i + width > room) break;
        i += width;
        end = i;
    }
    return name.substr(0, end) + kTempMark;
}

// Eight hex digits that differ between calls and runs: a name left by another save is passed
// over, never overwritten, and is no reason to fail.
std::string TempSuffix() {
    static unsigned long long counter = 0;
    unsigned long long x = static_cast<unsigned long long>(
                               std::chrono::steady_clock::now().time_since_epoch().count()) ^
                           (++counter * 0x9E3779B97F4A7C15ull);
    x ^= x >> 29;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 32;
    char digits[kTempSuffixDigits + 1];
    std::snprintf(digits, sizeof digits, "%08llx", x & 0xFFFFFFFFull);
    return digits;
}

// What follows the stem in a temporary name: hex digits, or (from older saves) decimal ones or
// none at all.
bool IsTempSuffix(const std::string& rest) {
    return rest.size() <= kTempSuffixDigits &&
           std::all_of(rest.begin(), rest.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

}  // namespace

char LineEndOf(std::FILE* file, bool endMark, size_t maxLine) {
    const long start = std::ftell(file);
    std::vector<char> buffer(kReadChunk);
    char found = '\n';
    size_t sinceLf = 0;
    for (bool scanning = true; scanning;) {
        const size_t n = std::fread(buffer.data(), 1, buffer.size(), file);
        if (n == 0) break;
        for (size_t i = 0; i < n; ++i) {
            const char c = buffer[i];
            if (c == '\r' || (endMark && c == kEndOfFile)) {
                found = c == '\r' ? '\r' : '\n';
                scanning = false;
                break;
            }
            sinceLf = c == '\n' ? 0 : sinceLf + 1;
            if (sinceLf > maxLine) {
                found = '\r';
                scanning = false;
                break;
            }
        }
    }
    std::clearerr(file);
    if (start >= 0) std::fseek(file, start, SEEK_SET);
    return found;
}

char LineEndIn(std::string_view bytes, bool endMark, size_t maxLine) {
    size_t sinceLf = 0;
    for (const char c : bytes) {
        if (c == '\r') return '\r';
        if (endMark && c == kEndOfFile) return '\n';
        sinceLf = c == '\n' ? 0 : sinceLf + 1;
        if (sinceLf > maxLine) return '\r';
    }
    return '\n';
}

SplitText SplitLines(std::string_view bytes, LineRules rules) {
    SplitText split;
    const char* const data = bytes.data();
    const size_t end = bytes.size();
    size_t pos = 0;
    bool skipLf = false;
    while (pos < end) {
        if (skipLf && data[pos] == '\n' && ++pos == end) break;
        skipLf = false;
        const char* start = data + pos;
        const size_t avail = end - pos;
        const char* lineEnd = static_cast<const char*>(std::memchr(start, rules.lineEnd, avail));
        const size_t len = lineEnd ? static_cast<size_t>(lineEnd - start) : avail;
        const char* mark = rules.endMark ? static_cast<const char*>(std::memchr(start, kEndOfFile, len)) : nullptr;
        if (mark == start) {
            split.trailingData = !std::all_of(start + 1, data + end, IsLineEndOrEndMark);
            break;
        }
        const size_t take = mark ? static_cast<size_t>(mark - start) : len;
        if (take > rules.maxLine) {
            split.tooLong = true;
            break;
        }
        split.lines.emplace_back(start, take);
        if (mark) {
            split.trailingData = !std::all_of(mark + 1, data + end, IsLineEndOrEndMark);
            break;
        }
        pos += len + (lineEnd ? 1 : 0);
        skipLf = lineEnd && rules.lineEnd == '\r';
    }
    return split;
}

int ReadRest(std::FILE* file, std::string& bytes, size_t maxLine) {
    struct stat info;
    const long at = std::ftell(file);
    size_t chunk = kReadChunk;
    if (fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode) && at >= 0 && info.st_size > at) {
        // One more than the rest, so that the first read already meets the end.
        chunk = static_cast<size_t>(info.st_size - at) + 1;
    }
    size_t run = 0;  // bytes since the last line end or character 26
    for (;;) {
        const size_t old = bytes.size();
        bytes.resize(old + chunk);
        errno = 0;
        // In pieces: under Wine one read of many megabytes takes ten times as long as the same
        // bytes read a megabyte at a time.
        size_t n = 0;
        for (size_t piece = 0; n < chunk; n += piece) {
            piece = std::fread(&bytes[old + n], 1, std::min(chunk - n, kReadPiece), file);
            if (piece == 0) break;
        }
        bytes.resize(old + n);
        if (n < chunk) return std::ferror(file) ? LastErrno() : 0;
        size_t last = old + n;
        while (last > old && !IsLineEndOrEndMark(bytes[last - 1])) --last;
        run = last > old ? old + n - last : run + n;
        // The line now read is too long already, whatever follows: an endless stream ends here.
        if (run > maxLine) return 0;
        chunk = std::max(chunk, kReadChunk);
    }
}

TextLineReader::TextLineReader(std::FILE* file, LineRules rules)
    : file_(file), rules_(rules), buffer_(ReadChunkFor(file)) {}

bool TextLineReader::Fill() {
    pos_ = 0;
    end_ = 0;
    if (eof_) return false;
    errno = 0;
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    if (end_ > 0) return true;
    eof_ = true;
    if (std::ferror(file_)) error_ = LastErrno();
    return false;
}

// Nothing after the mark is read as lines. A file whose lines merely end with the mark (old
// editors wrote one, sometimes after an empty line) is complete; anything else after it is data
// that a caller must not take for the whole file.
void TextLineReader::StopAt(size_t mark) {
    stopped_ = true;
    pos_ = mark + 1;
    for (;;) {
        for (; pos_ < end_; ++pos_) {
            if (!IsLineEndOrEndMark(buffer_[pos_])) {
                trailingData_ = true;
                return;
            }
        }
        if (!Fill()) return;
    }
}

bool TextLineReader::ReadLine(std::string& line) {
    line.clear();
    endedAtCr_ = false;
    if (stopped_ || error_ != 0 || tooLong_) return false;
    if (pos_ == end_ && !Fill()) return false;
    if (skipLf_) {
        skipLf_ = false;
        if (buffer_[pos_] == '\n' && ++pos_ == end_ && !Fill()) return false;
    }
    if (rules_.endMark && buffer_[pos_] == kEndOfFile) {
        StopAt(pos_);
        return false;
    }
    ++lineNumber_;
    for (;;) {
        const char* start = buffer_.data() + pos_;
        const size_t avail = end_ - pos_;
        const char* cr = static_cast<const char*>(std::memchr(start, rules_.lineEnd, avail));
        const size_t len = cr ? static_cast<size_t>(cr - start) : avail;
        const char* eofMark =
            rules_.endMark ? static_cast<const char*>(std::memchr(start, kEndOfFile, len)) : nullptr;
        const size_t take = eofMark ? static_cast<size_t>(eofMark - start) : len;
        if (line.size() + take > rules_.maxLine) {
            tooLong_ = true;
            line.clear();
            return false;
        }
        if (eofMark) {
            line.append(start, take);
            StopAt(pos_ + take);
            return true;  // a read error past the mark shows in Failed at the next call
        }
        line.append(start, len);
        pos_ += len;
        if (cr) {
            ++pos_;
            skipLf_ = rules_.lineEnd == '\r';
            endedAtCr_ = rules_.lineEnd == '\r';
            return true;
        }
        // The line goes on in the next chunk, or the file ends without a line end.
        if (!Fill()) return error_ == 0;
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    Abandon();
}

bool AtomicFileWriter::Open(const std::string& target, std::string& error) {
    Abandon();
    // A link stays a link: the file it leads to is the one replaced.
    target_ = fileOps_.ResolveLinks(target);
    finished_ = committed_ = false;
    // The user froze the file; replacing it would thaw it.
    if (fileOps_.IsReadOnly(target_)) {
        error = fileOps_.AccessDeniedText();
        return false;
    }
    // The new version replaces the target whole, so it must carry the target's permissions: a
    // data file only its owner may read stays so after a save.
    const int permissions = fileOps_.Permissions(target_);
    const size_t nameStart = NameStart(target_);
    folder_ = target_.substr(0, nameStart);
    stem_ = TempStem(target_.substr(nameStart));
    for (int i = 0; i < kMaxTempTries; ++i) {
        std::string name = folder_ + stem_ + TempSuffix();
        fileOps_.ClearError();
        file_ = fileOps_.CreateNew(name, permissions);
        if (!file_) {
            const int cause = LastErrno();
            if (cause == EEXIST) continue;
            error = fileOps_.ErrorText(cause);
            return false;
        }
        tempPath_ = name;
        // Buffered here instead, growing with what is written: a small file never pays for a
        // large buffer.
        std::setvbuf(file_, nullptr, _IONBF, 0);
        pending_.clear();
        unhinted_ = 0;
        return true;
    }
    error = fileOps_.ErrorText(EEXIST);
    return false;
}

bool AtomicFileWriter::Write(std::string_view text, std::string& error) {
    if (!file_) {
        fileOps_.ClearError();
        error = fileOps_.ErrorText(EBADF);
        return false;
    }
    if (pending_.size() + text.size() < kWriteBuffer) {
        pending_.append(text);
        return true;
    }
    // A text as large as the buffer goes to the file as it is, not copied through the buffer.
    if (!Flush(error)) return false;
    if (text.size() < kWriteBuffer) {
        pending_.append(text);
        return true;
    }
    return WriteOut(text, error);
}

bool AtomicFileWriter::Flush(std::string& error) {
    const bool ok = WriteOut(pending_, error);
    pending_.clear();
    return ok;
}

bool AtomicFileWriter::WriteOut(std::string_view text, std::string& error) {
    fileOps_.ClearError();
    const bool ok = std::fwrite(text.data(), 1, text.size(), file_) == text.size();
    if (!ok) error = fileOps_.ErrorText(LastErrno());
#ifdef __linux__
    // The disk starts on what is written while the rest is made, so that the flush at the end
    // waits for the last part only. A hint: its failure changes nothing.
    unhinted_ += text.size();
    if (ok && unhinted_ >= kWritebackStep) {
        sync_file_range(fileno(file_), 0, 0, SYNC_FILE_RANGE_WRITE);
        unhinted_ = 0;
    }
#endif
    return ok;
}

bool AtomicFileWriter::Finish(std::string& error) {
    if (!file_) {
        fileOps_.ClearError();
        error = fileOps_.ErrorText(EBADF);
        return false;
    }
    const bool flushed = Flush(error);
    std::FILE* file = file_;
    file_ = nullptr;
    if (!flushed) {
        std::fclose(file);
        return false;
    }
    finished_ = CloseSynced(file, fileOps_, error);
    return finished_;
}

bool AtomicFileWriter::Commit(std::string& error) {
    if (!finished_ && !Finish(error)) return false;
    if (!fileOps_.Replace(tempPath_, target_, error)) return false;
    committed_ = true;
    // Temporary files of this name that an interrupted save left behind.
    for (const std::string& name : fileOps_.NamesStartingWith(folder_, stem_)) {
        if (IsTempSuffix(name.substr(stem_.size()))) fileOps_.Remove(folder_ + name);
    }
    return true;
}

void AtomicFileWriter::Abandon() {
    pending_.clear();
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!committed_ && !tempPath_.empty()) fileOps_.Remove(tempPath_);
    tempPath_.clear();
    finished_ = false;
}

CopyResult CopyToNewFile(const std::string& source, const std::string& target, IFileOps& fileOps, std::string& error) {
    fileOps.ClearError();
    std::FILE* in = fileOps.OpenRead(source);
    if (!in) {
        error = fileOps.ErrorText(LastErrno());
        return CopyResult::Failed;
    }
    fileOps.ClearError();
    std::FILE* out = fileOps.CreateNew(target, fileOps.Permissions(in));
    if (!out) {
        const int cause = LastErrno();
        if (cause != EEXIST) error = fileOps.ErrorText(cause);
        std::fclose(in);
        return cause == EEXIST ? CopyResult::TargetExists : CopyResult::Failed;
    }
    std::vector<char> buffer(kReadChunk);
    bool ok = true;
    for (;;) {
        fileOps.ClearError();
        const size_t n = std::fread(buffer.data(), 1, buffer.size(), in);
        if (n == 0) {
            if (std::ferror(in)) {
                error = fileOps.ErrorText(LastErrno());
                ok = false;
            }
            break;
        }
        fileOps.ClearError();
        if (std::fwrite(buffer.data(), 1, n, out) != n) {
            error = fileOps.ErrorText(LastErrno());
            ok = false;
            break;
        }
    }
    std::fclose(in);
    if (ok) {
        ok = CloseSynced(out, fileOps, error);
    } else {
        std::fclose(out);
    }
    if (!ok) fileOps.Remove(target);
    return ok ? CopyResult::Copied : CopyResult::Failed;
}

}  // namespace torvane
