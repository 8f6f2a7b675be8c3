// The macro dialog and the property panel's macro list in the real main window.
#include <gtest/gtest.h>
#include <windows.h>

#include "autoinput/macro.h"
#include "autoinput/macro_form_win.h"
#include "editor/prop_form_win.h"
#include "res/resource.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/screenshot.h"
#include "tools/bevel_label_win.h"

namespace torvane {
namespace {

using wintest::ModalAnswerer;
using wintest::Reply;

constexpr wchar_t kCaption[] = L"マクロ定義";

Reply Fill(const std::wstring& name, const std::wstring& macro, int button = IDOK) {
    Reply reply = Reply::Press(kCaption, button);
    reply.setTexts = {{IDC_MACROFORM_NAME, name}, {IDC_MACROFORM_MACRO, macro}};
    return reply;
}

TEST(MacroFormTest, OkNeedsBothTextsAndAnEqualsSignInTheNameIsRefused) {
    const struct {
        const wchar_t* name;
        const wchar_t* macro;
        INT_PTR result;
    } cases[] = {{L" a b ", L"  ", IDOK}, {L"", L"%U", IDCANCEL}, {L"login", L"", IDCANCEL}};
    for (const auto& c : cases) {
        TMacroForm form;
        ModalAnswerer answerer({Fill(c.name, c.macro)});
        EXPECT_EQ(form.ShowModal(nullptr), c.result) << win::ToSjis(c.name);
        if (c.result == IDOK) {
            EXPECT_EQ(form.Name, win::ToSjis(c.name));
            EXPECT_EQ(form.Macro, win::ToSjis(c.macro));
        }
    }

    TMacroForm form;
    ModalAnswerer answerer({Fill(L"a=b", L"%U"), Reply::Press(L"警告", IDOK), Reply::Press(kCaption, IDCANCEL)});
    EXPECT_EQ(form.ShowModal(nullptr), IDCANCEL);
    EXPECT_TRUE(answerer.Done());
    EXPECT_EQ(answerer.Seen(1).text, win::ToWide(kMacroNameEqualsMessage));
}

class MacroListTest : public wintest::MainWindowTest {
protected:
    void SetUp() override {
        WriteData({wintest::Record("", "alpha"), wintest::Record("", "beta")}, "PROPVIEW=1\r\n");
        Start();
        panel = form_->PropForm();
        ASSERT_NE(panel, nullptr);
        panel->ShowPage(3);
    }
    void SelectRow(int row) {
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = state.stateMask;
        SendMessageW(C().ListView1, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    }
    void Pick(int index) {
        SendMessageW(panel->Controls().Macro, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        panel->MacroClick();
    }
    TPropForm* panel = nullptr;
};

TEST_F(MacroListTest, AddedMacrosReadBackExactlyAndStayAfterUndo) {
    SelectRow(0);
    TPassItem* record = panel->CurrentItem();
    const TDate lastDate = record->LastDate;
    {
        ModalAnswerer answerer({Fill(L"a, \"b\"", L"%U\\t, \"%P\"")});
        panel->N_NewClick();
        EXPECT_TRUE(answerer.Done());
    }
    const std::optional<TPassItem> reloaded = ParseLine(FormatLine(*record));
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(MacroEntry(reloaded->Macro, 0), "a, \"b\"=%U\\t, \"%P\"");
    EXPECT_EQ(record->LastDate, lastDate);
    EXPECT_TRUE(List().Modified);
    EXPECT_EQ(form_->MacroMenuItem(), record);

    Pick(0);
    EXPECT_EQ(win::GetWindowTextSjis(panel->Controls().MacroVal->Handle()), "マクロ： %U\\t, \"%P\"");
    panel->UndoBtnClick();
    EXPECT_EQ(MacroEntry(record->Macro, 0), "a, \"b\"=%U\\t, \"%P\"");
}

TEST_F(MacroListTest, DeleteAsksAndCopyPastesOntoAnotherRecord) {
    SelectRow(0);
    TPassItem* first = panel->CurrentItem();
    SetMacro(*first, -1, "login", "%U\\t%P");
    panel->SetItem(first);
    Pick(0);
    {
        ModalAnswerer answerer({Reply::PressText(L"確認", L"いいえ(&N)")});
        panel->N_DelClick();
        EXPECT_EQ(answerer.Seen(0).text, L"login を削除していいですか？\r\n内容: %U\\t%P");
    }
    EXPECT_EQ(MacroName(MacroEntry(first->Macro, 0)), "login");
    Pick(0);
    panel->N_CopyClick();

    SelectRow(1);
    TPassItem* second = panel->CurrentItem();
    ASSERT_NE(second, first);
    EXPECT_TRUE(panel->MacorEditPopup().paste);
    EXPECT_FALSE(panel->MacorEditPopup().edit);
    panel->N_PasteClick();
    panel->N_PasteClick();
    EXPECT_EQ(second->Macro, "login=%U\\t%P,login=%U\\t%P");
    wintest::SaveScreenshot(panel->Handle(), "prop_macros");

    Pick(1);
    {
        ModalAnswerer answerer({Reply::PressText(L"確認", L"はい(&Y)")});
        panel->N_DelClick();
    }
    EXPECT_EQ(second->Macro, "login=%U\\t%P");
    EXPECT_EQ(SendMessageW(panel->Controls().Macro, LB_GETCOUNT, 0, 0), 1);
}

}  // namespace
}  // namespace torvane
