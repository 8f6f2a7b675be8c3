// The real main window, in-process, run from a temporary program folder.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/app_window_win.h"
#include "app/main_form_win.h"
#include "res/resource.h"
#include "settings/init_param.h"
#include "store/pass_item.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/modal_helper.h"
#include "tests/win/program_folder.h"
#include "tests/win/screenshot.h"
#include "win/platform_win.h"
#include "win/text.h"

namespace torvane {
namespace {

using wintest::FindSetting;
using wintest::Lines;
using wintest::ModalAnswerer;
using wintest::ProgramFolder;
using wintest::Reply;

TPassItem Record(const std::string& title, int32_t price = 0) {
    TPassItem item;
    item.Path = "Soft";
    item.Title = title;
    item.UserID = "user";
    item.Price = price;
    item.FirstDate = item.LastDate = item.LimitDate = 45000;
    return item;
}

std::string DataLines(std::initializer_list<TPassItem> items) {
    std::string text;
    for (const TPassItem& item : items) text += FormatLine(item) + "\r\n";
    return text;
}

std::vector<std::wstring> MenuTexts(HMENU menu) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        texts.push_back((GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) ? L"-" : text);
    }
    return texts;
}

bool MenuItemEnabled(HMENU menu, int id) {
    return !(GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// The menus that pop up while action runs, in order. Each is closed once seen; with a
// keyTarget, the first is sent Right there instead, to see the menu bar move to its neighbour.
std::vector<HMENU> MenusOpenedBy(const std::function<void()>& action, HWND keyTarget = nullptr) {
    static std::vector<HMENU> seen;
    static HWND target;
    seen.clear();
    target = keyTarget;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        std::vector<HWND> menus;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM list) -> BOOL {
                wchar_t name[16] = {};
                GetClassNameW(window, name, 16);
                if (std::wstring(name) == L"#32768" && IsWindowVisible(window)) {
                    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&menus));
        if (menus.empty()) return;
        const auto menu = reinterpret_cast<HMENU>(SendMessageW(menus.front(), MN_GETHMENU, 0, 0));
        if (!seen.empty() && seen.back() == menu) return;  // still closing
        seen.push_back(menu);
        if (target && seen.size() == 1) {
            PostMessageW(target, WM_KEYDOWN, VK_RIGHT, 0);
        } else {
            EndMenu();
        }
    });
    action();
    KillTimer(nullptr, timer);
    return seen;
}

// The main window's life, layout, actions and files, on the shared window fixture.
class MainFormTest : public wintest::MainWindowTest {};

TEST_F(MainFormTest, TitleCarriesTheShortVersionOfTheVersionResource) {
    Start();
    wchar_t title[64] = {};
    GetWindowTextW(Main(), title, 64);
    EXPECT_STREQ(L"Torvane (v.1.2.1)", title);
    EXPECT_EQ("1.2.1", form_->AboutDialog1().GetShortVersion());
}

TEST_F(MainFormTest, StartsInTheBottomRightCornerInItsDesignSize) {
    Start();
    const RECT rect = WindowRect(Main());
    EXPECT_EQ(635, rect.right - rect.left);
    EXPECT_EQ(450, rect.bottom - rect.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN) - 635, rect.left);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN) - 450 - 30, rect.top);
    // Owned by the application window: the task-bar button is the application's.
    EXPECT_EQ(app_->Handle(), GetWindow(Main(), GW_OWNER));
}

