#pragma once
// The reading and merging commands of torvane-cli, one file each. Each takes the arguments
// after its name and returns the exit status.
#include <string>
#include <vector>

#include "cli/command.h"

namespace torvane::cli {

int RunSearch(Context& ctx, const std::vector<std::string>& args);
int RunShow(Context& ctx, const std::vector<std::string>& args);
int RunExpiring(Context& ctx, const std::vector<std::string>& args);
int RunTree(Context& ctx, const std::vector<std::string>& args);
int RunGenerate(Context& ctx, const std::vector<std::string>& args);
int RunMerge(Context& ctx, const std::vector<std::string>& args);

// The command's runner, or nullptr for a name none of them has.
using CommandRunner = int (*)(Context&, const std::vector<std::string>&);
CommandRunner FindCommand(const std::string& name);

}  // namespace torvane::cli
