#include "autoinput/mini_tool_win.h"

#include <commctrl.h>

#include <algorithm>

#include "autoinput/comma_list.h"
#include "autoinput/macro.h"
#include "autoinput/send_keys_win.h"
#include "res/resource.h"
#include "tools/www_link_win.h"
#include "win/text.h"

namespace torvane {

namespace {

constexpr wchar_t kClassName[] = L"TMiniTool";
constexpr char kMacroValPrefix[] = "マクロ： ";
constexpr int kBorderWidth = 2;  // between the frame and the controls
constexpr int kButtonWidth = 19;
constexpr int kButtonHeight = 18;
constexpr int kImageSize = 12;
constexpr int kWideSeparator = 39;  // before AboutBtn
constexpr int kTitleListWidth = 100;
constexpr int kMacroListWidth = 120;
constexpr int kMacroValHeight = 16;
constexpr int kTitleListId = 2101;
constexpr int kMacroListId = 2102;

struct ButtonDesign {
    int id;  // 0: separator
    int image;
    const wchar_t* hint;
    BYTE style;
    bool enabled;
    int separatorWidth;
};

const ButtonDesign kButtons[] = {
    {TMiniTool::kCloseBtn, 1, L"ミニパネルを閉じる", BTNS_BUTTON, true, 0},
    {0, 0, nullptr, BTNS_SEP, true, 0},
    {TMiniTool::kExitBtn, 0, L"終了", BTNS_BUTTON, true, 0},
    {0, 0, nullptr, BTNS_SEP, true, 0},
    {TMiniTool::kDispMain, 2, L"メインウィンドウ表示", BTNS_CHECK, true, 0},
    {0, 0, nullptr, BTNS_SEP, true, 0},
    {TMiniTool::kPostBtn, 3, L"マクロ実行", BTNS_BUTTON, true, 0},
    {TMiniTool::kURLBtn, 4, L"URLを開く", BTNS_BUTTON, false, 0},
    {TMiniTool::kMailBtn, 5, L"メール送信", BTNS_BUTTON, false, 0},
    {0, 0, nullptr, BTNS_SEP, true, kWideSeparator},
    {TMiniTool::kAboutBtn, 7, L"バージョン情報", BTNS_BUTTON, true, 0},
    {TMiniTool::kHelpBtn, 6, L"ヘルプを開く", BTNS_BUTTON, true, 0},
};

int SelectedIndex(HWND list) {
    return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
}

}  // namespace

TMiniTool::TMiniTool(Host host) : host_(std::move(host)), images_(IDB_MINITOOL, kImageSize) {}

TMiniTool::~TMiniTool() {
    Destroy();
}

bool TMiniTool::CreateForm() {
    WNDCLASSEXW wc{};
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    if (!RegisterWindowClass(kClassName, wc)) return false;
    if (!Create(kClassName, L"ミニパネル", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 0, 0, kClientWidth, kClientHeight, nullptr)) {
        return false;
    }
    win::SetClientSize(Handle(), kClientWidth, kClientHeight);
    // FormCreate: the bottom-right corner, DispMain down exactly while the main window shows.
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    SetWindowPos(Handle(), nullptr, GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left),
                 GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top) - kTaskBarAllowance, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetMainButton(host_.mainVisible && host_.mainVisible());
    return true;
}

void TMiniTool::CreateControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    toolBar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW,
                               nullptr,
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                   CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                               0, 0, kClientWidth, kButtonHeight + 4, Handle(), nullptr, instance, nullptr);
    SendMessageW(toolBar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.List()));
    SendMessageW(toolBar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(kImageSize, kImageSize));
    SendMessageW(toolBar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(kButtonWidth, kButtonHeight));
    for (const ButtonDesign& design : kButtons) {
        TBBUTTON button{};
        button.idCommand = design.id;
        button.fsStyle = design.style;
        button.fsState = design.enabled ? TBSTATE_ENABLED : 0;
        // A separator's width is its image number.
        button.iBitmap = design.id ? design.image : design.separatorWidth;
        SendMessageW(toolBar_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
    }
    line_ = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0, 0, 0, 0, Handle(),
                            nullptr, instance, nullptr);
    const DWORD listStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    titleList_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr, listStyle, 0, 0, 0, 0, Handle(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTitleListId)), instance, nullptr);
    macroList_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr, listStyle, 0, 0, 0, 0, Handle(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kMacroListId)), instance, nullptr);
    macroVal_ = CreateWindowExW(0, L"STATIC", nullptr,
                                WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_ENDELLIPSIS, 0, 0, 0,
                                0, Handle(), nullptr, instance, nullptr);
    font_.ApplyTo(Handle());
    Layout();
}

