#include "tools/tray_icon_win.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>

#include "win/text.h"

namespace torvane {

TTrayIcon::~TTrayIcon() {
    if (owner_) NotifyShell(NIM_DELETE);
}

void TTrayIcon::SetIcon(const std::string& iconName, const std::string& tip) {
    // Every show of the main window sets the icon it already has: each call to the shell waits
    // for the task bar's process.
    if (iconName == iconName_ && tip == tip_) return;
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
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = owner_;
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    // Shared icon handles from the resources: never freed.
    data.hIcon = LoadIconW(GetModuleHandleW(nullptr), win::ToWide(iconName_).c_str());
    // What fits before the closing zero in the first version's 64 characters; a character
    // outside the basic plane is never cut in half.
    constexpr size_t kTipRoom = 64 - 1;
    const std::wstring tip = win::ToWide(tip_);
    size_t n = std::min(tip.size(), kTipRoom);
    if (n > 0 && n < tip.size() && IS_HIGH_SURROGATE(tip[n - 1])) --n;
    std::wmemcpy(data.szTip, tip.data(), n);
    data.szTip[n] = L'\0';
    const BOOL result = Shell_NotifyIconW(command, &data);
    if (command == NIM_ADD) inTray_ = true;
    if (command == NIM_DELETE) inTray_ = false;
    return result;
}

}  // namespace torvane
