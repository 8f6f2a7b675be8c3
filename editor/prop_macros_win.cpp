// The property panel's macro list: the record's own macros, their context menu, the macro
// dialog and the panel's macro clipboard.
#include <windows.h>

#include "autoinput/comma_list.h"
#include "autoinput/macro.h"
#include "autoinput/macro_form_win.h"
#include "editor/prop_form_win.h"
#include "editor/prop_item.h"
#include "tools/bevel_label_win.h"
#include "win/message_box.h"
#include "win/text.h"

namespace torvane {

namespace {

enum MacroCommand { kNew = 1, kEdit, kDel, kCopy, kPaste, kExec };

}  // namespace

int TPropForm::PickedMacro() const {
    return static_cast<int>(SendMessageW(c_.Macro, LB_GETCURSEL, 0, 0));
}

POINT TPropForm::PageCorner() const {
    POINT corner{0, 0};
    ClientToScreen(c_.PageControl1, &corner);
    return corner;
}

void TPropForm::MacroClick() {
    const int index = PickedMacro();
    if (index < 0 || !currentItem_) return;
    c_.MacroVal->SetCaption("マクロ： " + PreviewText(MacroTemplate(MacroEntry(currentItem_->Macro, index))));
}

void TPropForm::MacroExecute() {
    const int index = PickedMacro();
    if (index < 0 || !currentItem_ || !host_.MacroExecute) return;
    host_.MacroExecute(kDefaultMacroCount + index);
}

TPropForm::MacroMenuState TPropForm::MacorEditPopup() const {
    const bool attached = currentItem_ != nullptr;
    const bool picked = PickedMacro() >= 0;
    return {attached, picked, picked, picked, !MacroClip.empty() && attached, picked};
}

void TPropForm::ShowMacroMenu(POINT screen) {
    const MacroMenuState state = MacorEditPopup();
    HMENU menu = CreatePopupMenu();
    const auto add = [menu](int id, const wchar_t* caption, bool enabled) {
        AppendMenuW(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), static_cast<UINT_PTR>(id), caption);
    };
    add(kNew, L"追加", state.add);
    add(kEdit, L"修正", state.edit);
    add(kDel, L"削除", state.del);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    add(kCopy, L"マクロコピー", state.copy);
    add(kPaste, L"マクロ貼付け", state.paste);
    add(kExec, L"マクロ実行", state.exec);
    const int command = static_cast<int>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, Handle(), nullptr));
    DestroyMenu(menu);
    switch (command) {
        case kNew: N_NewClick(); break;
        case kEdit: N_EditClick(); break;
        case kDel: N_DelClick(); break;
        case kCopy: N_CopyClick(); break;
        case kPaste: N_PasteClick(); break;
        case kExec: MacroExecute(); break;
    }
}

void TPropForm::N_NewClick() {
    if (currentItem_) EditMacro(-1, "");
}

void TPropForm::N_EditClick() {
    const int index = PickedMacro();
    if (index >= 0 && currentItem_) EditMacro(index, MacroEntry(currentItem_->Macro, index));
}

void TPropForm::EditMacro(int position, const std::string& entry) {
    TMacroForm dialog;
    dialog.Name = MacroName(entry);
    dialog.Macro = MacroTemplate(entry);
    dialog.placed = true;
    dialog.topLeft = PageCorner();
    if (dialog.ShowModal(Handle()) == IDOK) StoreMacro(position, dialog.Name, dialog.Macro);
}

// A macro change re-attaches the record (a new undo state) and leaves its last-change date.
void TPropForm::StoreMacro(int position, const std::string& name, const std::string& templ) {
    TPassItem* record = currentItem_;
    if (!record) return;
    SetMacro(*record, position, name, templ);
    if (host_.MacroChanged) host_.MacroChanged(record);
    SetItem(record);
}

void TPropForm::N_DelClick() {
    TPassItem* record = currentItem_;
    const int index = PickedMacro();
    if (!record || index < 0) return;
    const std::string entry = MacroEntry(record->Macro, index);
    const std::string question =
        MacroName(entry) + " を削除していいですか？\r\n内容: " + PreviewText(MacroTemplate(entry));
    if (!win::Confirm(Handle(), question)) return;
    std::vector<std::string> entries = ReadCommaList(record->Macro);
    if (static_cast<size_t>(index) >= entries.size()) return;
    entries.erase(entries.begin() + index);
    record->Macro = WriteCommaList(entries);
    SendMessageW(c_.Macro, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    if (host_.MacroChanged) host_.MacroChanged(record);
    SetItem(record);
}

void TPropForm::N_CopyClick() {
    const int index = PickedMacro();
    if (index >= 0 && currentItem_) MacroClip = MacroEntry(currentItem_->Macro, index);
}

void TPropForm::N_PasteClick() {
    if (!MacroClip.empty()) StoreMacro(-1, MacroName(MacroClip), MacroTemplate(MacroClip));
}

}  // namespace torvane