// Inside the window's 2-pixel inner border: the tool bar on top with its line, the label at the
// bottom, the title list on the left and the macro list on the right between them.
void TMiniTool::Layout() {
    RECT inner{};
    GetClientRect(Handle(), &inner);
    InflateRect(&inner, -kBorderWidth, -kBorderWidth);
    const int width = std::max<int>(inner.right - inner.left, 0);
    const int barHeight = kButtonHeight + 4;
    MoveWindow(toolBar_, inner.left, inner.top, width, barHeight, TRUE);
    MoveWindow(line_, inner.left, inner.top + barHeight, width, 2, TRUE);
    const int top = inner.top + barHeight + 2;
    const int bottom = std::max<int>(inner.bottom - kMacroValHeight, top);
    const int macroWidth = std::max(std::min(kMacroListWidth, width - kTitleListWidth), 0);
    MoveWindow(titleList_, inner.left, top, kTitleListWidth, bottom - top, TRUE);
    MoveWindow(macroList_, inner.right - macroWidth, top, macroWidth, bottom - top, TRUE);
    MoveWindow(macroVal_, inner.left, bottom, width, kMacroValHeight, TRUE);
}

void TMiniTool::ClearItems() {
    records_.clear();
    SendMessageW(titleList_, LB_RESETCONTENT, 0, 0);
    SendMessageW(macroList_, LB_RESETCONTENT, 0, 0);
    SetMacroVal("");
    // Nothing is picked any more: none of the record's buttons has anything to act on.
    EnableButton(kPostBtn, false);
    EnableButton(kURLBtn, false);
    EnableButton(kMailBtn, false);
}

void TMiniTool::AddTitle(TPassItem* record) {
    if (!record) return;
    records_.push_back(record);
    SendMessageW(titleList_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::ToWide(record->Title).c_str()));
}

