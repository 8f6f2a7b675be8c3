#include "cli/cli.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "cli/command.h"
#include "cli/commands.h"
#include "cli/record_json.h"
#include "cli/sjis_utf8.h"
#include "store/pass_list.h"
#include "store/sjis.h"
#include "store/text_file.h"

#ifdef _WIN32
#include "win/platform_win.h"
#include "win/secure_random_win.h"
#endif

namespace torvane::cli {
namespace {

constexpr char kUsage[] =
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
constexpr char kPasswordVariable[] = "TORVANE_PASSWORD";
constexpr size_t kMaxPasswordFile = 64 * 1024;

struct Options {
    std::string command;
    bool help = false;
    bool json = false;
    bool skipDamaged = false;
    std::optional<std::string> passwordFile;
    std::optional<std::string> newPasswordFile;
    std::vector<std::string> operands;
};

// Names a record in a message; control characters (a character 26 among them) would upset the
// console, so they show as "?".
std::string RecordName(const TPassList& list, int index) {
    std::string title = list.Item(index).Title;
    for (char& c : title) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    }
    return "record " + std::to_string(index + 1) + " (\"" + ConsoleText(title) + "\")";
}

bool Parse(const std::vector<std::string>& args, Options& o, std::string& problem) {
    if (args.empty()) {
        problem = "no command given";
        return false;
    }
    o.command = args[0];
    if (o.command == "help" || o.command == "--help" || o.command == "-h") {
        o.help = true;
        return true;
    }
    if (o.command != "dump" && o.command != "convert") {
        problem = "unknown command '" + o.command + "'";
        return false;
    }
    const bool dump = o.command == "dump";
    bool optionsEnded = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.size() < 2 || a.compare(0, 2, "--") != 0) {
            o.operands.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        const size_t eq = a.find('=');
        const std::string name = a.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
        if (name == "help") {
            o.help = true;
            return true;
        }
        if (name == "json" && dump && eq == std::string::npos) {
            o.json = true;
            continue;
        }
        if (name == "skip-damaged" && !dump && eq == std::string::npos) {
            o.skipDamaged = true;
            continue;
        }
        std::optional<std::string>* target = nullptr;
        if (name == "password-file") target = &o.passwordFile;
        if (name == "new-password-file" && !dump) target = &o.newPasswordFile;
        if (!target) {
            problem = "unknown option '" + a + "' for " + o.command;
            return false;
        }
        if (eq != std::string::npos) {
            *target = a.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            *target = args[++i];
        } else {
            problem = "option '" + a + "' needs a file name";
            return false;
        }
    }
    const size_t wanted = dump ? 1 : 2;
    if (o.operands.size() != wanted) {
        problem = dump ? "dump takes one data file" : "convert takes an input and an output file";
        return false;
    }
    return true;
}

// The command line has no one to ask; the record list's reports say what happened.
class QuietPrompts : public IPrompts {
public:
    void Warning(const std::string&) override {}
    void Error(const std::string&) override {}
    void Plain(const std::string&) override {}
    std::unique_ptr<IPasswordDialog> CreatePasswordDialog() override { return std::make_unique<NoDialog>(); }

private:
    class NoDialog : public IPasswordDialog {
    public:
        bool Show(const std::string&, std::string& text) override {
            text.clear();
            return false;
        }
    };
};

class Session {
public:
    Session(const EnvLookup& env, std::ostream& out, std::ostream& err, IFileOps& fileOps, const ICollator& collator)
        : env_(env), out_(out), err_(err), fileOps_(fileOps), list_(prompts_, collator, fileOps) {}

    int Dump(const Options& o);
    int Convert(const Options& o);

private:
    int Fail(int code, const std::string& message) {
        err_ << "torvane-cli: " << message << '\n';
        err_.flush();
        return code;
    }
    int ReadPassword(const std::optional<std::string>& file, std::string& password);
    int Load(const std::string& file, const std::string& password) {
        return LoadDataFile(err_, fileOps_, list_, file, password, ConsoleText);
    }
    void WarnDamaged(const std::string& file, const std::string& outcome) {
        cli::WarnDamaged(err_, list_, file, outcome);
    }

    const EnvLookup& env_;
    std::ostream& out_;
    std::ostream& err_;
    IFileOps& fileOps_;
    QuietPrompts prompts_;
    TPassList list_;
};

// From the password file when one is named, otherwise from the environment; empty when neither.
int Session::ReadPassword(const std::optional<std::string>& file, std::string& password) {
    password.clear();
    if (!file) {
        if (std::optional<std::string> value = env_(kPasswordVariable)) password = *value;
        return kExitOk;
    }
    fileOps_.ClearError();
    std::FILE* f = fileOps_.OpenRead(*file);
    if (!f) {
        return Fail(kExitFileError,
                    *file + ": cannot read the password file: " + ConsoleText(fileOps_.ErrorText(errno ? errno : EIO)));
    }
    std::string content(kMaxPasswordFile, '\0');
    content.resize(std::fread(content.data(), 1, content.size(), f));
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return Fail(kExitFileError, *file + ": cannot read the password file: " + ConsoleText(fileOps_.ErrorText(EIO)));
    password = content.substr(0, content.find_first_of("\r\n"));
    // It enters each enciphered line in front of the record, and a deciphered block ends at a
    // character 0: a file saved under such a password would open for nobody.
    if (password.find('\0') != std::string::npos) {
        return Fail(kExitUsage, *file + ": the password holds a character 0 (NUL), which a password cannot contain");
    }
    return kExitOk;
}

