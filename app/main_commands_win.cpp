// The main window's record commands: adding and deleting records, the macro menu and running
// its macros, opening a record's web address or a mail to it, the settings dialog and the
// redisplay after it, and the about box and help commands.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/item_view.h"
#include "app/main_form_win.h"
#include "app/new_item.h"
#include "autoinput/comma_list.h"
#include "autoinput/macro.h"
#include "autoinput/send_keys_win.h"
#include "settings/setup_form_win.h"
#include "store/date.h"
#include "win/message_box.h"
#include "win/text.h"

namespace torvane {

namespace {

constexpr char kDeleteQuestion[] = " を削除します！\r\nよろしいですか？";

}  // namespace

void TMainForm::P_NewClick() {
    if (!passList_ || Busy()) return;
    std::string path;
    std::string company;
    if (ActivePage() == 0) {
        const HTREEITEM node = tree_.Selected();
        if (!node) return;
        path = tree_.GetNodePath(node);
    } else {
        const int row = companyList_.SelectedIndex();
        if (row < 0) return;
        company = companyList_.RowText(row);
        if (company == kNoCompanyRow) company.clear();
    }
    const TPassItem item = MakeNewItem(*passList_, path, company, itemList_.Count(), Today());
    TPassItem* record = &passList_->Item(passList_->AddItem(item));
    itemList_.Select(itemList_.AddRow(record));
    AddMiniToolTitle(record);
    FocusPropertyPanelTitle();
}

void TMainForm::P_DeleteClick() {
    if (!passList_ || Busy()) return;
    TPassItem* record = itemList_.Selected();
    if (!record) return;
    {
        ModalScope asking(*this);
        if (!win::Confirm(Handle(), record->Title + kDeleteQuestion)) return;
    }
    // Nothing can change the list while the question is open; the row still shows the record.
    if (!passList_ || itemList_.IndexOf(record) < 0) return;
    // The row and whatever shows the record let go of it before it is freed.
    itemList_.RemoveRow(record);
    RemoveMiniToolTitle(record);
    passList_->DeleteItem(record);
}

// The redisplay runs whatever the settings dialog answered, so changed warning settings show at
// once.
void TMainForm::N_SetupClick() {
    if (!passList_ || Busy()) return;
    {
        ModalScope asking(*this);
        ShowSetupForm(Handle(), params_, passList_.get());
    }
    if (ActivePage() == 0) {
        TreeView1Change();
    } else {
        const int row = companyList_.SelectedIndex();
        CompanyListSelectItem(row, row >= 0);
    }
}

void TMainForm::UpdateMacroMenu(TPassItem* record) {
    macroMenuItem_ = record;
    const HMENU menu = menus_.MacroPopup;
    while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);

    actions_[kCmdOpenWWW].SetEnabled(record && !record->URL.empty());
    actions_[kCmdOpenMail].SetEnabled(record && !record->Mail.empty());
    actions_[kCmdDelAction].SetEnabled(record != nullptr);

    const std::vector<std::string> entries = ReadCommaList(FullMacroList(record));
    const int count = std::min(static_cast<int>(entries.size()), kCmdMacroLast - kCmdMacroFirst + 1);
    for (int i = 0; i < count; ++i) {
        const std::wstring caption = win::ToWide(MacroName(entries[static_cast<size_t>(i)]));
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(kCmdMacroFirst + i), caption.c_str());
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        info.fType = MFT_STRING | MFT_RADIOCHECK;
        SetMenuItemInfoW(menu, static_cast<UINT>(kCmdMacroFirst + i), FALSE, &info);
    }
    if (count > 0) CheckMenuRadioItem(menu, kCmdMacroFirst, kCmdMacroFirst + count - 1, kCmdMacroFirst, MF_BYCOMMAND);
    actions_[kCmdSendTo].SetEnabled(count > 0);
    sendToMacro_ = 0;
}

void TMainForm::MacroExecute(int number) {
    const int count = GetMenuItemCount(menus_.MacroPopup);
    if (number < 0 || number >= count) return;
    CheckMenuRadioItem(menus_.MacroPopup, kCmdMacroFirst, kCmdMacroFirst + count - 1, kCmdMacroFirst + number,
                       MF_BYCOMMAND);
    sendToMacro_ = number;
    SendToClick();
}

// The target is the window below the application's task-bar window: the one the user worked
// in before Torvane came forward.
void TMainForm::SendToClick() {
    if (!passList_ || Busy()) return;
    const TPassItem* record = itemList_.Selected();
    if (!record) return;
    const std::string entry = MacroEntry(FullMacroList(record), sendToMacro_);
    const std::string text = BuildMacroText(entry, params_.AddEnter, *record);
    if (text.empty()) return;
    win::TSendKeys keys;
    keys.KeyDelay = params_.KeyDelay;
    keys.KeyPause = params_.KeyPause;
    if (params_.WindowHide) HideBtnClick();
    keys.FindTarget(app_.Handle());
    keys.SendText(text);
}

void TMainForm::OpenWWWExecute() {
    if (!passList_ || !wwwLink_ || Busy()) return;
    const TPassItem* record = itemList_.Selected();
    if (!record || record->URL.empty()) return;
    // Its error boxes are modal.
    ModalScope opening(*this);
    wwwLink_->BrowseURL(record->URL);
}

void TMainForm::OpenMailExecute() {
    if (!passList_ || Busy()) return;
    const TPassItem* record = itemList_.Selected();
    if (!record || record->Mail.empty()) return;
    OpenMailTo(Handle(), record->Mail);
}

void TMainForm::DispVersion() {
    if (Busy()) return;
    ModalScope showing(*this);
    aboutDialog_.ShowAbout(Handle());
}

// SetupHelp keeps HelpAction disabled without the viewer or the help file.
void TMainForm::HelpActionExecute() {
    if (Busy() || !htmHelp_.Enabled()) return;
    htmHelp_.ShowTopic(Handle(), "");
}

}  // namespace torvane
