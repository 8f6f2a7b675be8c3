#include "store/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
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

bool CloseSynced(std::FILE* file, IFileOps& fileOps, std::string& error) {
    ClearErrno();
    bool ok = std::fflush(file) == 0;
    if (ok && SyncFile(file) != 0) ok = false;
    if (!ok) error = fileOps.ErrorText(LastErrno());
    ClearErrno();
    if (std::fclose(file) != 0 && ok) {
        error = fileOps.ErrorText(LastErrno());
        ok = false;
    }
    return ok;
}

// The permission bits of a file, or -1 when they cannot be learnt.
int PermissionsOf(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<int>(info.st_mode & 0777) : -1;
}

int PermissionsOf(std::FILE* file) {
    struct stat info;
    return fstat(fileno(file), &info) == 0 ? static_cast<int>(info.st_mode & 0777) : -1;
}

// Creates a file for writing under a name nobody uses; fails with EEXIST when the name is taken,
// also by a file made since anyone last looked, or by a symbolic link (which is never followed).
#ifdef _WIN32
std::FILE* CreateNewFile(const std::string& path, int /*permissions: Windows keeps none*/) {
    const int fd = _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* file = _fdopen(fd, "wb");
    if (!file) {
        _close(fd);
        std::remove(path.c_str());
    }
    return file;
}
#else
// A copy of a private file must not be readable by others, not even for a moment: the file is
// created with the permissions given (-1: the usual ones) less the umask, then given exactly them.
std::FILE* CreateNewFile(const std::string& path, int permissions) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions >= 0 ? permissions : 0666);
    if (fd < 0) return nullptr;
    // A file system without permission bits refuses, and then has none to keep anyway.
    if (permissions >= 0) static_cast<void>(fchmod(fd, static_cast<mode_t>(permissions)));
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        std::remove(path.c_str());
    }
    return file;
}
#endif

}  // namespace

bool FileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::string ErrnoText(int error) {
    return std::strerror(error);
}

void ClearErrno() {
    errno = 0;
#ifdef _WIN32
    _doserrno = 0;
#endif
}

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

TextLineReader::TextLineReader(std::FILE* file, LineRules rules)
    : file_(file), rules_(rules), buffer_(ReadChunkFor(file)) {}

bool TextLineReader::Fill() {
    pos_ = 0;
    end_ = 0;
    if (eof_) return false;
    ClearErrno();
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
    target_ = target;
    finished_ = committed_ = false;
    // The new version replaces the target whole, so it must carry the target's permissions: a
    // data file only its owner may read stays so after a save.
    const int permissions = PermissionsOf(target);
    // A name that is taken (by another file, or left by a save that was cut off) is passed
    // over, never overwritten.
    for (int i = 0; i < kMaxTempTries; ++i) {
        std::string name = target + ".~tmp" + (i == 0 ? std::string() : std::to_string(i));
        ClearErrno();
        file_ = CreateNewFile(name, permissions);
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
        return true;
    }
    error = fileOps_.ErrorText(EEXIST);
    return false;
}

bool AtomicFileWriter::Write(const std::string& text, std::string& error) {
    if (!file_) {
        ClearErrno();
        error = fileOps_.ErrorText(EBADF);
        return false;
    }
    pending_ += text;
    return pending_.size() < kWriteBuffer || Flush(error);
}

bool AtomicFileWriter::Flush(std::string& error) {
    ClearErrno();
    const bool ok = std::fwrite(pending_.data(), 1, pending_.size(), file_) == pending_.size();
    pending_.clear();
    if (!ok) error = fileOps_.ErrorText(LastErrno());
    return ok;
}

bool AtomicFileWriter::Finish(std::string& error) {
    if (!file_) {
        ClearErrno();
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

CopyResult CopyToNewFile(const std::string& source, const std::string& target, IFileOps& fileOps, std::string& error) {
    ClearErrno();
    std::FILE* in = std::fopen(source.c_str(), "rb");
    if (!in) {
        error = fileOps.ErrorText(LastErrno());
        return CopyResult::Failed;
    }
    ClearErrno();
    std::FILE* out = CreateNewFile(target, PermissionsOf(in));
    if (!out) {
        const int cause = LastErrno();
        if (cause != EEXIST) error = fileOps.ErrorText(cause);
        std::fclose(in);
        return cause == EEXIST ? CopyResult::TargetExists : CopyResult::Failed;
    }
    std::vector<char> buffer(kReadChunk);
    bool ok = true;
    for (;;) {
        ClearErrno();
        const size_t n = std::fread(buffer.data(), 1, buffer.size(), in);
        if (n == 0) {
            if (std::ferror(in)) {
                error = fileOps.ErrorText(LastErrno());
                ok = false;
            }
            break;
        }
        ClearErrno();
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
    if (!ok) std::remove(target.c_str());
    return ok ? CopyResult::Copied : CopyResult::Failed;
}

}  // namespace torvane