int Session::Dump(const Options& o) {
    const std::string& file = o.operands[0];
    std::string password;
    if (const int code = ReadPassword(o.passwordFile, password)) return code;
    if (IsProtectedName(file) && password.empty()) {
        return Fail(kExitUsage, file + " is protected: give its password with --password-file or " + kPasswordVariable);
    }
    if (const int code = Load(file, password)) return code;
    // The lines are a plain data file, which a character 26 would cut short when read back.
    if (!o.json) {
        const int unstorable = list_.FirstUnstorableItem(false);
        if (unstorable >= 0) {
            return Fail(kExitFileError, file + ": " + RecordName(list_, unstorable) +
                                            " holds a character 26 (Ctrl+Z), which a plain data file cannot store; "
                                            "use --json");
        }
    }

    // All of it first: a failure half-way must not leave half an export behind.
    std::vector<std::string> parts;
    if (!o.json) parts = list_.PlainTextParts();
    std::string text;
    std::string badField;
    for (int i = 0; o.json && i < list_.Count(); ++i) {
        if (!AppendRecordJson(list_.Item(i), text, badField)) {
            return Fail(kExitFileError, file + ": record " + std::to_string(i + 1) + ": " + badField +
                                            " is not Shift_JIS text, so it has no UTF-8 form");
        }
        text += '\n';
    }
    if (o.json) parts.push_back(std::move(text));
    for (const std::string& part : parts) out_.write(part.data(), static_cast<std::streamsize>(part.size()));
    out_.flush();
    if (!out_) return Fail(kExitFileError, "cannot write the output");
    if (list_.LastLoadResult() == LoadResult::Damaged) {
        WarnDamaged(file, "the other records were printed");
        return kExitFileError;
    }
    return kExitOk;
}

int Session::Convert(const Options& o) {
    const std::string& in = o.operands[0];
    const std::string& out = o.operands[1];
    std::string password;
    if (const int code = ReadPassword(o.passwordFile, password)) return code;
    std::string newPassword = password;
    if (o.newPasswordFile) {
        if (const int code = ReadPassword(o.newPasswordFile, newPassword)) return code;
    }
    if (IsProtectedName(in) && password.empty()) {
        return Fail(kExitUsage, in + " is protected: give its password with --password-file or " + kPasswordVariable);
    }
    if (IsProtectedName(out) && newPassword.empty()) {
        return Fail(kExitUsage, out + " is protected: give its password with --new-password-file, --password-file or " +
                                    kPasswordVariable);
    }
    if (const int code = Load(in, password)) return code;
    const bool damaged = list_.LastLoadResult() == LoadResult::Damaged;
    if (damaged && !o.skipDamaged) {
        WarnDamaged(in, std::string("nothing was written (--skip-damaged writes the other records)"));
        return kExitFileError;
    }

    list_.Encrypted = IsProtectedName(out);
    list_.Password = list_.Encrypted ? newPassword : std::string();
    const int unstorable = list_.FirstUnstorableItem(list_.Encrypted);
    if (unstorable >= 0) {
        return Fail(kExitFileError,
                    out + ": " + RecordName(list_, unstorable) +
                        (list_.Encrypted ? " holds a character 0 (NUL), which a protected data file cannot store; "
                                           "remove it, or convert to a plain file instead"
                                         : " holds a character 26 (Ctrl+Z), which a plain data file cannot store; "
                                           "convert to a .tvd file instead"));
    }
    if (!list_.SaveToFile(out)) {
        const SaveReport& report = list_.LastSave();
        std::string detail = ConsoleText(report.detail);
        if (report.result == SaveResult::BackupError) detail = "cannot keep a backup " + report.backupName + ": " + detail;
        return Fail(kExitFileError, out + ": cannot write: " + detail);
    }
    if (damaged) WarnDamaged(in, "the other records were written");
    return kExitOk;
}

}  // namespace

int Run(const std::vector<std::string>& args, const EnvLookup& env, std::ostream& out, std::ostream& err,
        IFileOps& fileOps, const ICollator& collator, ISecureRandom& random) {
    if (CommandRunner command = args.empty() ? nullptr : FindCommand(args[0])) {
        Context context{env, out, err, fileOps, collator, random};
        return command(context, std::vector<std::string>(args.begin() + 1, args.end()));
    }
    Options options;
    std::string problem;
    if (!Parse(args, options, problem)) {
        err << "torvane-cli: " << problem << '\n' << kUsage;
        err.flush();
        return kExitUsage;
    }
    if (options.help) {
        out << kUsage;
        out.flush();
        return kExitOk;
    }
    Session session(env, out, err, fileOps, collator);
    return options.command == "dump" ? session.Dump(options) : session.Convert(options);
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
    return !args.empty() && FindCommand(args[0]) != nullptr;
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
