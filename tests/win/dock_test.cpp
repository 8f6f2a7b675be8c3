// The docking host: a form docked into a bottom panel, shown and hidden by its button, dragged
// out and back by mouse messages.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "editor/dock_client_form_win.h"
#include "editor/dock_panel_win.h"
#include "tests/win/modal_helper.h"
#include "tests/win/screenshot.h"
#include "win/action.h"
#include "win/panel.h"
#include "win/window.h"

namespace torvane {
namespace {

constexpr int kButton = 100;

// A window with a tool bar on top and a dock site along its bottom edge.
class DockHost : public win::Window {
public:
    DockHost() {
        RegisterWindowClass(L"TorvaneDockHost");
        Create(L"TorvaneDockHost", L"dock host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 100, 100, 600, 400);
        toolBar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | CCS_TOP, 0, 0, 0, 0,
                                  Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        actions.Add(kButton, L"表示", L"表示");
        actions.AddToolButton(toolBar, kButton, BTNS_CHECK);
        dock.Attach(win::CreatePanel(Handle(), 1), DockAlign::Bottom);
        dock.OnSizeChanged = [this](int size) {
            dockSize = size;
            Layout();
        };
        Layout();
    }
    void Layout() {
        RECT client;
        GetClientRect(Handle(), &client);
        MoveWindow(dock.Handle(), 0, client.bottom - dockSize, client.right, dockSize, TRUE);
    }
    // The button as a user presses it: it toggles, then its command runs.
    void PressButton() {
        const bool down = SendMessageW(toolBar, TB_ISBUTTONCHECKED, kButton, 0) != 0;
        SendMessageW(toolBar, TB_CHECKBUTTON, kButton, MAKELPARAM(!down, 0));
        actions.Execute(kButton);
    }
    bool ButtonDown() const { return SendMessageW(toolBar, TB_ISBUTTONCHECKED, kButton, 0) != 0; }
    int ParentHeight() const {
        RECT client;
        GetClientRect(Handle(), &client);
        return client.bottom;
    }

    HWND toolBar = nullptr;
    win::ActionList actions;
    TDockPanel dock;
    int dockSize = 0;
};

class DockTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(form.CreateForm(host.Handle(), L"TorvaneTestDockForm", L"プロパティ", 300, 150));
        form.SetVisibleButton(host.toolBar, kButton, host.actions.Find(kButton));
        form.ManualDock(host.dock);
    }
    // A mouse message to the form, which holds the capture during a drag.
    void Mouse(UINT msg, POINT screen) {
        ScreenToClient(form.Handle(), &screen);
        SendMessageW(form.Handle(), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                     MAKELPARAM(static_cast<short>(screen.x), static_cast<short>(screen.y)));
    }
    void DragTo(POINT screen) {
        Mouse(WM_MOUSEMOVE, screen);
        outline = form.DragOutline();
        Mouse(WM_LBUTTONUP, screen);
    }
    POINT PanelScreen(int x, int y) {
        POINT p{x, y};
        ClientToScreen(host.dock.Handle(), &p);
        return p;
    }

    DockHost host;
    TDockClientForm form;
    RECT outline{};
};

TEST_F(DockTest, ButtonShowsAndHidesTheDockedFormAndTheSiteFollows) {
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(host.dockSize, 0);
    EXPECT_EQ(host.dock.DockSize, form.UndockedSize().cy);  // the programmatic dock's own bounds
    host.PressButton();
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(host.dockSize, host.dock.DockSize);
    EXPECT_EQ(GetParent(form.Handle()), host.dock.Handle());
    host.PressButton();
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(host.dockSize, 0);

    // Shown another way, the button follows; the grabber's close box hides it again.
    form.SetVisible(true);
    EXPECT_TRUE(host.ButtonDown());
    SendMessageW(host.dock.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(host.ButtonDown());
    EXPECT_EQ(host.dockSize, 0);
}

TEST_F(DockTest, DraggedOutTheFormFloatsAndDroppedOnTheEmptySiteItDocksAtTheOutline) {
    host.PressButton();
    SendMessageW(host.dock.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 40));
    ASSERT_EQ(GetCapture(), form.Handle());
    DragTo(POINT{300, 150});
    EXPECT_EQ(outline.right - outline.left, form.UndockedSize().cx);
    EXPECT_EQ(form.HostDockSite(), nullptr);
    EXPECT_FALSE(GetWindowLongPtrW(form.Handle(), GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(GetWindow(form.Handle(), GW_OWNER), host.Handle());
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(host.ButtonDown());
    EXPECT_EQ(host.dockSize, 0);
    RECT floating;
    GetWindowRect(form.Handle(), &floating);
    EXPECT_EQ(floating.right - floating.left, form.UndockedSize().cx);

    // By the caption onto the collapsed site: the outline is as high as the floating form or
    // half the parent, whichever is smaller.
    const int siteBottom = PanelScreen(0, 0).y;
    SendMessageW(form.Handle(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(floating.left + 20, floating.top + 5));
    DragTo(PanelScreen(200, -3));
    const int expected = std::min<int>(form.UndockedSize().cy, host.ParentHeight() / 2);
    EXPECT_EQ(outline.bottom - outline.top, expected);
    EXPECT_EQ(outline.bottom, siteBottom);
    EXPECT_EQ(form.HostDockSite(), &host.dock);
    EXPECT_EQ(host.dock.DockSize, expected);
    EXPECT_EQ(host.dockSize, expected);
    wintest::SaveScreenshot(host.Handle(), "dock_docked");
}

TEST_F(DockTest, AShortPressIsNoDragAndFloatingMovesStayFloating) {
    host.PressButton();
    SendMessageW(host.dock.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 40));
    Mouse(WM_LBUTTONUP, PanelScreen(7, 41));
    EXPECT_EQ(form.HostDockSite(), &host.dock);

    SendMessageW(host.dock.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 40));
    DragTo(POINT{300, 120});
    RECT before;
    GetWindowRect(form.Handle(), &before);
    SendMessageW(form.Handle(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(before.left + 20, before.top + 5));
    DragTo(POINT{before.left + 60, before.top + 45});
    RECT after;
    GetWindowRect(form.Handle(), &after);
    EXPECT_EQ(after.left - before.left, 40);
    EXPECT_EQ(after.top - before.top, 40);
    EXPECT_EQ(form.HostDockSite(), nullptr);
    wintest::SaveScreenshot(form.Handle(), "dock_floating");
}

TEST_F(DockTest, TheFormWorksOnWhenItsButtonIsDestroyed) {
    DestroyWindow(host.toolBar);
    EXPECT_FALSE(form.HasVisibleButton());
    form.SetVisible(true);
    EXPECT_EQ(host.dockSize, host.dock.DockSize);
    form.SetVisible(false);
    EXPECT_EQ(host.dockSize, 0);
}

}  // namespace
}  // namespace torvane
