#pragma once
// TDockPanel: a dock site along one edge of its parent. It sizes itself to the form docked in
// it (DockSize along the docking direction), collapses to nothing while that form is hidden or
// dragged away, and shows the drop outline while a form is dragged over it. Docked forms lie
// beside a grabber strip, by which the user drags them out; its close box hides the form.
//
// The panel is any child window (the main window's DockPanel1); TDockPanel subclasses it. Its
// parent lays it out: OnSizeChanged tells the new size along the docking direction.
#include <windows.h>

#include <functional>
#include <vector>

namespace torvane {

class TDockClientForm;

enum class DockAlign { None, Top, Bottom, Left, Right };

class TDockPanel {
public:
    static constexpr int kGrabberSize = 12;
    // How far around the panel a drop still lands on it, so an empty (collapsed) site can be hit.
    static constexpr int kInfluenceMargin = 10;

    TDockPanel() = default;
    TDockPanel(const TDockPanel&) = delete;
    TDockPanel& operator=(const TDockPanel&) = delete;
    ~TDockPanel();

    void Attach(HWND panel, DockAlign align);
    HWND Handle() const { return hwnd_; }
    DockAlign Align() const { return align_; }

    // The remembered size of the docked form along the docking direction.
    int DockSize = 0;
    // The size the panel now wants along the docking direction (0 collapsed).
    int Size() const { return size_; }
    std::function<void(int size)> OnSizeChanged;

    const std::vector<TDockClientForm*>& Clients() const { return clients_; }

    // Resizes the panel for its visible docked forms, leaving out excluded (may be null).
    void UpdatePanelSize(TDockClientForm* excluded);
    // Whether a drag at this screen point lands on the panel.
    bool InfluenceContains(POINT screen) const;
    // The outline (screen coordinates) a drop of form at this point would dock into; false when
    // the panel does not take it.
    bool DockOver(const TDockClientForm& form, POINT screen, RECT& dockRect) const;
    // Docks form into the panel; dockRect (screen) gives DockSize when the panel holds only it.
    void DockDrop(TDockClientForm& form, const RECT& dockRect);
    // Takes form out of the panel; true when it was docked here.
    bool DoUnDock(TDockClientForm& form);
    // A form that goes away: dropped from the list without resizing anything.
    void Forget(TDockClientForm& form);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR refData);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    bool Horizontal() const { return align_ == DockAlign::Top || align_ == DockAlign::Bottom; }
    void SetSize(int size);
    // Places the docked forms beside the grabber.
    void LayoutClients();
    RECT GrabberRect() const;
    RECT CloseBoxRect() const;
    TDockClientForm* VisibleClient() const;
    void Paint(HDC dc);

    HWND hwnd_ = nullptr;
    DockAlign align_ = DockAlign::Bottom;
    int size_ = 0;
    std::vector<TDockClientForm*> clients_;
};

}  // namespace torvane
