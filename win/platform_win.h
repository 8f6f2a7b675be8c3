#pragma once
// The Windows implementations of the core's platform interfaces.
#include "store/date.h"
#include "store/platform.h"

namespace torvane::win {

// The Japanese order of win/collate.h (CompareStringA's on a Japanese system).
class LocaleCollator : public ICollator {
public:
    int Compare(const std::string& a, const std::string& b) const override;
    // A sort key of the same order (win/collate.h).
    bool SortKey(const std::string& text, std::string& key) const override;
};

// The W file functions with paths converted with code page 932 (win/file_ops_win.cpp); a
// replace is MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH; error texts
// in the system's language.
class WinFileOps : public IFileOps {
public:
    bool FileExists(const std::string& path) override;
    std::FILE* OpenRead(const std::string& path) override;
    // CreateFileMappingW over the file's handle, on fixed disks only.
    std::unique_ptr<MappedBytes> MapRest(std::FILE* file) override;
    std::FILE* CreateNew(const std::string& path, int permissions) override;
    int Permissions(const std::string& path) override;
    int Permissions(std::FILE* file) override;
    bool Sync(std::FILE* file) override;
    void Remove(const std::string& path) override;
    bool Replace(const std::string& source, const std::string& target, std::string& error) override;
    // Symbolic links and other reparse points of the symbolic-link kind, dangling ones too.
    std::string ResolveLinks(const std::string& path) override;
    bool IsReadOnly(const std::string& path) override;
    std::vector<std::string> NamesStartingWith(const std::string& folder, const std::string& prefix) override;
    void ClearError() override;
    std::string ErrorText(int errnoValue) override;
    std::string AccessDeniedText() override;
    // WideCharToMultiByte with code page 932, whatever the system's code page.
    bool ToShiftJis(std::u16string_view text, std::string& out) override;
};

// GetLocalTime and GetSystemTime.
class WinClock : public IClock {
public:
    TDate Now() const override;
    TimeOfDay LocalTimeOfDay() const override;
    TimeOfDay UtcTimeOfDay() const override;
};

// The platform's text for an error code, in the user's language, Shift_JIS.
std::string SystemErrorText(unsigned long code);

}  // namespace torvane::win
