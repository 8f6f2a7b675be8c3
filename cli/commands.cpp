#include "cli/commands.h"

namespace torvane::cli {

const Command* FindCommand(const std::string& name) {
    static const Command kCommands[] = {
        {"dump", RunDump, false},        {"convert", RunConvert, false},  {"search", RunSearch, true},
        {"show", RunShow, true},         {"expiring", RunExpiring, true}, {"tree", RunTree, true},
        {"generate", RunGenerate, true}, {"merge", RunMerge, true},
    };
    for (const Command& c : kCommands) {
        if (name == c.name) return &c;
    }
    return nullptr;
}

}  // namespace torvane::cli
