#include "tests/win/modal_helper.h"

// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <map>

#include "win/text.h"

namespace torvane::wintest {

namespace {

constexpr UINT kPollMs = 20;
constexpr int kMessageBoxTextId = 0xFFFF;

std::map<UINT_PTR, ModalAnswerer*>& Answerers() {
    static std::map<UINT_PTR, ModalAnswerer*> answerers;
    return answerers;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

bool IsDialogClass(HWND window) {
    return ClassOf(window) == L"#32770";
}

std::vector<HWND> ThreadWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> Children(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

bool IsLive(HWND window) {
    return IsWindow(window) && IsWindowVisible(window) && IsWindowEnabled(window);
}

}  // namespace

Reply Reply::Press(std::wstring caption, int buttonId) {
    Reply reply;
    reply.caption = std::move(caption);
    reply.buttonId = buttonId;
    return reply;
}

Reply Reply::PressText(std::wstring caption, std::wstring buttonText) {
    Reply reply;
    reply.caption = std::move(caption);
    reply.buttonText = std::move(buttonText);
    return reply;
}

Reply Reply::Close(std::wstring caption) {
    Reply reply;
    reply.caption = std::move(caption);
    return reply;
}

Reply Reply::Keys(std::wstring caption, std::vector<UINT> keys) {
    Reply reply;
    reply.caption = std::move(caption);
    reply.keys = std::move(keys);
    return reply;
}

ModalAnswerer::ModalAnswerer(std::vector<Reply> replies, UINT graceMs)
    : replies_(std::move(replies)), seen_(replies_.size()), graceMs_(graceMs) {
    known_ = ThreadWindows();
    timer_ = SetTimer(nullptr, 0, kPollMs, OnTimer);
    Answerers()[timer_] = this;
}

ModalAnswerer::~ModalAnswerer() {
    KillTimer(nullptr, timer_);
    Answerers().erase(timer_);
}

bool ModalAnswerer::Done() const {
    return next_ == replies_.size();
}

void CALLBACK ModalAnswerer::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    const auto found = Answerers().find(id);
    if (found != Answerers().end()) found->second->Poll();
}

// Runs again inside the modal loops that its own button presses open (a handler that shows a
// box), so the next reply is claimed, and the window marked busy, before a button is pressed.
void ModalAnswerer::Poll() {
    const std::vector<HWND> windows = ThreadWindows();
    auto idle = [this](HWND window) {
        return IsLive(window) && std::find(busy_.begin(), busy_.end(), window) == busy_.end();
    };
    for (HWND window : windows) {
        if (idle(window) && next_ < replies_.size() && TextOf(window) == replies_[next_].caption) {
            const size_t index = next_++;
            strayWindow_ = nullptr;
            busy_.push_back(window);
            Answer(window, replies_[index], seen_[index]);
            busy_.erase(std::find(busy_.begin(), busy_.end(), window));
            return;
        }
    }
    // A dialog nobody expected: give the code under test its grace time, then close it.
    for (HWND window : windows) {
        if (!idle(window) || !IsDialogClass(window) || std::count(known_.begin(), known_.end(), window)) continue;
        if (window != strayWindow_) {
            strayWindow_ = window;
            straySince_ = GetTickCount();
        } else if (GetTickCount() - straySince_ >= graceMs_) {
            unexpected_.push_back(TextOf(window) + L": " + Inspect(window).text);
            strayWindow_ = nullptr;
            busy_.push_back(window);
            SendMessageW(window, WM_CLOSE, 0, 0);
            busy_.erase(std::find(busy_.begin(), busy_.end(), window));
        }
        return;
    }
}

void ModalAnswerer::Answer(HWND window, const Reply& reply, WindowSeen& seen) {
    seen = Inspect(window);
    for (const auto& [id, text] : reply.setTexts) SetDlgItemTextW(window, id, text.c_str());
    for (const auto& [id, text] : reply.typed) TypeText(GetDlgItem(window, id), text);
    if (reply.inspect) reply.inspect(window);

    HWND button = nullptr;
    if (reply.buttonId != 0) {
        button = GetDlgItem(window, reply.buttonId);
    } else if (!reply.buttonText.empty()) {
        for (HWND child : Children(window)) {
            if (ClassOf(child) == L"Button" && TextOf(child) == reply.buttonText) button = child;
        }
    }
    seen.answered = true;
    if (!reply.keys.empty()) {
        const HWND focus = GetFocus();
        for (UINT key : reply.keys) {
            PostMessageW(focus, WM_KEYDOWN, key, 1);
            PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
        }
    } else if (button) {
        SendMessageW(button, BM_CLICK, 0, 0);
    } else if (reply.buttonId != 0) {
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(reply.buttonId, BN_CLICKED), 0);
    } else if (!reply.buttonText.empty()) {
        seen.answered = false;  // no such button: the window is left to the stray rule
    } else {
        SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}

WindowSeen Inspect(HWND window) {
    WindowSeen seen;
    seen.caption = TextOf(window);
    seen.className = ClassOf(window);
    seen.style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    seen.exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    const HWND focus = GetFocus();
    if (focus && IsChild(window, focus)) seen.focusId = GetDlgCtrlID(focus);
    std::wstring firstStatic;
    for (HWND child : Children(window)) {
        const std::wstring cls = ClassOf(child);
        if (cls == L"Button") {
            seen.buttons.push_back(TextOf(child));
            seen.buttonIds.push_back(GetDlgCtrlID(child));
        } else if (cls == L"Static") {
            const std::wstring text = TextOf(child);
            if (GetDlgCtrlID(child) == kMessageBoxTextId) seen.text = text;
            if (firstStatic.empty()) firstStatic = text;
        }
    }
    if (seen.text.empty()) seen.text = firstStatic;
    return seen;
}

std::wstring TextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::string CellText(HWND list, int row, int column) {
    wchar_t text[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return win::ToSjis(text);
}

void TypeText(HWND control, const std::wstring& text) {
    for (wchar_t ch : text) SendMessageW(control, WM_CHAR, ch, 1);
}

void PumpMessages(DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

}  // namespace torvane::wintest
