// The main window's category tree: the folders built from the records' paths, the folder
// commands, renaming in place, and moving records and folders by drag and drop. Every folder
// command works by rewriting the records' paths; the tree holds no data of its own.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>
#include <string_view>
#include <vector>

#include "app/folder_tree.h"
#include "app/main_form_win.h"
#include "win/collate.h"
#include "win/message_box.h"

namespace torvane {

namespace {

constexpr char kDeleteQuestion[] = " 以下のデータは全て消えます！\r\nほんとにいい？";

}  // namespace

void TMainForm::BuildTree() {
    std::vector<std::string_view> paths;
    paths.reserve(static_cast<size_t>(passList_->Count()));
    for (int i = 0; i < passList_->Count(); ++i) paths.emplace_back(passList_->Item(i).Path);
    // Sibling folders in lstrcmpA's order, which ends each name at a zero byte.
    const win::JapaneseLstrcmpCollator collator;
    tree_.Fill(*BuildFolderTree(paths, collator));
    tree_.ExpandTop();
}

void TMainForm::SelectAndFill(HTREEITEM node) {
    const unsigned fills = treeFills_;
    tree_.Select(node);
    if (treeFills_ == fills) TreeView1Change();
}

void TMainForm::SelectNodeByPath(const std::string& path) {
    tree_.SelectNodeByPath(path);
}

std::string TMainForm::SelectedNodePath() const {
    if (ActivePage() != 0) return {};
    return tree_.GetNodePath(tree_.Selected());
}

void TMainForm::MakeFolderClick() {
    // The new node becomes the selection, which refills the list (empty) and the actions.
    tree_.NewFolder(tree_.Selected());
}

void TMainForm::RmFolderClick() {
    const HTREEITEM node = tree_.Selected();
    if (tree_.Level(node) < 1 || !passList_) return;
    if (!win::Confirm(Handle(), tree_.NodeText(node) + kDeleteQuestion)) return;
    const std::string path = tree_.GetNodePath(node);
    ClearItemList();
    passList_->DeleteFolder(path);
    // The tree moves the selection to a neighbour; when it does not say so, the list is filled
    // here for whatever is selected now.
    const unsigned fills = treeFills_;
    tree_.DeleteNode(node);
    if (treeFills_ == fills) TreeView1Change();
}

LRESULT TMainForm::TreeView1Edited(const NMTVDISPINFOW& info) {
    // Also called with the unchanged text (a second notification for one edit): the paths are
    // then equal and no record changes.
    if (const auto rename = tree_.EndLabelEdit(info)) {
        if (passList_ && rename->oldPath != rename->newPath) {
            WaitCursor wait;
            passList_->RenameFolder(rename->oldPath, rename->newPath);
            // Edits move one record at a time into a list that is in order: sorted now, not at
            // the next keystroke.
            passList_->Sort();
        }
    }
    // The node has its text already.
    return FALSE;
}

void TMainForm::ListView1StartDrag(DragSource source) {
    if (source == DragSource::None || !passList_) return;
    dragSource_ = source;
    SetCapture(Handle());
}

bool TMainForm::TreeView1DragOver(POINT treeClient) {
    const HTREEITEM node = tree_.HitTest(treeClient);
    tree_.SetDropTarget(node);
    return node != nullptr;
}

void TMainForm::TreeView1DragDrop(DragSource source, POINT treeClient) {
    const HTREEITEM target = tree_.HitTest(treeClient);
    if (!target || !passList_) return;
    if (source == DragSource::ItemList) {
        if (TPassItem* record = itemList_.Selected()) {
            record->Path = tree_.GetNodePath(target);
            passList_->Modified = true;
        }
    } else if (source == DragSource::Tree) {
        const HTREEITEM folder = tree_.Selected();
        const std::string oldPath = tree_.GetNodePath(folder);
        // Refused onto the folder itself or into its own subtree: then only the selection moves.
        if (const HTREEITEM moved = tree_.MoveNode(folder, target)) {
            passList_->RenameFolder(oldPath, tree_.GetNodePath(moved));
        }
    } else {
        return;
    }
    passList_->Sort();
    SelectAndFill(target);
}

void TMainForm::EndDrag() {
    if (dragSource_ == DragSource::None) return;
    // Cleared first: giving up the capture reports WM_CAPTURECHANGED back here.
    dragSource_ = DragSource::None;
    tree_.SetDropTarget(nullptr);
    if (GetCapture() == Handle()) ReleaseCapture();
}

void TMainForm::DragMouseMove(POINT client) {
    MapWindowPoints(Handle(), controls_.TreeView1, &client, 1);
    const bool accepted = IsWindowVisible(controls_.TreeView1) && TreeView1DragOver(client);
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(accepted ? IDC_ARROW : IDC_NO)));
}

void TMainForm::DragButtonUp(POINT client) {
    const DragSource source = dragSource_;
    EndDrag();
    MapWindowPoints(Handle(), controls_.TreeView1, &client, 1);
    RECT treeRect;
    GetClientRect(controls_.TreeView1, &treeRect);
    if (IsWindowVisible(controls_.TreeView1) && PtInRect(&treeRect, client)) TreeView1DragDrop(source, client);
}

bool TMainForm::OnTreeNotify(NMHDR& header, LRESULT& result) {
    result = 0;
    switch (header.code) {
        case TVN_SELCHANGEDW:
            // The tree's own rebuilds and moves select nodes on the way; only the outcome counts.
            if (!tree_.Updating()) TreeView1Change();
            return true;
        case TVN_BEGINLABELEDITW:
            result = FALSE;
            return true;
        case TVN_ENDLABELEDITW:
            result = TreeView1Edited(reinterpret_cast<const NMTVDISPINFOW&>(header));
            return true;
        case TVN_BEGINDRAGW: {
            // The dragged folder is the selected one, as a press of the mouse on it would make it.
            const HTREEITEM node = reinterpret_cast<const NMTREEVIEWW&>(header).itemNew.hItem;
            if (!node) return true;
            if (tree_.Selected() != node) tree_.Select(node);
            ListView1StartDrag(DragSource::Tree);
            return true;
        }
        case TVN_KEYDOWN:
            switch (reinterpret_cast<const NMTVKEYDOWN&>(header).wVKey) {
                case VK_ESCAPE:
                    EndDrag();
                    break;
                case VK_F2:
                    if (const HTREEITEM node = tree_.Selected()) {
                        SendMessageW(controls_.TreeView1, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(node));
                    }
                    break;
                case VK_DELETE:
                    if (actions_[kCmdDelFolder].Enabled()) RmFolderClick();
                    break;
            }
            return true;
    }
    return false;
}

}  // namespace torvane
