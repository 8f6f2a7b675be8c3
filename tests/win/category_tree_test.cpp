// The category tree over a real tree view: the folders the paths give, the mapping between
// nodes and paths, and the folder edits.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/category_tree_win.h"
#include "res/resource.h"
#include "store/pass_list.h"
#include "tests/core/scripted_prompts.h"
#include "tests/win/control_host.h"
#include "win/image_strip.h"
#include "win/platform_win.h"
#include "win/text.h"

namespace torvane {
namespace {

class CategoryTreeTest : public testing::Test {
protected:
    CategoryTreeTest() : images_(IDB_TREE) {
        tree_.Attach(CategoryTree::Create(host_.Handle(), 1, images_.List()));
        MoveWindow(tree_.Handle(), 0, 0, 300, 400, TRUE);
        host_.onNotify = [this](NMHDR* header, LRESULT& result) {
            if (header->code != TVN_ENDLABELEDITW) return false;
            if (auto rename = tree_.EndLabelEdit(*reinterpret_cast<NMTVDISPINFOW*>(header)))
                renames_.push_back(*rename);
            result = FALSE;
            return true;
        };
    }

    void Load(const std::vector<std::string_view>& paths) {
        tree_.Reset();
        tree_.Fill(*BuildFolderTree(paths, collator_));
        tree_.ExpandTop();
    }

    // The subtree as text: "name(child,child(grandchild))".
    std::string Describe(HTREEITEM node) const {
        std::string text = tree_.NodeText(node);
        const std::vector<HTREEITEM> children = tree_.Children(node);
        if (children.empty()) return text;
        text += '(';
        for (size_t i = 0; i < children.size(); ++i) text += (i ? "," : "") + Describe(children[i]);
        return text + ')';
    }

    HTREEITEM Node(const std::string& path) const {
        const HTREEITEM node = tree_.FindNodeByPath(tree_.Top(), path);
        EXPECT_EQ(tree_.GetNodePath(node), path) << "no node " << path;
        return node;
    }

    TVITEMW Item(HTREEITEM node) const {
        TVITEMW item{};
        item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
        item.hItem = node;
        item.stateMask = TVIS_EXPANDED;
        SendMessageW(tree_.Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return item;
    }

    wintest::ControlHost host_;
    win::ImageStrip images_;
    win::LocaleCollator collator_;
    ScriptedPrompts prompts_;
    win::WinFileOps fileOps_;
    CategoryTree tree_;
    std::vector<FolderRename> renames_;
};

TEST_F(CategoryTreeTest, PathsGiveTheTopNodeWithTheirFoldersExpandedOneLevel) {
    Load({"Soft\\Tools", "Soft", "", "Web"});
    const HTREEITEM top = tree_.Top();
    EXPECT_EQ(Describe(top), "カテゴリ分類(Soft(Tools),Web)");
    EXPECT_EQ(tree_.Children(nullptr).size(), 0u);

    EXPECT_TRUE(Item(top).state & TVIS_EXPANDED);
    EXPECT_FALSE(Item(Node("Soft")).state & TVIS_EXPANDED);
    EXPECT_EQ(Item(top).iImage, 0);
    EXPECT_EQ(Item(top).iSelectedImage, 0);
    EXPECT_EQ(Item(Node("Soft\\Tools")).iImage, 1);
    EXPECT_EQ(Item(Node("Soft\\Tools")).iSelectedImage, 2);

    EXPECT_EQ(tree_.Level(top), 0);
    EXPECT_EQ(tree_.Level(Node("Soft\\Tools")), 2);
    EXPECT_EQ(tree_.Level(nullptr), -1);
    EXPECT_EQ(tree_.GetNodePath(top), "");
    EXPECT_EQ(tree_.GetNodePath(nullptr), "");

    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(tree_.Handle(), GWL_STYLE));
    EXPECT_FALSE(style & TVS_LINESATROOT);
    EXPECT_FALSE(style & TVS_DISABLEDRAGDROP);
    EXPECT_EQ(SendMessageW(tree_.Handle(), TVM_GETINDENT, 0, 0), 19);

