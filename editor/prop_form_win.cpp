#include "editor/prop_form_win.h"

// After windows.h, which it needs.
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "autoinput/macro.h"
#include "editor/edit_button_win.h"
#include "editor/prop_ids.h"
#include "editor/prop_item.h"
#include "tools/bevel_label_win.h"
#include "tools/pass_gen_win.h"
#include "tools/value_edit_win.h"
#include "win/text.h"

namespace torvane {

namespace {

constexpr wchar_t kClassName[] = L"TPropForm";

std::wstring TextOf(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
    return text;
}

// Leaves a control that already shows the text alone: no change event, caret and selection stay.
void ShowText(HWND control, const std::string& sjis) {
    const std::wstring wide = win::ToWide(sjis);
    if (TextOf(control) != wide) SetWindowTextW(control, wide.c_str());
}

void ShowCheck(HWND box, bool checked) {
    const WPARAM state = checked ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(SendMessageW(box, BM_GETCHECK, 0, 0)) != state) SendMessageW(box, BM_SETCHECK, state, 0);
}

bool Checked(HWND box) {
    return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The memo edit box wants CR LF between lines; a record may hold lone CRs or LFs.
std::string MemoLines(const std::string& memo) {
    std::string out;
    out.reserve(memo.size() + memo.size() / 32);
    for (size_t i = 0; i < memo.size(); ++i) {
        const char ch = memo[i];
        if (ch == '\r' || ch == '\n') {
            out += "\r\n";
            if (ch == '\r' && i + 1 < memo.size() && memo[i + 1] == '\n') ++i;
        } else {
            out += ch;
        }
    }
    return out;
}

// The longest memo and line, in bytes, that the memo box wraps. Wine's edit box wraps in time
// that grows with the length of the text, and for one line with the square of its length: a
// memo of 300,000 characters takes seconds to show wrapped and a fraction of that unwrapped, a
// line of 10,000 characters seconds, one of a megabyte hours.
constexpr size_t kWrappedMemoLimit = 32 * 1024;
constexpr size_t kWrappedLineLimit = 2000;

size_t LongestLine(const std::string& text) {
    size_t longest = 0;
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        longest = std::max(longest, end - start);
        start = end + 1;
    }
    return longest;
}

// Shift_JIS, and whether the text converts back unchanged.
bool ToSjisChecked(std::wstring_view wide, std::string& sjis) {
    const std::wstring text(wide);
    sjis = win::ToSjis(text);
    return win::ToWide(sjis) == text;
}

SYSTEMTIME ToSystemTime(TDate date) {
    int year = 0, month = 0, day = 0;
    DecodeDate(date, year, month, day);
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    return time;
}

// The day a picker shows; false when its check box is off.
bool PickerDate(HWND picker, TDate& date) {
    SYSTEMTIME time{};
    if (SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID) return false;
    return TryEncodeDate(time.wYear, time.wMonth, time.wDay, date);
}

void ShowDate(HWND picker, TDate date, bool valid) {
    TDate shown = 0;
    const bool shownValid = PickerDate(picker, shown);
    if (valid && shownValid && std::trunc(shown) == std::trunc(date)) return;
    if (!valid && !shownValid) {
        // The date behind the cleared check box still follows the record.
        SYSTEMTIME time = ToSystemTime(date);
        SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
        SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_NONE, reinterpret_cast<LPARAM>(&time));
        return;
    }
    SYSTEMTIME time = ToSystemTime(date);
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    // Some pickers ignore GDT_NONE without a time to go with it.
    if (!valid) SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_NONE, reinterpret_cast<LPARAM>(&time));
}

std::vector<std::string> ComboEntries(HWND combo) {
    std::vector<std::string> entries;
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const int length = static_cast<int>(SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0));
        std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(std::max(length, 0)));
        entries.push_back(win::ToSjis(text));
    }
    return entries;
}

}  // namespace

TPropForm::TPropForm(PropFormHost host, HIMAGELIST toolImages)
    : host_(std::move(host)), toolImages_(toolImages), memo_(ToSjisChecked) {}

TPropForm::~TPropForm() = default;

