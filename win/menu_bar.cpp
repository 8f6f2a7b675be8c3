#include "win/menu_bar.h"

#include <commctrl.h>

#include <cwctype>

namespace torvane::win {

namespace {
// The bar whose menu is open on this thread; the hook procedure has no other way to find it.
thread_local MenuBar* trackingBar = nullptr;

wchar_t AccessKey(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == L'&') {
            if (caption[i + 1] != L'&') return static_cast<wchar_t>(std::towupper(caption[i + 1]));
            ++i;
        }
    }
    return 0;
}
}  // namespace

MenuBar::~MenuBar() {
    for (const Entry& entry : menus_) DestroyMenu(entry.popup);
}

HWND MenuBar::Create(HWND parent, HWND owner, int firstId, HFONT font) {
    owner_ = owner;
    firstId_ = firstId;
    toolBar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NODIVIDER |
                                   CCS_NORESIZE | CCS_NOPARENTALIGN,
                               0, 0, 0, 0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(toolBar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolBar_, TB_SETPARENT, reinterpret_cast<WPARAM>(owner), 0);
    if (font) SendMessageW(toolBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // Text only: no room for images.
    SendMessageW(toolBar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    return toolBar_;
}

void MenuBar::AddMenu(const std::wstring& caption, HMENU popup) {
    menus_.push_back({caption, popup});
    TBBUTTON button{};
    button.iBitmap = I_IMAGENONE;
    button.idCommand = firstId_ + static_cast<int>(menus_.size()) - 1;
    button.fsState = TBSTATE_ENABLED;
    // Without TBSTYLE_EX_DRAWDDARROWS a drop-down button has no arrow and reports the press
    // itself (TBN_DROPDOWN), which is what a menu title does.
    button.fsStyle = BTNS_DROPDOWN | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    button.iString = reinterpret_cast<INT_PTR>(menus_.back().caption.c_str());
    SendMessageW(toolBar_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
    SendMessageW(toolBar_, TB_AUTOSIZE, 0, 0);
}

SIZE MenuBar::IdealSize() const {
    SIZE size{};
    SendMessageW(toolBar_, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    return size;
}

bool MenuBar::OnNotify(const NMHDR& header) {
    if (header.hwndFrom != toolBar_ || header.code != TBN_DROPDOWN) return false;
    const auto& notify = reinterpret_cast<const NMTOOLBARW&>(header);
    Open(notify.iItem - firstId_);
    return true;
}

int MenuBar::IndexOfAccessKey(wchar_t key) const {
    const wchar_t upper = static_cast<wchar_t>(std::towupper(key));
    for (size_t i = 0; i < menus_.size(); ++i) {
        if (AccessKey(menus_[i].caption) == upper) return static_cast<int>(i);
    }
    return -1;
}

bool MenuBar::OpenByAccessKey(wchar_t key) {
    const int index = IndexOfAccessKey(key);
    if (index < 0) return false;
    Open(index, true);
    return true;
}

void MenuBar::SelectTitle(int index) {
    selected_ = index >= 0 && index < Count() ? index : -1;
    SendMessageW(toolBar_, TB_SETHOTITEM, static_cast<WPARAM>(selected_), 0);
}

namespace {
bool Held(int key) {
    return GetKeyState(key) < 0;
}
// The letter or digit of a virtual key, 0 for other keys.
wchar_t KeyLetter(WPARAM key) {
    return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') ? static_cast<wchar_t>(key) : 0;
}
}  // namespace

bool MenuBar::PreTranslate(const MSG& msg, HWND frame) {
    if (!toolBar_ || !msg.hwnd || (msg.hwnd != frame && !IsChild(frame, msg.hwnd))) return false;
    switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (msg.wParam == VK_MENU) {
                // Eaten whole: the system's own handling would select the window menu on release.
                // A first press, not a repeat; with Ctrl it is AltGr, which types characters.
                if (!(msg.lParam & (1 << 30))) altAlone_ = !Held(VK_CONTROL);
                return true;
            }
            altAlone_ = false;
            if (msg.wParam == VK_F10 && !Held(VK_SHIFT) && !Held(VK_CONTROL)) {
                SelectTitle(selected_ >= 0 ? -1 : 0);
                return true;
            }
            if (selected_ >= 0) return SelectedBarKey(msg.wParam);
            if (msg.message == WM_SYSKEYDOWN && !Held(VK_CONTROL)) {
                // Alt+letter; any other Alt key (Alt+F4, Alt+Space) goes on to the system.
                const int index = KeyLetter(msg.wParam) ? IndexOfAccessKey(KeyLetter(msg.wParam)) : -1;
                if (index < 0) return false;
                Open(index, true);
                return true;
            }
            return false;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (msg.wParam == VK_MENU) {
                if (altAlone_) SelectTitle(selected_ >= 0 ? -1 : 0);
                altAlone_ = false;
                return true;
            }
            return msg.wParam == VK_F10 || selected_ >= 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
            altAlone_ = false;
            if (selected_ >= 0) SelectTitle(-1);
            return false;
    }
    return false;
}

// A key while the bar is selected; every key is the bar's then.
bool MenuBar::SelectedBarKey(WPARAM key) {
    const int index = selected_;
    switch (key) {
        case VK_LEFT:
            SelectTitle((index + Count() - 1) % Count());
            break;
        case VK_RIGHT:
            SelectTitle((index + 1) % Count());
            break;
        case VK_DOWN:
        case VK_UP:
        case VK_RETURN:
            SelectTitle(-1);
            Open(index, true);
            break;
        case VK_ESCAPE:
            SelectTitle(-1);
            break;
        default:
            if (const int keyed = KeyLetter(key) ? IndexOfAccessKey(KeyLetter(key)) : -1; keyed >= 0) {
                SelectTitle(-1);
                Open(keyed, true);
            }
            break;
    }
    return true;
}

void MenuBar::Open(int index, bool selectFirst) {
    if (index < 0 || index >= Count() || trackingBar) return;
    next_ = index;
    nextSelectFirst_ = selectFirst;
    int opened = index;
    escaped_ = false;
    while (next_ >= 0) {
        opened = next_;
        next_ = -1;
        Track(opened, nextSelectFirst_);
    }
    if (escaped_) SelectTitle(opened);
    escaped_ = false;
}

void MenuBar::Track(int index, bool selectFirst) {
    const int id = firstId_ + index;
    RECT button{};
    SendMessageW(toolBar_, TB_GETRECT, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&button));
    MapWindowPoints(toolBar_, nullptr, reinterpret_cast<POINT*>(&button), 2);
    SendMessageW(toolBar_, TB_PRESSBUTTON, static_cast<WPARAM>(id), MAKELPARAM(TRUE, 0));

    current_ = index;
    trackingBar = this;
    hook_ = SetWindowsHookExW(WH_MSGFILTER, FilterHook, nullptr, GetCurrentThreadId());
    // The menu loop handles this key first: the menu opens with its first item selected.
    if (selectFirst) PostMessageW(owner_, WM_KEYDOWN, VK_DOWN, 0);
    TPMPARAMS params{sizeof params, button};
    TrackPopupMenuEx(menus_[static_cast<size_t>(index)].popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL, button.left,
                     button.bottom, owner_, &params);
    if (hook_) UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    trackingBar = nullptr;
    current_ = -1;
    SendMessageW(toolBar_, TB_PRESSBUTTON, static_cast<WPARAM>(id), MAKELPARAM(FALSE, 0));
    // The mouse may have left while the menu held it; the title must not stay lit.
    SendMessageW(toolBar_, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
}

int MenuBar::HitTest(POINT screenPoint) const {
    POINT point = screenPoint;
    ScreenToClient(toolBar_, &point);
    const int hit = static_cast<int>(SendMessageW(toolBar_, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
    return hit >= 0 && hit < Count() ? hit : -1;
}

LRESULT CALLBACK MenuBar::FilterHook(int code, WPARAM wParam, LPARAM lParam) {
    MenuBar* bar = trackingBar;
    if (code == MSGF_MENU && bar && bar->Filter(*reinterpret_cast<const MSG*>(lParam))) return 1;
    return CallNextHookEx(bar ? bar->hook_ : nullptr, code, wParam, lParam);
}

bool MenuBar::Filter(const MSG& msg) {
    switch (msg.message) {
        case WM_MOUSEMOVE: {
            const int hit = HitTest(msg.pt);
            if (hit >= 0 && hit != current_) {
                next_ = hit;
                nextSelectFirst_ = false;
                EndMenu();
                return true;
            }
            return false;
        }
        case WM_LBUTTONDOWN:
            // A press on the open menu's own title closes it; without this the press would open
            // the same menu again.
            if (HitTest(msg.pt) == current_) {
                EndMenu();
                return true;
            }
            return false;
        case WM_KEYDOWN:
            // Our menus have no submenus: Esc closes the menu itself.
            if (msg.wParam == VK_ESCAPE) escaped_ = true;
            if (msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT) {
                const int step = msg.wParam == VK_LEFT ? Count() - 1 : 1;
                next_ = (current_ + step) % Count();
                nextSelectFirst_ = true;
                EndMenu();
                return true;
            }
            return false;
    }
    return false;
}

}  // namespace torvane::win
