#include "editor/dock_panel_win.h"

// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>

#include "editor/dock_client_form_win.h"
#include "win/exceptions_win.h"

namespace torvane {

namespace {
constexpr UINT_PTR kSubclassId = 0x444F434B;  // "DOCK"
}

TDockPanel::~TDockPanel() {
    if (hwnd_) RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
}

void TDockPanel::Attach(HWND panel, DockAlign align) {
    hwnd_ = panel;
    align_ = align;
    SetWindowSubclass(panel, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

TDockClientForm* TDockPanel::VisibleClient() const {
    for (TDockClientForm* form : clients_) {
        if (form->Visible()) return form;
    }
    return nullptr;
}

void TDockPanel::UpdatePanelSize(TDockClientForm* excluded) {
    int visible = 0;
    for (TDockClientForm* form : clients_) {
        if (form != excluded && form->Visible()) ++visible;
    }
    // One dockable form exists; several visible ones would share the remembered size.
    SetSize(visible == 0 ? 0 : DockSize);
}

void TDockPanel::SetSize(int size) {
    if (align_ == DockAlign::None) return;
    size_ = size;
    if (OnSizeChanged) {
        OnSizeChanged(size);
    } else {
        RECT rect;
        GetWindowRect(hwnd_, &rect);
        MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&rect), 2);
        const int width = Horizontal() ? rect.right - rect.left : size;
        const int height = Horizontal() ? size : rect.bottom - rect.top;
        SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    LayoutClients();
}

bool TDockPanel::InfluenceContains(POINT screen) const {
    RECT rect;
    GetWindowRect(hwnd_, &rect);
    InflateRect(&rect, kInfluenceMargin, kInfluenceMargin);
    return PtInRect(&rect, screen) != FALSE;
}

bool TDockPanel::DockOver(const TDockClientForm& form, POINT screen, RECT& dockRect) const {
    if (!InfluenceContains(screen) || align_ == DockAlign::None) return false;
    RECT r;
    GetClientRect(hwnd_, &r);
    const int clientWidth = r.right;
    const int clientHeight = r.bottom;
    if (clients_.empty()) {
        // An empty site shows the outline the form would get: the panel's own size, else the
        // form's floating size up to half its parent.
        RECT parent{};
        GetClientRect(GetParent(hwnd_), &parent);
        const SIZE undocked = form.UndockedSize();
        const int s = Horizontal() ? (clientHeight != 0 ? clientHeight : std::min<int>(undocked.cy, parent.bottom / 2))
                                   : (clientWidth != 0 ? clientWidth : std::min<int>(undocked.cx, parent.right / 2));
        switch (align_) {
            case DockAlign::Top: r.bottom = s; break;
            case DockAlign::Bottom: r.top = -s; break;
            case DockAlign::Left: r.right = s; break;
            case DockAlign::Right: r.left = -s; break;
            case DockAlign::None: break;
        }
    } else {
        // The side of the panel nearest to the mouse is where the form would go.
        POINT p = screen;
        ScreenToClient(hwnd_, &p);
        const int distances[] = {p.y, clientHeight - p.y, p.x, clientWidth - p.x};
        const int side = static_cast<int>(std::min_element(distances, distances + 4) - distances);
        switch (side) {
            case 0: r.bottom = r.top + clientHeight / 2; break;
            case 1: r.top = r.bottom - clientHeight / 2; break;
            case 2: r.right = r.left + clientWidth / 2; break;
            default: r.left = r.right - clientWidth / 2; break;
        }
    }
    MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    dockRect = r;
    return true;
}

void TDockPanel::DockDrop(TDockClientForm& form, const RECT& dockRect) {
    if (std::find(clients_.begin(), clients_.end(), &form) == clients_.end()) clients_.push_back(&form);
    form.AttachTo(*this);
    if (clients_.size() > 1) return;
    DockSize = Horizontal() ? dockRect.bottom - dockRect.top : dockRect.right - dockRect.left;
    UpdatePanelSize(nullptr);
}

bool TDockPanel::DoUnDock(TDockClientForm& form) {
    const auto it = std::find(clients_.begin(), clients_.end(), &form);
    if (it == clients_.end()) return false;
    clients_.erase(it);
    UpdatePanelSize(&form);
    return true;
}

void TDockPanel::Forget(TDockClientForm& form) {
    clients_.erase(std::remove(clients_.begin(), clients_.end(), &form), clients_.end());
}

RECT TDockPanel::GrabberRect() const {
    RECT client;
    GetClientRect(hwnd_, &client);
    if (Horizontal()) {
        client.right = std::min<LONG>(client.right, kGrabberSize);
    } else {
        client.bottom = std::min<LONG>(client.bottom, kGrabberSize);
    }
    return client;
}

RECT TDockPanel::CloseBoxRect() const {
    const RECT grabber = GrabberRect();
    constexpr int kBox = kGrabberSize - 2;
    if (Horizontal()) return RECT{1, 1, 1 + kBox, 1 + kBox};
    return RECT{grabber.right - kBox - 1, 1, grabber.right - 1, 1 + kBox};
}

void TDockPanel::LayoutClients() {
    RECT client;
    GetClientRect(hwnd_, &client);
    for (TDockClientForm* form : clients_) {
        if (Horizontal()) {
            MoveWindow(form->Handle(), kGrabberSize, 0, std::max(0L, client.right - kGrabberSize), client.bottom, TRUE);
        } else {
            MoveWindow(form->Handle(), 0, kGrabberSize, client.right, std::max(0L, client.bottom - kGrabberSize), TRUE);
        }
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TDockPanel::Paint(HDC dc) {
    if (!VisibleClient()) return;
    const RECT grabber = GrabberRect();
    RECT close = CloseBoxRect();
    DrawFrameControl(dc, &close, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_FLAT);
    // Two raised lines along the strip, below or beside the close box.
    for (int i = 0; i < 2; ++i) {
        RECT line = grabber;
        if (Horizontal()) {
            line.top = close.bottom + 3;
            line.bottom -= 3;
            line.left = 3 + i * 3;
            line.right = line.left + 3;
        } else {
            line.left += 3;
            line.right = close.left - 3;
            line.top = 3 + i * 3;
            line.bottom = line.top + 3;
        }
        DrawEdge(dc, &line, BDR_RAISEDINNER, BF_RECT);
    }
}

LRESULT CALLBACK TDockPanel::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR refData) {
    auto* self = reinterpret_cast<TDockPanel*>(refData);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
        self->hwnd_ = nullptr;
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    LRESULT result = 0;
    if (!win::Guarded(GetAncestor(hwnd, GA_ROOT), [&] { result = self->HandleMessage(msg, wParam, lParam); })) {
        if (msg == WM_PAINT) ValidateRect(hwnd, nullptr);
    }
    return result;
}

LRESULT TDockPanel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE:
            LayoutClients();
            break;
        case WM_PAINT: {
            const LRESULT result = DefSubclassProc(hwnd_, msg, wParam, lParam);
            HDC dc = GetDC(hwnd_);
            Paint(dc);
            ReleaseDC(hwnd_, dc);
            return result;
        }
        case WM_LBUTTONDOWN: {
            TDockClientForm* form = VisibleClient();
            const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const RECT grabber = GrabberRect();
            if (!form || !PtInRect(&grabber, point)) break;
            const RECT close = CloseBoxRect();
            if (PtInRect(&close, point)) {
                form->SetVisible(false);
                return 0;
            }
            POINT screen = point;
            ClientToScreen(hwnd_, &screen);
            form->BeginDrag(screen);
            return 0;
        }
    }
    return DefSubclassProc(hwnd_, msg, wParam, lParam);
}

}  // namespace torvane
