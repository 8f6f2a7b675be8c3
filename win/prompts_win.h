#pragma once
// The core's prompts on Windows: message boxes and the password dialog.
#include <windows.h>

#include "store/platform.h"

namespace torvane::win {

class WinPrompts : public IPrompts {
public:
    // owner: the window the boxes are modal to; null means the thread's active window.
    explicit WinPrompts(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    void Warning(const std::string& text) override;
    void Error(const std::string& text) override;
    void Plain(const std::string& text) override;
    std::unique_ptr<IPasswordDialog> CreatePasswordDialog() override;

private:
    HWND owner_;
};

}  // namespace torvane::win
