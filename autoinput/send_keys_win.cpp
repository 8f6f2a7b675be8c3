#include "autoinput/send_keys_win.h"

#include "autoinput/send_keys_script.h"

#include <vector>

namespace torvane::win {

namespace {

void Wait(int milliseconds) {
    if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace

TSendKeys::TSendKeys() : ownThread_(GetCurrentThreadId()) {}

TSendKeys::~TSendKeys() {
    Detach();
}

void TSendKeys::Detach() {
    if (targetThread_ != 0 && targetThread_ != ownThread_) AttachThreadInput(targetThread_, ownThread_, FALSE);
    targetThread_ = 0;
}

// Only the style bit counts: the window the user worked in last may be of any size or kind.
void TSendKeys::FindTarget(HWND start) {
    for (HWND wnd = GetWindow(start, GW_HWNDNEXT); wnd != nullptr; wnd = GetWindow(wnd, GW_HWNDNEXT)) {
        if ((static_cast<DWORD>(GetWindowLongA(wnd, GWL_STYLE)) & WS_VISIBLE) != 0) {
            SetTarget(wnd);
            return;
        }
    }
}

// Sharing the input state is what lets GetFocus on our thread name the focused control of the
// target application. Nothing is checked: a refused switch still leaves something to type into.
void TSendKeys::SetTarget(HWND wnd) {
    targetWnd_ = wnd;
    if (wnd == nullptr) return;
    const DWORD thread = GetWindowThreadProcessId(wnd, nullptr);
    // A second target must not leave the first one's thread bound to ours for good.
    if (thread != targetThread_) Detach();
    targetThread_ = thread;
    if (targetThread_ != ownThread_) AttachThreadInput(targetThread_, ownThread_, TRUE);
    SetForegroundWindow(wnd);
    Wait(KeyPause);
}

// After every code the focus is read again, so that a Tab carries the rest into the next field.
// A character goes as one UTF-16 message converted from code page 932: byte messages would be
// put together by the system's code page, which garbles Japanese on any other Windows. A
// two-byte character still waits two delays, so a run takes as long as it always did.
void TSendKeys::SendText(const std::string& text) {
    HWND focus = GetFocus();
    const std::vector<SendStep> steps = ScriptSendText(text);
    for (size_t i = 0; i < steps.size(); ++i) {
        const SendStep& step = steps[i];
        if (step.kind == SendStep::Kind::Char) {
            char bytes[2] = {static_cast<char>(step.byte), 0};
            int length = 1;
            if (IsDBCSLeadByteEx(932, step.byte) && i + 1 < steps.size() && steps[i + 1].kind == SendStep::Kind::Char) {
                bytes[1] = static_cast<char>(steps[++i].byte);
                length = 2;
            }
            wchar_t unit = 0;
            if (MultiByteToWideChar(932, 0, bytes, length, &unit, 1) == 1) {
                PostMessageW(focus, WM_CHAR, unit, 1);
            }
            Wait(KeyDelay * length);
            continue;
        }
        if (step.keyWord != 0) PostVirtualKey(focus, step.keyWord);
        Wait(KeyPause);
        focus = GetFocus();
    }
}

void TSendKeys::PostVirtualKey(HWND wnd, std::uint16_t keyWord) {
    for (const KeyMessage& key : KeyMessagesFor(keyWord)) {
        PostKey(wnd, key.message, key.virtualKey, static_cast<LPARAM>(key.lParam));
    }
}

void TSendKeys::PostKey(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    PostMessageA(wnd, message, wParam, lParam);
    Wait(KeyDelay);
}

}  // namespace torvane::win
