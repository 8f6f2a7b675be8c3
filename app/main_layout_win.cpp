// The main window's controls and their places.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>

#include "app/main_form_win.h"
#include "win/panel.h"

namespace torvane {

namespace {

constexpr int kSplitterWidth = 3;
constexpr int kMinPaneWidth = 30;  // neither side of the splitter gets narrower

HMENU ControlId(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

HWND CreateControl(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int id, HFONT font) {
    const HWND control = CreateWindowExW(exStyle, className, nullptr, style, 0, 0, 0, 0, parent, ControlId(id),
                                         GetModuleHandleW(nullptr), nullptr);
    if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

// The font of a control made elsewhere, as CreateControl sets it.
HWND WithFont(HWND control, HFONT font) {
    if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

// A tool bar of image buttons whose commands and tool tips go to owner.
HWND CreateButtonBar(HWND parent, HWND owner, int id, HIMAGELIST images, DWORD extraStyle) {
    const HWND bar = CreateControl(
        TOOLBARCLASSNAMEW,
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | extraStyle, 0,
        parent, id, nullptr);
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(bar, TB_SETPARENT, reinterpret_cast<WPARAM>(owner), 0);
    SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    return bar;
}

// Shown when its parent is: the window itself may still be hidden.
bool HasVisibleStyle(HWND window) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

int HeightOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

}  // namespace

bool TMainForm::CreateControls() {
    CreateActions();
    CreateCoolBar();
    CreatePages();
    CreateItemList();
    controls_.StatusBar1 = CreateControl(STATUSCLASSNAMEW, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, Handle(),
                                         kIdStatusBar, font_.Handle());
    int parts[] = {-1};
    SendMessageW(controls_.StatusBar1, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
    tree_.Attach(controls_.TreeView1);
    itemList_.Attach(controls_.ListView1);
    companyList_.Attach(controls_.CompanyList);
    treeRedraw_.Attach(controls_.TreeView1);
    listRedraw_.Attach(controls_.ListView1);
    companyRedraw_.Attach(controls_.CompanyList);
    const MainControls& c = controls_;
    return c.CoolBar1 && c.MenuBar1 && c.ToolBar1 && c.PageControl1 && c.TabSheet1 && c.TabSheet2 && c.ToolBar2 &&
           c.TreeView1 && c.CompanyList && c.Splitter1 && c.ListView1 && c.DockPanel1 && c.StatusBar1;
}

// Two bands, each on its own row: the menu bar above the button bar.
void TMainForm::CreateCoolBar() {
    controls_.CoolBar1 = CreateControl(REBARCLASSNAMEW,
                                       WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT |
                                           RBS_BANDBORDERS | CCS_NODIVIDER | CCS_TOP,
                                       0, Handle(), kIdCoolBar, font_.Handle());
    controls_.MenuBar1 = menuBar_.Create(controls_.CoolBar1, Handle(), kCmdMenuFirst, font_.Handle());
    CreateMenus();
    controls_.ToolBar1 = CreateButtonBar(controls_.CoolBar1, Handle(), kIdButtonBar, toolImages_.List(),
                                         CCS_NORESIZE | CCS_NOPARENTALIGN);
    SendMessageW(controls_.ToolBar1, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    AddButtons();

    const SIZE menuSize = menuBar_.IdealSize();
    SIZE buttonSize{};
    SendMessageW(controls_.ToolBar1, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&buttonSize));
    struct Band {
        HWND child;
        SIZE size;
        UINT style;
    };
    const Band bands[] = {{controls_.MenuBar1, menuSize, RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS},
                          {controls_.ToolBar1, buttonSize, RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS | RBBS_BREAK}};
    for (const Band& band : bands) {
        REBARBANDINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_IDEALSIZE;
        info.fStyle = band.style;
        info.hwndChild = band.child;
        info.cxMinChild = 0;
        info.cyMinChild = static_cast<UINT>(band.size.cy);
        info.cx = static_cast<UINT>(band.size.cx + 16);
        info.cxIdeal = static_cast<UINT>(band.size.cx);
        SendMessageW(controls_.CoolBar1, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&info));
    }
}

void TMainForm::CreatePages() {
    controls_.PageControl1 =
        CreateControl(WC_TABCONTROLW, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_BUTTONS | TCS_FLATBUTTONS, 0,
                      Handle(), kIdPageControl, font_.Handle());
    const wchar_t* const captions[] = {L"カテゴリ", L"会社（作者）名"};
    for (int i = 0; i < 2; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(captions[i]);
        SendMessageW(controls_.PageControl1, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    // The pages lie over the tab control's display area, as its siblings, so their controls
    // report to this window.
    controls_.TabSheet1 = win::CreatePanel(Handle(), kIdTabSheet1);
    controls_.TabSheet2 = win::CreatePanel(Handle(), kIdTabSheet2, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    for (HWND page : {controls_.TabSheet1, controls_.TabSheet2}) {
        SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    controls_.ToolBar2 = CreateButtonBar(controls_.TabSheet1, Handle(), kIdFolderBar, toolImages_.List(), CCS_TOP);
    actions_.AddToolButton(controls_.ToolBar2, kCmdNewFolder);
    actions_.AddToolButton(controls_.ToolBar2, kCmdDelFolder);
    SendMessageW(controls_.ToolBar2, TB_AUTOSIZE, 0, 0);

    // The controls as their classes define them, the same ones their own tests check.
    controls_.TreeView1 =
        WithFont(CategoryTree::Create(controls_.TabSheet1, kIdTreeView, treeImages_.List()), font_.Handle());
    controls_.CompanyList = WithFont(CompanyListView::Create(controls_.TabSheet2, kIdCompanyList), font_.Handle());

    controls_.Splitter1 = splitter_.Create(Handle(), kIdSplitter);
    splitter_.OnMoved = [this](int x) { MoveSplitter(x); };
}

void TMainForm::CreateItemList() {
    controls_.ListView1 = WithFont(ItemList::Create(Handle(), kIdListView, treeImages_.List()), font_.Handle());

    controls_.DockPanel1 = win::CreatePanel(Handle(), kIdDockPanel);
}

void TMainForm::Layout() {
    if (!controls_.StatusBar1) return;
    RECT client;
    GetClientRect(Handle(), &client);
    const int width = client.right;

    // The cool bar and the status bar place themselves along the edges.
    SendMessageW(controls_.CoolBar1, WM_SIZE, 0, 0);
    const int top = HeightOf(controls_.CoolBar1);
    int bottom = client.bottom;
    if (HasVisibleStyle(controls_.StatusBar1)) {
        SendMessageW(controls_.StatusBar1, WM_SIZE, 0, 0);
        bottom -= HeightOf(controls_.StatusBar1);
    }
    const int height = std::max(0, bottom - top);

    pageWidth_ = std::max(0, std::min(pageWidth_, width - kSplitterWidth));
    const RECT pageRect{0, top, pageWidth_, top + height};
    MoveWindow(controls_.PageControl1, 0, top, pageWidth_, height, TRUE);
    LayoutPages(pageRect);
    MoveWindow(controls_.Splitter1, pageWidth_, top, kSplitterWidth, height, TRUE);

    const int right = pageWidth_ + kSplitterWidth;
    const int rightWidth = std::max(0, width - right);
    const int dockHeight = std::min(dockPanelHeight_, height);
    MoveWindow(controls_.ListView1, right, top, rightWidth, height - dockHeight, TRUE);
    MoveWindow(controls_.DockPanel1, right, top + height - dockHeight, rightWidth, dockHeight, TRUE);
}

void TMainForm::LayoutPages(const RECT& pageRect) {
    RECT display = pageRect;
    // Only the edges move, so the rectangle may be in this window's coordinates.
    SendMessageW(controls_.PageControl1, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    const int width = std::max(0, static_cast<int>(display.right - display.left));
    const int height = std::max(0, static_cast<int>(display.bottom - display.top));
    for (HWND page : {controls_.TabSheet1, controls_.TabSheet2}) {
        MoveWindow(page, display.left, display.top, width, height, TRUE);
    }
    SendMessageW(controls_.ToolBar2, TB_AUTOSIZE, 0, 0);
    const int barHeight = HasVisibleStyle(controls_.ToolBar2) ? HeightOf(controls_.ToolBar2) : 0;
    MoveWindow(controls_.TreeView1, 0, barHeight, width, std::max(0, height - barHeight), TRUE);
    MoveWindow(controls_.CompanyList, 0, 0, width, height, TRUE);
}

void TMainForm::ShowPage(int index) {
    SendMessageW(controls_.PageControl1, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    ShowWindow(controls_.TabSheet1, index == 0 ? SW_SHOW : SW_HIDE);
    ShowWindow(controls_.TabSheet2, index == 1 ? SW_SHOW : SW_HIDE);
}

void TMainForm::MoveSplitter(int x) {
    RECT client;
    GetClientRect(Handle(), &client);
    const int widest = client.right - kSplitterWidth - kMinPaneWidth;
    const int wanted = std::max(kMinPaneWidth, std::min(x, widest));
    if (wanted == pageWidth_) return;
    pageWidth_ = wanted;
    Layout();
}

}  // namespace torvane
