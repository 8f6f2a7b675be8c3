#pragma once
// TDockClientForm: the base of dockable forms. The form floats as a stay-on-top tool window or
// lies docked in a TDockPanel; the user drags it by its caption (floating) or the panel's
// grabber (docked), sees the outline of where it would go, and drops it onto the panel or
// anywhere else. A bound tool-bar button (VisibleButton) is pressed exactly while the form is
// visible and shows and hides it.
#include <windows.h>

#include <string>

#include "win/window.h"

namespace torvane {

namespace win {
class Action;
}
class TDockPanel;

class TDockClientForm : public win::Window {
public:
    // Distance the mouse must travel before a press becomes a drag.
    static constexpr int kDragThreshold = 5;

    TDockClientForm() = default;
    ~TDockClientForm() override;

    // Creates the form floating and hidden, owned by owner, with this client size.
    bool CreateForm(HWND owner, const wchar_t* className, const std::wstring& caption, int clientWidth,
                    int clientHeight);

    bool Visible() const;
    void SetVisible(bool visible);
    // The owner went to the tray (false) or came back (true). A floating form goes and comes
    // back with it; meanwhile it still counts as visible, so its button, its menu check and
    // the setting saved at close keep saying so. A docked form goes with its parent anyway.
    void OwnerShown(bool shown);

    // The bound button: the tool bar's button with this command id, whose clicks run through
    // action (its handler is replaced). Null toolBar unbinds. The form's visibility becomes the
    // button's pressed state.
    void SetVisibleButton(HWND toolBar, int id, win::Action* action);
    bool HasVisibleButton() const { return toolBar_ != nullptr; }
    void VisibleButtonClick();

    // Docks the form into panel as the program does at start: the form's own bounds are the
    // dock rectangle.
    void ManualDock(TDockPanel& panel);
    // The panel the form is docked in; null while floating.
    TDockPanel* HostDockSite() const { return dockedIn_; }
    // The panel a drag may drop the form onto (the last one it was docked in).
    TDockPanel* DockTarget() const { return dockTarget_; }
    // The floating window's outer size, kept while docked.
    SIZE UndockedSize() const { return undockedSize_; }
    // The outline of the drag in progress (screen); empty when none is shown.
    RECT DragOutline() const;
    bool Dragging() const { return dragging_; }

    // A press at a screen point starts a drag (the panel's grabber, the floating caption).
    void BeginDrag(POINT screen);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Called after the form was shown or hidden (not while it is being destroyed).
    virtual void VisibleChanged(bool /*visible*/) {}

private:
    friend class TDockPanel;
    // The panel's steps move the window between the panel and the desktop.
    void AttachTo(TDockPanel& panel);
    void Float(const RECT& windowRect);
    void VisibilityChanged();
    void SetButtonDown(bool down);
    bool ButtonDown() const;
    void DragMove(POINT screen);
    void DragEnd(POINT screen, bool cancelled);
    // Where a drop at this point would put the form; target null for floating.
    RECT DropRect(POINT screen, TDockPanel*& target) const;
    void ShowOutline(const RECT& rect);
    void HideOutline();
    static LRESULT CALLBACK ToolBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR refData);
    void DropButton();

    HWND owner_ = nullptr;
    TDockPanel* dockedIn_ = nullptr;
    TDockPanel* dockTarget_ = nullptr;
    SIZE undockedSize_{};
    HWND toolBar_ = nullptr;
    int buttonId_ = 0;
    win::Action* action_ = nullptr;
    bool destroying_ = false;
    bool lastVisible_ = false;
    bool hiddenWithOwner_ = false;

    bool pressed_ = false;   // the mouse went down; a drag once it has moved far enough
    bool dragging_ = false;
    POINT dragStart_{};
    POINT grabOffset_{};     // where in the floating window the mouse holds it
    HWND outline_ = nullptr;
    RECT outlineRect_{};
};

}  // namespace torvane
