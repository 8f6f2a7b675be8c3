// The main window's actions, its menus and tool-bar buttons, and the notifications they send.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "app/main_form_win.h"

namespace torvane {

namespace {

HMENU BuildPopup(win::ActionList& actions, std::initializer_list<std::pair<int, const wchar_t*>> items) {
    const HMENU menu = CreatePopupMenu();
    for (const auto& [id, caption] : items) {
        if (id == 0) {
            win::AppendMenuSeparator(menu);
        } else {
            actions.AppendMenuItem(menu, id, caption);
        }
    }
    return menu;
}

constexpr std::pair<int, const wchar_t*> kSeparator{0, nullptr};

}  // namespace

// Disabled at start: AddNew, DelAction, OpenWWW, OpenMail, NewFolder, DelFolder and SendTo,
// which follow the selection; HelpAction, which follows the help component; DispProp and PropBtn,
// which follow the property panel.
void TMainForm::CreateActions() {
    win::ActionList& a = actions_;
    // The design's actions: caption, hint, image.
    a.Add(kCmdAddNew, L"項目を追加", L"新規項目の追加", 3, [this] { P_NewClick(); }).SetEnabled(false);
    a.Add(kCmdDelAction, L"項目を削除", L"項目を削除", 5, [this] { P_DeleteClick(); }).SetEnabled(false);
    a.Add(kCmdOpenWWW, L"URLを開く", L"URLを開く", 6, [this] { OpenWWWExecute(); }).SetEnabled(false);
    a.Add(kCmdOpenMail, L"メール送信", L"メール送信", 7, [this] { OpenMailExecute(); }).SetEnabled(false);
    a.Add(kCmdVersionInfo, L"バージョン情報(&V)", L"バージョン情報", 13, [this] { DispVersion(); });
    a.Add(kCmdNewFolder, L"フォルダー作成(&N)", L"新規フォルダー", 10, [this] { MakeFolderClick(); }).SetEnabled(false);
    a.Add(kCmdDelFolder, L"フォルダ削除(&R)", L"フォルダを削除", 11, [this] {
         // It asks before the folder goes.
         ModalScope asking(*this);
         RmFolderClick();
     }).SetEnabled(false);
    a.Add(kCmdExitAction, L"終了(&X)", L"アプリケーションを終了", 0, [this] { ExitBtnClick(); });
    a.Add(kCmdHelpAction, L"目次(&C)", L"ヘルプを開く", 8, [this] { HelpActionExecute(); });
    a.Add(kCmdDispProp, L"編集パネル表示", L"", 9).SetEnabled(false);
    a.Add(kCmdStatusAction, L"ステータスバー(&S)", L"", -1, [this] { StatusActionExecute(); });
    a.Add(kCmdSetupAction, L"オプション設定", L"", -1, [this] { N_SetupClick(); });
    a.Add(kCmdDispMiniWin, L"Miniウィンドウ表示", L"", 17, [this] { DispMiniWinExecute(); });

    // Menu items and buttons with handlers of their own.
    a.Add(kCmdOpen, L"開く...(&O)", L"", 12, [this] { Open1Click(); });
    a.Add(kCmdSave, L"上書き保存(&S)", L"", 14, [this] { SaveBtnClick(); });
    a.Add(kCmdSaveAs, L"名前を付けて保存(&A)...", L"", -1, [this] { SaveAs2Click(); });
    a.Add(kCmdReload, L"再読み込み...", L"", 15, [this] { N_ReloadClick(); });
    a.Add(kCmdHide, L"ウィンドウを隠す(&T)", L"タスクトレイに入れる", 1, [this] { HideBtnClick(); });
    a.Add(kCmdMoney, L"￥いくら使ったかな？", L"", -1, [this] { N_MoneyClick(); });
    a.Add(kCmdSendTo, L"マクロ実行", L"マクロ実行", 2, [this] { SendToClick(); }).SetEnabled(false);
    a.Add(kCmdPropBtn, L"編集パネル表示", L"編集パネル表示", 9).SetEnabled(false);
    a.Add(kCmdShowMenu, L"表示...", L"", -1, [this] { ShowMenuClick(); });
    a.Add(kCmdTrayExit, L"終了", L"", -1, [this] { ExitBtnClick(); });
}

// No keyboard shortcuts: only the access keys of the captions.
void TMainForm::CreateMenus() {
    win::ActionList& a = actions_;
    menuBar_.AddMenu(L"ファイル(&F)", BuildPopup(a, {{kCmdOpen, nullptr},
                                                     {kCmdSave, nullptr},
                                                     {kCmdSaveAs, nullptr},
                                                     {kCmdReload, nullptr},
                                                     kSeparator,
                                                     {kCmdExitAction, nullptr}}));
    menuBar_.AddMenu(L"編集(&E)", BuildPopup(a, {{kCmdNewFolder, L"フォルダー作成(&M)"},
                                                 {kCmdDelFolder, nullptr},
                                                 kSeparator,
                                                 {kCmdAddNew, L"項目を追加(&N)"},
                                                 {kCmdDelAction, L"項目を削除(&D)"},
                                                 kSeparator,
                                                 {kCmdSetupAction, nullptr}}));
    menuBar_.AddMenu(L"表示(&V)", BuildPopup(a, {{kCmdStatusAction, nullptr},
                                                 {kCmdDispProp, nullptr},
                                                 {kCmdHide, nullptr},
                                                 {kCmdDispMiniWin, nullptr},
                                                 kSeparator,
                                                 {kCmdMoney, nullptr}}));
    menuBar_.AddMenu(L"ツール(&T)",
                     BuildPopup(a, {{kCmdSendTo, nullptr}, {kCmdOpenWWW, nullptr}, {kCmdOpenMail, nullptr}}));
    menuBar_.AddMenu(L"ヘルプ(&H)", BuildPopup(a, {{kCmdHelpAction, nullptr}, {kCmdVersionInfo, nullptr}}));

    menus_.PopupMenu2 = BuildPopup(a, {{kCmdAddNew, nullptr},
                                       {kCmdDelAction, nullptr},
                                       kSeparator,
                                       {kCmdOpenWWW, nullptr},
                                       {kCmdOpenMail, nullptr},
                                       kSeparator,
                                       {kCmdDispProp, nullptr}});
    menus_.TrayPopup = BuildPopup(a, {{kCmdShowMenu, nullptr},
                                      {kCmdDispMiniWin, nullptr},
                                      kSeparator,
                                      {kCmdSetupAction, nullptr},
                                      {kCmdHelpAction, L"ヘルプ"},
                                      {kCmdVersionInfo, nullptr},
                                      kSeparator,
                                      {kCmdTrayExit, nullptr}});
    menus_.MacroPopup = CreatePopupMenu();
}

// The button bar, in its design's order: TraySetBtn, add and delete item, SendTo with the macro
// menu, open URL, send mail, PropBtn, version information and help.
void TMainForm::AddButtons() {
    const HWND bar = controls_.ToolBar1;
    actions_.AddToolButton(bar, kCmdHide);
    win::AddToolSeparator(bar);
    actions_.AddToolButton(bar, kCmdAddNew);
    actions_.AddToolButton(bar, kCmdDelAction);
    win::AddToolSeparator(bar);
    actions_.AddToolButton(bar, kCmdSendTo, BTNS_DROPDOWN);
    actions_.AddToolButton(bar, kCmdOpenWWW);
    actions_.AddToolButton(bar, kCmdOpenMail);
    actions_.AddToolButton(bar, kCmdPropBtn, BTNS_CHECK);
    win::AddToolSeparator(bar);
    actions_.AddToolButton(bar, kCmdVersionInfo);
    actions_.AddToolButton(bar, kCmdHelpAction);
    SendMessageW(bar, TB_AUTOSIZE, 0, 0);
}

bool TMainForm::OnNotify(const NMHDR& header, LRESULT& result) {
    result = 0;
    if (menuBar_.OnNotify(header)) return true;
    // The controls' notifications carry structures that the handlers fill in.
    auto& fillable = const_cast<NMHDR&>(header);
    if (header.hwndFrom == controls_.TreeView1) {
        // Its handlers may ask first (Delete on a folder).
        ModalScope treeHandler(*this);
        return OnTreeNotify(fillable, result);
    }
    if (header.hwndFrom == controls_.ListView1) return OnListNotify(fillable, result);
    if (header.hwndFrom == controls_.CompanyList) return OnCompanyNotify(fillable, result);
    switch (header.code) {
        case TTN_GETDISPINFOW: {
            // Tool tips of the tool-bar buttons: the hint of the button's action.
            auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
            if (const wchar_t* hint = actions_.HintFor(static_cast<int>(header.idFrom))) {
                info.lpszText = const_cast<wchar_t*>(hint);
                info.hinst = nullptr;
            }
            return true;
        }
        case TBN_DROPDOWN:
            if (reinterpret_cast<const NMTOOLBARW&>(header).iItem == kCmdSendTo) {
                ShowMacroMenu();
                result = TBDDRET_DEFAULT;
                return true;
            }
            return false;
        case TCN_SELCHANGE:
            if (header.hwndFrom == controls_.PageControl1) {
                ShowPage(static_cast<int>(SendMessageW(controls_.PageControl1, TCM_GETCURSEL, 0, 0)));
                PageControl1Change();
                return true;
            }
            return false;
    }
    return false;
}

void TMainForm::ShowContextMenu(HWND control, POINT screenPoint) {
    if (control != controls_.ListView1) return;
    if (screenPoint.x == -1 && screenPoint.y == -1) {
        // From the keyboard: at the list's top-left corner.
        screenPoint = POINT{0, 0};
        ClientToScreen(control, &screenPoint);
    }
    PopupMenu2Popup();
    // A menu runs a message loop too; its command is posted and comes after the scope.
    ModalScope menuOpen(*this);
    TrackPopupMenuEx(menus_.PopupMenu2, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, Handle(),
                     nullptr);
}

void TMainForm::ShowTrayMenu() {
    POINT cursor{};
    GetCursorPos(&cursor);
    // A menu of a window that is not in front would stay open when the user clicks elsewhere.
    SetForegroundWindow(Handle());
    {
        ModalScope menuOpen(*this);
        TrackPopupMenuEx(menus_.TrayPopup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, Handle(), nullptr);
    }
    PostMessageW(Handle(), WM_NULL, 0, 0);
}

void TMainForm::ShowMacroMenu() {
    RECT button{};
    SendMessageW(controls_.ToolBar1, TB_GETRECT, kCmdSendTo, reinterpret_cast<LPARAM>(&button));
    MapWindowPoints(controls_.ToolBar1, nullptr, reinterpret_cast<POINT*>(&button), 2);
    TPMPARAMS params{sizeof params, button};
    ModalScope menuOpen(*this);
    TrackPopupMenuEx(menus_.MacroPopup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_RIGHTBUTTON, button.left,
                     button.bottom, Handle(), &params);
}

}  // namespace torvane
