#pragma once
// The application's task-bar window: a window of no size that owns the program's forms and
// carries the program's task-bar button in their place (owned windows have none). Hiding it
// removes the button, showing it restores it; the main window shows and hides it with itself.
// Its place in the window order also marks where the application ends: the keystroke sender
// looks below it for the window to type into.
#include <windows.h>

#include <functional>
#include <string>

#include "win/window.h"

namespace torvane {

class AppWindow : public win::Window {
public:
    // Creates the window, hidden; title is the task-bar button's text.
    bool Create(const std::wstring& title);

    // The window activated when the application is (the main window); set once it exists.
    void SetMainWindow(HWND mainWindow) { mainWindow_ = mainWindow; }
    // What minimising the application does, e.g. from its task-bar button.
    std::function<void()> OnMinimize;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void ActivateForm();

    HWND mainWindow_ = nullptr;
};

}  // namespace torvane
