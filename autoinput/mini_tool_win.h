#pragma once
// The mini tool window: a small stay-on-top tool window from which macros run while the main
// window is out of the way. Its title list mirrors the main window's item list (the records
// are the main window's; the list only refers to them), its macro list shows the picked
// record's macros (the five built-in ones first), and its buttons run the picked macro, open
// the record's web address or a mail to it, show or hide the main window and end the program.
//
// What it needs of the main window comes through Host, so the window knows nothing of it.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "store/pass_item.h"
#include "win/font.h"
#include "win/image_strip.h"
#include "win/window.h"

namespace torvane {

class TMiniTool : public win::Window {
public:
    static constexpr int kClientWidth = 223;
    static constexpr int kClientHeight = 165;
    static constexpr int kTaskBarAllowance = 30;  // kept free below the window

    enum Button : int {
        kCloseBtn = 2001,
        kExitBtn,
        kDispMain,
        kPostBtn,
        kURLBtn,
        kMailBtn,
        kAboutBtn,
        kHelpBtn,
    };

    struct Host {
        std::function<bool()> mainVisible;
        std::function<void(bool)> setMainVisible;
        std::function<void()> closeMain;
        std::function<void()> showVersion;
        std::function<void()> showHelp;
        std::function<void(const std::string&)> browseURL;
        // The window was closed (hidden): the main window's DispMiniWin check goes off.
        std::function<void()> closed;
        // The application's task-bar window: the keystroke sender types into the first visible
        // window below it.
        std::function<HWND()> taskBarWindow;
        // KEYDELAY, KEYPAUSE, ADDENTER, read at each run.
        std::function<int()> keyDelay;
        std::function<int()> keyPause;
        std::function<bool()> addEnter;
    };

    explicit TMiniTool(Host host);
    ~TMiniTool() override;

    // Creates the window hidden, without owner, in the bottom-right corner of the screen.
    bool CreateForm();

    // The main window's calls.
    void ClearItems();
    void AddTitle(TPassItem* record);
    // AddTitle for many records at once, the list drawn once at the end.
    void AddTitles(const std::vector<TPassItem*>& records);
    // A record that is going away leaves the list (and the macro list, when it was picked).
    void RemoveTitle(const TPassItem* record);
    void SetCaption(const std::string& caption);
    void SetMainButton(bool down);
    // AboutBtn and HelpBtn follow the main window's commands they run.
    void SetCommandsEnabled(bool about, bool help);

    // Handlers.
    void FormClose();
    void CloseBtnClick();
    void ExitBtnClick();
    void DispMainClick();
    void AboutBtnClick();
    void HelpBtnClick();
    void URLBtnClick();
    void MailBtnClick();
    void TitleListClick();
    void MacroListClick();
    void PostBtnClick();

    HWND ToolBar1() const { return toolBar_; }
    HWND TitleList() const { return titleList_; }
    HWND MacroList() const { return macroList_; }
    HWND MacroVal() const { return macroVal_; }
    bool ButtonEnabled(int id) const;
    bool ButtonDown(int id) const;
    // The record of the picked title; null for none.
    TPassItem* PickedRecord() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    void Layout();
    void OnCommand(int id, int code);
    void EnableButton(int id, bool enabled);
    void SetMacroVal(const std::string& text);

    Host host_;
    win::ImageStrip images_;
    win::Font font_{win::kFormFontFace, win::kFormFontHeight};
    HWND toolBar_ = nullptr;
    HWND line_ = nullptr;
    HWND titleList_ = nullptr;
    HWND macroList_ = nullptr;
    HWND macroVal_ = nullptr;
    std::vector<TPassItem*> records_;  // one per line of TitleList
};

}  // namespace torvane
