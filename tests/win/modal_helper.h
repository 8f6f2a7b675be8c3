#pragma once
// Answers the modal dialogs and message boxes that code under test shows on this thread, the
// way a user would: a thread timer, which runs inside every modal loop of the thread, looks for
// a visible window of this thread with the expected caption, records what it shows, optionally
// types into its edit boxes, and presses a button.
//
//   ModalAnswerer answerer({Reply::Press(L"確認", IDYES)});
//   form.P_DeleteClick();                        // shows the box; the answerer presses はい(&Y)
//   EXPECT_TRUE(answerer.Done());
//   EXPECT_EQ(answerer.Seen(0).text, L"... を削除します！\r\nよろしいですか？");
//
// Replies are used in order: the first one not yet used answers the next window whose caption
// it names. A window of this thread that no reply names and that stays up for the grace time
// is closed (WM_CLOSE) and reported in Unexpected(), so a test fails instead of hanging.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace torvane::wintest {

struct Reply {
    std::wstring caption;  // the window's caption, exactly
    // Texts set into edit controls (WM_SETTEXT) before the button is pressed: control id, text.
    std::vector<std::pair<int, std::wstring>> setTexts;
    // Texts typed into edit controls one WM_CHAR per character: control id, text.
    std::vector<std::pair<int, std::wstring>> typed;
    // Runs on the found window after the texts are set and before the window is answered.
    std::function<void(HWND)> inspect;
    // The answer: keys posted to the focused control (WM_KEYDOWN, WM_KEYUP), for the dialog
    // manager to act on (VK_RETURN, VK_ESCAPE); else the button to press (BM_CLICK) by id, or
    // by caption ("はい(&Y)"); with none of these, the close command (Alt+F4, the close box).
    std::vector<UINT> keys;
    int buttonId = 0;
    std::wstring buttonText;

    static Reply Press(std::wstring caption, int buttonId);
    static Reply PressText(std::wstring caption, std::wstring buttonText);
    static Reply Close(std::wstring caption);
    static Reply Keys(std::wstring caption, std::vector<UINT> keys);
    // Builders for the texts, so a reply reads as one expression.
    Reply&& Type(int controlId, std::wstring text) && {
        typed.emplace_back(controlId, std::move(text));
        return std::move(*this);
    }
    Reply&& Then(std::function<void(HWND)> check) && {
        inspect = std::move(check);
        return std::move(*this);
    }
};

// What the answered window showed, read before it was answered.
struct WindowSeen {
    bool answered = false;
    std::wstring caption;
    std::wstring className;
    std::wstring text;                  // a message box's text (its static 0xFFFF)
    std::vector<std::wstring> buttons;  // button captions in child order
    std::vector<int> buttonIds;
    int focusId = 0;  // the control that had the focus when the window was found
    DWORD style = 0;
    DWORD exStyle = 0;
};

class ModalAnswerer {
public:
    explicit ModalAnswerer(std::vector<Reply> replies, UINT graceMs = 3000);
    ~ModalAnswerer();
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;

    // True when every reply has been used.
    bool Done() const;
    const WindowSeen& Seen(size_t replyIndex) const { return seen_.at(replyIndex); }
    // Captions of windows closed because no reply named them.
    const std::vector<std::wstring>& Unexpected() const { return unexpected_; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD);
    void Poll();
    void Answer(HWND window, const Reply& reply, WindowSeen& seen);

    std::vector<Reply> replies_;
    std::vector<WindowSeen> seen_;
    std::vector<std::wstring> unexpected_;
    std::vector<HWND> known_;  // windows that existed before: never strays
    std::vector<HWND> busy_;   // windows being answered right now
    size_t next_ = 0;
    UINT graceMs_;
    UINT_PTR timer_ = 0;
    HWND strayWindow_ = nullptr;
    DWORD straySince_ = 0;
};

// Reads what a window shows, as the answerer does (for windows that are not answered, e.g. modeless).
WindowSeen Inspect(HWND window);
// The text of a window, Unicode.
std::wstring TextOf(HWND window);
// What a list view shows in a cell, as the control reads it (Shift_JIS).
std::string CellText(HWND list, int row, int column);
// Types text into a control as a user would: one WM_CHAR per character.
void TypeText(HWND control, const std::wstring& text);
// Pumps this thread's messages for a while, so posted work and timers run.
void PumpMessages(DWORD ms);
// Pumps this thread's messages until condition() holds or ms have passed; returns condition().
template <class Condition>
bool PumpUntil(Condition condition, DWORD ms = 5000) {
    for (const DWORD start = GetTickCount(); !condition(); PumpMessages(20)) {
        if (GetTickCount() - start >= ms) return condition();
    }
    return true;
}

}  // namespace torvane::wintest