// A list box that is drawn keeps its scroll bar up to date with every string added: for a
// folder of 20,000 records that took most of a second.
void TMiniTool::AddTitles(const std::vector<TPassItem*>& records) {
    SendMessageW(titleList_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(titleList_, LB_INITSTORAGE, records.size(), records.size() * 32);
    for (TPassItem* record : records) AddTitle(record);
    SendMessageW(titleList_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(titleList_, nullptr, TRUE);
}

void TMiniTool::RemoveTitle(const TPassItem* record) {
    for (size_t i = 0; i < records_.size(); ++i) {
        if (records_[i] != record) continue;
        const bool picked = SelectedIndex(titleList_) == static_cast<int>(i);
        records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(i));
        SendMessageW(titleList_, LB_DELETESTRING, i, 0);
        if (picked) {
            SendMessageW(titleList_, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            SendMessageW(macroList_, LB_RESETCONTENT, 0, 0);
            TitleListClick();
        }
        return;
    }
}

void TMiniTool::SetCaption(const std::string& caption) {
    SetWindowTextW(Handle(), win::ToWide(caption).c_str());
}

void TMiniTool::SetMainButton(bool down) {
    SendMessageW(toolBar_, TB_CHECKBUTTON, kDispMain, MAKELPARAM(down ? TRUE : FALSE, 0));
}

void TMiniTool::SetCommandsEnabled(bool about, bool help) {
    EnableButton(kAboutBtn, about);
    EnableButton(kHelpBtn, help);
}

bool TMiniTool::ButtonEnabled(int id) const {
    return SendMessageW(toolBar_, TB_ISBUTTONENABLED, static_cast<WPARAM>(id), 0) != 0;
}

bool TMiniTool::ButtonDown(int id) const {
    return SendMessageW(toolBar_, TB_ISBUTTONCHECKED, static_cast<WPARAM>(id), 0) != 0;
}

TPassItem* TMiniTool::PickedRecord() const {
    const int index = SelectedIndex(titleList_);
    return index >= 0 && index < static_cast<int>(records_.size()) ? records_[static_cast<size_t>(index)] : nullptr;
}

void TMiniTool::EnableButton(int id, bool enabled) {
    SendMessageW(toolBar_, TB_ENABLEBUTTON, static_cast<WPARAM>(id), MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

void TMiniTool::SetMacroVal(const std::string& text) {
    SetWindowTextW(macroVal_, win::ToWide(text).c_str());
}

// Closing only hides the window.
void TMiniTool::FormClose() {
    ShowWindow(Handle(), SW_HIDE);
    if (host_.closed) host_.closed();
}

void TMiniTool::CloseBtnClick() {
    SendMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TMiniTool::ExitBtnClick() {
    if (host_.closeMain) host_.closeMain();
}

void TMiniTool::DispMainClick() {
    if (host_.setMainVisible) host_.setMainVisible(ButtonDown(kDispMain));
}

void TMiniTool::AboutBtnClick() {
    if (host_.showVersion) host_.showVersion();
}

void TMiniTool::HelpBtnClick() {
    if (host_.showHelp) host_.showHelp();
}

void TMiniTool::URLBtnClick() {
    const TPassItem* record = PickedRecord();
    if (record && !record->URL.empty() && host_.browseURL) host_.browseURL(record->URL);
}

void TMiniTool::MailBtnClick() {
    const TPassItem* record = PickedRecord();
    if (record && !record->Mail.empty()) OpenMailTo(Handle(), record->Mail);
}

void TMiniTool::TitleListClick() {
    EnableButton(kMailBtn, false);
    EnableButton(kURLBtn, false);
    const TPassItem* record = PickedRecord();
    if (!record) return;
    EnableButton(kMailBtn, !record->Mail.empty());
    EnableButton(kURLBtn, !record->URL.empty());
    SendMessageW(macroList_, LB_RESETCONTENT, 0, 0);
    for (const std::string& entry : ReadCommaList(FullMacroList(record))) {
        SendMessageW(macroList_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::ToWide(MacroName(entry)).c_str()));
    }
    MacroListClick();
}

void TMiniTool::MacroListClick() {
    const int index = SelectedIndex(macroList_);
    EnableButton(kPostBtn, index >= 0);
    SetMacroVal("");
    const TPassItem* record = PickedRecord();
    if (index < 0 || !record) return;
    SetMacroVal(kMacroValPrefix + PreviewText(MacroTemplate(MacroEntry(FullMacroList(record), index))));
}

// The main window is always out of the way during the run and comes back if it was shown. This
// window stays on the screen: it is on top of every window the sender looks at below the
// task-bar window, so it never receives its own macro.
void TMiniTool::PostBtnClick() {
    const int index = SelectedIndex(macroList_);
    const TPassItem* record = PickedRecord();
    if (index < 0 || !record) return;
    win::TSendKeys keys;
    keys.KeyDelay = host_.keyDelay ? host_.keyDelay() : 0;
    keys.KeyPause = host_.keyPause ? host_.keyPause() : 0;
    const std::string text =
        BuildMacroText(MacroEntry(FullMacroList(record), index), host_.addEnter && host_.addEnter(), *record);
    if (text.empty()) return;
    const bool mainWasVisible = host_.mainVisible && host_.mainVisible();
    if (host_.setMainVisible) host_.setMainVisible(false);
    struct ShowAgain {
        const Host& host;
        bool visible;
        ~ShowAgain() {
            if (visible && host.setMainVisible) host.setMainVisible(true);
        }
    } showAgain{host_, mainWasVisible};
    keys.FindTarget(host_.taskBarWindow ? host_.taskBarWindow() : nullptr);
    keys.SendText(text);
}

void TMiniTool::OnCommand(int id, int code) {
    switch (id) {
        case kCloseBtn: CloseBtnClick(); return;
        case kExitBtn: ExitBtnClick(); return;
        case kDispMain: DispMainClick(); return;
        case kPostBtn: PostBtnClick(); return;
        case kURLBtn: URLBtnClick(); return;
        case kMailBtn: MailBtnClick(); return;
        case kAboutBtn: AboutBtnClick(); return;
        case kHelpBtn: HelpBtnClick(); return;
        case kTitleListId:
            if (code == LBN_SELCHANGE) TitleListClick();
            return;
        case kMacroListId:
            if (code == LBN_SELCHANGE) MacroListClick();
            if (code == LBN_DBLCLK) PostBtnClick();
            return;
    }
}

LRESULT TMiniTool::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            CreateControls();
            return 0;
        case WM_SIZE:
            Layout();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            auto& header = *reinterpret_cast<NMHDR*>(lParam);
            if (header.code == TTN_GETDISPINFOW) {
                auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
                for (const ButtonDesign& design : kButtons) {
                    if (design.id != 0 && static_cast<UINT_PTR>(design.id) == header.idFrom) {
                        info.lpszText = const_cast<wchar_t*>(design.hint);
                    }
                }
                return 0;
            }
            break;
        }
        case WM_CLOSE:
            FormClose();
            return 0;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace torvane
