#pragma once
// The main window: the category tree and company list on the left, the item list with the dock
// site of the property panel on the right, the cool bar with the menu bar and the button bar
// on top, the status bar below. It owns the record list and the tray icon, shows itself in the
// tray while hidden, and ends the program when it closes.
//
// The program's path (given, so tests can run the window from a folder of their own) decides
// where the settings file (".ini"), the default data file (".tvd") and the help file (".chm")
// are.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_window_win.h"
#include "app/busy_scope_win.h"
#include "app/category_tree_win.h"
#include "app/company_list_win.h"
#include "app/item_list_win.h"
#include "app/main_commands.h"
#include "autoinput/mini_tool_win.h"
#include "editor/dock_panel_win.h"
#include "editor/prop_item.h"
#include "settings/init_param.h"
#include "store/pass_list.h"
#include "tools/about_dialog_win.h"
#include "tools/htm_help_win.h"
#include "tools/tray_icon_win.h"
#include "tools/www_link_win.h"
#include "win/action.h"
#include "win/font.h"
#include "win/image_strip.h"
#include "win/menu_bar.h"
#include "win/platform_win.h"
#include "win/prompts_win.h"
#include "win/splitter.h"

namespace torvane {

class TPropForm;

// The window's controls, by their design names.
struct MainControls {
    HWND CoolBar1 = nullptr;      // rebar: the menu bar band and the button bar band
    HWND MenuBar1 = nullptr;      // tool bar whose buttons open the menus
    HWND ToolBar1 = nullptr;      // the button bar
    HWND PageControl1 = nullptr;  // tab control with flat buttons
    HWND TabSheet1 = nullptr;     // page "カテゴリ"
    HWND TabSheet2 = nullptr;     // page "会社（作者）名"
    HWND ToolBar2 = nullptr;      // new-folder and delete-folder buttons above the tree
    HWND TreeView1 = nullptr;
    HWND CompanyList = nullptr;
    HWND Splitter1 = nullptr;
    HWND ListView1 = nullptr;  // report style, owner data
    HWND DockPanel1 = nullptr;
    HWND StatusBar1 = nullptr;
};

// Menus that are not the menu bar's.
struct MainMenus {
    HMENU PopupMenu2 = nullptr;  // the item list's context menu
    HMENU TrayPopup = nullptr;
    HMENU MacroPopup = nullptr;  // SendTo's drop-down, rebuilt for every selected record
};

// Where a drag of the mouse started: a row of the item list or a node of the tree.
enum class DragSource { None, ItemList, Tree };

class TMainForm : public win::Window {
public:
    static constexpr int kDesignWidth = 635;
    static constexpr int kDesignHeight = 450;
    static constexpr int kPageControlWidth = 186;
    static constexpr int kTaskBarAllowance = 30;  // kept free below the window at start

    TMainForm(TInitParam& params, AppWindow& app, std::string programPath);
    ~TMainForm() override;

    // Creates the window and its controls and runs FormCreate. False when the window could not
    // be created.
    bool CreateForm();
    // For the message loop: lets the form's modeless windows handle their keyboard messages.
    // True when the message was handled and must not be dispatched.
    bool PreTranslateMessage(MSG& msg);
    // Called once the window is gone; the program entry ends the message loop here.
    std::function<void()> OnClosed;

    // Marks a run of the form that shows a modal window or works on the record list across one
    // (a load, a save, a dialog, a question): a message loop of its own runs inside it, and the
    // tray menu or the task bar can ask to close meanwhile. While any scope lives, a close
    // request waits and is carried out once the last scope has ended, and commands are ignored.
    // Loads and saves hold a file scope, and neither starts inside one.
    class ModalScope {
    public:
        enum Kind { kPrompt, kFile };
        explicit ModalScope(TMainForm& form, Kind kind = kPrompt);
        ~ModalScope();
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;

    private:
        TMainForm& form_;
        Kind kind_;
    };
    // True while a scope lives, a modal window of the form's has disabled it, or a close
    // request is waiting for its turn.
    bool Busy() const;
    // WM_CLOSE, ExitBtnClick and the application window's close all end here: closes the
    // window, or defers that until the running load, save or prompt has returned.
    void RequestClose();

    // Life of the window.
    void FormCreate();
    void FormShow();
    void FormHide();
    void FormClose();
    void TrayMessage(LPARAM mouseMessage);
    void HideBtnClick();
    void ShowMenuClick();
    void ExitBtnClick();
    void StatusActionExecute();
    // Flips DispMiniWin's check mark; the mini tool window shows exactly while it is set.
    void DispMiniWinExecute();
    void ShowFileName();
    void SetModified();

    // Data files.
    void Open1Click();
    // Open1Click once the file is chosen.
    void OpenDataFile(const std::string& fileName);
    void N_ReloadClick();
    void SaveBtnClick();
    void SaveAs2Click();
    // True when the record list was saved under fileName, which is then the current file.
    bool SaveDataFile(const std::string& fileName);
    void LoadDataFile();
    void SetFileMode(const std::string& fileName);
    // Asks whether to save unsaved changes before the list is replaced; false: stop.
    bool SaveChangesFirst();
    // Saves unsaved changes before the window closes; false: the user keeps the window open.
    bool SaveBeforeClose();