    // A second load starts from the top node alone, nothing selected, so selecting the top node
    // reaches the form.
    tree_.Select(Node("Soft"));
    Load({"Mail"});
    EXPECT_EQ(Describe(tree_.Top()), "カテゴリ分類(Mail)");
    EXPECT_EQ(tree_.Selected(), nullptr);
    const int before = host_.Seen(TVN_SELCHANGEDW);
    EXPECT_EQ(tree_.SelectNodeByPath(""), tree_.Top());
    EXPECT_EQ(host_.Seen(TVN_SELCHANGEDW), before + 1);
}

TEST_F(CategoryTreeTest, NamesWithBlanksAndDoubleByteCharactersRoundTrip) {
    // "ソ" and "表" end in the byte 0x5C, which must not split a name.
    Load({"My Soft", "ソフト\\表計算", "ソフト"});
    EXPECT_EQ(Describe(tree_.Top()), "カテゴリ分類(My Soft,ソフト(表計算))");
    for (const std::string path : {"My Soft", "ソフト", "ソフト\\表計算"}) {
        EXPECT_EQ(tree_.GetNodePath(tree_.FindNodeByPath(tree_.Top(), path)), path);
    }
}

TEST_F(CategoryTreeTest, PathsFindTheFirstNameInAnyCaseAndStopAtTheDeepestExistingFolder) {
    Load({"Soft\\Tools", "soft", "Soft"});
    const std::vector<HTREEITEM> folders = tree_.Children(tree_.Top());
    ASSERT_EQ(folders.size(), 2u);  // letter case makes two folders
    const HTREEITEM first = folders[0];

    EXPECT_EQ(tree_.SelectNodeByPath("SOFT"), first);
    EXPECT_EQ(tree_.Selected(), first);
    EXPECT_EQ(tree_.SelectNodeByPath(tree_.NodeText(folders[1])), first);

    const HTREEITEM soft = Node("Soft");
    EXPECT_EQ(tree_.FindNodeByPath(tree_.Top(), "soft\\TOOLS"), Node("Soft\\Tools"));
    EXPECT_EQ(tree_.FindNodeByPath(tree_.Top(), "Soft\\Gone"), soft);
    EXPECT_EQ(tree_.FindNodeByPath(tree_.Top(), "Soft\\Gone\\Tools"), soft);
    EXPECT_EQ(tree_.FindNodeByPath(tree_.Top(), "Soft\\"), soft);
    EXPECT_EQ(tree_.FindNodeByPath(tree_.Top(), "Gone"), tree_.Top());
    EXPECT_EQ(tree_.FindNodeByPath(soft, ""), soft);

    // Selecting reports to the form; reaching the node already selected does not.
    const int before = host_.Seen(TVN_SELCHANGEDW);
    EXPECT_EQ(tree_.SelectNodeByPath("Soft\\Tools\\Gone"), Node("Soft\\Tools"));
    EXPECT_EQ(tree_.SelectNodeByPath("SOFT\\tools"), Node("Soft\\Tools"));
    EXPECT_EQ(host_.Seen(TVN_SELCHANGEDW), before + 1);
    EXPECT_FALSE(tree_.Updating());
}

TEST_F(CategoryTreeTest, AddFolderMatchesExactNamesOnly) {
    Load({"Web"});
    const HTREEITEM web = Node("Web");
    EXPECT_EQ(tree_.AddFolder(tree_.Top(), "Web"), web);
    const HTREEITEM lower = tree_.AddFolder(tree_.Top(), "web");
    EXPECT_NE(lower, web);
    EXPECT_EQ(tree_.AddFolder(nullptr, "x"), nullptr);
    EXPECT_EQ(Describe(tree_.Top()), "カテゴリ分類(Web,web)");
    EXPECT_EQ(Item(lower).iImage, 1);
}

TEST_F(CategoryTreeTest, MoveNodeTakesTheSubtreeButNeverIntoItself) {
    Load({"Soft\\Tools\\Deep", "Web"});
    const HTREEITEM soft = Node("Soft");
    EXPECT_EQ(tree_.MoveNode(soft, soft), nullptr);
    EXPECT_EQ(tree_.MoveNode(soft, Node("Soft\\Tools")), nullptr);
    EXPECT_EQ(tree_.MoveNode(soft, Node("Soft\\Tools\\Deep")), nullptr);
    EXPECT_EQ(tree_.MoveNode(tree_.Top(), Node("Web")), nullptr);
    EXPECT_EQ(Describe(tree_.Top()), "カテゴリ分類(Soft(Tools(Deep)),Web)");

    SendMessageW(tree_.Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Node("Soft\\Tools")));
    tree_.Select(Node("Soft\\Tools\\Deep"));
    const HTREEITEM moved = tree_.MoveNode(Node("Soft\\Tools"), Node("Web"));
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(tree_.GetNodePath(moved), "Web\\Tools");
    EXPECT_EQ(Describe(tree_.Top()), "カテゴリ分類(Soft,Web(Tools(Deep)))");
    EXPECT_EQ(tree_.GetNodePath(tree_.Selected()), "Web\\Tools\\Deep");
    EXPECT_TRUE(Item(moved).state & TVIS_EXPANDED);
    EXPECT_EQ(Item(moved).iSelectedImage, 2);

