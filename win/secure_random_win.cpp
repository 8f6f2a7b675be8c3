#include "win/secure_random_win.h"

#include <windows.h>

#include <algorithm>

namespace torvane::win {
namespace {

using BCryptGenRandomFn = LONG(WINAPI*)(void* algorithm, unsigned char* buffer, ULONG size, ULONG flags);
using RtlGenRandomFn = BOOLEAN(WINAPI*)(void* buffer, ULONG size);
constexpr ULONG kUseSystemPreferredRng = 0x00000002;  // BCRYPT_USE_SYSTEM_PREFERRED_RNG

struct Sources {
    BCryptGenRandomFn bcrypt = nullptr;
    RtlGenRandomFn rtl = nullptr;
};

// Looked up once; the libraries stay loaded for the rest of the process.
const Sources& Bound() {
    static const Sources sources = [] {
        Sources s;
        if (HMODULE bcrypt = LoadLibraryW(L"bcrypt.dll")) {
            s.bcrypt = reinterpret_cast<BCryptGenRandomFn>(
                reinterpret_cast<void*>(GetProcAddress(bcrypt, "BCryptGenRandom")));
        }
        if (HMODULE advapi = LoadLibraryW(L"advapi32.dll")) {
            s.rtl = reinterpret_cast<RtlGenRandomFn>(
                reinterpret_cast<void*>(GetProcAddress(advapi, "SystemFunction036")));
        }
        return s;
    }();
    return sources;
}

}  // namespace

bool WinSecureRandom::Fill(unsigned char* bytes, size_t size) {
    const Sources& s = Bound();
    while (size > 0) {
        const ULONG part = static_cast<ULONG>(std::min<size_t>(size, 1u << 20));
        bool ok = s.bcrypt && s.bcrypt(nullptr, bytes, part, kUseSystemPreferredRng) >= 0;
        if (!ok) ok = s.rtl && s.rtl(bytes, part);
        if (!ok) return false;
        bytes += part;
        size -= part;
    }
    return true;
}

}  // namespace torvane::win
