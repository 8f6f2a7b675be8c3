#include "app/main_form_win.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "app/startup_trace_win.h"
#include "editor/prop_form_win.h"
#include "res/resource.h"
#include "settings/file_name.h"
#include "win/exceptions_win.h"
#include "win/text.h"

namespace torvane {

namespace {

constexpr wchar_t kClassName[] = L"TMainForm";
constexpr char kApplicationTitle[] = "Torvane";
constexpr char kActiveIcon[] = "ACTIVE";
constexpr char kSleepIcon[] = "SLEEP";

void AddIfFocusable(std::vector<HWND>& order, HWND control) {
    if (control && IsWindowVisible(control) && IsWindowEnabled(control)) order.push_back(control);
}

// The controls Tab visits, in order: the page's tree or company list, the item list, then
// whatever is docked below it, by its own WS_TABSTOP children in their order.
std::vector<HWND> TabOrder(const MainControls& c) {
    std::vector<HWND> order;
    AddIfFocusable(order, IsWindowVisible(c.TabSheet2) ? c.CompanyList : c.TreeView1);
    AddIfFocusable(order, c.ListView1);
    EnumChildWindows(
        c.DockPanel1,
        [](HWND child, LPARAM list) -> BOOL {
            if (GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP) {
                AddIfFocusable(*reinterpret_cast<std::vector<HWND>*>(list), child);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&order));
    return order;
}

// Tab and Shift+Tab between the controls of the window, as in a dialog; a control that wants
// Tab for itself (a multi-line edit) keeps it.
bool MoveFocusByTab(const MainControls& controls, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || GetKeyState(VK_CONTROL) < 0) return false;
    if (SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTTAB) return false;
    const std::vector<HWND> order = TabOrder(controls);
    if (order.empty()) return false;
    // The focus may be inside one of them (the tree's edit box, a combo box's edit).
    const HWND focus = GetFocus();
    auto current = std::find_if(order.begin(), order.end(),
                                [focus](HWND control) { return control == focus || IsChild(control, focus); });
    const bool backwards = GetKeyState(VK_SHIFT) < 0;
    size_t next = 0;
    if (current == order.end()) {
        next = backwards ? order.size() - 1 : 0;
    } else {
        const size_t at = static_cast<size_t>(current - order.begin());
        next = backwards ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
    }
    SetFocus(order[next]);
    return true;
}

}  // namespace

TMainForm::TMainForm(TInitParam& params, AppWindow& app, std::string programPath)
    : params_(params),
      app_(app),
      programPath_(std::move(programPath)),
      toolImages_(IDB_TOOLBAR),
      treeImages_(IDB_TREE),
      actions_(&toolImages_) {}

TMainForm::~TMainForm() {
    // Gone without a close (the message loop ended some other way): the close sequence runs
    // all the same, while the window is still whole, so unsaved changes are written.
    if (created_ && Handle()) FormClose();
    // The controls' last notifications find a window that fills nothing any more.
    destroying_ = true;
    // Controls and menus go with the window; the menus that no window holds go here.
    Destroy();
    for (HMENU menu : {menus_.PopupMenu2, menus_.TrayPopup, menus_.MacroPopup}) {
        if (menu) DestroyMenu(menu);
    }
}

bool TMainForm::CreateForm() {
    WNDCLASSEXW wc{};
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    if (!RegisterWindowClass(kClassName, wc)) return false;
    // Owned by the application window, so the main window has no task-bar button of its own.
    if (!Create(kClassName, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, CW_USEDEFAULT, CW_USEDEFAULT, kDesignWidth,
                kDesignHeight, app_.Handle())) {
        return false;
    }
    prompts_.SetOwner(Handle());
    app_.SetMainWindow(Handle());
    created_ = true;
    FormCreate();
    return true;
}

bool TMainForm::PreTranslateMessage(MSG& msg) {
    // Esc cancels a drag whichever control has the focus.
    if (dragSource_ != DragSource::None && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        EndDrag();
        return true;
    }
    if (propForm_ && propForm_->PreTranslateMessage(msg)) return true;
    // Tab and the arrow keys move between the mini tool window's lists.
    if (miniTool_ && miniTool_->Handle() && (msg.hwnd == miniTool_->Handle() || IsChild(miniTool_->Handle(), msg.hwnd)) &&
        IsDialogMessageW(miniTool_->Handle(), &msg)) {
        return true;
    }
    if (!Handle() || (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd))) return false;
    if (menuBar_.PreTranslate(msg, Handle())) return true;
    return MoveFocusByTab(controls_, msg);
}

