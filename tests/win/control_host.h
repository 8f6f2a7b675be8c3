#pragma once
// A plain visible window to hold one control under test: it passes the control's WM_NOTIFY to
// the test's handler, as a form would, and records every notification code it sees.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <vector>

#include "win/window.h"

namespace torvane::wintest {

class ControlHost : public win::Window {
public:
    ControlHost() {
        win::Window::RegisterWindowClass(L"TorvaneControlHost");
        Create(L"TorvaneControlHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 0, 640, 480);
    }

    // Returns true with a result to answer a notification; false passes it on.
    std::function<bool(NMHDR*, LRESULT&)> onNotify;

    struct ItemChange {
        int item;
        UINT oldState;
        UINT newState;
    };
    std::vector<UINT> codes;
    std::vector<ItemChange> itemChanges;  // LVN_ITEMCHANGED with a state change

    int Seen(UINT code) const {
        int n = 0;
        for (UINT c : codes) n += c == code;
        return n;
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_NOTIFY) {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            codes.push_back(header->code);
            if (header->code == LVN_ITEMCHANGED) {
                const auto* change = reinterpret_cast<NMLISTVIEW*>(lParam);
                if (change->uChanged & LVIF_STATE) {
                    itemChanges.push_back({change->iItem, change->uOldState, change->uNewState});
                }
            }
            LRESULT result = 0;
            if (onNotify && onNotify(header, result)) return result;
        }
        return Window::HandleMessage(msg, wParam, lParam);
    }
};

}  // namespace torvane::wintest
