#pragma once
// What the portable core needs from the platform. The Windows build passes message boxes,
// the password dialog, CompareStringA and MoveFileExA; native builds and tests pass their own.
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

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

// File operations whose safe form differs per platform. Paths are Shift_JIS bytes.
class IFileOps {
public:
    virtual ~IFileOps() = default;
    // Replaces target by source in one step, so a reader sees the old file or the new one.
    // On failure, returns false with the platform's message in error; the target is untouched.
    virtual bool Replace(const std::string& source, const std::string& target, std::string& error) = 0;
    // The text shown for a failed file operation of the C library that left errnoValue in errno.
    // The C library's own texts are English everywhere; a platform with texts in the user's
    // language gives those instead.
    virtual std::string ErrorText(int errnoValue) { return std::strerror(errnoValue); }
    // Appends the Shift_JIS form of UTF-16 text (a data file saved in Unicode); false when a
    // character has none. This fallback knows ASCII only.
    virtual bool ToShiftJis(std::u16string_view text, std::string& out);
};

// The POSIX file operations (native builds; store/platform_posix.cpp): std::rename, which is
// atomic on POSIX file systems, and iconv's CP932.
class PosixFileOps : public IFileOps {
public:
    bool Replace(const std::string& source, const std::string& target, std::string& error) override;
    bool ToShiftJis(std::u16string_view text, std::string& out) override;
};

}  // namespace torvane
