// The main window from the keyboard: real keystrokes through the program's own message loop.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/win/main_window_fixture.h"

namespace torvane {
namespace {

// Keys pressed together, released in reverse: {VK_MENU, 'V'} is Alt+V.
using Chord = std::vector<WORD>;

class MainKeyboardTest : public wintest::MainWindowTest {
protected:
    void StartInFront(HWND focus = nullptr) {
        WriteData({wintest::Record("Soft", "s1")}, "LASTNODE=Soft\r\n");
        Start();
        SetWindowPos(Main(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(Main());
        SetFocus(focus ? focus : C().TreeView1);
        wintest::PumpMessages(50);
    }

    // Sends the chords as input and runs them through the program's message loop until every
    // key has been read. A menu left open is closed after a while, so no case hangs.
    void Type(const std::vector<Chord>& chords) {
        std::vector<INPUT> inputs;
        auto add = [&](WORD key, bool up) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = key;
            input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
            input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            inputs.push_back(input);
        };
        for (const Chord& chord : chords) {
            for (WORD key : chord) add(key, false);
            for (auto key = chord.rbegin(); key != chord.rend(); ++key) add(*key, true);
        }
        const UINT_PTR stuck = SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 5000;) {
            MSG msg;
            if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0) break;
                continue;
            }
            if (form_->PreTranslateMessage(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        KillTimer(nullptr, stuck);
        wintest::PumpMessages(30);
    }

    int SelectedTitle() { return form_->MenuBar().SelectedTitle(); }
};

TEST_F(MainKeyboardTest, MenuBarWorksAsAWindowsMenuBar) {
    constexpr WORD kAlt = VK_MENU;
    struct Case {
        const char* what;
        std::vector<Chord> keys;
        bool statusBarToggled;
        int titleLeftSelected;  // -1: the bar is left
    };
    const Case cases[] = {
        {"Alt+V, then the item's letter", {{kAlt, 'V'}, {'S'}}, true, -1},
        {"F10 selects the bar, arrows move, Down opens", {{VK_F10}, {VK_RIGHT}, {VK_RIGHT}, {VK_DOWN}, {'S'}}, true, -1},
        {"Alt alone selects the bar, Enter opens", {{kAlt}, {VK_LEFT}, {VK_LEFT}, {VK_LEFT}, {VK_RETURN}, {'S'}}, true,
         -1},
        {"a letter on the selected bar opens its menu", {{VK_F10}, {'V'}, {VK_RETURN}}, true, -1},
        {"Right in an open menu moves to the next one", {{kAlt, 'E'}, {VK_RIGHT}, {'S'}}, true, -1},
        {"Esc closes the menu back to its title", {{kAlt, 'E'}, {VK_ESCAPE}}, false, 1},
        {"a second Esc leaves the bar", {{kAlt, 'H'}, {VK_ESCAPE}, {VK_ESCAPE}}, false, -1},
        {"Left wraps round to the last title", {{VK_F10}, {VK_LEFT}}, false, 4},
        {"F10 again leaves the bar", {{VK_F10}, {VK_F10}}, false, -1},
        {"Alt again leaves the bar", {{kAlt}, {kAlt}}, false, -1},
        {"keys that name no menu are ignored", {{kAlt, 'Q'}, {VK_F10}, {'Q'}}, false, 0},
    };
    StartInFront();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const bool before = form_->StatusBarVisible();
        Type(c.keys);
        EXPECT_EQ(c.statusBarToggled, form_->StatusBarVisible() != before);
        EXPECT_EQ(c.titleLeftSelected, SelectedTitle());
        if (SelectedTitle() >= 0) Type({{VK_ESCAPE}});
        // Nothing went elsewhere: the tree still has the keyboard.
        EXPECT_EQ(C().TreeView1, GetFocus());
    }
}

TEST_F(MainKeyboardTest, TabMovesBetweenTheTreeOrCompanyListTheItemListAndWhatIsDocked) {
    StartInFront();
    // A docked panel's controls join by their own tab stops.
    const HWND first = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 50, 1,
                                       C().DockPanel1, nullptr, nullptr, nullptr);
    CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 1, C().DockPanel1, nullptr, nullptr, nullptr);
    const HWND hidden = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_TABSTOP, 0, 0, 50, 1, C().DockPanel1, nullptr,
                                        nullptr, nullptr);
    const HWND last = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 50, 1,
                                      C().DockPanel1, nullptr, nullptr, nullptr);
    ASSERT_TRUE(first && hidden && last);

    const std::vector<HWND> forward{C().ListView1, first, last, C().TreeView1};
    for (HWND expected : forward) {
        Type({{VK_TAB}});
        EXPECT_EQ(expected, GetFocus());
    }
    Type({{VK_SHIFT, VK_TAB}});
    EXPECT_EQ(last, GetFocus());

    ShowPage(1);
    SetFocus(C().ListView1);
    Type({{VK_SHIFT, VK_TAB}});
    EXPECT_EQ(C().CompanyList, GetFocus());
}

TEST_F(MainKeyboardTest, ContextMenuOfAnythingButTheItemListIsTheSystems) {
    StartInFront();
    static std::vector<HMENU> seen;
    auto opened = [&](HWND from, POINT at) {
        seen.clear();
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
            const HWND menu = FindWindowW(L"#32768", nullptr);
            if (!menu || !IsWindowVisible(menu)) return;
            seen.push_back(reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0)));
            EndMenu();
        });
        SendMessageW(Main(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(from), MAKELPARAM(at.x, at.y));
        wintest::PumpUntil([] { return !seen.empty(); }, 1000);
        KillTimer(nullptr, timer);
        return seen;
    };
    RECT frame{};
    GetWindowRect(Main(), &frame);
    const POINT caption{(frame.left + frame.right) / 2, frame.top + GetSystemMetrics(SM_CYFRAME) + 4};
    const std::vector<HMENU> onCaption = opened(Main(), caption);
    ASSERT_EQ(1u, onCaption.size()) << "the title bar's window menu";
    EXPECT_NE(form_->Menus().PopupMenu2, onCaption[0]);
    EXPECT_EQ(std::vector<HMENU>{form_->Menus().PopupMenu2}, opened(C().ListView1, POINT{-1, -1}));
}

}  // namespace
}  // namespace torvane
