#pragma once
// The folder tree as the records' category paths give it, built in one pass so the tree view
// can be filled at once. Children keep the order the tree has always shown: appended as paths
// first name them, and the sub-folders of every folder that holds records sorted by name.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/platform.h"

namespace torvane {

struct FolderNode {
    // A path of tens of thousands of "\" makes a chain as deep: freed child by child it would
    // recurse that deep, so the subtree is taken apart level by level instead.
    ~FolderNode();

    std::string name;
    std::vector<std::unique_ptr<FolderNode>> children;
};

// paths: the records' Path fields in the record list's order. compare orders folder names
// (lstrcmpA on Windows).
std::unique_ptr<FolderNode> BuildFolderTree(const std::vector<std::string_view>& paths, const ICollator& compare);

// The names of a category path, split at "\" (a trail byte 0x5C of a double-byte character
// does not split). Empty names between two "\" are kept, as the tree shows them.
std::vector<std::string_view> SplitCategoryPath(std::string_view path);

// True when path lies in the subtree of folder: equal to it, or folder followed by "\".
bool InFolderSubtree(std::string_view path, std::string_view folder);

}  // namespace torvane
