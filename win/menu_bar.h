#pragma once
// A menu bar made of a flat tool bar, so it can sit in a cool-bar band: each button opens its
// drop-down menu below it when pressed. While a menu is open, moving the mouse over another
// button or pressing Left/Right switches to the neighbouring menu, as in a window's own menu
// bar; the menus' commands reach the owner window as WM_COMMAND.
//
// From the keyboard it works as a window's own menu bar: Alt+letter opens the menu with that
// access key, Alt or F10 alone selects the bar (Left and Right move, Down, Up or Enter opens,
// a letter opens that menu, Esc, Alt, F10 or a click leaves it), and Esc in an open menu goes
// back to its title on the bar. The owner's message loop hands its keys to PreTranslate.
#include <windows.h>

#include <string>
#include <vector>

namespace torvane::win {

class MenuBar {
public:
    MenuBar() = default;
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;
    ~MenuBar();  // destroys the menus

    // The tool bar, a child of parent; notifications and the menus' commands go to owner.
    // Button ids are firstId, firstId + 1, ...
    HWND Create(HWND parent, HWND owner, int firstId, HFONT font);
    // A button with caption ("ファイル(&F)") opening popup; the bar owns the menu from now on.
    void AddMenu(const std::wstring& caption, HMENU popup);

    HWND Handle() const { return toolBar_; }
    int Count() const { return static_cast<int>(menus_.size()); }
    HMENU Menu(int index) const { return menus_.at(static_cast<size_t>(index)).popup; }
    // The size the bar needs to show every button.
    SIZE IdealSize() const;

    // The owner's WM_NOTIFY: true when it was the bar's (a button pressed).
    bool OnNotify(const NMHDR& header);
    // Alt+letter (the owner's WM_SYSCOMMAND SC_KEYMENU): opens the menu whose caption has that
    // access key, with its first item selected. False when no caption has it.
    bool OpenByAccessKey(wchar_t key);
    // Opens menu index and returns when the user closed it (and any menu switched to).
    void Open(int index, bool selectFirst = false);

    // For the message loop, before TranslateMessage: the keys and presses meant for the bar
    // while frame (the window holding it) or one of its children has them. True when the
    // message was the bar's and must not be dispatched.
    bool PreTranslate(const MSG& msg, HWND frame);
    // The bar selected from the keyboard, with the given title lit; -1 leaves that state.
    void SelectTitle(int index);
    // The title lit while the bar is selected from the keyboard; -1 when it is not.
    int SelectedTitle() const { return selected_; }

private:
    struct Entry {
        std::wstring caption;
        HMENU popup;
    };
    static LRESULT CALLBACK FilterHook(int code, WPARAM wParam, LPARAM lParam);
    bool Filter(const MSG& msg);
    void Track(int index, bool selectFirst);
    int HitTest(POINT screenPoint) const;
    int IndexOfAccessKey(wchar_t key) const;
    bool SelectedBarKey(WPARAM key);

    HWND toolBar_ = nullptr;
    HWND owner_ = nullptr;
    int firstId_ = 0;
    std::vector<Entry> menus_;
    // Set while a menu is open: which one, and where to go next when it closes.
    int current_ = -1;
    int next_ = -1;
    bool nextSelectFirst_ = false;
    // Esc closed the open menu: its title is selected again.
    bool escaped_ = false;
    HHOOK hook_ = nullptr;
    // Alt went down with no other key since: its release selects the bar.
    bool altAlone_ = false;
    int selected_ = -1;
};

}  // namespace torvane::win
