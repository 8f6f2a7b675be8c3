#include "app/category_tree_win.h"

#include "store/sjis.h"
#include "win/text.h"

namespace torvane {

const char CategoryTree::kTopText[] = "カテゴリ分類";
const char CategoryTree::kNewFolderText[] = "新規フォルダー";

// Marks the object as changing the tree for as long as it lives; scopes nest.
class CategoryTree::UpdateScope {
public:
    explicit UpdateScope(CategoryTree& tree) : tree_(tree) { ++tree_.updating_; }
    ~UpdateScope() { --tree_.updating_; }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

private:
    CategoryTree& tree_;
};

HWND CategoryTree::Create(HWND parent, int id, HIMAGELIST images) {
    const HWND tree =
        CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, nullptr, kStyle, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (tree && images) SendMessageW(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    return tree;
}

void CategoryTree::Attach(HWND tree) {
    tree_ = tree;
    if (tree_) SendMessageW(tree_, TVM_SETINDENT, kIndent, 0);
}

HTREEITEM CategoryTree::Insert(HTREEITEM parent, const std::string& name, int image, int selectedImage) {
    const std::wstring text = win::ToWide(name);
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    const auto node =
        reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (node) names_[node] = name;
    return node;
}

void CategoryTree::ForgetSubtree(HTREEITEM node) {
    std::vector<HTREEITEM> pending{node};
    while (!pending.empty()) {
        const HTREEITEM next = pending.back();
        pending.pop_back();
        names_.erase(next);
        for (HTREEITEM child : Children(next)) pending.push_back(child);
    }
}

HTREEITEM CategoryTree::Reset() {
    UpdateScope scope(*this);
    SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    names_.clear();
    return Insert(TVI_ROOT, kTopText, kTopImage, kTopImage);
}

void CategoryTree::Fill(const FolderNode& root) {
    UpdateScope scope(*this);
    // Parents before children, each appended: the tree keeps a last-child link, so inserting
    // thousands of folders costs one step each.
    struct Pending {
        const FolderNode* folder;
        HTREEITEM node;
    };
    std::vector<Pending> stack{{&root, Top()}};
    while (!stack.empty()) {
        const Pending next = stack.back();
        stack.pop_back();
        // Siblings are inserted together, in order; which folder is visited next does not matter.
        for (const auto& child : next.folder->children) {
            const HTREEITEM node = Insert(next.node, child->name, kFolderImage, kOpenFolderImage);
            if (!child->children.empty()) stack.push_back({child.get(), node});
        }
    }
}

void CategoryTree::ExpandTop() {
    if (const HTREEITEM top = Top()) SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(top));
}

HTREEITEM CategoryTree::Top() const {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

HTREEITEM CategoryTree::Selected() const {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

void CategoryTree::Select(HTREEITEM node) {
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
}

std::vector<HTREEITEM> CategoryTree::Children(HTREEITEM node) const {
    std::vector<HTREEITEM> children;
    if (!node) return children;
    auto next = [this](HTREEITEM item, WPARAM relation) {
        return reinterpret_cast<HTREEITEM>(
            SendMessageW(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    };
    for (HTREEITEM child = next(node, TVGN_CHILD); child; child = next(child, TVGN_NEXT)) children.push_back(child);
    return children;
}

HTREEITEM CategoryTree::Parent(HTREEITEM node) const {
    if (!node) return nullptr;
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(node)));
}

std::wstring CategoryTree::WideText(HTREEITEM node) const {
    if (!node) return {};
    // The control reports no text length, so the buffer grows until the text fits with room to spare.
    for (size_t size = 256;; size *= 4) {
        std::wstring buffer(size, L'\0');
        TVITEMW item{};
        item.mask = TVIF_TEXT;
        item.hItem = node;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(size);
        if (!SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return {};
        const size_t length = wcsnlen(item.pszText, size);
        if (length + 1 < size || size >= (1u << 20)) return std::wstring(item.pszText, length);
    }
}

std::string CategoryTree::NodeText(HTREEITEM node) const {
    if (!node) return {};
    const auto name = names_.find(node);
    // A node made by others than this object has only its text.
    return name != names_.end() ? name->second : win::ToSjis(WideText(node));
}

int CategoryTree::Level(HTREEITEM node) const {
    int level = -1;
    for (; node; node = Parent(node)) ++level;
    return level;
}

HTREEITEM CategoryTree::AddFolder(HTREEITEM parent, const std::string& name) {
    if (!parent) return nullptr;
    for (HTREEITEM child : Children(parent)) {
        if (NodeText(child) == name) return child;
    }
    return Insert(parent, name, kFolderImage, kOpenFolderImage);
}

std::string CategoryTree::GetNodePath(HTREEITEM node) const {
    std::vector<std::string> names;
    for (HTREEITEM parent = Parent(node); parent; node = parent, parent = Parent(node)) names.push_back(NodeText(node));
    std::string path;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        if (name != names.rbegin()) path += '\\';
        path += *name;
    }
    return path;
}

HTREEITEM CategoryTree::FindNodeByPath(HTREEITEM start, const std::string& path) const {
    if (path.empty()) return start;
    std::vector<std::string_view> names = SplitCategoryPath(path);
    // A path ending in "\" names nothing after it.
    if (names.size() > 1 && names.back().empty()) names.pop_back();
    HTREEITEM current = start;
    for (std::string_view name : names) {
        HTREEITEM found = nullptr;
        for (HTREEITEM child : Children(current)) {
            if (SameTextIgnoringCase(NodeText(child), name)) {
                found = child;
                break;
            }
        }
        if (!found) break;
        current = found;
    }
    return current;
}

HTREEITEM CategoryTree::SelectNodeByPath(const std::string& path) {
    const HTREEITEM node = FindNodeByPath(Top(), path);
    Select(node);
    return node;
}

HTREEITEM CategoryTree::NewFolder(HTREEITEM parent) {
    if (!parent) return nullptr;
    const HTREEITEM node = Insert(parent, kNewFolderText, kFolderImage, kOpenFolderImage);
    if (!node) return nullptr;
    Select(node);
    // The edit box opens only in a focused tree.
    SetFocus(tree_);
    SendMessageW(tree_, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(node));
    return node;
}

std::optional<FolderRename> CategoryTree::EndLabelEdit(const NMTVDISPINFOW& info) {
    if (!info.item.pszText || !info.item.hItem) return std::nullopt;
    const std::wstring text = info.item.pszText;
    // Unchanged: the name keeps its bytes, whatever the text shows for them.
    if (text == WideText(info.item.hItem)) return std::nullopt;
    std::string name;
    if (!win::ToSjisExactly(text, name)) {
        MessageBeep(MB_ICONWARNING);
        return std::nullopt;
    }
    FolderRename rename;
    rename.oldPath = GetNodePath(info.item.hItem);
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = info.item.hItem;
    item.pszText = info.item.pszText;
    SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    names_[info.item.hItem] = name;
    rename.newPath = GetNodePath(info.item.hItem);
    return rename;
}

bool CategoryTree::DeleteNode(HTREEITEM node) {
    if (Level(node) < 1) return false;
    ForgetSubtree(node);
    return SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node)) != 0;
}

bool CategoryTree::InSubtree(HTREEITEM node, HTREEITEM root) const {
    if (!root) return false;
    for (; node; node = Parent(node)) {
        if (node == root) return true;
    }
    return false;
}

HTREEITEM CategoryTree::MoveNode(HTREEITEM node, HTREEITEM newParent) {
    if (!node || !newParent || Level(node) < 1 || InSubtree(newParent, node)) return nullptr;
    UpdateScope scope(*this);
    const HTREEITEM selected = Selected();
    const bool selectionMoves = InSubtree(selected, node);
    // The tree cannot re-parent a node: the subtree is copied, then the original removed.
    std::vector<std::pair<HTREEITEM, HTREEITEM>> copies;  // original, copy
    struct Pending {
        HTREEITEM source;
        HTREEITEM parent;
    };
    std::vector<Pending> stack{{node, newParent}};
    HTREEITEM moved = nullptr;
    std::vector<HTREEITEM> expand;
    while (!stack.empty()) {
        const Pending next = stack.back();
        stack.pop_back();
        TVITEMW item{};
        item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
        item.hItem = next.source;
        item.stateMask = TVIS_EXPANDED;
        SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        const HTREEITEM copy = Insert(next.parent, NodeText(next.source), item.iImage, item.iSelectedImage);
        if (!copy) break;
        if (!moved) moved = copy;
        copies.emplace_back(next.source, copy);
        if (item.state & TVIS_EXPANDED) expand.push_back(copy);
        // Pushed in reverse so the children are copied, and appended, in their order.
        const std::vector<HTREEITEM> children = Children(next.source);
        for (auto child = children.rbegin(); child != children.rend(); ++child) stack.push_back({*child, copy});
    }
    if (copies.empty() || !stack.empty()) {
        // Out of memory in the control: drop the partial copy and leave the original.
        if (moved) {
            ForgetSubtree(moved);
            SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(moved));
        }
        return nullptr;
    }
    for (HTREEITEM copy : expand) SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(copy));
    if (selectionMoves) {
        for (const auto& [original, copy] : copies) {
            if (original == selected) Select(copy);
        }
    }
    ForgetSubtree(node);
    SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node));
    return moved;
}

HTREEITEM CategoryTree::HitTest(POINT client) const {
    TVHITTESTINFO info{};
    info.pt = client;
    SendMessageW(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
    constexpr UINT kOnRow = TVHT_ONITEM | TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON | TVHT_ONITEMRIGHT;
    return (info.flags & kOnRow) ? info.hItem : nullptr;
}

void CategoryTree::SetDropTarget(HTREEITEM node) {
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(node));
}

}  // namespace torvane
