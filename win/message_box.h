#pragma once
// The program's message boxes. The caption follows the type (warning "警告", error "エラー",
// information "情報", confirmation "確認"; a plain box shows the application title) and the
// buttons read "OK", "キャンセル", "はい(&Y)", "いいえ(&N)" whatever the system's language.
// Texts are Shift_JIS, as the program's text is. A null owner means the thread's active window,
// so the box is modal to whatever the user is working in.
#include <windows.h>

#include <string>

namespace torvane::win {

inline constexpr wchar_t kApplicationTitle[] = L"Torvane";

enum class BoxType { Warning, Error, Information, Confirmation, Plain };

// buttons: MB_OK, MB_OKCANCEL, MB_YESNO or MB_YESNOCANCEL. Returns the modal result: IDOK 1,
// IDCANCEL 2, IDYES 6, IDNO 7.
int ShowMessageBox(HWND owner, BoxType type, const std::string& text, UINT buttons = MB_OK);
int ShowMessageBox(HWND owner, BoxType type, const std::wstring& text, UINT buttons = MB_OK);

inline void ShowWarning(HWND owner, const std::string& text) {
    ShowMessageBox(owner, BoxType::Warning, text);
}
inline void ShowError(HWND owner, const std::string& text) {
    ShowMessageBox(owner, BoxType::Error, text);
}
inline void ShowInformation(HWND owner, const std::string& text) {
    ShowMessageBox(owner, BoxType::Information, text);
}
// The confirmation box with "はい(&Y)" and "いいえ(&N)"; true on "はい(&Y)".
inline bool Confirm(HWND owner, const std::string& text) {
    return ShowMessageBox(owner, BoxType::Confirmation, text, MB_YESNO) == IDYES;
}

}  // namespace torvane::win
