#include "win/prompts_win.h"

#include "win/pass_form_win.h"
#include "win/message_box.h"

namespace torvane::win {

void WinPrompts::Warning(const std::string& text) {
    ShowMessageBox(owner_, BoxType::Warning, text);
}

void WinPrompts::Error(const std::string& text) {
    ShowMessageBox(owner_, BoxType::Error, text);
}

void WinPrompts::Plain(const std::string& text) {
    ShowMessageBox(owner_, BoxType::Plain, text);
}

std::unique_ptr<IPasswordDialog> WinPrompts::CreatePasswordDialog() {
    return std::make_unique<WinPasswordDialog>();
}

}  // namespace torvane::win
