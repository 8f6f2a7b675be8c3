#include "win/exceptions_win.h"

#include "win/message_box.h"

namespace torvane::win {

namespace {
HWND UsableOwner(HWND owner) {
    return owner && IsWindow(owner) && IsWindowVisible(owner) ? owner : nullptr;
}
}  // namespace

void ShowException(HWND owner, const std::exception& error) noexcept {
    // Showing the box can itself fail (out of memory); nothing more can be done then.
    try {
        ShowMessageBox(UsableOwner(owner), BoxType::Error, std::string(error.what()));
    } catch (...) {
    }
}

void ShowUnknownException(HWND owner) noexcept {
    try {
        ShowMessageBox(UsableOwner(owner), BoxType::Error, std::wstring(L"予期しないエラーが発生しました"));
    } catch (...) {
    }
}

}  // namespace torvane::win
