#pragma once
// The real main window with a data file of our own, run from a temporary program folder, and
// what its tree and item list show, read back from the controls.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/app_window_win.h"
#include "app/main_form_win.h"
#include "settings/init_param.h"
#include "store/pass_item.h"
#include "tests/win/modal_helper.h"
#include "tests/win/program_folder.h"
#include "win/platform_win.h"
#include "win/text.h"

namespace torvane::wintest {

inline TPassItem Record(const std::string& path, const std::string& title, const std::string& company = {}) {
    TPassItem item;
    item.Path = path;
    item.Title = title;
    item.UserID = "user-" + title;
    item.Company = company;
    item.FirstDate = item.LastDate = item.LimitDate = 45000;
    return item;
}

inline TDate Day(int year, int month, int day) {
    TDate date = 0;
    TryEncodeDate(year, month, day, date);
    return date;
}

class MainWindowTest : public testing::Test {
protected:
    void TearDown() override {
        // A test that leaves changes gets the save at close when the form goes; a password
        // prompt or an error box then is closed rather than waited for.
        ModalAnswerer cancelPrompts({}, 0);
        form_.reset();
        app_.reset();
        params_.reset();
    }

    // A plain data file of these records (written in this order) named by LASTOPEN, with
    // further settings lines ("NAME=value\r\n" each).
    void WriteData(const std::vector<TPassItem>& records, const std::string& settings = {},
                   const std::string& fileName = "data.csv") {
        dataFile_ = folder_.File(fileName);
        std::string text;
        for (const TPassItem& item : records) text += FormatLine(item) + "\r\n";
        WriteBytes(dataFile_, text);
        WriteBytes(folder_.SettingsFile(), "LASTOPEN=" + dataFile_ + "\r\n" + settings);
    }

    void WriteSettings(const std::string& text) { WriteBytes(folder_.SettingsFile(), text); }

    void Start() {
        params_ = std::make_unique<TInitParam>(fileOps_);
        app_ = std::make_unique<AppWindow>();
        ASSERT_TRUE(app_->Create(L"Torvane"));
        form_ = std::make_unique<TMainForm>(*params_, *app_, folder_.ProgramPath());
        form_->OnClosed = [this] { ++closedCount_; };
        ASSERT_TRUE(form_->CreateForm());
        PumpMessages(50);
    }

    // Ends the run as the program does: the window closes, then the settings holder writes.
    void CloseAndEndRun() {
        form_->ExitBtnClick();
        params_.reset();
    }

    std::string Setting(const std::string& name) const {
        std::string value;
        return FindSetting(Lines(folder_.SettingsFile()), name, value) ? value : "(absent)";
    }

    HWND Main() const { return form_->Handle(); }
    const MainControls& C() const { return form_->Controls(); }
    CategoryTree& Tree() { return form_->Tree(); }
    TPassList& List() { return *form_->PassList(); }

    // The subtree as text: "name(child,child(grandchild))".
    std::string Describe(HTREEITEM node) {
        std::string text = Tree().NodeText(node);
        const std::vector<HTREEITEM> children = Tree().Children(node);
        if (children.empty()) return text;
        text += '(';
        for (size_t i = 0; i < children.size(); ++i) text += (i ? "," : "") + Describe(children[i]);
        return text + ')';
    }
    std::string TreeText() { return Describe(Tree().Top()); }

    // The node whose path is exactly path.
    HTREEITEM Node(const std::string& path) {
        const HTREEITEM node = Tree().FindNodeByPath(Tree().Top(), path);
        EXPECT_EQ(path, Tree().GetNodePath(node)) << "no node " << path;
        return node;
    }
    std::string SelectedPath() { return Tree().GetNodePath(Tree().Selected()); }

    // Selects a node as a click does: the tree reports the change to the window.
    void Select(HTREEITEM node) {
        SendMessageW(C().TreeView1, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
    }

    // The middle of a node's row, in the tree's client coordinates.
    POINT Center(HTREEITEM node) {
        RECT rect{};
        // The rectangle carries the node in.
        std::memcpy(&rect, &node, sizeof node);
        SendMessageW(C().TreeView1, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    // The page switch as the tab control reports it.
    void ShowPage(int page) {
        SendMessageW(C().PageControl1, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
        NMHDR header{C().PageControl1, kIdPageControl, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(Main(), WM_NOTIFY, kIdPageControl, reinterpret_cast<LPARAM>(&header));
    }

    // What a list view shows in a cell, as the control reads it.
    static std::string Cell(HWND list, int row, int column) { return CellText(list, row, column); }
    static int RowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }
    static int SelectedRow(HWND list) {
        return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
    static std::vector<std::string> Column(HWND list, int column) {
        std::vector<std::string> texts;
        for (int row = 0; row < RowCount(list); ++row) texts.push_back(Cell(list, row, column));
        return texts;
    }
    // The item list's titles, top to bottom.
    std::vector<std::string> Titles() { return Column(C().ListView1, 0); }

    // The records' paths, in byte order.
    std::vector<std::string> Paths() {
        std::vector<std::string> paths;
        for (int i = 0; i < List().Count(); ++i) paths.push_back(List().Item(i).Path);
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    TPassItem* Find(const std::string& title) {
        for (int i = 0; i < List().Count(); ++i) {
            if (List().Item(i).Title == title) return &List().Item(i);
        }
        ADD_FAILURE() << "no record " << title;
        return nullptr;
    }

    bool Enabled(int command) { return form_->Actions()[command].Enabled(); }

    ProgramFolder folder_;
    std::string dataFile_;
    win::WinFileOps fileOps_;
    std::unique_ptr<TInitParam> params_;
    std::unique_ptr<AppWindow> app_;
    std::unique_ptr<TMainForm> form_;
    int closedCount_ = 0;  // times the window reported itself gone
};

}  // namespace torvane::wintest