    void N_MoneyClick();

    // Record commands, the macro menu and the commands of other windows (main_commands_win.cpp).
    void P_NewClick();
    void P_DeleteClick();
    void N_SetupClick();
    // Rebuilds the macro menu and the record commands' state for the record; null for none.
    void UpdateMacroMenu(TPassItem* record);
    // Runs macro number `number` of the macro menu (the property panel's own macro i is i + 5).
    void MacroExecute(int number);
    void SendToClick();
    void OpenWWWExecute();
    void OpenMailExecute();
    void DispVersion();
    void HelpActionExecute();
    // The number of the macro that SendTo runs.
    int SendToMacro() const { return sendToMacro_; }

    // The category tree and its folders (main_tree_win.cpp).
    // Selects the node FindNodeByPath finds from the top node.
    void SelectNodeByPath(const std::string& path);
    // The selected folder's path; empty for the top node, for none, and while the company page
    // is in front.
    std::string SelectedNodePath() const;
    void MakeFolderClick();
    void RmFolderClick();
    // TVN_ENDLABELEDITW: the folder's records follow its new name. Returns the notification's result.
    LRESULT TreeView1Edited(const NMTVDISPINFOW& info);
    // Starts a drag (both controls use this): the mouse is captured until the button goes up.
    void ListView1StartDrag(DragSource source);
    // Points in the tree's client coordinates. DragOver marks the node a drop would land on and
    // tells whether there is one.
    bool TreeView1DragOver(POINT treeClient);
    void TreeView1DragDrop(DragSource source, POINT treeClient);
    DragSource Dragging() const { return dragSource_; }

    // The item list and the company page (main_list_win.cpp).
    void TreeView1Change();
    // row: -1 when the notification names no row (a deselection of all rows).
    void ListView1SelectItem(int row, bool selected);
    // For the property panel after it changed a record: refills the selected row when it shows it.
    void RefreshSelectedItem(TPassItem* record);
    void ListView1ColumnClick(int column);
    void PageControl1Change();
    void BuildCompanyList();
    void CompanyListSelectItem(int row, bool selected);
    void CompanyListColumnClick();

    // The full path of the current data file: the target of Save and of the save at close.
    std::string CurrentFile;
    // Sort directions of the company list and the item list.
    bool CompanyDescending = false;
    bool ItemDescending = false;

    // Null before FormCreate and after FormClose.
    TPassList* PassList() { return passList_.get(); }
    TTrayIcon* TrayIcon() { return trayIcon_.get(); }
    TAboutDialog& AboutDialog1() { return aboutDialog_; }
    // The help file beside the program; HelpAction opens it with ShowTopic(nullptr, "").
    THtmHelp& HtmHelp() { return htmHelp_; }
    // The link opener; null before FormCreate.
    TWWWLink* WWWLink1() { return wwwLink_.get(); }
    // Made when first shown or asked for; null before FormCreate and after FormClose.
    TMiniTool* MiniTool();
    win::ActionList& Actions() { return actions_; }
    const MainControls& Controls() const { return controls_; }
    const MainMenus& Menus() const { return menus_; }
    const win::MenuBar& MenuBar() const { return menuBar_; }
    AppWindow& Application() { return app_; }
    bool StatusBarVisible() const;
    bool PropertyPanelVisible() const;
    bool IsDestroying() const { return destroying_; }
    CategoryTree& Tree() { return tree_; }
    ItemList& Items() { return itemList_; }
    CompanyListView& Companies() { return companyList_; }
    // 0: the category page, 1: the company page.
    int ActivePage() const;
    // The record last handed to the property panel and to the macro menu; null for none.
    TPassItem* PanelItem() const { return panelItem_; }
    TPassItem* MacroMenuItem() const { return macroMenuItem_; }
    // The property panel and its dock site; the panel is null until it is first shown.
    TPropForm* PropForm() { return propForm_.get(); }
    TDockPanel& DockSite() { return dockPanel_; }
    // After a new record: the caret goes to the panel's title.
    void FocusPropertyPanelTitle();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnWindowGone() override;

private:
    // main_layout_win.cpp
    bool CreateControls();
    void CreateCoolBar();
    void CreatePages();
    void CreateItemList();
    void Layout();
    void LayoutPages(const RECT& pageRect);
    void ShowPage(int index);
    void MoveSplitter(int x);

    // main_actions_win.cpp
    void CreateActions();
    void CreateMenus();
    void AddButtons();
    bool OnNotify(const NMHDR& header, LRESULT& result);
    void ShowContextMenu(HWND control, POINT screenPoint);
    void ShowTrayMenu();
    void ShowMacroMenu();

