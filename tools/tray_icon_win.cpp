#include "tools/tray_icon_win.h"

#include <shellapi.h>

#include <cstring>

#include "store/sjis.h"

namespace torvane {

TTrayIcon::~TTrayIcon() {
    if (owner_) NotifyShell(NIM_DELETE);
}

void TTrayIcon::SetIcon(const std::string& iconName, const std::string& tip) {
    iconName_ = iconName;
    tip_ = tip;
    if (owner_) NotifyShell(NIM_MODIFY);
}

void TTrayIcon::SetOwnerWindow(HWND owner) {
    if (owner_) NotifyShell(NIM_DELETE);
    owner_ = owner;
}

void TTrayIcon::ShowInTray(bool show) { NotifyShell(show ? NIM_ADD : NIM_DELETE); }

BOOL TTrayIcon::NotifyShell(DWORD command) {
    // The first version of the record: every shell since the first tray understands it.
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner_;
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    // Shared icon handles from the resources: never freed.
    data.hIcon = LoadIconA(GetModuleHandleA(nullptr), iconName_.c_str());
    // 63 bytes and the zero; a double-byte character is never cut in half.
    size_t n = 0;
    while (n < tip_.size()) {
        const size_t width = IsLeadByte(tip_[n]) ? 2 : 1;
        if (n + width > sizeof data.szTip - 1) break;
        n += width;
    }
    std::memcpy(data.szTip, tip_.data(), n);
    data.szTip[n] = '\0';
    const BOOL result = Shell_NotifyIconA(command, &data);
    if (command == NIM_ADD) inTray_ = true;
    if (command == NIM_DELETE) inTray_ = false;
    return result;
}

}  // namespace torvane
