#include "win/text.h"

#include <windows.h>

namespace torvane::win {

namespace {
constexpr UINT kCodePage = 932;
}

std::wstring ToWide(const std::string& sjis) {
    if (sjis.empty()) return {};
    const int n = MultiByteToWideChar(kCodePage, 0, sjis.data(), static_cast<int>(sjis.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(kCodePage, 0, sjis.data(), static_cast<int>(sjis.size()), out.data(), n);
    return out;
}

std::string ToSjis(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

bool ToSjisExactly(const std::wstring& wide, std::string& sjis) {
    if (wide.empty()) {
        sjis.clear();
        return true;
    }
    BOOL usedDefault = FALSE;
    const int size = static_cast<int>(wide.size());
    const int n =
        WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return false;
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data(), n, nullptr, nullptr);
    sjis = std::move(out);
    return true;
}

std::string GetWindowTextSjis(void* hwnd) {
    const HWND h = static_cast<HWND>(hwnd);
    const int len = GetWindowTextLengthW(h);
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    const int got = GetWindowTextW(h, text.data(), len + 1);
    text.resize(static_cast<size_t>(got));
    return ToSjis(text);
}

void SetWindowTextSjis(void* hwnd, const std::string& sjis) {
    SetWindowTextW(static_cast<HWND>(hwnd), ToWide(sjis).c_str());
}

}  // namespace torvane::win
