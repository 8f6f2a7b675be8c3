#include "app/folder_tree.h"

#include <algorithm>
#include <unordered_map>

#include "store/sjis.h"

namespace torvane {
namespace {

// One node while building: besides its children, how many of them existed when a record of
// this very folder was last met. Adding a record re-sorts its folder's children, so the final
// order is those first children sorted, then the later ones in the order they came.
struct BuildNode {
    FolderNode* node;
    std::unordered_map<std::string_view, BuildNode*> byName;
    size_t sortedPrefix = 0;
};

}  // namespace

FolderNode::~FolderNode() {
    std::vector<std::unique_ptr<FolderNode>> pending = std::move(children);
    while (!pending.empty()) {
        std::unique_ptr<FolderNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->children) pending.push_back(std::move(child));
        node->children.clear();
    }
}

std::vector<std::string_view> SplitCategoryPath(std::string_view path) {
    std::vector<std::string_view> names;
    size_t start = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsLeadByte(path[i])) {
            ++i;
        } else if (path[i] == '\\') {
            names.push_back(path.substr(start, i - start));
            start = i + 1;
        }
    }
    names.push_back(path.substr(start));
    return names;
}

bool InFolderSubtree(std::string_view path, std::string_view folder) {
    return path.size() >= folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           (path.size() == folder.size() || path[folder.size()] == '\\');
}

std::unique_ptr<FolderNode> BuildFolderTree(const std::vector<std::string_view>& paths, const ICollator& compare) {
    auto root = std::make_unique<FolderNode>();
    std::vector<std::unique_ptr<BuildNode>> nodes;
    nodes.push_back(std::make_unique<BuildNode>(BuildNode{root.get(), {}, 0}));
    BuildNode* top = nodes.front().get();
    // Paths repeat in runs (the list is sorted), and most folders hold many records.
    std::unordered_map<std::string_view, BuildNode*> byPath;

    for (std::string_view path : paths) {
        if (path.empty()) continue;
        BuildNode* folder = nullptr;
        if (auto it = byPath.find(path); it != byPath.end()) {
            folder = it->second;
        } else {
            folder = top;
            for (std::string_view name : SplitCategoryPath(path)) {
                auto child = folder->byName.find(name);
                if (child == folder->byName.end()) {
                    auto node = std::make_unique<FolderNode>();
                    node->name.assign(name);
                    folder->node->children.push_back(std::move(node));
                    nodes.push_back(std::make_unique<BuildNode>(BuildNode{folder->node->children.back().get(), {}, 0}));
                    // The key views the node's own name, which never moves.
                    child = folder->byName.emplace(folder->node->children.back()->name, nodes.back().get()).first;
                }
                folder = child->second;
            }
            byPath.emplace(path, folder);
        }
        folder->sortedPrefix = folder->node->children.size();
    }

    for (const auto& build : nodes) {
        auto& children = build->node->children;
        std::stable_sort(children.begin(), children.begin() + static_cast<std::ptrdiff_t>(build->sortedPrefix),
                         [&](const auto& a, const auto& b) { return compare.Compare(a->name, b->name) < 0; });
    }
    return root;
}

}  // namespace torvane
