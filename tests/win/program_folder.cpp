#include "tests/win/program_folder.h"

#include <shellapi.h>

#include <cstdio>
#include <cwchar>

#include "win/text.h"

namespace torvane::wintest {

ProgramFolder::ProgramFolder() {
    static int counter = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    for (;;) {
        // A Japanese name with a character whose trail byte is "\" (ソ): the program's paths must
        // keep their bytes whatever the system's code page.
        wchar_t name[64];
        std::swprintf(name, 64, L"トルヴェイン試験ソ-%lu-%d", GetCurrentProcessId(), ++counter);
        const std::wstring path = std::wstring(temp) + name;
        if (CreateDirectoryW(path.c_str(), nullptr)) {
            path_ = win::ToSjis(path);
            break;
        }
    }
}

ProgramFolder::~ProgramFolder() {
    // SHFileOperation wants a list ending in two zeros.
    std::wstring from = win::ToWide(path_);
    from.push_back(L'\0');
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesW(win::ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    if (FILE* in = _wfopen(win::ToWide(path).c_str(), L"rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.append(buffer, n);
        std::fclose(in);
    }
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    if (FILE* out = _wfopen(win::ToWide(path).c_str(), L"wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
    }
}

ULONGLONG WriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(win::ToWide(path).c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

void MakeOld(const std::string& path) {
    const HANDLE file = CreateFileW(win::ToWide(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    SYSTEMTIME day{2001, 6, 0, 19, 12, 0, 0, 0};
    FILETIME time;
    SystemTimeToFileTime(&day, &time);
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    const std::string bytes = ReadBytes(path);
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool FindSetting(const std::vector<std::string>& lines, const std::string& name, std::string& value) {
    for (const std::string& line : lines) {
        if (line.size() > name.size() && line.compare(0, name.size(), name) == 0 && line[name.size()] == '=') {
            value = line.substr(name.size() + 1);
            return true;
        }
    }
    return false;
}

}  // namespace torvane::wintest
