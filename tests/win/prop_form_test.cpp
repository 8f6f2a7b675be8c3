// The property panel in the real main window: write-back on every change, Undo, histories, the
// password mask and the generator.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "app/main_commands.h"
#include "editor/edit_button_win.h"
#include "editor/prop_form_win.h"
#include "res/resource.h"
#include "tests/core/chi_square.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/screenshot.h"
#include "tools/bevel_label_win.h"
#include "tools/pass_gen_win.h"
#include "tools/value_edit_win.h"
#include "tools/value_spin_win.h"

namespace torvane {
namespace {

using wintest::ModalAnswerer;
using wintest::PumpMessages;
using wintest::Reply;
using wintest::TypeText;

class PropFormTest : public wintest::MainWindowTest {
protected:
    void StartWith(std::vector<TPassItem> records) {
        WriteData(records, "PROPVIEW=1\r\n");
        Start();
        panel = form_->PropForm();
        ASSERT_NE(panel, nullptr);
    }
    void SelectRow(int row) {
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = state.stateMask;
        SendMessageW(C().ListView1, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    }
    const PropControls& P() const { return panel->Controls(); }
    std::string Text(HWND control) const { return win::GetWindowTextSjis(control); }
    // Typing at the end of a field.
    void TypeAtEnd(HWND edit, const std::wstring& text) {
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), -1);
        SendMessageW(edit, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
        TypeText(edit, text);
    }
    void Click(HWND box) { SendMessageW(box, BM_CLICK, 0, 0); }
    // Leaving a combo box, as the focus change reports it.
    void Leave(HWND combo) {
        SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_KILLFOCUS),
                     reinterpret_cast<LPARAM>(combo));
    }
    void SetComboText(HWND combo, const std::wstring& text) { SetWindowTextW(combo, text.c_str()); }

    TPropForm* panel = nullptr;
};