// Start-up: later steps rely on earlier ones.
void TMainForm::FormCreate() {
    // The start-up prompt for the password runs inside; a close asked for meanwhile ends the
    // run once start-up is complete.
    ModalScope starting(*this);
    const std::wstring title = L"Torvane (v." + win::ToWide(aboutDialog_.GetShortVersion()) + L")";
    SetWindowTextW(Handle(), title.c_str());
    app_.OnMinimize = [this] { HideBtnClick(); };

    params_.LoadParams(ChangeFileExt(programPath_, ".ini"));
    StartupMark("settings");
    SetupHelp();

    CurrentFile = params_.LastOpen.empty() ? ChangeFileExt(programPath_, ".tvd") : params_.LastOpen;
    openDialogDir_ = params_.OpenDir;
    saveDialogDir_ = params_.SaveDir;
    ApplyStatusBarVisible(params_.StatusBar);

    trayIcon_ = std::make_unique<TTrayIcon>();
    trayIcon_->SetIcon(params_.StartFor ? kSleepIcon : kActiveIcon, kApplicationTitle);
    trayIcon_->SetOwnerWindow(Handle());
    trayIcon_->ShowInTray(true);
    wwwLink_ = std::make_unique<TWWWLink>(Handle());

    passList_ = std::make_unique<TPassList>(prompts_, collator_, fileOps_);
    CreatePropertyPanel();
    ShowPage(0);
    PlaceBottomRight();
    actions_[kCmdDispProp].SetChecked(PropertyPanelVisible());
    actions_[kCmdStatusAction].SetChecked(StatusBarVisible());
    StartupMark("windows");

    LoadDataFile();
    SelectNodeByPath(params_.LastNode);
    StartupMark("list");

    // A window about to close is not shown first.
    if (!params_.StartFor && !closePending_) {
        ShowWindow(Handle(), SW_SHOW);
    } else {
        FormHide();
    }
}

void TMainForm::FormShow() {
    ShowWindow(app_.Handle(), SW_RESTORE);
    ShowWindow(app_.Handle(), SW_SHOW);
    SetForegroundWindow(app_.Handle());
    if (destroying_) return;
    if (trayIcon_) trayIcon_->SetIcon(kActiveIcon, kApplicationTitle);
    SetMiniToolMainButton(true);
    if (propForm_) propForm_->OwnerShown(true);
}

void TMainForm::FormHide() {
    ShowWindow(app_.Handle(), SW_HIDE);
    if (destroying_) return;
    if (trayIcon_) trayIcon_->SetIcon(kSleepIcon, kApplicationTitle);
    SetMiniToolMainButton(false);
    // A floating panel is owned but not hidden with us by the system: it goes to the tray too.
    if (propForm_) propForm_->OwnerShown(false);
}

void TMainForm::TrayMessage(LPARAM mouseMessage) {
    switch (mouseMessage) {
        case WM_LBUTTONDOWN:
            if (InModal()) {
                // The open prompt is what the user can work with; a window it disables is not.
                SetForegroundWindow(GetLastActivePopup(Handle()));
            } else if (IsWindowVisible(Handle())) {
                SetForegroundWindow(Handle());
            } else if (!(actions_[kCmdDispMiniWin].Checked() && BringMiniToolToFront())) {
                ShowMenuClick();
            }
            break;
        case WM_RBUTTONDOWN:
            ShowTrayMenu();
            break;
    }
}

void TMainForm::HideBtnClick() {
    ShowWindow(Handle(), SW_HIDE);
}