bool TPropForm::CreatePanel(HWND owner) {
    if (!CreateForm(owner, kClassName, L"プロパティ", kClientWidth, kClientHeight)) return false;
    CreateControls();
    FormCreate();
    return true;
}

void TPropForm::FormCreate() {
    ShowPage(0);
    StringHidenClick();
    currentItem_ = nullptr;
    MacroClip.clear();
    for (TEditButton* field : {c_.UserID, c_.Passwd, c_.Serial, c_.ProdKey, c_.Hint, c_.Answer}) {
        field->OnChange = [this](TEditButton&) { ItemChanged(); };
    }
    c_.Price->OnChange = [this](TValueEdit&) { ItemChanged(); };
    SetItem(nullptr);
}

void TPropForm::SetItem(TPassItem* record) {
    currentItem_ = nullptr;
    if (!Handle()) return;
    const TPassItem& shown = record ? *record : blankItem_;
    undoCopy_ = shown;
    DisplayItem(shown);
    SendMessageW(c_.ToolBar3, TB_ENABLEBUTTON, kIdUndoBtn, FALSE);
    for (HWND combo : {c_.ShopName, c_.Company, c_.URL, c_.Mail}) AddComboHistory(combo);
    currentItem_ = record;
}

void TPropForm::AddToHistories(const PanelHistories& histories) {
    const std::pair<HWND, const std::vector<std::string>*> lists[] = {{c_.ShopName, &histories.ShopName},
                                                                      {c_.Company, &histories.Company},
                                                                      {c_.URL, &histories.URL},
                                                                      {c_.Mail, &histories.Mail}};
    // Oldest first, through the box as a shown record goes, so the lists end up in the same order.
    for (const auto& [combo, history] : lists) {
        for (auto entry = history->rbegin(); entry != history->rend(); ++entry) {
            ShowText(combo, *entry);
            AddComboHistory(combo);
        }
    }
}

void TPropForm::DisplayItem(const TPassItem& r) {
    ShowText(c_.Title, r.Title);
    ShowDate(c_.FirstDate, r.FirstDate == 0 ? Today() : r.FirstDate, true);
    ShowText(c_.LastDateInfo, "最終更新日：" + FormatDate(r.LastDate));
    c_.UserID->SetText(r.UserID);
    c_.Passwd->SetText(r.Passwd);
    c_.Hint->SetText(r.Hint);
    c_.Answer->SetText(r.Answer);
    c_.Serial->SetText(r.Serial);
    c_.ProdKey->SetText(r.ProdKey);
    ShowCheck(c_.Doller, r.Price < 0);
    const std::string magnitude = std::to_string(std::llabs(static_cast<long long>(r.Price)));
    if (c_.Price->Text() != magnitude) c_.Price->SetText(magnitude);
    ShowText(c_.ShopName, r.ShopName);
    ShowDate(c_.LimitDate, r.LimitDate, (r.Flags & HasLimitDate) != 0);
    ShowText(c_.URL, r.URL);
    ShowText(c_.Mail, r.Mail);
    ShowText(c_.Company, r.Company);
    ShowMacroNames(OwnMacroNames(r));
    if (!win::GetWindowTextSjis(c_.MacroVal->Handle()).empty()) c_.MacroVal->SetCaption("");
    ShowMemo(r.Memo);
    const WPARAM kind = r.Kind >= 0 && r.Kind < kKindCount ? static_cast<WPARAM>(r.Kind) : static_cast<WPARAM>(-1);
    if (static_cast<WPARAM>(SendMessageW(c_.KindList, CB_GETCURSEL, 0, 0)) != kind) {
        SendMessageW(c_.KindList, CB_SETCURSEL, kind, 0);
    }
    ShowCheck(c_.KeySplit, (r.Flags & KeySplit) != 0);
    ShowCheck(c_.SerSplit, (r.Flags & SerSplit) != 0);
}

