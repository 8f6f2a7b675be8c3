#include "editor/dock_client_form_win.h"

// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "editor/dock_panel_win.h"
#include "win/action.h"
#include "win/exceptions_win.h"

namespace torvane {

namespace {

constexpr DWORD kFloatingStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFloatingExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
constexpr DWORD kDockedStyle = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kDockedExStyle = WS_EX_CONTROLPARENT;
constexpr int kOutlineWidth = 3;
constexpr wchar_t kOutlineClass[] = L"TorvaneDockOutline";

POINT ScreenPoint(HWND hwnd, LPARAM lParam) {
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(hwnd, &point);
    return point;
}

HWND CreateOutlineWindow() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, kOutlineClass, &wc)) {
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = instance;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DDKSHADOW + 1);
        wc.lpszClassName = kOutlineClass;
        RegisterClassExW(&wc);
    }
    return CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT, kOutlineClass,
                           nullptr, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
}

}  // namespace

TDockClientForm::~TDockClientForm() {
    destroying_ = true;
    HideOutline();
    if (outline_) DestroyWindow(outline_);
    // The panel's owner may be going too: nothing is laid out any more.
    if (dockedIn_) dockedIn_->Forget(*this);
    if (toolBar_) {
        RemoveWindowSubclass(toolBar_, ToolBarProc, reinterpret_cast<UINT_PTR>(this));
        if (action_) action_->SetHandler({});
    }
}

bool TDockClientForm::CreateForm(HWND owner, const wchar_t* className, const std::wstring& caption, int clientWidth,
                                 int clientHeight) {
    owner_ = owner;
    WNDCLASSEXW wc{};
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    if (!RegisterWindowClass(className, wc)) return false;
    RECT rect{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&rect, kFloatingStyle, FALSE, kFloatingExStyle);
    undockedSize_ = SIZE{rect.right - rect.left, rect.bottom - rect.top};
    return Create(className, caption.c_str(), kFloatingStyle, kFloatingExStyle, 0, 0, undockedSize_.cx,
                  undockedSize_.cy, owner) != nullptr;
}