    // main_tree_win.cpp
    bool OnTreeNotify(NMHDR& header, LRESULT& result);
    void BuildTree();
    // Selects a node and makes sure the item list is filled for it, also when it was selected.
    void SelectAndFill(HTREEITEM node);
    void EndDrag();
    void DragMouseMove(POINT client);
    void DragButtonUp(POINT client);

    // main_list_win.cpp
    bool OnListNotify(NMHDR& header, LRESULT& result);
    bool OnCompanyNotify(NMHDR& header, LRESULT& result);
    void SelectFirstRow();
    // Empties the item list and tells the panel and the macro menu that no record is shown:
    // before records go, since the rows point into the record list.
    void ClearItemList();
    void ClearSelections();

    // Links to the help viewer, the mini tool window and the property panel.
    void SetupHelp();
    bool MakeMiniTool();
    void CreatePropertyPanel();
    bool MakePropertyPanel();
    void SetPropertyPanelVisible(bool visible);
    void SetMiniToolMainButton(bool down);
    bool BringMiniToolToFront();
    void PopupMenu2Popup();
    // The mini tool window's title list (ClearItems, AddTitle) and caption.
    void ClearMiniToolItems();
    void FillMiniTool(const std::string& caption, const std::vector<TPassItem*>& records);
    // The property panel's SetItem; record null for none.
    void SetPropertyPanelItem(TPassItem* record);
    // The mini tool window's title list gains an added record and loses a deleted one.
    void AddMiniToolTitle(TPassItem* record);
    void RemoveMiniToolTitle(const TPassItem* record);
    // The property panel's company label and field: editable on the category page only.
    void SetPropertyPanelCompanyEditable(bool editable);
    // The panel's URL button: the link opener's BrowseURL.
    void BrowsePanelURL(const std::string& url);
    // The panel's macro list: runs entry `entry` of the macro menu.
    void RunPanelMacro(int entry);

    // Inside a load, a save or a prompt: what they work on must stay.
    bool InModal() const;
    void EndModal(ModalScope::Kind kind);
    void PostDeferredClose();
    // The close's last step: the record list, the tray icon and the mini tool window go.
    void ReleaseOwned();
    // Commands (menus, buttons) that a running load, save or prompt keeps out.
    bool IgnoredWhileBusy(int command) const;

    void ApplyStatusBarVisible(bool visible);
    void PlaceBottomRight();
    void RememberFocus();
    void RestoreFocus();

    TInitParam& params_;
    AppWindow& app_;
    std::string programPath_;

    win::WinPrompts prompts_;
    win::LocaleCollator collator_;
    win::WinFileOps fileOps_;
    TAboutDialog aboutDialog_;
    THtmHelp htmHelp_;
    std::unique_ptr<TPassList> passList_;
    std::unique_ptr<TTrayIcon> trayIcon_;
    std::unique_ptr<TWWWLink> wwwLink_;
    std::unique_ptr<TMiniTool> miniTool_;
    // The caption and titles the mini tool window will show when it is made.
    std::optional<std::string> miniCaption_;
    std::vector<TPassItem*> miniRecords_;

    CategoryTree tree_;
    ItemList itemList_;
    CompanyListView companyList_;
    RedrawLock treeRedraw_;
    RedrawLock listRedraw_;
    RedrawLock companyRedraw_;
    // Counts the fills for the tree's selection and the company rows, so a caller can tell
    // whether a selection change it made ran the handler.
    unsigned treeFills_ = 0;
    unsigned companyFills_ = 0;
    DragSource dragSource_ = DragSource::None;
    TPassItem* panelItem_ = nullptr;
    // What the property panel takes over when it is made.
    PanelHistories panelHistories_;
    bool panelCompanyEditable_ = true;
    TPassItem* macroMenuItem_ = nullptr;
    int sendToMacro_ = 0;  // SendTo's tag

    win::ImageStrip toolImages_;
    win::ImageStrip treeImages_;
    win::ActionList actions_;
    win::MenuBar menuBar_;
    win::Splitter splitter_;
    MainControls controls_;
    MainMenus menus_;
    win::Font font_{win::kFormFontFace, win::kFormFontHeight};

    // The dialogs' starting folders, as the settings gave them at start.
    std::string openDialogDir_;
    std::string saveDialogDir_;

    int pageWidth_ = kPageControlWidth;
    int dockPanelHeight_ = 1;  // one pixel while nothing is docked
    // The property panel's visibility, as PROPVIEW and PropBtn give it.
    bool propertyPanelVisible_ = false;
    HWND focusedControl_ = nullptr;
    bool created_ = false;
    // closed_: the close sequence has recorded the state and saved (it runs once).
    bool closed_ = false;
    bool destroying_ = false;
    int modalDepth_ = 0;  // live ModalScopes
    int fileDepth_ = 0;   // live file scopes among them
    bool closePending_ = false;
    bool closePosted_ = false;
    UINT taskbarCreated_ = 0;

    // Last: the panel goes before the dock site and the actions it is bound to.
    TDockPanel dockPanel_;
    std::unique_ptr<TPropForm> propForm_;
};

}  // namespace torvane
