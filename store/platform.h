#pragma once
// What the portable core needs from the platform. The Windows build passes message boxes,
// the password dialog, CompareStringA and the W file functions; native builds and tests pass
// their own.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace torvane {

// One password dialog, kept for the duration of one request so its edit box keeps its text
// between two showings.
class IPasswordDialog {
public:
    virtual ~IPasswordDialog() = default;
    // True on OK with the entered text; false with an empty text on Cancel or close.
    virtual bool Show(const std::string& caption, std::string& text) = 0;
};

class IPrompts {
public:
    virtual ~IPrompts() = default;
    virtual void Warning(const std::string& text) = 0;  // caption "警告", button "OK"
    virtual void Error(const std::string& text) = 0;    // caption "エラー", button "OK"
    virtual void Plain(const std::string& text) = 0;    // the application's title as caption
    virtual std::unique_ptr<IPasswordDialog> CreatePasswordDialog() = 0;
};

// The sort order of texts: locale-aware on Windows, byte order elsewhere. Callable from several
// threads at once.
class ICollator {
public:
    virtual ~ICollator() = default;
    // Negative, zero or positive, like strcmp.
    virtual int Compare(const std::string& a, const std::string& b) const = 0;
    // A key whose byte order is the order of Compare, when the platform can give one: sorting
    // many texts by keys made once is far cheaper than comparing them pair by pair.
    virtual bool SortKey(const std::string& /*text*/, std::string& /*key*/) const { return false; }
};

class ByteCollator : public ICollator {
public:
    int Compare(const std::string& a, const std::string& b) const override { return a.compare(b); }
};

// A file's bytes as the system shows them in memory, read from the disk as they are touched.
class MappedBytes {
public:
    virtual ~MappedBytes() = default;
    virtual std::string_view Bytes() const = 0;
};

// The platform's files. Paths are Shift_JIS bytes, as all of the program's text; the Windows
// implementation converts them with code page 932 and calls the W functions, so a Japanese path
// works whatever the system's code page. A failed call leaves its cause in errno (and on Windows
// the system's code beside it) for ErrorText.
class IFileOps {
public:
    virtual ~IFileOps() = default;
    // True for an existing file, false for a folder or nothing.
    virtual bool FileExists(const std::string& path) = 0;
    // An existing file opened for reading in binary mode, or null.
    virtual std::FILE* OpenRead(const std::string& path) = 0;
    // A new file opened for writing in binary mode, or null. A name that is taken (by any kind
    // of entry, a link too, which is never followed) fails with errno EEXIST. permissions: the
    // mode bits the file gets (-1: the usual ones; a platform without them has none to keep).
    virtual std::FILE* CreateNew(const std::string& path, int permissions) = 0;
    // The mode bits of a file, or -1 when there are none to learn.
    virtual int Permissions(const std::string& path) = 0;
    virtual int Permissions(std::FILE* file) = 0;
    // Pushes the file's data to the disk, so a replace never exposes a file whose blocks are
    // only in the cache.
    virtual bool Sync(std::FILE* file) = 0;
    virtual void Remove(const std::string& path) = 0;
    // Replaces target by source in one step, so a reader sees the old file or the new one.
    // On failure, returns false with the platform's message in error; the target is untouched.
    virtual bool Replace(const std::string& source, const std::string& target, std::string& error) = 0;
    // The file that a save to path replaces: path itself, or the file its links lead to (which
    // may not exist yet), so the link stays a link.
    virtual std::string ResolveLinks(const std::string& path) = 0;
    // True when the file exists and is marked read-only.
    virtual bool IsReadOnly(const std::string& path) = 0;
    // The names (without the folder) in the folder that begin with prefix.
    virtual std::vector<std::string> NamesStartingWith(const std::string& folder, const std::string& prefix) = 0;
    // The open file's bytes from its position to its end, mapped into memory where that is as
    // safe as reading them (a file on a local disk, which nobody can shorten while it is mapped);
    // null where they are to be read. A platform whose fresh memory is dear saves copying a
    // whole data file into it.
    virtual std::unique_ptr<MappedBytes> MapRest(std::FILE* /*file*/) { return nullptr; }
    // Forgets the cause of an earlier failure, so that ErrorText tells the next one's.
    virtual void ClearError() { errno = 0; }
    // The text shown for a failed file operation that left errnoValue in errno. The C library's
    // own texts are English everywhere; a platform with texts in the user's language gives
    // those instead.
    virtual std::string ErrorText(int errnoValue) { return std::strerror(errnoValue); }
    // The system's text for a write refused to a read-only file.
    virtual std::string AccessDeniedText() { return ErrorText(EACCES); }
    // Appends the Shift_JIS form of UTF-16 text (a data file saved in Unicode); false when a
    // character has none. This fallback knows ASCII only.
    virtual bool ToShiftJis(std::u16string_view text, std::string& out);
};

}  // namespace torvane

// The native builds' implementation; its definitions exist there only.
#include "store/platform_posix.h"
