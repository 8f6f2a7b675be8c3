// The main window's data-file commands and the money summary.
#include <windows.h>

#include <optional>
#include <string>

#include "app/busy_scope_win.h"
#include "app/main_form_win.h"
#include "app/money_summary.h"
#include "store/sjis.h"
#include "win/exceptions_win.h"
#include "win/file_dialog.h"
#include "win/message_box.h"
#include "win/text.h"

namespace torvane {

namespace {

constexpr char kProtectedExtension[] = ".tvd";

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(win::ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder of a path, ending in "\"; a "\" that is the second byte of a double-byte
// character is no separator.
std::string FolderOf(const std::string& path) {
    size_t end = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsLeadByte(path[i])) {
            ++i;
        } else if (path[i] == '\\' || path[i] == '/' || path[i] == ':') {
            end = i + 1;
        }
    }
    return path.substr(0, end);
}

win::FileDialogOptions DataFileDialog(bool withAllFiles, const std::string& initialDir) {
    win::FileDialogOptions options;
    options.filters = {{L"Torvaneファイル(*.tvd)", L"*.tvd"}, {L"CSVファイル", L"*.csv"}};
    if (withAllFiles) options.filters.push_back({L"全て", L"*.*"});
    options.defaultExt = L"tvd";
    options.initialDir = initialDir;
    return options;
}

}  // namespace

// The commands below are ignored while a load, a save or a prompt runs (they come from the
// tray menu or another window then); a file chosen while a close was asked for is not opened
// or written: the window closes next.
void TMainForm::Open1Click() {
    if (Busy()) return;
    std::optional<std::string> chosen;
    {
        ModalScope choosing(*this);
        chosen = win::ShowOpenDialog(Handle(), DataFileDialog(true, openDialogDir_));
    }
    if (!chosen || closePending_) return;
    CurrentFile = *chosen;
    N_ReloadClick();
}

void TMainForm::N_ReloadClick() {
    if (Busy()) return;
    LoadDataFile();
}

void TMainForm::SaveBtnClick() {
    if (Busy()) return;
    SaveDataFile(CurrentFile);
}

void TMainForm::SaveAs2Click() {
    if (Busy()) return;
    std::optional<std::string> chosen;
    {
        ModalScope choosing(*this);
        chosen = win::ShowSaveDialog(Handle(), DataFileDialog(false, saveDialogDir_));
    }
    if (!chosen || closePending_) return;
    params_.SaveDir = FolderOf(*chosen);
    SaveDataFile(*chosen);
}

void TMainForm::SetFileMode(const std::string& fileName) {
    passList_->Password = params_.Password;
    // Letter case counts: "A.TVD" is a plain file.
    passList_->Encrypted = EndsWith(fileName, kProtectedExtension);
}

// A load or a save never starts inside another (the password prompt runs a message loop).
bool TMainForm::SaveDataFile(const std::string& fileName) {
    if (!passList_ || fileDepth_ > 0) return false;
    ModalScope saving(*this, ModalScope::kFile);
    WaitCursor wait;
    SetFileMode(fileName);
    if (!passList_->SaveToFile(fileName)) return false;
    params_.Password = passList_->Password;
    CurrentFile = fileName;
    ShowFileName();
    return true;
}

// Unsaved changes are dropped without asking: the list becomes the file's contents. A file
// that does not exist loads nothing; the list keeps what it held and the path stays current,
// so the first save creates that file.
void TMainForm::LoadDataFile() {
    if (!passList_ || fileDepth_ > 0) return;
    ModalScope loading(*this, ModalScope::kFile);
    WaitCursor wait;
    RedrawLock::Hold treeHold(treeRedraw_);
    RedrawLock::Hold listHold(listRedraw_);
    // A failure has shown its message; the window then shows whatever the list holds.
    win::Guarded(Handle(), [this] {
        // The rows point into the record list, which the load replaces.
        ClearItemList();
        ClearMiniToolItems();
        tree_.Reset();
        if (FileExists(CurrentFile)) {
            SetFileMode(CurrentFile);
            passList_->LoadFromFile(CurrentFile);
            params_.OpenDir = FolderOf(CurrentFile);
            params_.Password = passList_->Password;
            BuildTree();
            BuildCompanyList();
        }
    });
    SelectAndFill(tree_.Top());
    ShowFileName();
}

void TMainForm::N_MoneyClick() {
    if (!passList_ || Busy()) return;
    MoneySummary summary;
    for (int i = 0; i < passList_->Count(); ++i) summary.Add(passList_->Item(i));
    ModalScope showing(*this);
    win::ShowInformation(Handle(), MoneySummaryText(summary));
}

}  // namespace torvane