TEST_F(PropFormTest, WithoutARecordTheFieldsAreBlankAndTypingStoresNothing) {
    StartWith({wintest::Record("", "alpha")});
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED;
    SendMessageW(C().ListView1, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    ASSERT_EQ(panel->CurrentItem(), nullptr);
    EXPECT_TRUE(panel->Visible());
    EXPECT_EQ(GetParent(panel->Handle()), C().DockPanel1);
    EXPECT_EQ(Text(P().LastDateInfo), "最終更新日：1899/12/30");
    SYSTEMTIME shown{};
    SendMessageW(P().FirstDate, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
    int year = 0, month = 0, day = 0;
    DecodeDate(Today(), year, month, day);
    EXPECT_EQ(shown.wYear, year);
    EXPECT_EQ(shown.wDay, day);
    TypeAtEnd(P().Title, L"x");
    TypeAtEnd(P().UserID->Edit(), L"y");
    EXPECT_FALSE(List().Modified);
    EXPECT_FALSE(panel->UndoEnabled());
    EXPECT_EQ(List().Item(0).Title, "alpha");
}

TEST_F(PropFormTest, EveryKeystrokeIsStoredAndUndoRestoresTheOldDate) {
    TPassItem record = wintest::Record("", "alpha");
    record.LastDate = wintest::Day(2020, 5, 6);
    StartWith({record});
    SelectRow(0);
    TPassItem* item = panel->CurrentItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(Text(P().Title), "alpha");

    TypeAtEnd(P().Title, L"Z");
    EXPECT_EQ(item->Title, "alphaZ");
    EXPECT_EQ(item->LastDate, Today());
    EXPECT_EQ(Cell(C().ListView1, 0, 0), "alphaZ");
    EXPECT_TRUE(List().Modified);
    EXPECT_TRUE(panel->UndoEnabled());
    EXPECT_EQ(Text(P().LastDateInfo), "最終更新日：" + FormatDate(Today()));

    TypeAtEnd(P().Title, L"\b");
    EXPECT_EQ(item->Title, "alpha");
    EXPECT_EQ(item->LastDate, Today());

    TypeAtEnd(P().Passwd->Edit(), L"pw");
    EXPECT_EQ(item->Passwd, "pw");
    panel->UndoBtnClick();
    EXPECT_EQ(item->Passwd, "");
    EXPECT_EQ(item->LastDate, wintest::Day(2020, 5, 6));
    EXPECT_EQ(Text(P().Passwd->Edit()), "");
    EXPECT_FALSE(panel->UndoEnabled());
}

// The memo box is read and refilled only when its text changed; the box and the record agree
// all the same, for line breaks the box writes differently and characters it cannot store. A
// memo with a very long line gets a box that does not wrap, which Wine would take hours over.
TEST_F(PropFormTest, MemoBoxAndRecordAgreeAndLongLinesDoNotWrap) {
    TPassItem lf = wintest::Record("", "a"), crlf = wintest::Record("", "b"), longLine = wintest::Record("", "c");
    lf.Memo = "one\ntwo";
    crlf.Memo = "one\r\ntwo";
    longLine.Memo = std::string(100000, 'w');
    StartWith({lf, crlf, longLine});
    const auto wraps = [this] { return (GetWindowLongW(P().Memo, GWL_STYLE) & ES_AUTOHSCROLL) == 0; };

    SelectRow(0);
    TPassItem* item = panel->CurrentItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(Text(P().Memo), "one\r\ntwo");
    TypeAtEnd(P().Title, L"x");
    EXPECT_EQ(item->Memo, "one\r\ntwo");
    // No Shift_JIS code: the record keeps what it can, and the box shows that.
    TypeAtEnd(P().Memo, L"\u00e9");
    EXPECT_EQ(item->Memo.substr(0, 8), "one\r\ntwo");
    EXPECT_EQ(win::ToWide(item->Memo), win::ToWide(Text(P().Memo)));
    TypeAtEnd(P().Title, L"y");
    EXPECT_EQ(win::ToWide(item->Memo), win::ToWide(Text(P().Memo)));

    SelectRow(2);
    item = panel->CurrentItem();
    EXPECT_FALSE(wraps());
    EXPECT_EQ(GetWindowTextLengthW(P().Memo), 100000);
    EXPECT_EQ(P().Memo, GetWindow(P().Splitter2, GW_HWNDNEXT));  // its place in the tab order
    TypeAtEnd(P().Memo, L"z");
    EXPECT_EQ(item->Memo, std::string(100000, 'w') + "z");
    SelectRow(1);
    EXPECT_TRUE(wraps());
    EXPECT_EQ(Text(P().Memo), "one\r\ntwo");
    TypeAtEnd(P().Memo, L"!");
    EXPECT_EQ(panel->CurrentItem()->Memo, "one\r\ntwo!");
}

TEST_F(PropFormTest, PriceSignFlagsAndLimitDate) {
    StartWith({wintest::Record("", "alpha")});
    SelectRow(0);
    TPassItem* item = panel->CurrentItem();
    item->Flags = 0;
    panel->SetItem(item);

    Click(P().Doller);  // minus zero is zero: nothing changes
    EXPECT_EQ(item->Price, 0);
    EXPECT_FALSE(panel->UndoEnabled());
    P().Price->SetText("1500");
    EXPECT_EQ(item->Price, -1500);
    panel->SetItem(nullptr);
    panel->SetItem(item);
    EXPECT_EQ(P().Price->Text(), "1500");
    EXPECT_EQ(SendMessageW(P().Doller, BM_GETCHECK, 0, 0), BST_CHECKED);

    const struct {
        HWND box;
        uint16_t flags;
    } boxes[] = {{P().KeySplit, 1}, {P().SerSplit, 3}};
    for (const auto& b : boxes) {
        Click(b.box);
        EXPECT_EQ(item->Flags, b.flags);
    }
    SYSTEMTIME limit{};
    limit.wYear = 2031;
    limit.wMonth = 2;
    limit.wDay = 3;
    SendMessageW(P().LimitDate, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&limit));
    NMHDR changed{P().LimitDate, static_cast<UINT_PTR>(GetDlgCtrlID(P().LimitDate)), static_cast<UINT>(DTN_DATETIMECHANGE)};
    SendMessageW(panel->Handle(), WM_NOTIFY, changed.idFrom, reinterpret_cast<LPARAM>(&changed));
    EXPECT_EQ(item->Flags, 11);
    EXPECT_EQ(item->LimitDate, wintest::Day(2031, 2, 3));
}

TEST_F(PropFormTest, ComboHistoryTrimsReplacesByCaseAndKeepsTwenty) {
    StartWith({wintest::Record("", "alpha")});
    SelectRow(0);
    TPassItem* item = panel->CurrentItem();
    SetComboText(P().ShopName, L"  Shop One  ");
    Leave(P().ShopName);
    EXPECT_EQ(item->ShopName, "Shop One");
    EXPECT_EQ(panel->History(P().ShopName), std::vector<std::string>{"Shop One"});
    SetComboText(P().ShopName, L"other");
    Leave(P().ShopName);
    SetComboText(P().ShopName, L"SHOP ONE");
    Leave(P().ShopName);
    EXPECT_EQ(panel->History(P().ShopName), (std::vector<std::string>{"SHOP ONE", "other"}));
    for (int i = 0; i < 20; ++i) {
        SetComboText(P().ShopName, L"s" + std::to_wstring(i));
        Leave(P().ShopName);
    }
    const std::vector<std::string> history = panel->History(P().ShopName);
    EXPECT_EQ(history.size(), 20u);
    EXPECT_EQ(history.front(), "s19");
    EXPECT_EQ(history.back(), "s0");
}

// Made only when first shown, the panel ends up as one there from the start: the histories of
// the records selected meanwhile, the selected record, the company field's state, docked.
TEST_F(PropFormTest, APanelFirstShownLaterMatchesOneMadeAtStart) {
    std::vector<TPassItem> records = {wintest::Record("", "alpha", "Acme"), wintest::Record("", "beta", "acme"),
                                      wintest::Record("", "gamma", "Zed")};
    records[0].ShopName = " Shop A ";
    records[1].ShopName = "B";
    records[2].URL = "http://zed.example/";
    struct Seen {
        std::vector<std::string> histories[4];
        std::string title;
        bool companyEnabled;
        bool operator==(const Seen& o) const {
            return std::equal(histories, histories + 4, o.histories) && title == o.title &&
                   companyEnabled == o.companyEnabled;
        }
    };
    const auto run = [&](const std::string& settings, int command) {
        TearDown();
        WriteData(records, settings);
        Start();
        for (int row : {0, 1, 2, 1}) SelectRow(row);
        ShowPage(1);
        if (command == kCmdPropBtn) SendMessageW(C().ToolBar1, TB_CHECKBUTTON, kCmdPropBtn, TRUE);
        if (command) {
            EXPECT_EQ(form_->PropForm(), nullptr);
            SendMessageW(Main(), WM_COMMAND, command, 0);
        }
        panel = form_->PropForm();
        Seen seen{};
        if (!panel) return seen;
        const HWND combos[] = {P().ShopName, P().Company, P().URL, P().Mail};
        for (int i = 0; i < 4; ++i) seen.histories[i] = panel->History(combos[i]);
        seen.title = panel->CurrentItem() ? panel->CurrentItem()->Title : "(none)";
        seen.companyEnabled = IsWindowEnabled(P().Company) != FALSE;
        EXPECT_TRUE(panel->Visible());
        EXPECT_EQ(GetParent(panel->Handle()), C().DockPanel1);
        EXPECT_TRUE(SendMessageW(C().ToolBar1, TB_ISBUTTONCHECKED, kCmdPropBtn, 0));
        EXPECT_TRUE(form_->Actions()[kCmdDispProp].Checked());
        return seen;
    };
    const Seen atStart = run("PROPVIEW=1\r\n", 0);
    EXPECT_EQ(atStart.histories[0], (std::vector<std::string>{"B", "Shop A"}));
    EXPECT_EQ(atStart.histories[2], std::vector<std::string>{"http://zed.example/"});
    EXPECT_FALSE(atStart.companyEnabled);
    EXPECT_TRUE(run("", kCmdDispProp) == atStart);
    EXPECT_TRUE(run("", kCmdPropBtn) == atStart);
}

TEST_F(PropFormTest, PasswordIsMaskedUntilTheBoxIsTicked) {
    StartWith({wintest::Record("", "alpha")});
    EXPECT_EQ(P().Passwd->PasswordChar(), L'*');
    Click(P().PassHidden);
    EXPECT_EQ(P().Passwd->PasswordChar(), 0);
    Click(P().PassHidden);
    EXPECT_EQ(P().Passwd->PasswordChar(), L'*');
}

TEST_F(PropFormTest, GeneratorHandsItsPasswordOverOnlyOnUpdate) {
    StartWith({wintest::Record("", "alpha")});
    SelectRow(0);
    TPassItem* item = panel->CurrentItem();
    std::string drawn;
    ModalAnswerer close({Reply::Press(L"パスワード生成", IDC_PASSGEN_CLOSE)});
    panel->PassBtnClick();
    EXPECT_TRUE(close.Done());
    EXPECT_EQ(item->Passwd, "");

    ModalAnswerer update({Reply::Press(L"パスワード生成", IDOK).Then([&](HWND dialog) {
        drawn = win::GetWindowTextSjis(GetDlgItem(dialog, IDC_PASSGEN_STRING));
        wintest::SaveScreenshot(dialog, "pass_gen");
    })});
    panel->PassBtnClick();
    EXPECT_TRUE(update.Done());
    EXPECT_EQ(drawn.size(), 12u);
    EXPECT_EQ(item->Passwd, drawn);
}

// The dialog driven from inside: classes, lengths and the spread of the characters.
TEST(PassGenTest, ClassesLengthsAndSpread) {
    TPassGen dialog;
    struct Check {
        std::string first;
        std::string symbolsOnly;
        std::string len8, len32;
        bool warned = false;
        std::string afterWarning;
        std::string many;
    } seen;
    ModalAnswerer inner({Reply::Press(L"パスワード生成", IDC_PASSGEN_CLOSE).Then([&](HWND window) {
        const auto shown = [&] { return win::GetWindowTextSjis(GetDlgItem(window, IDC_PASSGEN_STRING)); };
        const auto click = [&](int id) { SendMessageW(GetDlgItem(window, id), BM_CLICK, 0, 0); };
        TValueSpin* length = TValueSpin::From(GetDlgItem(window, IDC_PASSGEN_LENGTH));
        seen.first = shown();
        click(IDC_PASSGEN_SPEC);
        for (int id : {IDC_PASSGEN_UPALPHA, IDC_PASSGEN_LOWALPHA, IDC_PASSGEN_DIGIT}) click(id);
        click(IDC_PASSGEN_GENERATE);
        seen.symbolsOnly = shown();
        {
            ModalAnswerer warning({Reply::Press(L"警告", IDOK)});
            click(IDC_PASSGEN_SPEC);  // the last class: it stays ticked
            seen.warned = warning.Done() && warning.Seen(0).text == L"文字種の指定がありません！";
        }
        seen.afterWarning = shown();
        length->SetValue(3);
        click(IDC_PASSGEN_GENERATE);
        seen.len8 = shown();
        length->SetValue(40);
        click(IDC_PASSGEN_GENERATE);
        seen.len32 = shown();
        click(IDC_PASSGEN_DIGIT);
        click(IDC_PASSGEN_SPEC);
        for (int i = 0; i < 400; ++i) {
            click(IDC_PASSGEN_GENERATE);
            seen.many += shown();
        }
    })});
    dialog.ShowModal(nullptr);
    EXPECT_TRUE(inner.Done());
    EXPECT_EQ(seen.first.size(), 12u);
    for (char ch : seen.first) EXPECT_TRUE(isalnum(static_cast<unsigned char>(ch))) << ch;
    EXPECT_EQ(seen.symbolsOnly.size(), 12u);
    for (char ch : seen.symbolsOnly) EXPECT_TRUE(ispunct(static_cast<unsigned char>(ch))) << ch;
    EXPECT_TRUE(seen.warned);
    EXPECT_EQ(seen.afterWarning, seen.symbolsOnly);
    EXPECT_EQ(seen.len8.size(), 8u);
    EXPECT_EQ(seen.len32.size(), 32u);
    const std::string digits = "0123456789";
    EXPECT_LT(ChiSquare(seen.many, digits), ChiSquareCritical(digits.size() - 1));
}

TEST_F(PropFormTest, Screenshots) {
    StartWith({wintest::Record("", "alpha")});
    SelectRow(0);
    for (int page = 0; page < 4; ++page) {
        panel->ShowPage(page);
        const std::string name = "prop_page" + std::to_string(page + 1);
        wintest::SaveScreenshot(panel->Handle(), name.c_str());
    }
    panel->ShowPage(0);
    wintest::SaveScreenshot(Main(), "prop_docked");
}

}  // namespace
}  // namespace torvane
