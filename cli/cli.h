#pragma once
// torvane-cli: dumps and converts data files with the program's own record list, for backups,
// exports and scripts. It never prompts: a protected file needs its password from a file or
// from the environment variable TORVANE_PASSWORD.
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "store/platform.h"
#include "store/secure_random.h"

namespace torvane::cli {

enum ExitCode : int {
    kExitOk = 0,
    kExitUsage = 2,  // a usage error, or a protected file and no password
    kExitWrongPassword = 3,
    kExitFileError = 4,  // missing, unreadable or unwritable file, bad data
};

// The value of an environment variable; nothing when it is not set.
using EnvLookup = std::function<std::optional<std::string>(const std::string& name)>;

// Runs one command line (without the program's name): the result goes to out, messages to err.
// File operations and the sort order are the platform's.
int Run(const std::vector<std::string>& args, const EnvLookup& env, std::ostream& out, std::ostream& err);
// The same with the file operations and the sort order given.
int Run(const std::vector<std::string>& args, const EnvLookup& env, std::ostream& out, std::ostream& err,
        IFileOps& fileOps, const ICollator& collator);
// The same with the secure random source given too.
int Run(const std::vector<std::string>& args, const EnvLookup& env, std::ostream& out, std::ostream& err,
        IFileOps& fileOps, const ICollator& collator, ISecureRandom& random);

// True when the command line's output is UTF-8 text (every command but dump and convert).
bool PrintsUtf8(const std::vector<std::string>& args);

// For a process that ends once Run returns: the records loaded are left for the system to take
// back with the rest of the process, instead of being freed one by one (tens of milliseconds
// for 100,000 records). They stay reachable, so leak checkers do not count them.
void LeaveRecordsToProcessEnd();

}  // namespace torvane::cli
