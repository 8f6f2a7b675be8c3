// tree: the folder tree as the program's category view builds it, with record counts.
#include <algorithm>
#include <unordered_map>

#include "app/folder_tree.h"
#include "cli/commands.h"
#include "cli/record_json.h"

namespace torvane::cli {
namespace {

constexpr char kUsage[] =
    "usage: torvane-cli tree [--json] [--password-file F] FILE\n"
    "Prints the folder tree in the program's order, one folder a line, indented by level, with\n"
    "the records in the folder itself and in its whole subtree: \"Soft (2/5)\". With --json one\n"
    "nested object: name, path, records, total, children. Folders deeper than 100 levels are\n"
    "indented as the 100th.\n"
    "Exit status: 0 done, 2 usage error or no password, 3 wrong password, 4 file or data error.\n";
constexpr char kTopName[] = "カテゴリ分類";
// Deeper folders line up at this level: indenting each by its depth would make the text grow
// with the square of a crafted path's length.
constexpr size_t kMaxIndent = 100;
constexpr size_t kSpillSize = 1 << 20;

struct Counts {
    std::unordered_map<const FolderNode*, int> here;
    std::unordered_map<const FolderNode*, int> total;
};

// The node a record's path leads to: names matched exactly, as the tree was built.
const FolderNode* NodeOf(const FolderNode& top, const std::string& path) {
    const FolderNode* node = &top;
    if (path.empty()) return node;
    for (std::string_view name : SplitCategoryPath(path)) {
        const FolderNode* next = nullptr;
        for (const auto& child : node->children) {
            if (child->name == name) {
                next = child.get();
                break;
            }
        }
        if (!next) return node;  // cannot happen for a path the tree was built from
        node = next;
    }
    return node;
}

// Every walk below keeps its own stack: a crafted path may nest folders tens of thousands deep.
void Total(const FolderNode& top, Counts& counts) {
    std::vector<std::pair<const FolderNode*, const FolderNode*>> order{{&top, nullptr}};  // parents first
    for (size_t i = 0; i < order.size(); ++i) {
        for (const auto& child : order[i].first->children) order.emplace_back(child.get(), order[i].first);
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        counts.total[it->first] += counts.here[it->first];
        if (it->second) counts.total[it->second] += counts.total[it->first];
    }
}

// A folder and the next of its children to print.
struct Frame {
    const FolderNode* node;
    size_t next;
    size_t pathSize;  // the length of the parent's path, to go back to
};

// Hands the output on in parts, so a huge tree never has to fit in memory at once.
int Spill(Context& ctx, std::string& out) {
    if (out.size() < kSpillSize) return kExitOk;
    const int code = Emit(ctx, out);
    out.clear();
    return code;
}

void TextLine(const FolderNode& node, const std::string& name, size_t depth, Counts& counts, std::string& out) {
    out.append(std::min(depth, kMaxIndent) * 2, ' ');
    out += TerminalText(name) + " (" + std::to_string(counts.here[&node]) + '/' + std::to_string(counts.total[&node]) +
           ")\n";
}

void OpenJson(const FolderNode& node, const std::string& name, const std::string& path, Counts& counts,
              std::string& out) {
    out += "{\"name\":";
    AppendJsonString(Utf8Lossy(name), out);
    out += ",\"path\":";
    AppendJsonString(Utf8Lossy(path), out);
    out += ",\"records\":" + std::to_string(counts.here[&node]) + ",\"total\":" + std::to_string(counts.total[&node]) +
           ",\"children\":[";
}

int Print(Context& ctx, const FolderNode& top, bool json, Counts& counts) {
    std::string out;
    std::string path;
    if (json) {
        OpenJson(top, kTopName, path, counts, out);
    } else {
        TextLine(top, kTopName, 0, counts, out);
    }
    std::vector<Frame> stack{{&top, 0, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.node->children.size()) {
            if (json) out += "]}";
            path.resize(frame.pathSize);
            stack.pop_back();
            continue;
        }
        const FolderNode& child = *frame.node->children[frame.next++];
        const size_t parentPath = path.size();
        if (json) {
            if (frame.next > 1) out += ',';
            path += (path.empty() ? "" : "\\") + child.name;
            OpenJson(child, child.name, path, counts, out);
        } else {
            TextLine(child, child.name, stack.size(), counts, out);
        }
        stack.push_back({&child, 0, parentPath});
        if (const int code = Spill(ctx, out)) return code;
    }
    if (json) out += '\n';
    return Emit(ctx, out);
}

const Syntax kSyntax{"tree", {{"json", false}, {"password-file", true}}, 1, "tree takes one data file", kUsage};

}  // namespace

int RunTree(Context& ctx, const std::vector<std::string>& args) {
    ParsedArgs parsed;
    if (const auto done = ParseCommandLine(ctx, args, kSyntax, parsed)) return *done;

    std::string password;
    if (const int code = ReadPassword(ctx, parsed.Value("password-file"), password)) return code;
    Catalogue catalogue(ctx);
    if (const int code = catalogue.Load(parsed.operands[0], password)) return code;

    const TPassList& list = catalogue.List();
    std::vector<std::string_view> paths;
    paths.reserve(static_cast<size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) paths.emplace_back(list.Item(i).Path);
    const std::unique_ptr<FolderNode> top = BuildFolderTree(paths, ctx.collator);

    Counts counts;
    std::unordered_map<std::string_view, const FolderNode*> byPath;
    for (std::string_view path : paths) {
        auto it = byPath.find(path);
        if (it == byPath.end()) it = byPath.emplace(path, NodeOf(*top, std::string(path))).first;
        ++counts.here[it->second];
    }
    Total(*top, counts);
    return catalogue.Finish(Print(ctx, *top, parsed.Has("json"), counts), "the other records were counted");
}

}  // namespace torvane::cli
