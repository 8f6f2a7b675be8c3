#pragma once
// One icon with a tip in the task tray. It owns no window: the shell's notifications go to the
// owner window as message kTrayMessage, with the mouse message in lParam.
#include <windows.h>

#include <string>

namespace torvane {

constexpr UINT kTrayMessage = 0x800;
constexpr UINT kTrayIconId = 1;

class TTrayIcon {
public:
    TTrayIcon() = default;
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;
    ~TTrayIcon();  // removes the icon while an owner window is set

    // Stores the icon resource name and the tip; with an owner window the tray shows them at once
    // (the shell is not called when they are what it shows already).
    void SetIcon(const std::string& iconName, const std::string& tip);
    // A previous owner's icon leaves the tray first; the new owner's icon is not added.
    void SetOwnerWindow(HWND owner);
    void ShowInTray(bool show);
    // Puts the icon back after the task bar restarted (the shell forgot it).
    void Restore() { NotifyShell(NIM_ADD); }

    HWND OwnerWindow() const { return owner_; }
    const std::string& IconName() const { return iconName_; }
    const std::string& Tip() const { return tip_; }
    bool InTray() const { return inTray_; }

    BOOL NotifyShell(DWORD command);

private:
    HWND owner_ = nullptr;
    std::string iconName_;
    std::string tip_;
    bool inTray_ = false;
};

}  // namespace torvane