// What the memo box holds as a record stores it. Kept from one change event of the box to the
// next, so that a keystroke in another field, and the refill after every keystroke, neither
// read nor convert a memo of a megabyte again; a keystroke in the memo converts what it changed.
const std::string& TPropForm::MemoShown() const {
    if (!memo_.Known()) {
        // Into the same buffer each time: a megabyte freshly allocated costs more than its copy.
        const int length = GetWindowTextLengthW(c_.Memo);
        memoBuffer_.resize(static_cast<size_t>(length) + 1);
        const int got = GetWindowTextW(c_.Memo, memoBuffer_.data(), length + 1);
        memo_.Update(std::wstring_view(memoBuffer_.data(), static_cast<size_t>(std::max(got, 0))));
    }
    return memo_.Text();
}

// The refill of the memo box: it shows the record's memo already when the memo is what the box
// gave, and the box's text came through the conversion to Shift_JIS and back unchanged.
void TPropForm::ShowMemo(const std::string& memo) {
    if (memo_.Known() && memo_.Exact() && memo_.WholeLines() && memo == memo_.Text()) return;
    const std::string lines = MemoLines(memo);
    const std::wstring wide = win::ToWide(lines);
    if (TextOf(c_.Memo) == wide) return;
    const bool wrap = lines.size() <= kWrappedMemoLimit && LongestLine(lines) <= kWrappedLineLimit;
    if (wrap != memoWraps_) CreateMemo(wrap);
    SetWindowTextW(c_.Memo, wide.c_str());
    // Known now, so that the first keystroke in it converts only what it changes.
    memo_.Update(TextOf(c_.Memo));
}

// The list box is refilled only when the names differ: every keystroke refills the panel. What
// a refill would clear, the selection, goes all the same.
void TPropForm::ShowMacroNames(const std::vector<std::string>& names) {
    const int count = static_cast<int>(SendMessageW(c_.Macro, LB_GETCOUNT, 0, 0));
    bool same = count == static_cast<int>(names.size());
    for (int i = 0; same && i < count; ++i) {
        const int length = static_cast<int>(SendMessageW(c_.Macro, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0));
        std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
        SendMessageW(c_.Macro, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(std::max(length, 0)));
        same = text == win::ToWide(names[static_cast<size_t>(i)]);
    }
    if (same) {
        if (SendMessageW(c_.Macro, LB_GETCURSEL, 0, 0) != LB_ERR) {
            SendMessageW(c_.Macro, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        }
        return;
    }
    SendMessageW(c_.Macro, WM_SETREDRAW, FALSE, 0);
    SendMessageW(c_.Macro, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : names) {
        SendMessageW(c_.Macro, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::ToWide(name).c_str()));
    }
    SendMessageW(c_.Macro, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(c_.Macro, nullptr, TRUE);
}

TPassItem TPropForm::Candidate() const {
    TPassItem c = *currentItem_;
    c.Title = win::ToSjis(TextOf(c_.Title));
    c.Kind = static_cast<int32_t>(SendMessageW(c_.KindList, CB_GETCURSEL, 0, 0));
    TDate date = 0;
    if (PickerDate(c_.FirstDate, date)) c.FirstDate = date;
    const bool hasLimit = PickerDate(c_.LimitDate, date);
    if (hasLimit) c.LimitDate = date;
    c.UserID = c_.UserID->Text();
    c.Passwd = c_.Passwd->Text();
    c.Hint = c_.Hint->Text();
    c.Answer = c_.Answer->Text();
    c.Serial = c_.Serial->Text();
    c.ProdKey = c_.ProdKey->Text();
    const int32_t price = c_.Price->Value();
    c.Price = Checked(c_.Doller) ? -price : price;
    c.ShopName = win::ToSjis(TextOf(c_.ShopName));
    c.URL = win::ToSjis(TextOf(c_.URL));
    c.Mail = win::ToSjis(TextOf(c_.Mail));
    c.Company = win::ToSjis(TextOf(c_.Company));
    c.Flags = PanelFlags(Checked(c_.KeySplit), Checked(c_.SerSplit), hasLimit);
    return c;
}

namespace {

// Keeps a record's memo aside while the record is copied and compared without it, and puts it,
// or the one that replaces it, back at the end.
class MemoAside {
public:
    explicit MemoAside(TPassItem& item) : item_(item), memo_(std::move(item.Memo)) {}
    ~MemoAside() { item_.Memo = std::move(memo_); }
    MemoAside(const MemoAside&) = delete;
    MemoAside& operator=(const MemoAside&) = delete;
    const std::string& Memo() const { return memo_; }
    void Replace(const std::string& memo) { memo_ = memo; }

private:
    TPassItem& item_;
    std::string memo_;
};

}  // namespace

// The memo is compared on its own and copied only when it changed: a memo may be a megabyte.
void TPropForm::ItemChanged() {
    if (!currentItem_) return;
    {
        MemoAside aside(*currentItem_);
        TPassItem candidate = Candidate();
        const std::string& memo = MemoShown();
        const bool memoChanged = memo != aside.Memo();
        if (!memoChanged && !RecordsDiffer(*currentItem_, candidate)) return;
        if (memoChanged) aside.Replace(memo);
        *currentItem_ = std::move(candidate);
        currentItem_->LastDate = Today();
    }
    if (host_.RefreshSelectedItem) host_.RefreshSelectedItem(currentItem_);
    DisplayItem(*currentItem_);
    SendMessageW(c_.ToolBar3, TB_ENABLEBUTTON, kIdUndoBtn, TRUE);
}

void TPropForm::UndoBtnClick() {
    if (!currentItem_) return;
    TPassItem* record = currentItem_;
    currentItem_ = nullptr;
    *record = undoCopy_;
    if (host_.RefreshSelectedItem) host_.RefreshSelectedItem(record);
    DisplayItem(*record);
    SendMessageW(c_.ToolBar3, TB_ENABLEBUTTON, kIdUndoBtn, FALSE);
    currentItem_ = record;
}

bool TPropForm::UndoEnabled() const {
    return SendMessageW(c_.ToolBar3, TB_ISBUTTONENABLED, kIdUndoBtn, 0) != 0;
}

void TPropForm::AddComboHistory(HWND combo) {
    const std::string text = win::GetWindowTextSjis(combo);
    const std::string trimmed = TrimBlanks(text);
    if (trimmed.empty()) return;
    const std::vector<std::string> before = ComboEntries(combo);
    std::vector<std::string> after = before;
    AddHistoryEntry(after, trimmed);
    if (after != before) {
        SendMessageW(combo, CB_RESETCONTENT, 0, 0);
        for (const std::string& entry : after) {
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::ToWide(entry).c_str()));
        }
    }
    // Emptying the list emptied the box; putting the trimmed text back stores it like typing.
    const std::wstring wide = win::ToWide(trimmed);
    if (TextOf(combo) != wide) {
        SetWindowTextW(combo, wide.c_str());
        ItemChanged();
    }
}

