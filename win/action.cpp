#include "win/action.h"

#include <commctrl.h>

#include <stdexcept>

#include "win/image_strip.h"

namespace torvane::win {

Action::Action(int id, std::wstring caption, std::wstring hint, int image, std::function<void()> handler)
    : id_(id), caption_(std::move(caption)), hint_(std::move(hint)), image_(image), handler_(std::move(handler)) {}

void Action::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    for (HMENU menu : menus_) UpdateClient(menu);
    for (HWND toolBar : toolBars_) UpdateClient(toolBar);
}

void Action::SetChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    for (HMENU menu : menus_) UpdateClient(menu);
    for (HWND toolBar : toolBars_) UpdateClient(toolBar);
}

bool Action::Execute() {
    if (!enabled_ || !handler_) return false;
    // A copy: the handler may replace itself.
    const std::function<void()> handler = handler_;
    handler();
    return true;
}

void Action::BindMenu(HMENU menu) {
    menus_.push_back(menu);
    UpdateClient(menu);
}

void Action::BindToolBar(HWND toolBar) {
    toolBars_.push_back(toolBar);
    UpdateClient(toolBar);
}

void Action::UpdateClient(HMENU menu) const {
    // A menu destroyed with its window is no client any more; the calls then fail harmlessly.
    EnableMenuItem(menu, static_cast<UINT>(id_), MF_BYCOMMAND | (enabled_ ? MF_ENABLED : MF_GRAYED));
    CheckMenuItem(menu, static_cast<UINT>(id_), MF_BYCOMMAND | (checked_ ? MF_CHECKED : MF_UNCHECKED));
}

void Action::UpdateClient(HWND toolBar) const {
    if (!IsWindow(toolBar)) return;
    SendMessageW(toolBar, TB_ENABLEBUTTON, static_cast<WPARAM>(id_), MAKELPARAM(enabled_ ? TRUE : FALSE, 0));
    SendMessageW(toolBar, TB_CHECKBUTTON, static_cast<WPARAM>(id_), MAKELPARAM(checked_ ? TRUE : FALSE, 0));
}

Action& ActionList::Add(int id, std::wstring caption, std::wstring hint, int image, std::function<void()> handler) {
    auto action = std::make_unique<Action>(id, std::move(caption), std::move(hint), image, std::move(handler));
    Action& added = *action;
    actions_[id] = std::move(action);
    return added;
}

Action* ActionList::Find(int id) {
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second.get();
}

const Action* ActionList::Find(int id) const {
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second.get();
}

Action& ActionList::operator[](int id) {
    Action* action = Find(id);
    if (!action) throw std::out_of_range("no action with this id");
    return *action;
}

bool ActionList::Execute(int id) {
    Action* action = Find(id);
    if (!action) return false;
    action->Execute();
    return true;
}

void ActionList::AppendMenuItem(HMENU menu, int id, const wchar_t* caption) {
    Action& action = (*this)[id];
    const std::wstring text = caption ? caption : action.Caption();
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE;
    item.fType = MFT_STRING;
    item.wID = static_cast<UINT>(id);
    item.dwTypeData = const_cast<wchar_t*>(text.c_str());
    // Every item of a menu with pictures gets the picture's room, also those without one: the
    // texts then line up, and no text runs past the menu's edge.
    if (images_) {
        item.fMask |= MIIM_BITMAP;
        item.hbmpItem = HBMMENU_CALLBACK;
    }
    InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item);
    action.BindMenu(menu);
}

void ActionList::AddToolButton(HWND toolBar, int id, BYTE style) {
    Action& action = (*this)[id];
    TBBUTTON button{};
    button.iBitmap = action.Image() >= 0 ? action.Image() : I_IMAGENONE;
    button.idCommand = id;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = style;
    SendMessageW(toolBar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
    action.BindToolBar(toolBar);
}

const wchar_t* ActionList::HintFor(int id) const {
    const Action* action = Find(id);
    return action && !action->Hint().empty() ? action->Hint().c_str() : nullptr;
}

bool ActionList::MeasureMenuImage(MEASUREITEMSTRUCT& measure) const {
    if (measure.CtlType != ODT_MENU || !images_) return false;
    const Action* action = Find(static_cast<int>(measure.itemID));
    if (!action) return false;
    measure.itemWidth = static_cast<UINT>(images_->Size() + 4);
    measure.itemHeight = static_cast<UINT>(images_->Size() + 2);
    return true;
}

bool ActionList::DrawMenuImage(const DRAWITEMSTRUCT& draw) const {
    if (draw.CtlType != ODT_MENU || !images_) return false;
    const Action* action = Find(static_cast<int>(draw.itemID));
    if (!action) return false;
    if (action->Image() < 0 || action->Image() >= images_->Count()) return true;
    const int size = images_->Size();
    const RECT& area = draw.rcItem;
    const int x = area.left + (area.right - area.left - size) / 2;
    const int y = area.top + (area.bottom - area.top - size) / 2;
    if (draw.itemState & (ODS_GRAYED | ODS_DISABLED)) {
        if (HICON icon = ImageList_GetIcon(images_->List(), action->Image(), ILD_TRANSPARENT)) {
            DrawStateW(draw.hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, size, size,
                       DST_ICON | DSS_DISABLED);
            DestroyIcon(icon);
        }
    } else {
        ImageList_Draw(images_->List(), action->Image(), draw.hDC, x, y, ILD_TRANSPARENT);
    }
    if (draw.itemState & ODS_CHECKED) {
        RECT frame{x - 2, y - 2, x + size + 2, y + size + 2};
        DrawEdge(draw.hDC, &frame, BDR_SUNKENOUTER, BF_RECT);
    }
    return true;
}

void AppendMenuSeparator(HMENU menu) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
}

void AddToolSeparator(HWND toolBar) {
    TBBUTTON button{};
    button.iBitmap = 6;  // the gap's width
    button.fsStyle = BTNS_SEP;
    SendMessageW(toolBar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
}

}  // namespace torvane::win