TEST_F(MainFormTest, LaysOutItsControlsAsDesigned) {
    Start();
    EXPECT_EQ(2, SendMessageW(C().CoolBar1, RB_GETBANDCOUNT, 0, 0));
    const RECT cool = WindowRect(C().CoolBar1);
    const RECT page = WindowRect(C().PageControl1);
    const RECT list = WindowRect(C().ListView1);
    const RECT dock = WindowRect(C().DockPanel1);
    const RECT status = WindowRect(C().StatusBar1);
    const RECT splitter = WindowRect(C().Splitter1);
    EXPECT_EQ(186, page.right - page.left);
    EXPECT_EQ(cool.bottom, page.top);
    EXPECT_EQ(page.right, splitter.left);
    EXPECT_EQ(splitter.right, list.left);
    EXPECT_EQ(list.bottom, dock.top);
    EXPECT_EQ(0, dock.bottom - dock.top);  // the hidden panel's site is collapsed
    EXPECT_EQ(dock.bottom, status.top);
    EXPECT_EQ(page.bottom, status.top);

    wchar_t caption[32] = {};
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = caption;
    tab.cchTextMax = 32;
    ASSERT_EQ(2, SendMessageW(C().PageControl1, TCM_GETITEMCOUNT, 0, 0));
    SendMessageW(C().PageControl1, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tab));
    EXPECT_STREQ(L"カテゴリ", caption);
    SendMessageW(C().PageControl1, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&tab));
    EXPECT_STREQ(L"会社（作者）名", caption);
    EXPECT_TRUE(GetWindowLongPtrW(C().PageControl1, GWL_STYLE) & TCS_FLATBUTTONS);
    EXPECT_TRUE(IsWindowVisible(C().TabSheet1));
    EXPECT_FALSE(IsWindowVisible(C().TabSheet2));
    // The small tool bar lies above the tree.
    EXPECT_EQ(WindowRect(C().ToolBar2).bottom, WindowRect(C().TreeView1).top);
    EXPECT_EQ(2, SendMessageW(C().ToolBar2, TB_BUTTONCOUNT, 0, 0));
    EXPECT_EQ(19, SendMessageW(C().TreeView1, TVM_GETINDENT, 0, 0));

    struct Column {
        const wchar_t* caption;
        int width;
        int format;
    };
    const auto expectColumns = [](HWND listView, const std::vector<Column>& expected) {
        for (size_t i = 0; i < expected.size(); ++i) {
            wchar_t text[32] = {};
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.pszText = text;
            column.cchTextMax = 32;
            ASSERT_TRUE(SendMessageW(listView, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column)));
            EXPECT_STREQ(expected[i].caption, text);
            EXPECT_EQ(expected[i].width, column.cx);
            EXPECT_EQ(expected[i].format, column.fmt & LVCFMT_JUSTIFYMASK);
        }
        LVCOLUMNW beyond{};
        beyond.mask = LVCF_WIDTH;
        EXPECT_FALSE(SendMessageW(listView, LVM_GETCOLUMNW, expected.size(), reinterpret_cast<LPARAM>(&beyond)));
    };
    expectColumns(C().ListView1, {{L"タイトル", 150, LVCFMT_LEFT},
                                  {L"登録ID", 100, LVCFMT_LEFT},
                                  {L"種類", 80, LVCFMT_LEFT},
                                  {L"登録/購入日", 100, LVCFMT_CENTER},
                                  {L"有効期限", 100, LVCFMT_CENTER}});
    expectColumns(C().CompanyList, {{L"会社名", 110, LVCFMT_LEFT}, {L"件数", 45, LVCFMT_RIGHT}});
    EXPECT_EQ(LVS_REPORT, GetWindowLongPtrW(C().ListView1, GWL_STYLE) & LVS_TYPEMASK);
    EXPECT_EQ(1, SendMessageW(C().StatusBar1, SB_GETPARTS, 0, 0));
}

