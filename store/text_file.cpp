#include "store/text_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace torvane {
namespace {

// Large enough that a data file of 100,000 records reads in few calls; a small file (a settings
// file) gets a buffer of its own size, as the allocation is then most of the cost of reading it.
constexpr size_t kReadChunk = 64 * 1024;
constexpr size_t kMinReadChunk = 4 * 1024;
constexpr size_t kWriteBuffer = 64 * 1024;
constexpr char kEndOfFile = 26;
constexpr int kMaxTempTries = 100;

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

// Pushes the file's data to the disk, so that a replace never exposes a file whose blocks are
// still only in the cache.
int SyncFile(std::FILE* file) {
#ifdef _WIN32
    return _commit(_fileno(file));
#else
    return fsync(fileno(file));
#endif
}

bool CloseSynced(std::FILE* file, std::string& error) {
    errno = 0;
    bool ok = std::fflush(file) == 0;
    if (ok && SyncFile(file) != 0) ok = false;
    if (!ok) error = ErrnoText(LastErrno());
    errno = 0;
    if (std::fclose(file) != 0 && ok) {
        error = ErrnoText(LastErrno());
        ok = false;
    }
    return ok;
}

}  // namespace

bool FileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::string ErrnoText(int error) {
    return std::strerror(error);
}

TextLineReader::TextLineReader(std::FILE* file) : file_(file), buffer_(ReadChunkFor(file)) {}

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
    if (stopped_ || error_ != 0) return false;
    if (pos_ == end_ && !Fill()) return false;
    if (skipLf_) {
        skipLf_ = false;
        if (buffer_[pos_] == '\n' && ++pos_ == end_ && !Fill()) return false;
    }
    if (buffer_[pos_] == kEndOfFile) {
        StopAt(pos_);
        return false;
    }
    for (;;) {
        const char* start = buffer_.data() + pos_;
        const size_t avail = end_ - pos_;
        const char* cr = static_cast<const char*>(std::memchr(start, '\r', avail));
        const size_t len = cr ? static_cast<size_t>(cr - start) : avail;
        if (const char* eofMark = static_cast<const char*>(std::memchr(start, kEndOfFile, len))) {
            const size_t before = static_cast<size_t>(eofMark - start);
            line.append(start, before);
            StopAt(pos_ + before);
            return true;  // a read error past the mark shows in Failed at the next call
        }
        line.append(start, len);
        pos_ += len;
        if (cr) {
            ++pos_;
            skipLf_ = true;
            endedAtCr_ = true;
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
    target_ = target;
    finished_ = committed_ = false;
    // A name that is taken (by another file, or left by a save that was cut off) is passed
    // over, never overwritten.
    for (int i = 0; i < kMaxTempTries; ++i) {
        std::string name = target + ".~tmp" + (i == 0 ? std::string() : std::to_string(i));
        if (FileExists(name)) continue;
        errno = 0;
        file_ = std::fopen(name.c_str(), "wb");
        if (!file_) {
            error = ErrnoText(LastErrno());
            return false;
        }
        tempPath_ = name;
        // Buffered here instead, growing with what is written: a small file never pays for a
        // large buffer.
        std::setvbuf(file_, nullptr, _IONBF, 0);
        pending_.clear();
        return true;
    }
    error = ErrnoText(EEXIST);
    return false;
}

bool AtomicFileWriter::Write(const std::string& text, std::string& error) {
    if (!file_) {
        error = ErrnoText(EBADF);
        return false;
    }
    pending_ += text;
    return pending_.size() < kWriteBuffer || Flush(error);
}

bool AtomicFileWriter::Flush(std::string& error) {
    errno = 0;
    const bool ok = std::fwrite(pending_.data(), 1, pending_.size(), file_) == pending_.size();
    pending_.clear();
    if (!ok) error = ErrnoText(LastErrno());
    return ok;
}

bool AtomicFileWriter::Finish(std::string& error) {
    if (!file_) {
        error = ErrnoText(EBADF);
        return false;
    }
    const bool flushed = Flush(error);
    std::FILE* file = file_;
    file_ = nullptr;
    if (!flushed) {
        std::fclose(file);
        return false;
    }
    finished_ = CloseSynced(file, error);
    return finished_;
}

bool AtomicFileWriter::Commit(std::string& error) {
    if (!finished_ && !Finish(error)) return false;
    if (!fileOps_.Replace(tempPath_, target_, error)) return false;
    committed_ = true;
    return true;
}

void AtomicFileWriter::Abandon() {
    pending_.clear();
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!committed_ && !tempPath_.empty()) std::remove(tempPath_.c_str());
    tempPath_.clear();
    finished_ = false;
}

bool CopyToNewFile(const std::string& source, const std::string& target, std::string& error) {
    if (FileExists(target)) {
        error = ErrnoText(EEXIST);
        return false;
    }
    errno = 0;
    std::FILE* in = std::fopen(source.c_str(), "rb");
    if (!in) {
        error = ErrnoText(LastErrno());
        return false;
    }
    std::FILE* out = std::fopen(target.c_str(), "wb");
    if (!out) {
        error = ErrnoText(LastErrno());
        std::fclose(in);
        return false;
    }
    std::vector<char> buffer(kReadChunk);
    bool ok = true;
    for (;;) {
        errno = 0;
        const size_t n = std::fread(buffer.data(), 1, buffer.size(), in);
        if (n == 0) {
            if (std::ferror(in)) {
                error = ErrnoText(LastErrno());
                ok = false;
            }
            break;
        }
        if (std::fwrite(buffer.data(), 1, n, out) != n) {
            error = ErrnoText(LastErrno());
            ok = false;
            break;
        }
    }
    std::fclose(in);
    if (ok) {
        ok = CloseSynced(out, error);
    } else {
        std::fclose(out);
    }
    if (!ok) std::remove(target.c_str());
    return ok;
}

}  // namespace torvane
