#include "cli/cli.h"

#include "cli/commands.h"
#include "cli/sjis_utf8.h"

#ifdef _WIN32
#include "win/platform_win.h"
#include "win/secure_random_win.h"
#endif

namespace torvane::cli {

const char kGeneralUsage[] =
    "usage: torvane-cli dump [--json] [--password-file F] FILE\n"
    "       torvane-cli convert [--password-file F] [--new-password-file G] [--skip-damaged] IN OUT\n"
    "       torvane-cli search [--json] [--field NAME]... [--password-file F] PATTERN FILE\n"
    "       torvane-cli show [--json] [--reveal] [--password-file F] SELECTOR FILE\n"
    "       torvane-cli expiring [--json] [--days N] [--password-file F] FILE\n"
    "       torvane-cli tree [--json] [--password-file F] FILE\n"
    "       torvane-cli generate [--length N] [--classes ULDS] [--count K]\n"
    "       torvane-cli merge [--password-file F] [--new-password-file G] [--skip-damaged] A B OUT\n"
    "       torvane-cli COMMAND --help tells more of each command.\n"
    "A file whose name ends in \".tvd\" is protected by a password. A password file holds the\n"
    "password on its first line; the environment variable TORVANE_PASSWORD may give it instead.\n"
    "convert writes OUT protected when its name ends in \".tvd\", under the new password (or the\n"
    "same one), and replaces OUT only when every record was written.\n"
    "Lines that hold no record are named on standard error: dump and the reading commands print\n"
    "what the other records give and exit with 4; convert and merge then write nothing unless\n"
    "given --skip-damaged.\n"
    "Exit status: 0 done, 2 usage error or no password, 3 wrong password, 4 file or data error\n"
    "(expiring: 1 when it found records).\n";

int Run(const std::vector<std::string>& args, const EnvLookup& env, std::ostream& out, std::ostream& err,
        IFileOps& fileOps, const ICollator& collator, ISecureRandom& random) {
    if (!args.empty() && (args[0] == "help" || args[0] == "--help" || args[0] == "-h")) {
        out << kGeneralUsage;
        out.flush();
        return kExitOk;
    }
    const Command* command = args.empty() ? nullptr : FindCommand(args[0]);
    if (!command) {
        err << "torvane-cli: " << (args.empty() ? "no command given" : "unknown command '" + args[0] + "'") << '\n'
            << kGeneralUsage;
        err.flush();
        return kExitUsage;
    }
    Context context{env, out, err, fileOps, collator, random, command->printsUtf8 ? TerminalLine : ConsoleText};
    return command->run(context, std::vector<std::string>(args.begin() + 1, args.end()));
}

int Run(const std::vector<std::string>& args, const EnvLookup& env, std::ostream& out, std::ostream& err,
        IFileOps& fileOps, const ICollator& collator) {
#ifdef _WIN32
    win::WinSecureRandom random;
#else
    PosixSecureRandom random;
#endif
    return Run(args, env, out, err, fileOps, collator, random);
}

bool PrintsUtf8(const std::vector<std::string>& args) {
    const Command* command = args.empty() ? nullptr : FindCommand(args[0]);
    return command && command->printsUtf8;
}

int Run(const std::vector<std::string>& args, const EnvLookup& env, std::ostream& out, std::ostream& err) {
#ifdef _WIN32
    win::WinFileOps fileOps;
    win::LocaleCollator collator;
#else
    PosixFileOps fileOps;
    ByteCollator collator;
#endif
    return Run(args, env, out, err, fileOps, collator);
}

}  // namespace torvane::cli
