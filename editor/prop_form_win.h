#pragma once
// TPropForm, the property panel: the record editor. It shows every field of the record the
// main window selected and writes each change back into that record the moment it is made,
// with the record's last-change date set to today; Undo takes the record back to the state it
// had when it was attached. It docks under the main window's item list or floats.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/dock_client_form_win.h"
#include "editor/memo_text.h"
#include "editor/prop_item.h"
#include "store/pass_item.h"
#include "win/font.h"
#include "win/splitter.h"

namespace torvane {

class TEditButton;
class TValueEdit;
class TBevelLabel;

// The panel's controls, by their design names.
struct PropControls {
    HWND ToolBar3 = nullptr;  // CloseBtn, UndoBtn
    HWND TitleLabel = nullptr;
    HWND Title = nullptr;
    HWND KindLabel = nullptr;
    HWND KindList = nullptr;
    HWND PageControl1 = nullptr;
    HWND TabSheet[4] = {};  // 登録情報, 付加情報, 問合わせ先, マクロとメモ
    TEditButton* UserID = nullptr;
    TEditButton* Passwd = nullptr;
    TEditButton* Serial = nullptr;
    TEditButton* ProdKey = nullptr;
    TEditButton* Hint = nullptr;
    TEditButton* Answer = nullptr;
    HWND PassBtn = nullptr;
    HWND PassHidden = nullptr;
    HWND SerSplit = nullptr;
    HWND KeySplit = nullptr;
    HWND LastDateInfo = nullptr;
    HWND FirstDate = nullptr;
    HWND LimitDate = nullptr;
    HWND ShopName = nullptr;
    TValueEdit* Price = nullptr;
    HWND Doller = nullptr;
    HWND Label6 = nullptr;  // "会社/作者名(%V)："
    HWND Company = nullptr;
    HWND URLOpenBtn = nullptr;
    HWND URL = nullptr;
    HWND SendMailBtn = nullptr;
    HWND Mail = nullptr;
    HWND HeaderControl1 = nullptr;
    HWND Macro = nullptr;
    HWND Splitter2 = nullptr;
    HWND Memo = nullptr;
    TBevelLabel* MacroVal = nullptr;
};

// What the panel needs from the main window.
struct PropFormHost {
    // After every write-back and Undo: refill the row, mark the list changed.
    std::function<void(TPassItem*)> RefreshSelectedItem;
    // URLOpenBtn: the link opener's BrowseURL.
    std::function<void(const std::string& url)> BrowseURL;
    // The panel was shown or hidden.
    std::function<void(bool visible)> VisibleChanged;
    // A macro of the record was added, changed or deleted: mark the list changed and rebuild
    // the macro menu.
    std::function<void(TPassItem*)> MacroChanged;
    // Runs entry `entry` of the main window's macro menu.
    std::function<void(int entry)> MacroExecute;
};

class TPropForm : public TDockClientForm {
public:
    static constexpr int kClientWidth = 429;
    static constexpr int kClientHeight = 198;

    // toolImages: the main window's button images (CloseBtn, UndoBtn take theirs from there).
    TPropForm(PropFormHost host, HIMAGELIST toolImages);
    ~TPropForm() override;

    // Creates the panel floating and hidden, owned by owner, and runs FormCreate.
    bool CreatePanel(HWND owner);

    void SetItem(TPassItem* record);
    // The histories gathered before the panel was made join its drop-down lists, as if it had
    // shown those records itself.
    void AddToHistories(const PanelHistories& histories);
    TPassItem* CurrentItem() const { return currentItem_; }
    void ItemChanged();
    void UndoBtnClick();
    void CloseBtnClick();
    void StringHidenClick();
    void PassBtnClick();
    void URLOpenBtnClick();
    void SendMailBtnClick();
    void Splitter2Moved(int left);
    // The main window's page switch: the company field is editable on the category page only.
    void SetCompanyEditable(bool editable);
    // After a new record: the caret goes to its title.
    void FocusTitle();
    void ShowPage(int index);
    int ActivePage() const;

    const PropControls& Controls() const { return c_; }
    // The drop-down history of a combo box, first entry first.
    std::vector<std::string> History(HWND combo) const;
    bool UndoEnabled() const;
    // For the message loop: the panel's keyboard navigation. True when handled.
    bool PreTranslateMessage(MSG& msg);

    // The macro list (prop_macros_win.cpp). The panel's own macro clipboard: one entry.
    std::string MacroClip;
    void MacroClick();
    void MacroExecute();
    // The context menu MacorEdit at a screen point; the command picked runs.
    void ShowMacroMenu(POINT screen);
    // Enabling of "追加", "修正", "削除", "マクロコピー", "マクロ貼付け", "マクロ実行".
    struct MacroMenuState {
        bool add, edit, del, copy, paste, exec;
    };
    MacroMenuState MacorEditPopup() const;
    void N_NewClick();
    void N_EditClick();
    void N_DelClick();
    void N_CopyClick();
    void N_PasteClick();
    int PickedMacro() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void VisibleChanged(bool visible) override;

private:
    // prop_layout_win.cpp
    void CreateControls();
    void CreateToolBar();
    void CreatePage1();
    void CreatePage2();
    void CreatePage3();
    void CreatePage4();
    void Layout();
    void LayoutMacroPage();
    void CreateMemo(bool wrap);

    void FormCreate();
    void DisplayItem(const TPassItem& item);
    void AddComboHistory(HWND combo);
    void EditMacro(int position, const std::string& entry);
    void StoreMacro(int position, const std::string& name, const std::string& templ);
    POINT PageCorner() const;
    // The record as the controls show it, all but its memo (MemoShown).
    TPassItem Candidate() const;
    const std::string& MemoShown() const;
    void ShowMemo(const std::string& memo);
    void ShowMacroNames(const std::vector<std::string>& names);
    bool OnCommand(int id, int code, HWND control);
    bool OnNotify(NMHDR& header);

    PropFormHost host_;
    HIMAGELIST toolImages_;
    PropControls c_;
    win::Font font_{win::kFormFontFace, win::kFormFontHeight};
    win::Splitter splitter_;
    TPassItem* currentItem_ = nullptr;
    TPassItem blankItem_;
    TPassItem undoCopy_;
    // The memo box's text as Shift_JIS, known until the box's next change event.
    mutable MemoText memo_;
    mutable std::wstring memoBuffer_;
    bool memoWraps_ = true;
    bool companyEditable_ = true;
    int macroWidth_ = 100;
};

}  // namespace torvane