TEST_F(MainFormTest, ButtonBarHoldsItsButtonsInOrderWithTheirHints) {
    Start();
    struct Expected {
        int id;  // 0 for a separator
        int image;
        const wchar_t* hint;
    };
    const std::vector<Expected> expected = {
        {kCmdHide, 1, L"タスクトレイに入れる"},
        {0, 0, nullptr},
        {kCmdAddNew, 3, L"新規項目の追加"},
        {kCmdDelAction, 5, L"項目を削除"},
        {0, 0, nullptr},
        {kCmdSendTo, 2, L"マクロ実行"},
        {kCmdOpenWWW, 6, L"URLを開く"},
        {kCmdOpenMail, 7, L"メール送信"},
        {kCmdPropBtn, 9, L"編集パネル表示"},
        {0, 0, nullptr},
        {kCmdVersionInfo, 13, L"バージョン情報"},
        {kCmdHelpAction, 8, L"ヘルプを開く"},
    };
    ASSERT_EQ(static_cast<LRESULT>(expected.size()), SendMessageW(C().ToolBar1, TB_BUTTONCOUNT, 0, 0));
    for (size_t i = 0; i < expected.size(); ++i) {
        TBBUTTON button{};
        SendMessageW(C().ToolBar1, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (expected[i].id == 0) {
            EXPECT_TRUE(button.fsStyle & BTNS_SEP) << i;
            continue;
        }
        EXPECT_EQ(expected[i].id, button.idCommand) << i;
        EXPECT_EQ(expected[i].image, button.iBitmap) << i;
        // The tool tip asks the window for the text.
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = C().ToolBar1;
        info.hdr.idFrom = static_cast<UINT_PTR>(button.idCommand);
        info.hdr.code = TTN_GETDISPINFOW;
        SendMessageW(Main(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        ASSERT_NE(nullptr, info.lpszText) << i;
        EXPECT_STREQ(expected[i].hint, info.lpszText) << i;
    }
    TBBUTTON sendTo{};
    SendMessageW(C().ToolBar1, TB_GETBUTTON, 5, reinterpret_cast<LPARAM>(&sendTo));
    EXPECT_TRUE(sendTo.fsStyle & BTNS_DROPDOWN);
    EXPECT_FALSE(SendMessageW(C().ToolBar1, TB_ISBUTTONENABLED, kCmdSendTo, 0));
    TBBUTTON propBtn{};
    SendMessageW(C().ToolBar1, TB_GETBUTTON, 8, reinterpret_cast<LPARAM>(&propBtn));
    EXPECT_TRUE(propBtn.fsStyle & BTNS_CHECK);
}

TEST_F(MainFormTest, MenusListTheirEntriesInOrder) {
    Start();
    const win::MenuBar& bar = form_->MenuBar();
    ASSERT_EQ(5, bar.Count());
    const std::vector<std::wstring> titles = {L"ファイル(&F)", L"編集(&E)", L"表示(&V)", L"ツール(&T)", L"ヘルプ(&H)"};
    for (int i = 0; i < 5; ++i) {
        wchar_t text[32] = {};
        SendMessageW(bar.Handle(), TB_GETBUTTONTEXTW, kCmdMenuFirst + i, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(titles[static_cast<size_t>(i)], text);
    }
    using Texts = std::vector<std::wstring>;
    EXPECT_EQ(
        (Texts{L"開く...(&O)", L"上書き保存(&S)", L"名前を付けて保存(&A)...", L"再読み込み...", L"-", L"終了(&X)"}),
        MenuTexts(bar.Menu(0)));
    EXPECT_EQ((Texts{L"フォルダー作成(&M)", L"フォルダ削除(&R)", L"-", L"項目を追加(&N)", L"項目を削除(&D)", L"-",
                     L"オプション設定"}),
              MenuTexts(bar.Menu(1)));
    EXPECT_EQ((Texts{L"ステータスバー(&S)", L"編集パネル表示", L"ウィンドウを隠す(&T)", L"Miniウィンドウ表示", L"-",
                     L"￥いくら使ったかな？"}),
              MenuTexts(bar.Menu(2)));
    EXPECT_EQ((Texts{L"マクロ実行", L"URLを開く", L"メール送信"}), MenuTexts(bar.Menu(3)));
    EXPECT_EQ((Texts{L"目次(&C)", L"バージョン情報(&V)"}), MenuTexts(bar.Menu(4)));
    EXPECT_EQ((Texts{L"項目を追加", L"項目を削除", L"-", L"URLを開く", L"メール送信", L"-", L"編集パネル表示"}),
              MenuTexts(form_->Menus().PopupMenu2));
    EXPECT_EQ((Texts{L"表示...", L"Miniウィンドウ表示", L"-", L"オプション設定", L"ヘルプ", L"バージョン情報(&V)", L"-",
                     L"終了"}),
              MenuTexts(form_->Menus().TrayPopup));
    EXPECT_EQ(0, GetMenuItemCount(form_->Menus().MacroPopup));

    // At start the top node is selected: a folder or a record can be added there, the top
    // node cannot be deleted, and the record commands wait for a row.
    for (int id : {kCmdDelAction, kCmdOpenWWW, kCmdOpenMail, kCmdDelFolder}) {
        EXPECT_FALSE(form_->Actions()[id].Enabled()) << id;
    }
    for (int id : {kCmdAddNew, kCmdNewFolder}) EXPECT_TRUE(form_->Actions()[id].Enabled()) << id;
    for (int id : {kCmdOpen, kCmdSave, kCmdSaveAs, kCmdReload, kCmdExitAction}) {
        EXPECT_TRUE(MenuItemEnabled(bar.Menu(0), id)) << id;
    }
    EXPECT_FALSE(MenuItemEnabled(bar.Menu(1), kCmdDelFolder));
    EXPECT_TRUE(MenuItemEnabled(bar.Menu(1), kCmdNewFolder));
    EXPECT_TRUE(MenuItemEnabled(bar.Menu(2), kCmdMoney));
    EXPECT_TRUE(MenuItemEnabled(form_->Menus().TrayPopup, kCmdShowMenu));
}

TEST_F(MainFormTest, ActionStateReachesEveryMenuItemAndButton) {
    Start();
    win::Action& addNew = form_->Actions()[kCmdAddNew];
    addNew.SetEnabled(true);
    EXPECT_TRUE(MenuItemEnabled(form_->MenuBar().Menu(1), kCmdAddNew));
    EXPECT_TRUE(MenuItemEnabled(form_->Menus().PopupMenu2, kCmdAddNew));
    EXPECT_TRUE(SendMessageW(C().ToolBar1, TB_ISBUTTONENABLED, kCmdAddNew, 0));
    addNew.SetEnabled(false);
    EXPECT_FALSE(MenuItemEnabled(form_->Menus().PopupMenu2, kCmdAddNew));
    EXPECT_FALSE(SendMessageW(C().ToolBar1, TB_ISBUTTONENABLED, kCmdAddNew, 0));
    // A disabled action ignores its command.
    int runs = 0;
    addNew.SetHandler([&runs] { ++runs; });
    SendMessageW(Main(), WM_COMMAND, kCmdAddNew, 0);
    EXPECT_EQ(0, runs);
    addNew.SetEnabled(true);
    SendMessageW(Main(), WM_COMMAND, kCmdAddNew, 0);
    EXPECT_EQ(1, runs);
}

TEST_F(MainFormTest, StartsShownWithTheActiveTrayImage) {
    Start();
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_TRUE(IsWindowVisible(app_->Handle()));
    ASSERT_NE(nullptr, form_->TrayIcon());
    EXPECT_TRUE(form_->TrayIcon()->InTray());
    EXPECT_EQ("ACTIVE", form_->TrayIcon()->IconName());
    EXPECT_EQ("Torvane", form_->TrayIcon()->Tip());
    EXPECT_EQ(Main(), form_->TrayIcon()->OwnerWindow());
}

TEST_F(MainFormTest, StartForStartsHiddenAndATrayClickShowsTheWindow) {
    WriteSettings("STARTFOR=1\r\n");
    Start();
    EXPECT_FALSE(IsWindowVisible(Main()));
    EXPECT_FALSE(IsWindowVisible(app_->Handle()));
    EXPECT_TRUE(form_->TrayIcon()->InTray());
    EXPECT_EQ("SLEEP", form_->TrayIcon()->IconName());
    EXPECT_TRUE(form_->Actions()[kCmdStatusAction].Checked());

    SendMessageW(Main(), kTrayMessage, kTrayIconId, WM_MOUSEMOVE);
    EXPECT_FALSE(IsWindowVisible(Main()));
    SendMessageW(Main(), kTrayMessage, kTrayIconId, WM_LBUTTONDOWN);
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_TRUE(IsWindowVisible(app_->Handle()));
    EXPECT_EQ("ACTIVE", form_->TrayIcon()->IconName());
    // Laid out while hidden, as when shown.
    EXPECT_EQ(WindowRect(C().PageControl1).bottom, WindowRect(C().StatusBar1).top);
    EXPECT_EQ(WindowRect(C().ToolBar2).bottom, WindowRect(C().TreeView1).top);
    // A second click leaves it shown.
    SendMessageW(Main(), kTrayMessage, kTrayIconId, WM_LBUTTONDOWN);
    EXPECT_TRUE(IsWindowVisible(Main()));
}

TEST_F(MainFormTest, MinimisingHidesToTheTray) {
    Start();
    SendMessageW(Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsWindowVisible(Main()));
    EXPECT_FALSE(IsIconic(Main()));
    EXPECT_FALSE(IsWindowVisible(app_->Handle()));
    EXPECT_EQ("SLEEP", form_->TrayIcon()->IconName());

    SendMessageW(Main(), WM_COMMAND, kCmdShowMenu, 0);  // the tray menu's "表示..."
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_TRUE(IsWindowVisible(app_->Handle()));
    EXPECT_EQ("ACTIVE", form_->TrayIcon()->IconName());

    // The application's own minimise (its task-bar button) does the same.
    SendMessageW(app_->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsWindowVisible(Main()));
    EXPECT_FALSE(IsWindowVisible(app_->Handle()));
    // And the hide command.
    ShowWindow(Main(), SW_SHOW);
    SendMessageW(Main(), WM_COMMAND, kCmdHide, 0);
    EXPECT_FALSE(IsWindowVisible(Main()));
    EXPECT_EQ("SLEEP", form_->TrayIcon()->IconName());
}

TEST_F(MainFormTest, TrayRightClickOpensTheTrayMenuAndMenusOpenFromTheMenuBar) {
    Start();
    EXPECT_EQ(std::vector<HMENU>{form_->Menus().TrayPopup},
              MenusOpenedBy([&] { SendMessageW(Main(), kTrayMessage, kTrayIconId, WM_RBUTTONDOWN); }));
    // Alt+V opens the View menu.
    EXPECT_EQ(std::vector<HMENU>{form_->MenuBar().Menu(2)},
              MenusOpenedBy([&] { SendMessageW(Main(), WM_SYSCOMMAND, SC_KEYMENU, 'v'); }));
    // Right moves on to the next menu, as in a window's own menu bar.
    EXPECT_EQ((std::vector<HMENU>{form_->MenuBar().Menu(4), form_->MenuBar().Menu(0)}),
              MenusOpenedBy([&] { SendMessageW(Main(), WM_SYSCOMMAND, SC_KEYMENU, 'h'); }, Main()));
}

TEST_F(MainFormTest, StatusActionTogglesTheStatusBarAndItIsRecordedAtClose) {
    Start();
    EXPECT_TRUE(form_->StatusBarVisible());
    EXPECT_TRUE(form_->Actions()[kCmdStatusAction].Checked());
    const RECT listBefore = WindowRect(C().ListView1);
    SendMessageW(Main(), WM_COMMAND, kCmdStatusAction, 0);
    EXPECT_FALSE(form_->StatusBarVisible());
    EXPECT_FALSE(form_->Actions()[kCmdStatusAction].Checked());
    EXPECT_GT(WindowRect(C().ListView1).bottom, listBefore.bottom);
    CloseAndEndRun();
    EXPECT_EQ("0", Setting("STATUSBAR"));
}

TEST_F(MainFormTest, SplitterMovesTheBoundaryOfThePages) {
    Start();
    const HWND splitter = C().Splitter1;
    SendMessageW(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
    SendMessageW(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(51, 10));
    SendMessageW(splitter, WM_LBUTTONUP, 0, MAKELPARAM(51, 10));
    const RECT page = WindowRect(C().PageControl1);
    EXPECT_EQ(236, page.right - page.left);
    EXPECT_EQ(WindowRect(C().Splitter1).right, WindowRect(C().ListView1).left);
}

TEST_F(MainFormTest, SwitchingPagesShowsTheOtherPage) {
    Start();
    SendMessageW(C().PageControl1, TCM_SETCURSEL, 1, 0);
    NMHDR header{C().PageControl1, kIdPageControl, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(Main(), WM_NOTIFY, kIdPageControl, reinterpret_cast<LPARAM>(&header));
    EXPECT_FALSE(IsWindowVisible(C().TabSheet1));
    EXPECT_TRUE(IsWindowVisible(C().TabSheet2));
    EXPECT_TRUE(IsWindowVisible(C().CompanyList));
}

TEST_F(MainFormTest, LoadsTheLastFileAndShowsItsName) {
    const std::string data = folder_.File("data.csv");
    wintest::WriteBytes(data, DataLines({Record("Alpha"), Record("Beta")}));
    WriteSettings("LASTOPEN=" + data + "\r\n");
    Start();
    ASSERT_NE(nullptr, form_->PassList());
    EXPECT_EQ(2, form_->PassList()->Count());
    EXPECT_EQ(data, form_->CurrentFile);
    EXPECT_EQ(folder_.Path() + "\\", params_->OpenDir);
    wchar_t text[MAX_PATH] = {};
    SendMessageW(C().StatusBar1, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(win::ToWide(data), text);
}

TEST_F(MainFormTest, WithoutLastOpenTheDefaultFileBesideTheProgramIsCurrent) {
    Start();
    EXPECT_EQ(folder_.File("Torvane.tvd"), form_->CurrentFile);
    EXPECT_EQ(0, form_->PassList()->Count());
}

TEST_F(MainFormTest, MissingLastOpenStartsEmptyAndKeepsThePath) {
    const std::string gone = folder_.File("gone.csv");
    WriteSettings("LASTOPEN=" + gone + "\r\nLASTNODE=Soft\\Tools\r\nPROPVIEW=1\r\n");
    Start();
    EXPECT_EQ(0, form_->PassList()->Count());
    EXPECT_EQ(gone, form_->CurrentFile);
    // The panel's toggle shows the remembered visibility.
    EXPECT_TRUE(SendMessageW(C().ToolBar1, TB_ISBUTTONCHECKED, kCmdPropBtn, 0));
    EXPECT_TRUE(form_->Actions()[kCmdDispProp].Checked());
    CloseAndEndRun();
    EXPECT_FALSE(wintest::FileExists(gone));
    EXPECT_EQ(gone, Setting("LASTOPEN"));
    // Only the top node was there to select: an empty LASTNODE leaves no line.
    EXPECT_EQ("(absent)", Setting("LASTNODE"));
    EXPECT_EQ("1", Setting("PROPVIEW"));
}

TEST_F(MainFormTest, ClosingWithUnsavedChangesSavesWithoutAsking) {
    const std::string data = folder_.File("data.csv");
    wintest::WriteBytes(data, DataLines({Record("Alpha")}));
    WriteSettings("LASTOPEN=" + data + "\r\n");
    Start();
    form_->PassList()->AddItem(Record("Added"));
    ModalAnswerer answerer({});
    CloseAndEndRun();
    EXPECT_TRUE(answerer.Unexpected().empty());
    EXPECT_EQ(1, closedCount_);
    EXPECT_EQ(nullptr, form_->Handle());
    EXPECT_EQ(DataLines({Record("Added"), Record("Alpha")}), wintest::ReadBytes(data));
    EXPECT_EQ(data, Setting("LASTOPEN"));
    EXPECT_EQ(folder_.Path() + "\\", Setting("OPENDIR"));
    EXPECT_EQ("1", Setting("STATUSBAR"));
}

TEST_F(MainFormTest, ClosingWithoutChangesLeavesTheDataFileAlone) {
    const std::string data = folder_.File("data.csv");
    const std::string bytes = DataLines({Record("Alpha")});
    wintest::WriteBytes(data, bytes);
    wintest::MakeOld(data);
    const ULONGLONG before = wintest::WriteTime(data);
    WriteSettings("LASTOPEN=" + data + "\r\n");
    Start();
    CloseAndEndRun();
    EXPECT_EQ(before, wintest::WriteTime(data));
    EXPECT_EQ(bytes, wintest::ReadBytes(data));
    EXPECT_EQ(data, Setting("LASTOPEN"));
}

TEST_F(MainFormTest, HeldPasswordProtectsTheSaveAtCloseAndComesBackFromTheLoad) {
    const std::string data = folder_.File("secret.tvd");
    WriteSettings("LASTOPEN=" + data + "\r\n");
    Start();
    params_->Password = "pass1";
    form_->PassList()->AddItem(Record("Hidden Title"));
    {
        ModalAnswerer answerer({});
        CloseAndEndRun();
        EXPECT_TRUE(answerer.Unexpected().empty());
    }
    ASSERT_TRUE(wintest::FileExists(data));
    EXPECT_EQ(std::string::npos, wintest::ReadBytes(data).find("Hidden Title"));

    // The next run asks for the password once and holds it.
    form_.reset();
    Reply password = Reply::Press(L"パスワードを入力してください", IDOK);
    password.setTexts = {{IDC_PASSFORM_PASSWD, L"pass1"}};
    ModalAnswerer answerer({Reply::Press(L"警告", IDOK), password});
    Start();
    EXPECT_TRUE(answerer.Done());
    EXPECT_EQ(1, form_->PassList()->Count());
    EXPECT_EQ("pass1", params_->Password);
}

TEST_F(MainFormTest, SaveDataFileProtectsExactlyTheLowerCaseTvdExtension) {
    Start();
    form_->PassList()->AddItem(Record("Plain Title"));
    params_->Password = "pass1";
    const std::string upper = folder_.File("upper.TVD");
    ASSERT_TRUE(form_->SaveDataFile(upper));
    EXPECT_NE(std::string::npos, wintest::ReadBytes(upper).find("Plain Title"));
    EXPECT_EQ(upper, form_->CurrentFile);
    EXPECT_FALSE(form_->PassList()->Modified);

    const std::string lower = folder_.File("lower.tvd");
    ASSERT_TRUE(form_->SaveDataFile(lower));
    EXPECT_EQ(std::string::npos, wintest::ReadBytes(lower).find("Plain Title"));
    EXPECT_EQ(lower, form_->CurrentFile);
    wchar_t text[MAX_PATH] = {};
    SendMessageW(C().StatusBar1, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(win::ToWide(lower), text);
}

TEST_F(MainFormTest, FailedSaveKeepsTheCurrentFile) {
    Start();
    const std::string before = form_->CurrentFile;
    form_->PassList()->AddItem(Record("Alpha"));
    ModalAnswerer answerer({Reply::Press(L"エラー", IDOK)});
    EXPECT_FALSE(form_->SaveDataFile(folder_.File("no such folder\\x.csv")));
    EXPECT_TRUE(answerer.Done());
    EXPECT_EQ(before, form_->CurrentFile);
    EXPECT_TRUE(form_->PassList()->Modified);
}

TEST_F(MainFormTest, MoneySummaryCountsYenPricesOnly) {
    Start();
    TPassList& list = *form_->PassList();
    list.AddItem(Record("A", 1000));
    list.AddItem(Record("B", 2500));
    list.AddItem(Record("C", -30));  // US$
    list.AddItem(Record("D"));
    list.AddItem(Record("E"));
    ModalAnswerer answerer({Reply::Press(L"情報", IDOK)});
    SendMessageW(Main(), WM_COMMAND, kCmdMoney, 0);
    ASSERT_TRUE(answerer.Done());
    EXPECT_EQ(L"購入金額が入力されている項目は\r\n【2件/5件】ありました($は除く)\r\nその合計は【\\3,500】です！",
              answerer.Seen(0).text);
}

TEST_F(MainFormTest, ClosingRemovesTheTrayIconAndEndsTheWindow) {
    Start();
    SendMessageW(Main(), WM_COMMAND, kCmdTrayExit, 0);
    EXPECT_EQ(nullptr, form_->TrayIcon());
    EXPECT_EQ(nullptr, form_->PassList());
    EXPECT_EQ(nullptr, form_->Handle());
    EXPECT_EQ(1, closedCount_);
    EXPECT_FALSE(IsWindowVisible(app_->Handle()));
}

TEST(ScreenshotTest, MainForm) {
    ProgramFolder folder;
    win::WinFileOps fileOps;
    TInitParam params(fileOps);
    AppWindow app;
    ASSERT_TRUE(app.Create(L"Torvane"));
    TMainForm form(params, app, folder.ProgramPath());
    ASSERT_TRUE(form.CreateForm());
    wintest::SaveScreenshot(form.Handle(), "main_form");
}

}  // namespace
}  // namespace torvane
