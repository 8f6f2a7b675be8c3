// tree: the folder tree as the program's category view builds it, with record counts.
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
    "nested object: name, path, records, total, children.\n"
    "Exit status: 0 done, 2 usage error or no password, 3 wrong password, 4 file or data error.\n";
constexpr char kTopName[] = "カテゴリ分類";

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

int Total(const FolderNode& node, Counts& counts) {
    int total = counts.here[&node];
    for (const auto& child : node.children) total += Total(*child, counts);
    counts.total[&node] = total;
    return total;
}

void AppendText(const FolderNode& node, const std::string& name, int depth, Counts& counts, std::string& out) {
    out.append(static_cast<size_t>(depth) * 2, ' ');
    out += TerminalText(name) + " (" + std::to_string(counts.here[&node]) + '/' + std::to_string(counts.total[&node]) +
           ")\n";
    for (const auto& child : node.children) AppendText(*child, child->name, depth + 1, counts, out);
}

void AppendJson(const FolderNode& node, const std::string& name, const std::string& path, Counts& counts,
                std::string& out) {
    out += "{\"name\":";
    AppendJsonString(Utf8Lossy(name), out);
    out += ",\"path\":";
    AppendJsonString(Utf8Lossy(path), out);
    out += ",\"records\":" + std::to_string(counts.here[&node]) + ",\"total\":" + std::to_string(counts.total[&node]) +
           ",\"children\":[";
    bool first = true;
    for (const auto& child : node.children) {
        if (!first) out += ',';
        first = false;
        AppendJson(*child, child->name, path.empty() ? child->name : path + "\\" + child->name, counts, out);
    }
    out += "]}";
}

}  // namespace

int RunTree(Context& ctx, const std::vector<std::string>& args) {
    ParsedArgs parsed;
    std::string problem;
    if (!ParseArgs(args, {{"json", false}, {"password-file", true}}, parsed, problem)) {
        return UsageFail(ctx, problem, kUsage);
    }
    if (parsed.help) return Emit(ctx, kUsage);
    if (parsed.operands.size() != 1) return UsageFail(ctx, "tree takes one data file", kUsage);

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

    std::string text;
    if (parsed.Has("json")) {
        AppendJson(*top, kTopName, std::string(), counts, text);
        text += '\n';
    } else {
        AppendText(*top, kTopName, 0, counts, text);
    }
    return Emit(ctx, text);
}

}  // namespace torvane::cli
