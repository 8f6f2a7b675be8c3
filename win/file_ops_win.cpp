// WinFileOps: the platform's files through the W functions, with Shift_JIS paths converted
// with code page 932 whatever the system's code page is.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <winioctl.h>

#include <cerrno>
#include <cstdlib>

#include "win/platform_win.h"
#include "win/text.h"

namespace torvane::win {
namespace {

// The C library's errno for a system code, with the code kept beside it for ErrorText.
void SetErrno(DWORD code) {
    _doserrno = code;
    switch (code) {
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            errno = EEXIST;
            break;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            errno = ENOENT;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            errno = EACCES;
            break;
        default:
            errno = EIO;
    }
}

// A symbolic link's target as its reparse data names it (for a link whose target is gone).
struct SymlinkReparse {
    DWORD tag;
    WORD dataLength;
    WORD reserved;
    WORD substituteOffset;
    WORD substituteLength;
    WORD printOffset;
    WORD printLength;
    ULONG flags;
    WCHAR path[1];
};
constexpr ULONG kSymlinkRelative = 1;

std::wstring LinkTarget(const std::wstring& link) {
    const HANDLE h = CreateFileW(link.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::vector<BYTE> buffer(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
    DWORD got = 0;
    const BOOL ok = DeviceIoControl(h, FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer.data(),
                                    static_cast<DWORD>(buffer.size()), &got, nullptr);
    CloseHandle(h);
    const auto* data = reinterpret_cast<const SymlinkReparse*>(buffer.data());
    if (!ok || got < sizeof(SymlinkReparse) || data->tag != IO_REPARSE_TAG_SYMLINK) return {};
    std::wstring target(data->path + data->printOffset / sizeof(WCHAR), data->printLength / sizeof(WCHAR));
    if (target.empty()) {
        target.assign(data->path + data->substituteOffset / sizeof(WCHAR), data->substituteLength / sizeof(WCHAR));
        if (target.rfind(L"\\??\\", 0) == 0) target.erase(0, 4);
    }
    if (data->flags & kSymlinkRelative) {
        const size_t slash = link.find_last_of(L"\\/");
        if (slash != std::wstring::npos) target = link.substr(0, slash + 1) + target;
    }
    return target;
}

}  // namespace

bool WinFileOps::FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::FILE* WinFileOps::OpenRead(const std::string& path) {
    return _wfopen(ToWide(path).c_str(), L"rb");
}

namespace {

class MappedView : public MappedBytes {
public:
    MappedView(HANDLE mapping, const char* view, size_t offset, size_t size)
        : mapping_(mapping), view_(view), offset_(offset), size_(size) {}
    ~MappedView() override {
        UnmapViewOfFile(view_);
        CloseHandle(mapping_);
    }
    std::string_view Bytes() const override { return {view_ + offset_, size_}; }

private:
    HANDLE mapping_;
    const char* view_;
    size_t offset_;
    size_t size_;
};

// A file on a network share or a removable disk may vanish while it is mapped, and touching its
// pages would then end the program instead of failing a read.
bool OnFixedDisk(HANDLE file) {
    wchar_t path[MAX_PATH + 8];
    const DWORD n = GetFinalPathNameByHandleW(file, path, MAX_PATH + 8, VOLUME_NAME_DOS);
    // "\\?\C:\...": a drive letter; a share reads "\\?\UNC\...".
    if (n < 7 || n >= MAX_PATH + 8 || path[5] != L':') return false;
    const wchar_t root[] = {path[4], L':', L'\\', 0};
    return GetDriveTypeW(root) == DRIVE_FIXED;
}

}  // namespace

std::unique_ptr<MappedBytes> WinFileOps::MapRest(std::FILE* file) {
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    LARGE_INTEGER size;
    const long long at = _ftelli64(file);
    if (h == INVALID_HANDLE_VALUE || GetFileType(h) != FILE_TYPE_DISK || !GetFileSizeEx(h, &size) || at < 0 ||
        size.QuadPart <= at || !OnFixedDisk(h)) {
        return nullptr;
    }
    const HANDLE mapping = CreateFileMappingW(h, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping) return nullptr;
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    if (!view) {
        CloseHandle(mapping);
        return nullptr;
    }
    return std::make_unique<MappedView>(mapping, static_cast<const char*>(view), static_cast<size_t>(at),
                                        static_cast<size_t>(size.QuadPart - at));
}

std::FILE* WinFileOps::CreateNew(const std::string& path, int /*permissions: Windows keeps none*/) {
    const HANDLE h = CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        SetErrno(GetLastError());
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_BINARY);
    std::FILE* file = fd >= 0 ? _fdopen(fd, "wb") : nullptr;
    if (!file) {
        if (fd >= 0) {
            _close(fd);
        } else {
            CloseHandle(h);
        }
        DeleteFileW(ToWide(path).c_str());
    }
    return file;
}

int WinFileOps::Permissions(const std::string&) {
    return -1;
}

int WinFileOps::Permissions(std::FILE*) {
    return -1;
}

bool WinFileOps::Sync(std::FILE* file) {
    return _commit(_fileno(file)) == 0;
}

void WinFileOps::Remove(const std::string& path) {
    DeleteFileW(ToWide(path).c_str());
}

bool WinFileOps::Replace(const std::string& source, const std::string& target, std::string& error) {
    if (MoveFileExW(ToWide(source).c_str(), ToWide(target).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    error = SystemErrorText(GetLastError());
    return false;
}

std::string WinFileOps::ResolveLinks(const std::string& path) {
    std::wstring current = ToWide(path);
    for (int hop = 0; hop < 40; ++hop) {
        const DWORD attributes = GetFileAttributesW(current.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) break;
        const std::wstring target = LinkTarget(current);
        if (target.empty()) break;
        current = target;
    }
    // Only a path that comes back unchanged from code page 932 can be handed on.
    const std::string resolved = ToSjis(current);
    return ToWide(resolved) == current ? resolved : path;
}

bool WinFileOps::IsReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_READONLY);
}

std::string WinFileOps::AccessDeniedText() {
    return SystemErrorText(ERROR_ACCESS_DENIED);
}

std::vector<std::string> WinFileOps::NamesStartingWith(const std::string& folder, const std::string& prefix) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(ToWide(folder + prefix + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = ToSjis(found.cFileName);
        if (name.compare(0, prefix.size(), prefix) == 0) names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

void WinFileOps::ClearError() {
    errno = 0;
    _doserrno = 0;
}

// The C library's texts are English whatever the system's language; the system's code of the
// failure, which the C library keeps in _doserrno, has a text in the user's language. It
// describes this failure only while errno still holds the value the failure left: an error the
// caller names itself (no free name, say) or a failure without a system code gets the C text.
std::string WinFileOps::ErrorText(int errnoValue) {
    const unsigned long code = _doserrno;
    if (code != 0 && errnoValue == errno) {
        std::string text = SystemErrorText(code);
        if (!text.empty()) return text;
    }
    return IFileOps::ErrorText(errnoValue);
}

bool WinFileOps::ToShiftJis(std::u16string_view text, std::string& out) {
    if (text.empty()) return true;
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, size, nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return false;
    const size_t start = out.size();
    out.resize(start + static_cast<size_t>(length));
    WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, size, out.data() + start, length, nullptr, nullptr);
    return true;
}

}  // namespace torvane::win