bool TDockClientForm::Visible() const {
    return Handle() && (hiddenWithOwner_ || (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0);
}

void TDockClientForm::SetVisible(bool visible) {
    if (!Handle() || visible == Visible()) return;
    if (hiddenWithOwner_) {
        // Hidden meanwhile: it stays away when the owner comes back.
        hiddenWithOwner_ = false;
        VisibilityChanged();
        return;
    }
    ShowWindow(Handle(), visible ? (dockedIn_ ? SW_SHOW : SW_SHOWNA) : SW_HIDE);
    // Under a hidden parent ShowWindow only flips the style and sends nothing.
    VisibilityChanged();
}

void TDockClientForm::OwnerShown(bool shown) {
    if (!Handle() || dockedIn_) return;
    if (shown) {
        if (!hiddenWithOwner_) return;
        hiddenWithOwner_ = false;
        ShowWindow(Handle(), SW_SHOWNA);
    } else if (!hiddenWithOwner_ && Visible()) {
        hiddenWithOwner_ = true;
        ShowWindow(Handle(), SW_HIDE);
    }
}

void TDockClientForm::SetVisibleButton(HWND toolBar, int id, win::Action* action) {
    if (toolBar_) RemoveWindowSubclass(toolBar_, ToolBarProc, reinterpret_cast<UINT_PTR>(this));
    toolBar_ = toolBar;
    buttonId_ = id;
    action_ = toolBar ? action : nullptr;
    if (!toolBar_) return;
    // Told when the button goes, through its tool bar.
    SetWindowSubclass(toolBar_, ToolBarProc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
    SetVisible(ButtonDown());
    if (action_) action_->SetHandler([this] { VisibleButtonClick(); });
}

void TDockClientForm::VisibleButtonClick() {
    if (toolBar_) SetVisible(ButtonDown());
}

bool TDockClientForm::ButtonDown() const {
    return toolBar_ && SendMessageW(toolBar_, TB_ISBUTTONCHECKED, static_cast<WPARAM>(buttonId_), 0) != 0;
}

void TDockClientForm::SetButtonDown(bool down) {
    if (!toolBar_) return;
    if (action_) action_->SetChecked(down);
    SendMessageW(toolBar_, TB_CHECKBUTTON, static_cast<WPARAM>(buttonId_), MAKELPARAM(down ? TRUE : FALSE, 0));
}

void TDockClientForm::DropButton() {
    if (!toolBar_) return;
    RemoveWindowSubclass(toolBar_, ToolBarProc, reinterpret_cast<UINT_PTR>(this));
    toolBar_ = nullptr;
    action_ = nullptr;
}

LRESULT CALLBACK TDockClientForm::ToolBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR refData) {
    auto* self = reinterpret_cast<TDockClientForm*>(refData);
    if (msg == TB_DELETEBUTTON) {
        TBBUTTON button{};
        if (SendMessageW(hwnd, TB_GETBUTTON, wParam, reinterpret_cast<LPARAM>(&button)) &&
            button.idCommand == self->buttonId_) {
            self->DropButton();
        }
    } else if (msg == WM_NCDESTROY) {
        self->DropButton();
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void TDockClientForm::ManualDock(TDockPanel& panel) {
    RECT bounds;
    GetWindowRect(Handle(), &bounds);
    if (dockedIn_ && dockedIn_ != &panel) dockedIn_->DoUnDock(*this);
    panel.DockDrop(*this, bounds);
}

void TDockClientForm::AttachTo(TDockPanel& panel) {
    dockTarget_ = &panel;
    if (dockedIn_ == &panel) return;
    if (dockedIn_) dockedIn_->DoUnDock(*this);
    if (!dockedIn_) {
        RECT rect;
        GetWindowRect(Handle(), &rect);
        undockedSize_ = SIZE{rect.right - rect.left, rect.bottom - rect.top};
    }
    const DWORD visible = Visible() ? WS_VISIBLE : 0;
    hiddenWithOwner_ = false;  // docked, it shows and hides with its parent
    SetWindowLongPtrW(Handle(), GWL_STYLE, kDockedStyle | visible);
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, kDockedExStyle);
    SetParent(Handle(), panel.Handle());
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    dockedIn_ = &panel;
}

void TDockClientForm::Float(const RECT& windowRect) {
    const DWORD visible = Visible() ? WS_VISIBLE : 0;
    dockedIn_ = nullptr;
    SetWindowLongPtrW(Handle(), GWL_STYLE, kFloatingStyle | visible);
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, kFloatingExStyle);
    SetParent(Handle(), nullptr);
    SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner_));
    undockedSize_ = SIZE{windowRect.right - windowRect.left, windowRect.bottom - windowRect.top};
    SetWindowPos(Handle(), HWND_TOPMOST, windowRect.left, windowRect.top, undockedSize_.cx, undockedSize_.cy,
                 SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TDockClientForm::VisibilityChanged() {
    const bool visible = Visible();
    if (visible == lastVisible_) return;
    lastVisible_ = visible;
    if (destroying_) return;
    SetButtonDown(visible);
    if (dockedIn_) dockedIn_->UpdatePanelSize(nullptr);
    VisibleChanged(visible);
}

void TDockClientForm::BeginDrag(POINT screen) {
    RECT rect;
    GetWindowRect(Handle(), &rect);
    pressed_ = true;
    dragging_ = false;
    dragStart_ = screen;
    // The floating window keeps the mouse where it took hold, within its floating size.
    grabOffset_ = POINT{std::clamp<LONG>(screen.x - rect.left, 0, undockedSize_.cx - 1),
                        std::clamp<LONG>(screen.y - rect.top, 0, undockedSize_.cy - 1)};
    // Out of the dock, the floating window hangs from its caption.
    if (dockedIn_) grabOffset_.y = GetSystemMetrics(SM_CYSMCAPTION) / 2;
    SetCapture(Handle());
}

RECT TDockClientForm::DropRect(POINT screen, TDockPanel*& target) const {
    RECT rect;
    target = nullptr;
    if (dockTarget_ && dockTarget_->DockOver(*this, screen, rect)) {
        target = dockTarget_;
        return rect;
    }
    const LONG left = screen.x - grabOffset_.x;
    const LONG top = screen.y - grabOffset_.y;
    return RECT{left, top, left + undockedSize_.cx, top + undockedSize_.cy};
}

void TDockClientForm::DragMove(POINT screen) {
    if (!dragging_) {
        if (std::abs(screen.x - dragStart_.x) < kDragThreshold && std::abs(screen.y - dragStart_.y) < kDragThreshold) {
            return;
        }
        dragging_ = true;
    }
    TDockPanel* target = nullptr;
    ShowOutline(DropRect(screen, target));
}

void TDockClientForm::DragEnd(POINT screen, bool cancelled) {
    const bool wasDragging = dragging_;
    pressed_ = false;
    dragging_ = false;
    if (GetCapture() == Handle()) ReleaseCapture();
    HideOutline();
    if (cancelled || !wasDragging) return;
    TDockPanel* target = nullptr;
    const RECT rect = DropRect(screen, target);
    if (target) {
        target->DockDrop(*this, rect);
    } else if (dockedIn_) {
        dockedIn_->DoUnDock(*this);
        Float(rect);
    } else {
        SetWindowPos(Handle(), nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

RECT TDockClientForm::DragOutline() const {
    return outline_ && IsWindowVisible(outline_) ? outlineRect_ : RECT{};
}

void TDockClientForm::ShowOutline(const RECT& rect) {
    if (!outline_) outline_ = CreateOutlineWindow();
    if (!outline_) return;
    outlineRect_ = rect;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HRGN frame = CreateRectRgn(0, 0, width, height);
    HRGN inner = CreateRectRgn(kOutlineWidth, kOutlineWidth, width - kOutlineWidth, height - kOutlineWidth);
    CombineRgn(frame, frame, inner, RGN_DIFF);
    DeleteObject(inner);
    SetWindowRgn(outline_, frame, TRUE);  // the window owns the region now
    SetWindowPos(outline_, HWND_TOPMOST, rect.left, rect.top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TDockClientForm::HideOutline() {
    if (outline_) ShowWindow(outline_, SW_HIDE);
}

LRESULT TDockClientForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_WINDOWPOSCHANGED: {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
            const LRESULT result = Window::HandleMessage(msg, wParam, lParam);
            if (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) VisibilityChanged();
            return result;
        }
        case WM_CLOSE:
            // The close box hides the form; the owner frees it.
            SetVisible(false);
            return 0;
        case WM_NCLBUTTONDOWN:
            if (wParam == HTCAPTION && !dockedIn_) {
                BeginDrag(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
                return 0;
            }
            break;
        case WM_MOUSEMOVE:
            if (pressed_) {
                DragMove(ScreenPoint(Handle(), lParam));
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            if (pressed_) {
                DragEnd(ScreenPoint(Handle(), lParam), false);
                return 0;
            }
            break;
        case WM_CAPTURECHANGED:
            if (pressed_ && reinterpret_cast<HWND>(lParam) != Handle()) DragEnd(POINT{}, true);
            break;
        case WM_DESTROY:
            destroying_ = true;
            HideOutline();
            break;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace torvane
