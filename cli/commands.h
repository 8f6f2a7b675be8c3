#pragma once
// The commands of torvane-cli, one file each. Each takes the arguments after its name and
// returns the exit status.
#include <string>
#include <vector>

#include "cli/command.h"

namespace torvane::cli {

int RunDump(Context& ctx, const std::vector<std::string>& args);
int RunConvert(Context& ctx, const std::vector<std::string>& args);
int RunSearch(Context& ctx, const std::vector<std::string>& args);
int RunShow(Context& ctx, const std::vector<std::string>& args);
int RunExpiring(Context& ctx, const std::vector<std::string>& args);
int RunTree(Context& ctx, const std::vector<std::string>& args);
int RunGenerate(Context& ctx, const std::vector<std::string>& args);
int RunMerge(Context& ctx, const std::vector<std::string>& args);

using CommandRunner = int (*)(Context&, const std::vector<std::string>&);
struct Command {
    const char* name;
    CommandRunner run;
    bool printsUtf8;  // false: records as the data file holds them, messages in the console's text
};
// The command of that name, or nullptr.
const Command* FindCommand(const std::string& name);

// The usage of every command, which dump and convert show for help and usage errors.
extern const char kGeneralUsage[];
// The value of dump's and convert's file options, in the message when it is missing.
inline constexpr char kFileName[] = "a file name";
// "record N ("title")" for dump's and convert's messages.
std::string RecordName(Context& ctx, const TPassList& list, int index);

}  // namespace torvane::cli
