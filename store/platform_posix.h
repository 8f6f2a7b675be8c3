#pragma once
// The platform's files on POSIX systems (the native builds).
#include <string>
#include <string_view>
#include <vector>

#include "store/platform.h"

namespace torvane {

class PosixFileOps : public IFileOps {
public:
    bool FileExists(const std::string& path) override;
    std::FILE* OpenRead(const std::string& path) override;
    std::FILE* CreateNew(const std::string& path, int permissions) override;
    int Permissions(const std::string& path) override;
    int Permissions(std::FILE* file) override;
    bool Sync(std::FILE* file) override;
    void Remove(const std::string& path) override;
    // std::rename: atomic on POSIX file systems.
    bool Replace(const std::string& source, const std::string& target, std::string& error) override;
    std::string ResolveLinks(const std::string& path) override;
    // Writable by nobody, or not by this user: replacing it would take another user's file.
    bool IsReadOnly(const std::string& path) override;
    std::vector<std::string> NamesStartingWith(const std::string& folder, const std::string& prefix) override;
    // iconv's CP932, which is the Windows table.
    bool ToShiftJis(std::u16string_view text, std::string& out) override;
};

}  // namespace torvane
