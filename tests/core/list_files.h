#pragma once
// Files for the record list and command line tests: a temporary folder removed afterwards,
// byte-exact file contents, the names a folder holds, and the platform's file replacement.
// Paths are Shift_JIS bytes, as the program's own; on Windows they are converted with code page
// 932, so the helpers agree with the program whatever the system's code page.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "store/platform.h"
#ifdef _WIN32
#include "win/platform_win.h"
#include "win/text.h"
#endif

namespace torvane::listtest {

inline std::filesystem::path FsPath(const std::string& path) {
#ifdef _WIN32
    return std::filesystem::path(win::ToWide(path));
#else
    return std::filesystem::path(path);
#endif
}

inline std::FILE* OpenFile(const std::string& path, bool write) {
#ifdef _WIN32
    return _wfopen(win::ToWide(path).c_str(), write ? L"wb" : L"rb");
#else
    return std::fopen(path.c_str(), write ? "wb" : "rb");
#endif
}

#ifdef _WIN32
using NativeFileOps = win::WinFileOps;
#else
using NativeFileOps = PosixFileOps;
#endif

class Folder {
public:
    Folder() {
        static std::atomic<int> counter{0};
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0;; ++attempt) {
            const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
            path_ = base / ("torvane-list-" + std::to_string(tick % 1000000007) + "-" + std::to_string(counter++));
            if (std::filesystem::create_directory(path_) || attempt > 100) break;
        }
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    std::string File(const std::string& name) const {
        return path_.string() + static_cast<char>(std::filesystem::path::preferred_separator) + name;
    }
    // The names in the folder, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
#ifdef _WIN32
            names.push_back(win::ToSjis(entry.path().filename().wstring()));
#else
            names.push_back(entry.path().filename().string());
#endif
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::string& path) {
    std::string content;
    if (std::FILE* file = OpenFile(path, false)) {
        char buffer[4096];
        size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, got);
        std::fclose(file);
    }
    return content;
}

inline void WriteBytes(const std::string& path, const std::string& content) {
    if (std::FILE* file = OpenFile(path, true)) {
        std::fwrite(content.data(), 1, content.size(), file);
        std::fclose(file);
    }
}

inline bool FileExists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(FsPath(path), ignored) && !std::filesystem::is_directory(FsPath(path), ignored);
}

// Refuses every replacement, as a locked or read-only target does.
class RefusingFileOps : public NativeFileOps {
public:
    bool Replace(const std::string&, const std::string&, std::string& error) override {
        ++calls;
        error = "replace refused";
        return false;
    }
    int calls = 0;
};

// The platform's file operations with error texts of its own, to show which messages are the
// platform's error texts.
class MarkedErrorsFileOps : public NativeFileOps {
public:
    std::string ErrorText(int errnoValue) override { return "[error " + std::to_string(errnoValue) + "]"; }
};

// Takes a folder for a file, so that reading it fails as an unreadable file does.
template <class Base>
class FoldersAsFiles : public Base {
public:
    bool FileExists(const std::string& path) override {
        std::error_code ignored;
        return std::filesystem::exists(FsPath(path), ignored);
    }
};

}  // namespace torvane::listtest

namespace torvane {
using listtest::FileExists;
}  // namespace torvane
