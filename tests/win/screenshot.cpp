#include "tests/win/screenshot.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/win/modal_helper.h"

namespace torvane::wintest {

std::vector<DWORD> PaintedClient(HWND control, UINT flags, int* width) {
    RECT client;
    GetClientRect(control, &client);
    HDC screen = GetDC(control);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), flags);
    GdiFlush();
    const auto* first = static_cast<const DWORD*>(bits);
    std::vector<DWORD> pixels(first, first + client.right * client.bottom);
    if (width) *width = client.right;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(control, screen);
    return pixels;
}

namespace {

bool WriteBitmap(const std::wstring& path, int width, int height, const std::vector<unsigned char>& bits) {
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + bits.size());
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (!out) return false;
    const bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1 &&
                    std::fwrite(bits.data(), 1, bits.size(), out) == bits.size();
    return std::fclose(out) == 0 && ok;
}

// The window's pixels as the screen shows them now.
std::vector<unsigned char> Capture(HWND window, int& width, int& height) {
    RECT rect;
    GetWindowRect(window, &rect);
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as a .bmp file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    const auto* first = static_cast<const unsigned char*>(pixels);
    std::vector<unsigned char> bits(first, first + stride * static_cast<size_t>(height));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bits;
}

}  // namespace

bool SaveScreenshot(HWND window, const char* name) {
    const wchar_t* dir = _wgetenv(L"TORVANE_SCREENSHOT_DIR");
    if (!dir || !*dir) return false;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // Taken once everything pending has painted and the display has caught up: three equal
    // captures in a row, with the messages pumped between them.
    PumpMessages(0);
    int width = 0;
    int height = 0;
    std::vector<unsigned char> bits = Capture(window, width, height);
    int steady = 0;
    PumpUntil([&] {
        std::vector<unsigned char> now = Capture(window, width, height);
        steady = now == bits ? steady + 1 : 0;
        bits = std::move(now);
        return steady >= 2;
    });
    return WriteBitmap(std::wstring(dir) + L"\\" + std::wstring(name, name + std::strlen(name)) + L".bmp", width, height,
                       bits);
}

}  // namespace torvane::wintest
