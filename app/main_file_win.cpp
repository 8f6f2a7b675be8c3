// The main window's data-file commands and the money summary.
#include <windows.h>

#include <optional>
#include <string>

#include "app/busy_scope_win.h"
#include "app/main_form_win.h"
#include "app/money_summary.h"
#include "app/startup_trace_win.h"
#include "store/sjis.h"
#include "win/exceptions_win.h"
#include "win/file_dialog.h"
#include "win/message_box.h"
#include "win/text.h"

namespace torvane {

namespace {

constexpr char kUnsavedChanges[] = "\r\n変更が保存されていません！\r\n保存しますか？";
constexpr char kCloseUnsaved[] =
    "\r\n変更を保存できませんでした！\r\n保存しないで終了しますか？\r\n"
    "（「いいえ」で終了を取りやめます。名前を付けて保存することもできます）";
constexpr char kNoFile[] = "\r\nファイルが見つかりません";

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
    if (chosen && !closePending_) OpenDataFile(*chosen);
}

void TMainForm::OpenDataFile(const std::string& fileName) {
    if (Busy() || !passList_ || !SaveChangesFirst()) return;
    // A name that does not exist starts a new, empty data file under it, which the first save
    // creates; the records of the file before are not carried over behind an empty tree.
    if (!fileOps_.FileExists(fileName)) {
        ClearItemList();
        ClearMiniToolItems();
        passList_->Clear();
        passList_->Modified = false;
        if (IsProtectedFileName(fileName)) params_.Password.clear();
    }
    CurrentFile = fileName;
    LoadDataFile();
}

void TMainForm::N_ReloadClick() {
    if (Busy()) return;
    if (!fileOps_.FileExists(CurrentFile)) {
        ModalScope telling(*this);
        win::ShowError(Handle(), CurrentFile + kNoFile);
        return;
    }
    if (!SaveChangesFirst()) return;
    LoadDataFile();
}

// Before anything replaces the record list: "はい" saves and goes on only when the save
// succeeded, "いいえ" lets the changes go, "キャンセル" stops.
bool TMainForm::SaveChangesFirst() {
    if (!passList_ || !passList_->Modified) return true;
    int answer = IDCANCEL;
    {
        ModalScope asking(*this);
        answer = win::ShowMessageBox(Handle(), win::BoxType::Confirmation, CurrentFile + kUnsavedChanges,
                                     MB_YESNOCANCEL);
    }
    if (closePending_) return false;
    if (answer == IDNO) return true;
    return answer == IDYES && SaveDataFile(CurrentFile);
}

// The close's save: a save that failed (full disk, no permission, a cancelled password) has
// told why; the user then chooses between closing without the changes and staying to save them
// elsewhere. True when the window may close.
bool TMainForm::SaveBeforeClose() {
    if (!passList_ || !passList_->Modified || fileDepth_ > 0) return true;
    bool saved = false;
    win::Guarded(Handle(), [&] { saved = SaveDataFile(CurrentFile); });
    if (saved || !passList_) return true;
    ModalScope asking(*this);
    if (win::ShowMessageBox(Handle(), win::BoxType::Warning, CurrentFile + kCloseUnsaved, MB_YESNO) != IDYES) {
        return false;
    }
    passList_->Modified = false;
    return true;
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
    passList_->Encrypted = IsProtectedFileName(fileName);
    // Another protected file may have been saved under another password than the one held.
    passList_->AskOnWrongPassword = true;
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

// The list becomes the file's contents; callers ask about unsaved changes first. A file that
// does not exist loads nothing: the list keeps what it held (nothing at start, or after Open
// of a new name), and the first save creates that file.
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
        if (fileOps_.FileExists(CurrentFile)) {
            SetFileMode(CurrentFile);
            passList_->LoadFromFile(CurrentFile);
            StartupMark("load");
            params_.OpenDir = FolderOf(CurrentFile);
            params_.Password = passList_->Password;
        }
        BuildTree();
        // The company page builds its list whenever it is shown; hidden, the list only lets go
        // of the rows of the file before.
        if (ActivePage() == 1) {
            BuildCompanyList();
        } else {
            companyList_.Clear();
        }
        StartupMark("tree");
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
