#include "app/folder_tree.h"

#include <gtest/gtest.h>

#include "store/sjis.h"

namespace torvane {
namespace {

std::string Dump(const FolderNode& node) {
    std::string out;
    for (const auto& child : node.children) {
        out += child->name;
        if (!child->children.empty()) out += "(" + Dump(*child) + ")";
        out += " ";
    }
    if (!out.empty()) out.pop_back();
    return out;
}

std::unique_ptr<FolderNode> Build(const std::vector<std::string_view>& paths) {
    static const ByteCollator collator;
    return BuildFolderTree(paths, collator);
}

TEST(FolderTreeTest, PathsBecomeNestedFolders) {
    EXPECT_EQ("Soft(Tools) Web", Dump(*Build({"Soft\\Tools", "Soft", "Web"})));
    EXPECT_EQ("My Soft", Dump(*Build({"My Soft", "My Soft"})));
    EXPECT_EQ("", Dump(*Build({"", ""})));
    // Letter case makes different folders.
    EXPECT_EQ("Soft soft", Dump(*Build({"Soft", "soft"})));
}

// The sub-folders of a folder are sorted each time a record of that folder is added; those
// that appear after its last record stay in the order they came.
TEST(FolderTreeTest, SortsOnlyTheSubFoldersAFolderHadAtItsLastRecord) {
    EXPECT_EQ("A(C B)", Dump(*Build({"A\\C", "A\\B"})));                  // A never holds a record
    EXPECT_EQ("A(B C)", Dump(*Build({"A\\C", "A\\B", "A"})));
    EXPECT_EQ("A(B C Z Y)", Dump(*Build({"A\\C", "A\\B", "A", "A\\Z", "A\\Y"})));
    // The top level is never sorted: it keeps the record list's order.
    EXPECT_EQ("Z A", Dump(*Build({"Z", "A"})));
}

TEST(FolderTreeTest, DoubleByteNamesAreNotSplitAtTheirTrailByte) {
    // "ソフト" holds the byte 0x5C.
    EXPECT_EQ("ソフト(表)", Dump(*Build({"ソフト\\表"})));
    const auto names = SplitCategoryPath("ソ\\a\\\\b");
    ASSERT_EQ(4u, names.size());
    EXPECT_EQ("ソ", names[0]);
    EXPECT_EQ("", names[2]);
}

TEST(FolderTreeTest, SubtreeMembershipNeedsTheSeparator) {
    EXPECT_TRUE(InFolderSubtree("A", "A"));
    EXPECT_TRUE(InFolderSubtree("A\\B", "A"));
    EXPECT_FALSE(InFolderSubtree("AB", "A"));
    EXPECT_FALSE(InFolderSubtree("", "A"));
}

TEST(FolderTreeTest, CaseIsIgnoredForAsciiLettersOnly) {
    EXPECT_TRUE(SameTextIgnoringCase("Soft", "sOFT"));
    EXPECT_FALSE(SameTextIgnoringCase("Soft", "Sofy"));
    EXPECT_TRUE(SameTextIgnoringCase("ソa", "ソA"));
    EXPECT_FALSE(SameTextIgnoringCase("ソ", "ゾ"));
}

// A crafted path nests as deep as it has separators; building, sorting and freeing the tree
// must not recurse that deep.
TEST(FolderTreeTest, HundredThousandLevelsBuildAndFree) {
    std::string path = "a";
    for (int i = 1; i < 100000; ++i) path += "\\a";
    const std::string sibling = path.substr(0, path.size() - 2) + "\\b";
    auto top = Build({path, sibling, path.substr(0, path.size() - 4)});
    int depth = 0;
    const FolderNode* node = top.get();
    while (!node->children.empty()) {
        node = node->children.front().get();
        ++depth;
    }
    EXPECT_EQ(100000, depth);
    top.reset();
}

}  // namespace
}  // namespace torvane
