#include "editor/clipboard_win.h"

#include <cstring>

#include "win/text.h"

namespace torvane {

namespace {

HGLOBAL GlobalCopy(const void* data, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return nullptr;
    void* target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(target, data, size);
    GlobalUnlock(memory);
    return memory;
}

bool Put(UINT format, const void* data, size_t size) {
    if (!format) return false;
    HGLOBAL memory = GlobalCopy(data, size);
    if (!memory) return false;
    if (!SetClipboardData(format, memory)) {
        GlobalFree(memory);
        return false;
    }
    return true;
}

// Opening fails while another program holds the clipboard for a moment.
bool OpenClipboardRetrying(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(10);
    }
    return false;
}

}  // namespace

DWORD CopyTextPrivately(HWND owner, const std::string& text) {
    if (!OpenClipboardRetrying(owner)) return 0;
    bool ok = EmptyClipboard() != FALSE;
    const std::wstring wide = win::ToWide(text);
    ok = ok && Put(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    ok = ok && Put(CF_TEXT, text.c_str(), text.size() + 1);
    const DWORD no = 0;
    ok = ok && Put(RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing"), &no, sizeof no);
    ok = ok && Put(RegisterClipboardFormatW(L"CanIncludeInClipboardHistory"), &no, sizeof no);
    ok = ok && Put(RegisterClipboardFormatW(L"CanUploadToCloudClipboard"), &no, sizeof no);
    // A copy that stopped half way must not leave a part of the text behind.
    if (!ok) EmptyClipboard();
    CloseClipboard();
    return ok ? GetClipboardSequenceNumber() : 0;
}

bool ClearClipboardIfUnchanged(HWND owner, DWORD sequence) {
    if (sequence == 0 || GetClipboardSequenceNumber() != sequence) return false;
    if (!OpenClipboardRetrying(owner)) return false;
    const bool cleared = EmptyClipboard() != FALSE;
    CloseClipboard();
    return cleared;
}

}  // namespace torvane
