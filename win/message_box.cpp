#include "win/message_box.h"

#include "win/text.h"

namespace torvane::win {

namespace {

struct BoxLook {
    const wchar_t* caption;
    UINT icon;
};

BoxLook LookOf(BoxType type) {
    switch (type) {
        case BoxType::Warning:
            return {L"警告", MB_ICONWARNING};
        case BoxType::Error:
            return {L"エラー", MB_ICONERROR};
        case BoxType::Information:
            return {L"情報", MB_ICONINFORMATION};
        case BoxType::Confirmation:
            return {L"確認", MB_ICONQUESTION};
        case BoxType::Plain:
            break;
    }
    return {kApplicationTitle, 0};
}

// The system names the buttons in its own language; ours are fixed. A CBT hook catches the box
// as it is activated, before it is painted, and renames them.
thread_local HHOOK buttonHook = nullptr;

LRESULT CALLBACK RenameButtons(int code, WPARAM wParam, LPARAM lParam) {
    const HHOOK hook = buttonHook;
    if (code == HCBT_ACTIVATE) {
        const HWND box = reinterpret_cast<HWND>(wParam);
        SetDlgItemTextW(box, IDOK, L"OK");
        SetDlgItemTextW(box, IDCANCEL, L"キャンセル");
        SetDlgItemTextW(box, IDYES, L"はい(&Y)");
        SetDlgItemTextW(box, IDNO, L"いいえ(&N)");
        // Only this box: a box its owner shows later gets its own hook.
        UnhookWindowsHookEx(hook);
        buttonHook = nullptr;
        return 0;
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

int ShowMessageBox(HWND owner, BoxType type, const std::wstring& text, UINT buttons) {
    const BoxLook look = LookOf(type);
    if (!owner) owner = GetActiveWindow();
    // A box shown from inside another box's activation (rare) keeps the outer hook.
    const bool hooked = buttonHook == nullptr;
    if (hooked) buttonHook = SetWindowsHookExW(WH_CBT, RenameButtons, nullptr, GetCurrentThreadId());
    const int result = MessageBoxW(owner, text.c_str(), look.caption, buttons | look.icon);
    if (hooked && buttonHook) {
        UnhookWindowsHookEx(buttonHook);  // the box never activated (it could not be created)
        buttonHook = nullptr;
    }
    return result;
}

int ShowMessageBox(HWND owner, BoxType type, const std::string& text, UINT buttons) {
    return ShowMessageBox(owner, type, ToWide(text), buttons);
}

}  // namespace torvane::win
