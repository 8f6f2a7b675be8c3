#include "cli/commands.h"

namespace torvane::cli {

CommandRunner FindCommand(const std::string& name) {
    static const struct {
        const char* name;
        CommandRunner run;
    } kCommands[] = {
        {"search", RunSearch}, {"show", RunShow},         {"expiring", RunExpiring},
        {"tree", RunTree},     {"generate", RunGenerate}, {"merge", RunMerge},
    };
    for (const auto& c : kCommands) {
        if (name == c.name) return c.run;
    }
    return nullptr;
}

}  // namespace torvane::cli