std::vector<std::string> TPropForm::History(HWND combo) const {
    return ComboEntries(combo);
}

void TPropForm::CloseBtnClick() {
    SetVisible(false);
}

void TPropForm::StringHidenClick() {
    c_.Passwd->SetPasswordChar(Checked(c_.PassHidden) ? 0 : L'*');
}

void TPropForm::PassBtnClick() {
    TPassGen dialog;
    dialog.placed = true;
    dialog.topLeft = PageCorner();
    // The new text reaches the record through the field's change event, like typing.
    if (dialog.ShowModal(Handle()) == IDOK) c_.Passwd->SetText(dialog.PassString);
}

void TPropForm::URLOpenBtnClick() {
    const std::string url = win::GetWindowTextSjis(c_.URL);
    if (!url.empty() && host_.BrowseURL) host_.BrowseURL(url);
}

void TPropForm::SendMailBtnClick() {
    const std::wstring mail = TextOf(c_.Mail);
    if (mail.empty()) return;
    ShellExecuteW(Handle(), L"open", (L"mailto:" + mail).c_str(), nullptr, nullptr, SW_SHOW);
}

void TPropForm::Splitter2Moved(int left) {
    macroWidth_ = left;
    LayoutMacroPage();
    RECT page;
    GetClientRect(c_.TabSheet[3], &page);
    const int widths[] = {macroWidth_ + 3, static_cast<int>(page.right) + macroWidth_};
    for (int i = 0; i < 2; ++i) {
        HDITEMW item{};
        item.mask = HDI_WIDTH;
        item.cxy = widths[i];
        SendMessageW(c_.HeaderControl1, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}

void TPropForm::SetCompanyEditable(bool editable) {
    companyEditable_ = editable;
    EnableWindow(c_.Label6, editable);
    EnableWindow(c_.Company, editable);
}

void TPropForm::FocusTitle() {
    SetFocus(c_.Title);
}

void TPropForm::ShowPage(int index) {
    SendMessageW(c_.PageControl1, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    for (int i = 0; i < 4; ++i) ShowWindow(c_.TabSheet[i], i == index ? SW_SHOW : SW_HIDE);
}

int TPropForm::ActivePage() const {
    return static_cast<int>(SendMessageW(c_.PageControl1, TCM_GETCURSEL, 0, 0));
}

bool TPropForm::PreTranslateMessage(MSG& msg) {
    if (!Handle() || !Visible() || (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd))) return false;
    return IsDialogMessageW(Handle(), &msg) != FALSE;
}

void TPropForm::VisibleChanged(bool visible) {
    if (host_.VisibleChanged) host_.VisibleChanged(visible);
}

bool TPropForm::OnCommand(int id, int code, HWND control) {
    switch (id) {
        case kIdCloseBtn: CloseBtnClick(); return true;
        case kIdUndoBtn: UndoBtnClick(); return true;
        case kIdPassBtn: PassBtnClick(); return true;
        case kIdURLOpenBtn: URLOpenBtnClick(); return true;
        case kIdSendMailBtn: SendMailBtnClick(); return true;
        case kIdPassHidden: StringHidenClick(); return true;
        case kIdKeySplit:
        case kIdSerSplit:
        case kIdDoller:
            if (code == BN_CLICKED) ItemChanged();
            return true;
        case kIdTitle:
            if (code == EN_CHANGE) ItemChanged();
            return true;
        case kIdMemo:
            if (code == EN_CHANGE) {
                memo_.Forget();
                ItemChanged();
            }
            return true;
        case kIdKindList:
            if (code == CBN_SELCHANGE) ItemChanged();
            return true;
        case kIdShopName:
        case kIdCompany:
        case kIdURL:
        case kIdMail:
            if (code == CBN_EDITCHANGE) {
                ItemChanged();
            } else if (code == CBN_SELCHANGE) {
                // The box shows the chosen entry only after this notification: put it there now.
                const int index = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
                const std::vector<std::string> entries = ComboEntries(control);
                if (index >= 0 && index < static_cast<int>(entries.size())) {
                    SetWindowTextW(control, win::ToWide(entries[static_cast<size_t>(index)]).c_str());
                }
                ItemChanged();
            } else if (code == CBN_KILLFOCUS) {
                AddComboHistory(control);
            }
            return true;
        case kIdMacro:
            if (code == LBN_SELCHANGE) MacroClick();
            if (code == LBN_DBLCLK) MacroExecute();
            return true;
    }
    return false;
}

bool TPropForm::OnNotify(NMHDR& header) {
    switch (header.code) {
        case DTN_DATETIMECHANGE:
            ItemChanged();
            return true;
        case TCN_SELCHANGE:
            if (header.hwndFrom == c_.PageControl1) ShowPage(ActivePage());
            return true;
        case TTN_GETDISPINFOW: {
            auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
            if (header.idFrom == kIdCloseBtn) info.lpszText = const_cast<wchar_t*>(L"編集パネルを閉じる");
            if (header.idFrom == kIdUndoBtn) info.lpszText = const_cast<wchar_t*>(L"編集前に戻す");
            return true;
        }
    }
    return false;
}

LRESULT TPropForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE:
            Layout();
            break;
        case WM_COMMAND:
            if (OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return 0;
            break;
        case WM_NOTIFY:
            if (OnNotify(*reinterpret_cast<NMHDR*>(lParam))) return 0;
            break;
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) == c_.Macro) {
                POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                if (point.x == -1 && point.y == -1) {  // from the keyboard: at the list's corner
                    point = POINT{0, 0};
                    ClientToScreen(c_.Macro, &point);
                }
                ShowMacroMenu(point);
                return 0;
            }
            break;
    }
    return TDockClientForm::HandleMessage(msg, wParam, lParam);
}

}  // namespace torvane
