#pragma once
// The category tree TreeView1: one top node "カテゴリ分類" and below it the folders that the
// records' paths name. A node's path is the chain of folder names from level 1 down, so every
// folder command works by rewriting the records' paths. Each node keeps its name's Shift_JIS
// bytes as the records have them: the control's Unicode text would give other bytes back for
// some characters (the NEC and IBM duplicate codes, a stray lead byte), and so a path that no
// record has.
//
// The object attaches to a tree view that its form created and is driven by that form: the
// form keeps the record list, handles the tree's notifications and decides what a change of
// selection does. Texts are Shift_JIS at this interface, converted at the control.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/folder_tree.h"

namespace torvane {

// What an edit in place did to a folder's path.
struct FolderRename {
    std::string oldPath;
    std::string newPath;
};

class CategoryTree {
public:
    static const char kTopText[];        // "カテゴリ分類"
    static const char kNewFolderText[];  // "新規フォルダー"
    static constexpr int kIndent = 19;
    // Images of the tree strip: the top node, a folder, an open (selected) folder.
    static constexpr int kTopImage = 0;
    static constexpr int kFolderImage = 1;
    static constexpr int kOpenFolderImage = 2;
    // No lines to a root (the top node is the visible root); drags start by themselves.
    static constexpr DWORD kStyle =
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS | TVS_EDITLABELS;

    // A tree view with the styles above, for windows that have none of their own.
    static HWND Create(HWND parent, int id, HIMAGELIST images);

    CategoryTree() = default;
    explicit CategoryTree(HWND tree) { Attach(tree); }
    void Attach(HWND tree);
    HWND Handle() const { return tree_; }

    // True while this object rebuilds or moves nodes: selection changes the tree reports
    // meanwhile are side effects, not the user's, and the form ignores them.
    bool Updating() const { return updating_ != 0; }

    // Removes every node and adds the top node alone; returns it. The caller suspends redrawing
    // around Reset and Fill.
    HTREEITEM Reset();
    // Adds the folders of the model below the top node, in the model's order.
    void Fill(const FolderNode& root);
    // Shows the top node's children (one level).
    void ExpandTop();

    HTREEITEM Top() const;
    HTREEITEM Selected() const;
    // Selects a node (null clears the selection); the tree reports the change to the form.
    void Select(HTREEITEM node);
    std::vector<HTREEITEM> Children(HTREEITEM node) const;
    HTREEITEM Parent(HTREEITEM node) const;
    std::string NodeText(HTREEITEM node) const;
    // 0 for the top node, 1 for its children, ...; -1 for no node.
    int Level(HTREEITEM node) const;

    // The first child named exactly name (letter case included), added as the last child when
    // there is none.
    HTREEITEM AddFolder(HTREEITEM parent, const std::string& name);
    // The names from level 1 down to the node, joined by "\"; empty for the top node and for none.
    std::string GetNodePath(HTREEITEM node) const;
    // The deepest node reached from start by following the path's names, each matched without
    // regard to letter case against the children in tree order; start itself for an empty path.
    HTREEITEM FindNodeByPath(HTREEITEM start, const std::string& path) const;
    // Selects FindNodeByPath from the top node and returns that node.
    HTREEITEM SelectNodeByPath(const std::string& path);

    // Adds "新規フォルダー" as the last child of parent, selects it and opens its text for
    // editing in place. Null when there is no parent.
    HTREEITEM NewFolder(HTREEITEM parent);
    // For TVN_ENDLABELEDITW: gives the node its new text and returns the folder's old and new
    // paths, which the record list rewrites. Nothing for a cancelled edit, for the unchanged
    // text, and for a text Shift_JIS cannot hold (the node keeps its name). The form then
    // returns FALSE from the notification: the text is set already.
    std::optional<FolderRename> EndLabelEdit(const NMTVDISPINFOW& info);

    // Removes a folder node with its whole subtree. The top node stays: false for it and for none.
    bool DeleteNode(HTREEITEM node);
    // Moves node with its subtree to the end of newParent's children and returns it at its new
    // place. Null, and nothing moved, when newParent is the node itself or lies in its subtree,
    // or when node is the top node. A selected node in the subtree stays selected.
    HTREEITEM MoveNode(HTREEITEM node, HTREEITEM newParent);
    // True when node is root or lies below it.
    bool InSubtree(HTREEITEM node, HTREEITEM root) const;

    // The node on the row under a point in the tree's client coordinates; null for none.
    HTREEITEM HitTest(POINT client) const;
    // Marks the node a drag would drop on (null clears the mark).
    void SetDropTarget(HTREEITEM node);

private:
    class UpdateScope;

    // Adds a node named by these bytes, shown converted.
    HTREEITEM Insert(HTREEITEM parent, const std::string& name, int image, int selectedImage);
    std::wstring WideText(HTREEITEM node) const;
    // Forgets the names of node and its subtree, before the control deletes them.
    void ForgetSubtree(HTREEITEM node);

    HWND tree_ = nullptr;
    std::unordered_map<HTREEITEM, std::string> names_;
    int updating_ = 0;
};

}  // namespace torvane
