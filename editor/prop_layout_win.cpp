// The property panel's controls and their places, in pixels of the panel's 429 x 198 client area.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>

#include "editor/edit_button_win.h"
#include "editor/prop_form_win.h"
#include "editor/prop_ids.h"
#include "store/pass_item.h"
#include "tools/bevel_label_win.h"
#include "tools/value_edit_win.h"
#include "win/panel.h"
#include "win/text.h"

namespace torvane {

namespace {

constexpr int kToolBarHeight = 26;
constexpr int kSplitterWidth = 3;
constexpr int kHeaderHeight = 17;
constexpr int kMacroValHeight = 20;
constexpr int kFieldHeight = 21;

HWND Make(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent, int id, int x,
          int y, int width, int height, HFONT font) {
    const HWND control =
        CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

HWND Label(HWND parent, const wchar_t* text, int x, int y, int width, HFONT font, int id = -1, DWORD style = 0) {
    return Make(L"STATIC", text, SS_NOPREFIX | style, 0, parent, id, x, y, width, 13, font);
}

HWND Group(HWND parent, const wchar_t* text, int x, int y, int width, int height, HFONT font) {
    return Make(L"BUTTON", text, BS_GROUPBOX, 0, parent, -1, x, y, width, height, font);
}

HWND Check(HWND parent, const wchar_t* text, int id, int x, int y, int width, HFONT font) {
    return Make(L"BUTTON", text, BS_AUTOCHECKBOX | WS_TABSTOP, 0, parent, id, x, y, width, 16, font);
}

HWND FlatButton(HWND parent, const wchar_t* text, int id, int x, int y, int width, HFONT font) {
    return Make(L"BUTTON", text, BS_PUSHBUTTON | BS_FLAT | WS_TABSTOP, 0, parent, id, x, y, width, 18, font);
}

HWND Combo(HWND parent, int id, int x, int y, int width, HFONT font, DWORD kind = CBS_DROPDOWN) {
    return Make(WC_COMBOBOXW, nullptr, kind | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, parent, id, x, y, width,
                200, font);
}

TEditButton* Field(HWND parent, int id, int x, int y, int width, HFONT font) {
    TEditButton* field = TEditButton::Create(parent, id, x, y, width, kFieldHeight);
    SendMessageW(field->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    field->SetFlatButton(true);
    field->SetGlyph(CopyGlyph(), 2);
    return field;
}

HWND DatePicker(HWND parent, int id, int x, int y, DWORD extra, HFONT font) {
    return Make(DATETIMEPICK_CLASSW, nullptr, DTS_SHORTDATEFORMAT | extra, 0, parent, id, x, y, 110, kFieldHeight,
                font);
}

}  // namespace

void TPropForm::CreateControls() {
    TEditButton::Register();
    TBevelLabel::Register();
    CreateToolBar();
    c_.PageControl1 = Make(WC_TABCONTROLW, nullptr, WS_CLIPSIBLINGS | WS_TABSTOP, 0, Handle(), kIdPropPages, 0,
                           kToolBarHeight, kClientWidth, kClientHeight - kToolBarHeight, font_.Handle());
    const wchar_t* const captions[] = {L"登録情報", L"付加情報", L"問合わせ先", L"マクロとメモ"};
    for (int i = 0; i < 4; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(captions[i]);
        SendMessageW(c_.PageControl1, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        // The pages lie over the tab control as its siblings, so their controls report here.
        // Not clipping its children: group boxes leave their inside to the page to paint.
        c_.TabSheet[i] = win::CreatePanel(Handle(), kIdPropSheet1 + i, WS_CHILD | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT);
        SetWindowPos(c_.TabSheet[i], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    CreatePage1();
    CreatePage2();
    CreatePage3();
    CreatePage4();
    Layout();
}

void TPropForm::CreateToolBar() {
    const HFONT font = font_.Handle();
    c_.ToolBar3 = Make(TOOLBARCLASSNAMEW, nullptr,
                       TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE |
                           CCS_NOPARENTALIGN,
                       0, Handle(), kIdPropToolBar, 0, 1, 110, kToolBarHeight - 2, font);
    SendMessageW(c_.ToolBar3, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(c_.ToolBar3, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolImages_));
    SendMessageW(c_.ToolBar3, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    TBBUTTON buttons[3]{};
    buttons[0] = {0, kIdCloseBtn, TBSTATE_ENABLED, BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT, {}, 0,
                  reinterpret_cast<INT_PTR>(L"閉じる")};
    buttons[1] = {15, kIdUndoBtn, 0, BTNS_BUTTON | BTNS_AUTOSIZE, {}, 0, -1};
    buttons[2] = {0, 0, 0, BTNS_SEP, {}, 0, 0};
    SendMessageW(c_.ToolBar3, TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(buttons));
    SIZE size{};
    SendMessageW(c_.ToolBar3, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    const int left = std::max<int>(size.cx + 2, 90);
    MoveWindow(c_.ToolBar3, 0, 1, left, kToolBarHeight - 2, TRUE);

    c_.TitleLabel = Label(Handle(), L"タイトル: ", left + 2, 6, 60, font);
    c_.Title = Make(L"EDIT", nullptr, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, Handle(), kIdTitle, left + 62, 2,
                    140, kFieldHeight, font);
    c_.KindLabel = Label(Handle(), L"種類：", left + 206, 6, 40, font);
    c_.KindList = Combo(Handle(), kIdKindList, left + 246, 2, kClientWidth - left - 248, font, CBS_DROPDOWNLIST);
    for (const char* name : KindNames) {
        SendMessageW(c_.KindList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::ToWide(name).c_str()));
    }
}

void TPropForm::CreatePage1() {
    const HWND page = c_.TabSheet[0];
    const HFONT font = font_.Handle();
    Group(page, L"ユーザー登録", 4, 0, 200, 128, font);
    Label(page, L"登録名(%U)", 12, 16, 120, font);
    c_.UserID = Field(page, kIdUserID, 12, 30, 184, font);
    c_.PassBtn = FlatButton(page, L"パスワード(%P)", kIdPassBtn, 12, 58, 92, font);
    c_.PassHidden = Check(page, L"* 表示を解除", kIdPassHidden, 110, 59, 88, font);
    c_.Passwd = Field(page, kIdPasswd, 12, 80, 184, font);

    Group(page, L"プロダクト情報", 210, 0, 207, 128, font);
    Label(page, L"シリアル(%S)", 218, 16, 100, font);
    c_.SerSplit = Check(page, L"'-'で分割", kIdSerSplit, 330, 14, 80, font);
    c_.Serial = Field(page, kIdSerial, 218, 30, 191, font);
    Label(page, L"プロダクトキー(%K)", 218, 62, 110, font);
    c_.KeySplit = Check(page, L"'-'で分割", kIdKeySplit, 330, 60, 80, font);
    c_.ProdKey = Field(page, kIdProdKey, 218, 80, 191, font);

    c_.LastDateInfo = Label(page, L"", 200, 132, 217, font, kIdLastDateInfo, SS_RIGHT);
}

void TPropForm::CreatePage2() {
    const HWND page = c_.TabSheet[1];
    const HFONT font = font_.Handle();
    Group(page, L"日付情報", 4, 0, 134, 142, font);
    Label(page, L"登録日", 12, 18, 100, font);
    c_.FirstDate = DatePicker(page, kIdFirstDate, 12, 32, 0, font);
    Label(page, L"有効期限", 12, 64, 100, font);
    c_.LimitDate = DatePicker(page, kIdLimitDate, 12, 78, DTS_SHOWNONE | WS_TABSTOP, font);

    Group(page, L"パスワードを忘れた時のヒント", 142, 0, 275, 76, font);
    Label(page, L"質問(%Q)", 150, 20, 52, font);
    c_.Hint = Field(page, kIdHint, 204, 16, 205, font);
    Label(page, L"答え(%A)", 150, 48, 52, font);
    c_.Answer = Field(page, kIdAnswer, 204, 44, 205, font);

    Group(page, L"購入情報", 142, 80, 275, 62, font);
    Label(page, L"購入店(%B)：", 150, 98, 80, font);
    c_.ShopName = Combo(page, kIdShopName, 232, 94, 177, font);
    Label(page, L"金額(%Y)：", 150, 122, 80, font);
    c_.Price = TValueEdit::Create(page, kIdPrice, 232, 118, kFieldHeight, WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    MoveWindow(c_.Price->Handle(), 232, 118, 90, kFieldHeight, FALSE);
    SendMessageW(c_.Price->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    c_.Doller = Check(page, L"US$", kIdDoller, 330, 120, 60, font);
}

void TPropForm::CreatePage3() {
    const HWND page = c_.TabSheet[2];
    const HFONT font = font_.Handle();
    c_.Label6 = Label(page, L"会社/作者名(%V)：", 8, 14, 100, font);
    c_.Company = Combo(page, kIdCompany, 110, 10, 300, font);
    c_.URLOpenBtn = FlatButton(page, L"URL(%W)", kIdURLOpenBtn, 8, 48, 96, font);
    c_.URL = Combo(page, kIdURL, 110, 47, 300, font);
    c_.SendMailBtn = FlatButton(page, L"Mail(%M)", kIdSendMailBtn, 8, 82, 96, font);
    c_.Mail = Combo(page, kIdMail, 110, 81, 300, font);
}

void TPropForm::CreatePage4() {
    const HWND page = c_.TabSheet[3];
    const HFONT font = font_.Handle();
    c_.HeaderControl1 =
        Make(WC_HEADERW, nullptr, HDS_HORZ | WS_DISABLED, 0, page, kIdMacroHeader, 0, 0, 0, kHeaderHeight, font);
    const struct {
        const wchar_t* text;
        int width;
    } sections[] = {{L"ユーザーマクロ", 102}, {L"メモ(%N)", 9999}};
    for (int i = 0; i < 2; ++i) {
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.fmt = HDF_LEFT | HDF_STRING;
        item.cxy = sections[i].width;
        item.pszText = const_cast<wchar_t*>(sections[i].text);
        SendMessageW(c_.HeaderControl1, HDM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    c_.Macro = Make(L"LISTBOX", nullptr, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE, page, kIdMacro, 0, 0, 0, 0, font);
    c_.Splitter2 = splitter_.Create(page, kIdSplitter2);
    splitter_.OnMoved = [this](int x) { Splitter2Moved(x); };
    CreateMemo(true);
    c_.MacroVal = TBevelLabel::Create(page, kIdMacroVal, 0, 0, 0, kMacroValHeight);
    SendMessageW(c_.MacroVal->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    c_.MacroVal->SetColor(TBevelLabel::kWindowColor);
    c_.MacroVal->SetTextOffset(4);
    c_.MacroVal->SetLayout(TBevelLabel::Layout::Center);
}

// The memo box, wrapping its lines or not. Wine's edit box wraps a line in time that grows with
// the square of its length (seconds for 10,000 characters, hours for a megabyte), so a memo with
// such a line gets a box that scrolls sideways instead. A box made again takes the old one's
// place, tab order and focus; it starts empty.
void TPropForm::CreateMemo(bool wrap) {
    const HWND old = c_.Memo;
    const bool focused = old && GetFocus() == old;
    DWORD style = ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP;
    if (!wrap) style |= ES_AUTOHSCROLL | WS_HSCROLL;
    c_.Memo = Make(L"EDIT", nullptr, style, WS_EX_CLIENTEDGE, c_.TabSheet[3], kIdMemo, 0, 0, 0, 0, font_.Handle());
    SendMessageW(c_.Memo, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    memoWraps_ = wrap;
    memo_.Forget();
    if (!old) return;
    SetWindowPos(c_.Memo, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(old);
    LayoutMacroPage();
    if (focused) SetFocus(c_.Memo);
}

void TPropForm::Layout() {
    if (!c_.PageControl1) return;
    RECT client;
    GetClientRect(Handle(), &client);
    MoveWindow(c_.PageControl1, 0, kToolBarHeight, client.right, std::max(0L, client.bottom - kToolBarHeight), TRUE);
    RECT display{0, kToolBarHeight, client.right, client.bottom};
    SendMessageW(c_.PageControl1, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    for (HWND sheet : c_.TabSheet) {
        MoveWindow(sheet, display.left, display.top, std::max(0L, display.right - display.left),
                   std::max(0L, display.bottom - display.top), TRUE);
    }
    LayoutMacroPage();
}

void TPropForm::LayoutMacroPage() {
    RECT page;
    GetClientRect(c_.TabSheet[3], &page);
    const int height = std::max(0L, page.bottom - kHeaderHeight - kMacroValHeight);
    macroWidth_ = std::clamp(macroWidth_, 10, std::max(10, static_cast<int>(page.right) - kSplitterWidth - 10));
    MoveWindow(c_.HeaderControl1, 0, 0, page.right, kHeaderHeight, TRUE);
    MoveWindow(c_.Macro, 0, kHeaderHeight, macroWidth_, height, TRUE);
    MoveWindow(c_.Splitter2, macroWidth_, kHeaderHeight, kSplitterWidth, height, TRUE);
    MoveWindow(c_.Memo, macroWidth_ + kSplitterWidth, kHeaderHeight,
               std::max(0L, page.right - macroWidth_ - kSplitterWidth), height, TRUE);
    MoveWindow(c_.MacroVal->Handle(), 0, page.bottom - kMacroValHeight, page.right, kMacroValHeight, TRUE);
}

}  // namespace torvane
