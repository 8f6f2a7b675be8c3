// The property panel and the tray: a floating panel goes with the main window and comes back
// with it; a docked one stays docked. Meanwhile it still counts as shown.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "app/main_commands.h"
#include "editor/prop_form_win.h"
#include "tests/win/main_window_fixture.h"

namespace torvane::wintest {
namespace {

class PanelTrayTest : public MainWindowTest {
protected:
    void Mouse(UINT msg, POINT screen) {
        ScreenToClient(Panel()->Handle(), &screen);
        SendMessageW(Panel()->Handle(), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                     MAKELPARAM(static_cast<short>(screen.x), static_cast<short>(screen.y)));
    }
    // Dragged by its grabber to a place away from the main window.
    void FloatPanel() {
        SetWindowPos(Main(), nullptr, 0, 0, 600, 500, SWP_NOZORDER);
        RECT rect;
        GetWindowRect(Panel()->Handle(), &rect);
        Panel()->BeginDrag(POINT{rect.left + 5, rect.top + 5});
        Mouse(WM_MOUSEMOVE, POINT{900, 300});
        Mouse(WM_LBUTTONUP, POINT{900, 300});
        ASSERT_EQ(Panel()->HostDockSite(), nullptr);
    }
    TPropForm* Panel() { return form_->PropForm(); }
    bool Shown() { return IsWindowVisible(Panel()->Handle()) != FALSE; }
};

TEST_F(PanelTrayTest, AFloatingPanelGoesToTheTrayWithTheMainWindowAndComesBack) {
    const std::function<void()> hideButton = [this] { SendMessageW(Main(), WM_COMMAND, kCmdHide, 0); };
    const std::function<void()> minimise = [this] { SendMessageW(Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0); };
    for (const bool floating : {false, true}) {
        WriteData({Record("", "alpha")}, "PROPVIEW=1\r\n");
        Start();
        ASSERT_NE(Panel(), nullptr);
        if (floating) FloatPanel();
        for (const auto& hide : {hideButton, minimise}) {
            ASSERT_TRUE(Shown());
            hide();
            EXPECT_FALSE(IsWindowVisible(Main()));
            EXPECT_FALSE(Shown()) << floating;
            EXPECT_TRUE(Panel()->Visible());
            EXPECT_TRUE(form_->Actions()[kCmdDispProp].Checked());
            form_->ShowMenuClick();
            EXPECT_TRUE(Shown()) << floating;
            EXPECT_EQ(Panel()->HostDockSite() == nullptr, floating);
        }
        // Closed from the tray, the panel is remembered as shown.
        form_->HideBtnClick();
        CloseAndEndRun();
        EXPECT_EQ(Setting("PROPVIEW"), "1");
        form_.reset();
        app_.reset();
    }
    // Hidden while away, it stays away.
    WriteData({Record("", "alpha")}, "PROPVIEW=1\r\n");
    Start();
    FloatPanel();
    form_->HideBtnClick();
    SendMessageW(Main(), WM_COMMAND, kCmdDispProp, 0);
    form_->ShowMenuClick();
    EXPECT_FALSE(Shown());
    EXPECT_FALSE(form_->Actions()[kCmdDispProp].Checked());
}

}  // namespace
}  // namespace torvane::wintest