    // Onto its own parent: it becomes the last child there.
    ASSERT_NE(tree_.MoveNode(Node("Soft"), tree_.Top()), nullptr);
    EXPECT_EQ(Describe(tree_.Top()), "カテゴリ分類(Web(Tools(Deep)),Soft)");
}

TEST_F(CategoryTreeTest, NewFolderIsEditedInPlaceAndRenamingRewritesTheSubtreeOnly) {
    TPassList list(prompts_, collator_, fileOps_);
    for (const char* path : {"Soft", "Soft\\Tools", "Softy"}) {
        TPassItem item;
        item.Path = path;
        item.Title = std::string("t ") + path;
        list.AddItem(item);
    }
    std::vector<std::string_view> paths;
    for (int i = 0; i < list.Count(); ++i) paths.push_back(list.Item(i).Path);
    Load(paths);

    const HTREEITEM created = tree_.NewFolder(Node("Soft"));
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(tree_.Selected(), created);
    EXPECT_EQ(tree_.GetNodePath(created), "Soft\\新規フォルダー");
    const HWND edit = reinterpret_cast<HWND>(SendMessageW(tree_.Handle(), TVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    SetWindowTextW(edit, L"New");
    SendMessageW(tree_.Handle(), TVM_ENDEDITLABELNOW, FALSE, 0);
    ASSERT_GE(renames_.size(), 1u);
    EXPECT_EQ(renames_[0].oldPath, "Soft\\新規フォルダー");
    EXPECT_EQ(renames_[0].newPath, "Soft\\New");
    // Wine reports the end of the edit a second time as the box closes; it renames nothing.
    for (size_t i = 1; i < renames_.size(); ++i) EXPECT_EQ(renames_[i].oldPath, renames_[i].newPath);
    EXPECT_EQ(tree_.NodeText(created), "New");

    NMTVDISPINFOW info{};
    info.item.hItem = Node("Soft");
    EXPECT_FALSE(tree_.EndLabelEdit(info).has_value());  // a cancelled edit
    std::wstring text = L"Software";
    info.item.pszText = text.data();
    const std::optional<FolderRename> rename = tree_.EndLabelEdit(info);
    ASSERT_TRUE(rename.has_value());
    list.RenameFolder(rename->oldPath, rename->newPath);
    std::vector<std::string> after;
    for (int i = 0; i < list.Count(); ++i) after.push_back(list.Item(i).Path);
    EXPECT_EQ(after, (std::vector<std::string>{"Software", "Software\\Tools", "Softy"}));
    EXPECT_EQ(tree_.GetNodePath(Node("Software\\Tools")), "Software\\Tools");
}

TEST_F(CategoryTreeTest, DeleteNodeRemovesTheSubtreeButNeverTheTop) {
    Load({"A\\B", "AB"});
    EXPECT_FALSE(tree_.DeleteNode(tree_.Top()));
    EXPECT_FALSE(tree_.DeleteNode(nullptr));
    EXPECT_TRUE(tree_.DeleteNode(Node("A")));
    EXPECT_EQ(Describe(tree_.Top()), "カテゴリ分類(AB)");
}

TEST_F(CategoryTreeTest, HitTestFindsTheNodeOnTheRowUnderThePoint) {
    Load({"Soft", "Web"});
    RECT rect{};
    const HTREEITEM web = Node("Web");
    std::memcpy(&rect, &web, sizeof web);  // the message takes the node in the rectangle
    ASSERT_TRUE(SendMessageW(tree_.Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
    EXPECT_EQ(tree_.HitTest({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}), Node("Web"));
    EXPECT_EQ(tree_.HitTest({rect.right + 40, (rect.top + rect.bottom) / 2}), Node("Web"));
    EXPECT_EQ(tree_.HitTest({10, 390}), nullptr);
}

}  // namespace
}  // namespace torvane
