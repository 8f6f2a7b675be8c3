#pragma once
// A command that several menu items and tool-bar buttons share: caption, hint, image, enabled
// and checked state, and the handler. Changing the state of an action changes every client
// bound to it. Clients carry the action's id as their command id, so a WM_COMMAND from any of
// them reaches ActionList::Execute.
//
//   ActionList actions(&images);
//   actions.Add(kCmdExit, L"終了(&X)", L"アプリケーションを終了", 0, [this] { ExitBtnClick(); });
//   actions.AppendMenuItem(fileMenu, kCmdExit);
//   actions.AddToolButton(toolBar, kCmdExit);
//   actions.Find(kCmdExit)->SetEnabled(false);   // the menu item and the button grey out
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace torvane::win {

class ImageStrip;

class Action {
public:
    Action(int id, std::wstring caption, std::wstring hint, int image, std::function<void()> handler);

    int Id() const { return id_; }
    const std::wstring& Caption() const { return caption_; }
    const std::wstring& Hint() const { return hint_; }
    int Image() const { return image_; }
    bool Enabled() const { return enabled_; }
    bool Checked() const { return checked_; }
    bool HasHandler() const { return static_cast<bool>(handler_); }

    void SetEnabled(bool enabled);
    void SetChecked(bool checked);
    void SetHandler(std::function<void()> handler) { handler_ = std::move(handler); }
    // Runs the handler when the action is enabled and has one; true when it ran.
    bool Execute();

    // From now on the item with this action's id in menu (not in its sub-menus), or the button
    // with this id on the tool bar, shows the action's state.
    void BindMenu(HMENU menu);
    void BindToolBar(HWND toolBar);

private:
    void UpdateClient(HMENU menu) const;
    void UpdateClient(HWND toolBar) const;

    int id_;
    std::wstring caption_;
    std::wstring hint_;
    int image_;
    std::function<void()> handler_;
    bool enabled_ = true;
    bool checked_ = false;
    std::vector<HMENU> menus_;
    std::vector<HWND> toolBars_;
};

class ActionList {
public:
    // images: where menu items take their pictures from (the action's image number); may be null.
    explicit ActionList(const ImageStrip* images = nullptr) : images_(images) {}

    Action& Add(int id, std::wstring caption, std::wstring hint = {}, int image = -1,
                std::function<void()> handler = {});
    Action* Find(int id);
    const Action* Find(int id) const;
    // Throws std::out_of_range for an id nobody added.
    Action& operator[](int id);
    // The handler of a WM_COMMAND: false when no action has that id (the command is someone
    // else's), true otherwise, whether or not the action was enabled.
    bool Execute(int id);

    // Appends an item bound to the action; caption replaces the action's own for this item.
    void AppendMenuItem(HMENU menu, int id, const wchar_t* caption = nullptr);
    // Appends a button bound to the action, with the action's image. style: BTNS_BUTTON,
    // BTNS_CHECK, BTNS_DROPDOWN.
    void AddToolButton(HWND toolBar, int id, BYTE style = BTNS_BUTTON);

    // The text of a tool tip (TTN_GETDISPINFOW) for a button's id; null when there is none.
    const wchar_t* HintFor(int id) const;

    // The menus' owner window passes on WM_MEASUREITEM and WM_DRAWITEM: menu items draw their
    // action's picture themselves, with its transparency. True when the message was handled.
    bool MeasureMenuImage(MEASUREITEMSTRUCT& measure) const;
    bool DrawMenuImage(const DRAWITEMSTRUCT& draw) const;

private:
    const ImageStrip* images_;
    std::map<int, std::unique_ptr<Action>> actions_;
};

// Separators, for menus and tool bars built item by item.
void AppendMenuSeparator(HMENU menu);
void AddToolSeparator(HWND toolBar);

}  // namespace torvane::win
