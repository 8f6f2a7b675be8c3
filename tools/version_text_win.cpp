#include "tools/version_text_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "win/text.h"

namespace torvane {

std::string ProgramPath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size()) return win::ToSjis(buffer.substr(0, n));
        buffer.resize(buffer.size() * 2);
    }
}

bool ReadVersionStrings(const std::string& path, const std::vector<VersionString>& strings) {
    const std::wstring file = win::ToWide(path);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
    if (size == 0) return false;
    std::vector<unsigned char> info(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, info.data())) return false;
    const unsigned char* const end = info.data() + info.size();

    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", &value, &length) || length < 4) return true;
    const WORD* translation = static_cast<const WORD*>(value);
    wchar_t prefix[64];
    std::swprintf(prefix, 64, L"\\StringFileInfo\\%04X%04X\\", translation[0], translation[1]);

    for (const VersionString& string : strings) {
        if (!string.value->empty()) continue;
        const std::wstring query = prefix + win::ToWide(string.name);
        if (!VerQueryValueW(info.data(), query.c_str(), &value, &length) || length == 0) continue;
        // Windows gives the length in characters, Wine in bytes; with or without the closing
        // zero. The text ends at its zero, and never past the block.
        const auto* text = static_cast<const wchar_t*>(value);
        const size_t room = static_cast<size_t>(end - static_cast<const unsigned char*>(value)) / sizeof(wchar_t);
        *string.value = win::ToSjis(std::wstring(text, wcsnlen(text, std::min<size_t>(length, room))));
    }
    return true;
}

}  // namespace torvane
