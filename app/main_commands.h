#pragma once
// Command ids of the main window: its actions, menu items, tool-bar buttons and controls.
// Every menu item and tool-bar button of an action carries the action's id.

namespace torvane {

enum MainCommand : int {
    // Actions of the main window's design.
    kCmdAddNew = 1001,  // AddNew
    kCmdDelAction,      // DelAction
    kCmdOpenWWW,        // OpenWWW
    kCmdOpenMail,       // OpenMail
    kCmdVersionInfo,    // VersionInfo
    kCmdNewFolder,      // NewFolder
    kCmdDelFolder,      // DelFolder
    kCmdExitAction,     // ExitAction
    kCmdHelpAction,     // HelpAction
    kCmdDispProp,       // DispProp
    kCmdStatusAction,   // StatusAction
    kCmdSetupAction,    // SetupAction
    kCmdDispMiniWin,    // DispMiniWin

    // Menu items and buttons with handlers of their own.
    kCmdOpen,      // "開く...(&O)", Open1Click
    kCmdSave,      // "上書き保存(&S)", SaveBtnClick
    kCmdSaveAs,    // "名前を付けて保存(&A)...", SaveAs2Click
    kCmdReload,    // "再読み込み...", N_ReloadClick
    kCmdHide,      // TraySetBtn and "ウィンドウを隠す(&T)", HideBtnClick
    kCmdMoney,     // "￥いくら使ったかな？", N_MoneyClick
    kCmdSendTo,    // SendTo and "マクロ実行", SendToClick
    kCmdPropBtn,   // PropBtn, the property panel's toggle button
    kCmdShowMenu,  // tray "表示...", ShowMenuClick
    kCmdTrayExit,  // tray "終了", ExitBtnClick

    // The menu bar's titles: kCmdMenuFirst + 0 to 4.
    kCmdMenuFirst = 1100,

    // Entries of the macro menu MacroPopup: kCmdMacroFirst + the macro's number.
    kCmdMacroFirst = 1200,
    kCmdMacroLast = 1999,

    // Controls.
    kIdCoolBar = 100,
    kIdButtonBar,
    kIdPageControl,
    kIdTabSheet1,
    kIdTabSheet2,
    kIdFolderBar,
    kIdTreeView,
    kIdCompanyList,
    kIdSplitter,
    kIdListView,
    kIdDockPanel,
    kIdStatusBar,
};

}  // namespace torvane