void TMainForm::ShowMenuClick() {
    // A window minimised some other way comes back in its normal size.
    ShowWindow(Handle(), IsIconic(Handle()) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(Handle());
}

void TMainForm::ExitBtnClick() {
    SendMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TMainForm::DispMiniWinExecute() {
    win::Action& action = actions_[kCmdDispMiniWin];
    action.SetChecked(!action.Checked());
    if (action.Checked()) MakeMiniTool();
    if (miniTool_) ShowWindow(miniTool_->Handle(), action.Checked() ? SW_SHOW : SW_HIDE);
}

void TMainForm::StatusActionExecute() {
    ApplyStatusBarVisible(!StatusBarVisible());
    actions_[kCmdStatusAction].SetChecked(StatusBarVisible());
}

void TMainForm::ShowFileName() {
    SendMessageW(controls_.StatusBar1, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(win::ToWide(CurrentFile).c_str()));
}

void TMainForm::SetModified() {
    if (passList_) passList_->Modified = true;
}

// Closing by any means ends the program: what the next start needs is recorded, unsaved
// changes are saved without asking, and the owned objects go. Runs once, however the window
// goes (WM_CLOSE, WM_DESTROY, the session's end, the destructor).
void TMainForm::FormClose() {
    if (!closed_) {
        closed_ = true;
        params_.PropView = PropertyPanelVisible();
        params_.StatusBar = StatusBarVisible();
        params_.LastOpen = CurrentFile;
        params_.LastNode = SelectedNodePath();
        EndDrag();

        // Never on top of a load or a save still running (a close forced on us while one asks
        // for the password): the list is not the file's yet, or is being written. A failed save
        // has shown its message; the program closes all the same.
        if (passList_ && passList_->Modified && fileDepth_ == 0) {
            win::Guarded(Handle(), [this] { SaveDataFile(CurrentFile); });
        }
    }
    // A load, a save or a prompt further up the stack still works on them; the destructor
    // frees them after it.
    if (!InModal()) ReleaseOwned();
}

void TMainForm::ReleaseOwned() {
    if (!passList_ && !trayIcon_ && !miniTool_) return;
    // The rows and the mini tool window's titles point into the record list.
    ClearItemList();
    miniTool_.reset();
    miniRecords_.clear();
    passList_.reset();
    trayIcon_.reset();
}

void TMainForm::RequestClose() {
    if (!Handle() || destroying_) return;
    if (InModal()) {
        // The load, save or prompt returns first; PostDeferredClose asks again then.
        closePending_ = true;
        closePosted_ = false;
        return;
    }
    closePending_ = closePosted_ = false;
    if (!closed_ && !SaveBeforeClose()) return;
    FormClose();
    destroying_ = true;
    // Hidden first, so the application window's task-bar button goes with it.
    ShowWindow(Handle(), SW_HIDE);
    DestroyWindow(Handle());
}

// Posted rather than carried out: the handler that ran the prompt still has its own steps to
// finish on a whole window.
void TMainForm::PostDeferredClose() {
    if (!closePending_ || closePosted_ || closed_ || InModal() || !Handle()) return;
    closePosted_ = true;
    PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

bool TMainForm::InModal() const {
    // A modal window of ours disables this one, also one shown without a scope.
    return modalDepth_ > 0 || (Handle() && !IsWindowEnabled(Handle()));
}

bool TMainForm::Busy() const {
    return closePending_ || InModal();
}

void TMainForm::EndModal(ModalScope::Kind kind) {
    --modalDepth_;
    if (kind == ModalScope::kFile) --fileDepth_;
    PostDeferredClose();
}

// Only a close gets through, and waits: anything else could start a second load or save on
// top of the first, or change the list under it.
bool TMainForm::IgnoredWhileBusy(int command) const {
    if (command == kCmdExitAction || command == kCmdTrayExit || !Busy()) return false;
    return actions_.Find(command) != nullptr || (command >= kCmdMacroFirst && command <= kCmdMacroLast);
}

TMainForm::ModalScope::ModalScope(TMainForm& form, Kind kind) : form_(form), kind_(kind) {
    ++form_.modalDepth_;
    if (kind_ == kFile) ++form_.fileDepth_;
}

TMainForm::ModalScope::~ModalScope() {
    form_.EndModal(kind_);
}

// The bar's own state: while the window is hidden (at start) IsWindowVisible would say no.
bool TMainForm::StatusBarVisible() const {
    return (GetWindowLongPtrW(controls_.StatusBar1, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TMainForm::ApplyStatusBarVisible(bool visible) {
    ShowWindow(controls_.StatusBar1, visible ? SW_SHOW : SW_HIDE);
    Layout();
}

void TMainForm::PlaceBottomRight() {
    RECT rect;
    GetWindowRect(Handle(), &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    SetWindowPos(Handle(), nullptr, GetSystemMetrics(SM_CXSCREEN) - width,
                 GetSystemMetrics(SM_CYSCREEN) - height - kTaskBarAllowance, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::RememberFocus() {
    const HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus)) focusedControl_ = focus;
}

void TMainForm::RestoreFocus() {
    if (focusedControl_ && IsWindow(focusedControl_) && IsWindowVisible(focusedControl_)) {
        SetFocus(focusedControl_);
    } else if (IsWindowVisible(controls_.ListView1)) {
        SetFocus(controls_.ListView1);
    }
}

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
            return CreateControls() ? 0 : -1;
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) {
                // Minimised without the minimise box (ShowWindow): to the tray all the same.
                if (created_) HideBtnClick();
                return 0;
            }
            Layout();
            return 0;
        case WM_SHOWWINDOW:
            // Only ShowWindow's own changes: an owner being minimised or restored says nothing
            // about this window's state.
            if (lParam == 0 && created_) {
                if (wParam) {
                    FormShow();
                } else {
                    FormHide();
                }
            }
            break;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_MINIMIZE:
                    HideBtnClick();
                    return 0;
                case SC_KEYMENU:
                    if (lParam != 0 && menuBar_.OpenByAccessKey(static_cast<wchar_t>(lParam))) return 0;
                    break;
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                menuBar_.SelectTitle(-1);
                RememberFocus();
            } else if (!HIWORD(wParam)) {
                RestoreFocus();
            }
            return 0;
        case WM_COMMAND:
            if (IgnoredWhileBusy(LOWORD(wParam))) return 0;
            if (actions_.Execute(LOWORD(wParam))) return 0;
            if (LOWORD(wParam) >= kCmdMacroFirst && LOWORD(wParam) <= kCmdMacroLast) {
                MacroExecute(LOWORD(wParam) - kCmdMacroFirst);
                return 0;
            }
            break;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return result;
            break;
        }
        case WM_MOUSEMOVE:
            if (dragSource_ == DragSource::None) break;
            DragMouseMove(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_LBUTTONUP:
            if (dragSource_ == DragSource::None) break;
            DragButtonUp(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_KEYDOWN:
            if (dragSource_ == DragSource::None || wParam != VK_ESCAPE) break;
            EndDrag();
            return 0;
        case WM_CAPTURECHANGED:
            // Taken away (another window, the system): the drag ends without a drop.
            if (dragSource_ != DragSource::None && reinterpret_cast<HWND>(lParam) != Handle()) EndDrag();
            return 0;
        case WM_CONTEXTMENU:
            // Anything but the item list (the title bar's window menu, say) is the system's.
            if (reinterpret_cast<HWND>(wParam) != controls_.ListView1) break;
            ShowContextMenu(controls_.ListView1,
                            POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_MEASUREITEM:
            if (actions_.MeasureMenuImage(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
            break;
        case WM_DRAWITEM:
            if (actions_.DrawMenuImage(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
            break;
        case kTrayMessage:
            TrayMessage(lParam);
            return 0;
        case WM_CLOSE:
            RequestClose();
            return 0;
        case WM_ENABLE:
            // A modal window shown without a scope has ended.
            if (wParam) PostDeferredClose();
            break;
        case WM_DESTROY:
            // Destroyed without WM_CLOSE (the destructor, the owner going): the children are
            // still there, so the state can be recorded and the changes saved.
            if (created_) FormClose();
            destroying_ = true;
            break;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // The session ends without the message loop ending: close and write the settings now.
            // Inside a load, a save or a prompt the process ends all the same; the close then
            // records and saves what it safely can and frees nothing.
            if (wParam) {
                FormClose();
                std::string ignored;
                params_.SaveParams(ignored);
            }
            return 0;
        default:
            if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
                // The shell restarted and forgot the icon.
                if (trayIcon_) trayIcon_->Restore();
                return 0;
            }
            break;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

void TMainForm::OnWindowGone() {
    if (OnClosed) OnClosed();
}

// ---- Links to the help viewer, the mini tool window and the property panel -------------------
// Called at their places in the life of the window; without those windows each does what
// leaves the rest of the window working.

// The help viewer link: HelpAction is enabled only when the help component is usable.
void TMainForm::SetupHelp() {
    htmHelp_.SetFileName(ChangeFileExt(programPath_, ".chm"));
    actions_[kCmdHelpAction].SetEnabled(htmHelp_.Enabled());
}

// The mini tool window, hidden and without owner. It is made when first shown (or asked for):
// most runs never show it, and filling its title list for a large folder at every start would
// delay the main window. Until then the titles it would hold are kept here.
bool TMainForm::MakeMiniTool() {
    if (miniTool_) return true;
    if (!created_ || closed_ || !passList_ || destroying_) return false;
    TMiniTool::Host host;
    host.mainVisible = [this] { return IsWindowVisible(Handle()) != FALSE; };
    host.setMainVisible = [this](bool visible) {
        if (visible) {
            ShowMenuClick();
        } else {
            HideBtnClick();
        }
    };
    host.closeMain = [this] { ExitBtnClick(); };
    host.showVersion = [this] { DispVersion(); };
    host.showHelp = [this] { HelpActionExecute(); };
    host.browseURL = [this](const std::string& url) {
        if (!wwwLink_ || Busy()) return;
        ModalScope opening(*this);
        wwwLink_->BrowseURL(url);
    };
    host.closed = [this] { actions_[kCmdDispMiniWin].SetChecked(false); };
    host.taskBarWindow = [this] { return app_.Handle(); };
    host.keyDelay = [this] { return static_cast<int>(params_.KeyDelay); };
    host.keyPause = [this] { return static_cast<int>(params_.KeyPause); };
    host.addEnter = [this] { return params_.AddEnter; };
    miniTool_ = std::make_unique<TMiniTool>(std::move(host));
    if (!miniTool_->CreateForm()) {
        miniTool_.reset();
        actions_[kCmdDispMiniWin].SetChecked(false);
        actions_[kCmdDispMiniWin].SetEnabled(false);
        return false;
    }
    miniTool_->SetCommandsEnabled(actions_[kCmdVersionInfo].Enabled(), actions_[kCmdHelpAction].Enabled());
    if (miniCaption_) miniTool_->SetCaption(*miniCaption_);
    miniTool_->AddTitles(miniRecords_);
    miniCaption_.reset();
    miniRecords_ = {};
    return true;
}

TMiniTool* TMainForm::MiniTool() {
    MakeMiniTool();
    return miniTool_.get();
}

// The property panel: docked into DockPanel1, visible as PROPVIEW says, shown and hidden by
// PropBtn and DispProp. It is made when first shown: most runs start with it hidden, and its
// many controls would cost a good part of the start-up.
void TMainForm::CreatePropertyPanel() {
    dockPanel_.Attach(controls_.DockPanel1, DockAlign::Bottom);
    dockPanel_.OnSizeChanged = [this](int size) {
        dockPanelHeight_ = size;
        if (!destroying_) Layout();
    };
    // Collapsed, as it is with the hidden panel docked in it.
    dockPanel_.UpdatePanelSize(nullptr);
    // Until the panel exists; then the panel's own binding takes PropBtn over.
    actions_[kCmdPropBtn].SetHandler([this] {
        SetPropertyPanelVisible(SendMessageW(controls_.ToolBar1, TB_ISBUTTONCHECKED, kCmdPropBtn, 0) != 0);
    });
    actions_[kCmdPropBtn].SetEnabled(true);
    actions_[kCmdDispProp].SetHandler([this] { SetPropertyPanelVisible(!PropertyPanelVisible()); });
    actions_[kCmdDispProp].SetEnabled(true);
    if (params_.PropView) SetPropertyPanelVisible(true);
}

// Made hidden, docked, showing what it would show had it been there from the start. False when
// the window could not be made: the panel's commands then go off.
bool TMainForm::MakePropertyPanel() {
    if (propForm_) return true;
    PropFormHost host;
    host.RefreshSelectedItem = [this](TPassItem* record) { RefreshSelectedItem(record); };
    host.BrowseURL = [this](const std::string& url) { BrowsePanelURL(url); };
    host.VisibleChanged = [this](bool visible) { actions_[kCmdDispProp].SetChecked(visible); };
    host.MacroChanged = [this](TPassItem* record) {
        SetModified();
        UpdateMacroMenu(record);
    };
    host.MacroExecute = [this](int entry) { RunPanelMacro(entry); };
    propForm_ = std::make_unique<TPropForm>(std::move(host), toolImages_.List());
    if (!propForm_->CreatePanel(Handle())) {
        propForm_.reset();
        actions_[kCmdPropBtn].SetEnabled(false);
        actions_[kCmdDispProp].SetEnabled(false);
        return false;
    }
    propForm_->ManualDock(dockPanel_);
    propForm_->AddToHistories(panelHistories_);
    panelHistories_ = {};
    propForm_->SetCompanyEditable(panelCompanyEditable_);
    propForm_->SetItem(panelItem_);
    // A PropBtn pressed to ask for the panel shows it now.
    propForm_->SetVisibleButton(controls_.ToolBar1, kCmdPropBtn, &actions_[kCmdPropBtn]);
    return true;
}

void TMainForm::SetPropertyPanelVisible(bool visible) {
    if (visible) MakePropertyPanel();
    if (propForm_) {
        propForm_->SetVisible(visible);
        return;
    }
    propertyPanelVisible_ = visible;
    SendMessageW(controls_.ToolBar1, TB_CHECKBUTTON, kCmdPropBtn, MAKELPARAM(visible ? TRUE : FALSE, 0));
}

bool TMainForm::PropertyPanelVisible() const {
    return propForm_ ? propForm_->Visible() : propertyPanelVisible_;
}

void TMainForm::FocusPropertyPanelTitle() {
    if (propForm_ && propForm_->Visible()) propForm_->FocusTitle();
}

// The panel's URL button.
void TMainForm::BrowsePanelURL(const std::string& url) {
    if (!wwwLink_ || Busy()) return;
    ModalScope opening(*this);
    wwwLink_->BrowseURL(url);
}

// The panel's macro list runs entry `entry` of the macro menu.
void TMainForm::RunPanelMacro(int entry) {
    MacroExecute(entry);
}

// The mini tool window's "メインウィンドウ表示" button (DispMain) follows the main window.
void TMainForm::SetMiniToolMainButton(bool down) {
    if (miniTool_) miniTool_->SetMainButton(down);
}

bool TMainForm::BringMiniToolToFront() {
    if (!miniTool_ || !IsWindowVisible(miniTool_->Handle())) return false;
    SetForegroundWindow(miniTool_->Handle());
    return true;
}

void TMainForm::PopupMenu2Popup() {
    actions_[kCmdDispProp].SetChecked(PropertyPanelVisible());
}

// The mini tool window mirrors the item list: its caption names the folder or company, its
// title list holds the rows' records.
void TMainForm::ClearMiniToolItems() {
    if (miniTool_) miniTool_->ClearItems();
    miniRecords_.clear();
}

void TMainForm::FillMiniTool(const std::string& caption, const std::vector<TPassItem*>& records) {
    if (miniTool_) {
        miniTool_->SetCaption(caption);
        miniTool_->AddTitles(records);
        return;
    }
    miniCaption_ = caption;
    miniRecords_.insert(miniRecords_.end(), records.begin(), records.end());
}

void TMainForm::AddMiniToolTitle(TPassItem* record) {
    if (miniTool_) {
        miniTool_->AddTitle(record);
    } else if (record) {
        miniRecords_.push_back(record);
    }
}

void TMainForm::RemoveMiniToolTitle(const TPassItem* record) {
    if (miniTool_) {
        miniTool_->RemoveTitle(record);
        return;
    }
    const auto found = std::find(miniRecords_.begin(), miniRecords_.end(), record);
    if (found != miniRecords_.end()) miniRecords_.erase(found);
}

// What the selected row shows goes to the property panel (SetItem); the record is also kept, so
// the window can say what it was handed.
void TMainForm::SetPropertyPanelItem(TPassItem* record) {
    panelItem_ = record;
    if (propForm_) {
        propForm_->SetItem(record);
    } else if (record) {
        panelHistories_.Add(*record);
    }
}

void TMainForm::SetPropertyPanelCompanyEditable(bool editable) {
    panelCompanyEditable_ = editable;
    if (propForm_) propForm_->SetCompanyEditable(editable);
}

}  // namespace torvane
