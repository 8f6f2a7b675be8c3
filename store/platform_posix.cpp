#include "store/platform_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace torvane {

bool PosixFileOps::FileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::FILE* PosixFileOps::OpenRead(const std::string& path) {
    return std::fopen(path.c_str(), "rb");
}

// A copy of a private file must not be readable by others, not even for a moment: the file is
// created with the permissions given less the umask, then given exactly them.
std::FILE* PosixFileOps::CreateNew(const std::string& path, int permissions) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions >= 0 ? permissions : 0666);
    if (fd < 0) return nullptr;
    // A file system without permission bits refuses, and then has none to keep anyway.
    if (permissions >= 0) static_cast<void>(fchmod(fd, static_cast<mode_t>(permissions)));
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        unlink(path.c_str());
    }
    return file;
}

int PosixFileOps::Permissions(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<int>(info.st_mode & 0777) : -1;
}

int PosixFileOps::Permissions(std::FILE* file) {
    struct stat info;
    return fstat(fileno(file), &info) == 0 ? static_cast<int>(info.st_mode & 0777) : -1;
}

bool PosixFileOps::Sync(std::FILE* file) {
    return fsync(fileno(file)) == 0;
}

void PosixFileOps::Remove(const std::string& path) {
    unlink(path.c_str());
}

bool PosixFileOps::Replace(const std::string& source, const std::string& target, std::string& error) {
    if (std::rename(source.c_str(), target.c_str()) == 0) return true;
    error = ErrorText(errno);
    return false;
}

std::string PosixFileOps::ResolveLinks(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {  // the system's own limit for a chain of links
        struct stat info;
        if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        std::string target(4096, '\0');
        const ssize_t n = readlink(current.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<size_t>(n) >= target.size()) return current;
        target.resize(static_cast<size_t>(n));
        if (target[0] != '/') {
            const size_t slash = current.rfind('/');
            if (slash != std::string::npos) target = current.substr(0, slash + 1) + target;
        }
        current = target;
    }
    return current;
}

bool PosixFileOps::IsReadOnly(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
    return (info.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0;
}

std::vector<std::string> PosixFileOps::NamesStartingWith(const std::string& folder, const std::string& prefix) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) == 0) names.push_back(name);
    }
    closedir(dir);
    return names;
}

bool PosixFileOps::ToShiftJis(std::u16string_view text, std::string& out) {
    if (text.empty()) return true;
    const iconv_t cd = iconv_open("CP932", "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1)) return IFileOps::ToShiftJis(text, out);
    std::string in;
    in.reserve(text.size() * 2);
    for (const char16_t c : text) {
        in.push_back(static_cast<char>(c & 0xFF));
        in.push_back(static_cast<char>(c >> 8));
    }
    const size_t start = out.size();
    out.resize(start + text.size() * 2 + 4);  // one or two bytes per UTF-16 unit
    char* src = in.data();
    size_t srcLeft = in.size();
    char* dst = out.data() + start;
    size_t dstLeft = out.size() - start;
    const bool ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1) && srcLeft == 0;
    iconv_close(cd);
    out.resize(ok ? out.size() - dstLeft : start);
    return ok;
}

}  // namespace torvane
