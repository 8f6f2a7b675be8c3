#pragma once
// What the commands share: their streams and platform services, option parsing, loading and
// saving a data file without prompting, and text for the terminal.
//
// dump and convert print records as the data file holds them, and their messages in the
// console's own text; the others print UTF-8 on both platforms (records stay Shift_JIS in
// files only).
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "store/pass_list.h"
#include "store/secure_random.h"

namespace torvane::cli {

// How a message shows record or platform text: the command's output text (ConsoleText or
// TerminalLine).
using MessageText = std::string (*)(const std::string&);

struct Context {
    const EnvLookup& env;
    std::ostream& out;
    std::ostream& err;
    IFileOps& fileOps;
    const ICollator& collator;
    ISecureRandom& random;
    MessageText text;
};

struct OptionSpec {
    const char* name;  // without "--"
    bool takesValue;
    const char* valueName = "a value";  // in the message for a missing value
};

// The options and operands of one command line, the command's name removed.
struct ParsedArgs {
    bool help = false;
    std::map<std::string, std::vector<std::string>> options;  // a flag holds one empty value
    std::vector<std::string> operands;

    bool Has(const std::string& name) const { return options.count(name) != 0; }
    // The last value given, or nothing.
    std::optional<std::string> Value(const std::string& name) const;
    std::vector<std::string> Values(const std::string& name) const;
};

// What a command's line holds after its name.
struct Syntax {
    const char* name;
    std::vector<OptionSpec> options;
    size_t operands;                  // exactly this many
    const char* operandProblem;       // the usage error for another number of them
    const char* usage;                // shown for --help and after a usage error
    bool nameInOptionErrors = false;  // "unknown option '--x' for NAME"
};

// One parser for every command: "--name value" and "--name=value"; "--" ends the options;
// "--help" anywhere asks for help. Returns the exit code when the command is done already (the
// usage shown for --help, or a usage error reported), otherwise nothing and parsed holds the
// line.
std::optional<int> ParseCommandLine(Context& ctx, const std::vector<std::string>& args, const Syntax& syntax,
                                    ParsedArgs& parsed);

// Writes "torvane-cli: message" to the error stream and returns code.
int Fail(Context& ctx, int code, const std::string& message);
// A usage error: the problem, then the command's usage.
int UsageFail(Context& ctx, const std::string& problem, const char* usage);
// Writes the whole text to the output; kExitFileError when that failed.
int Emit(Context& ctx, const std::string& text);

// The UTF-8 form of record text; bytes that are not Shift_JIS text become U+FFFD.
std::string Utf8Lossy(const std::string& sjis);
// The UTF-8 form of record text for the terminal. Bytes that are not Shift_JIS text show as
// U+FFFD and control characters (but tab-free line breaks in a memo when keepBreaks) as "?".
std::string TerminalText(const std::string& sjis, bool keepBreaks = false);
// TerminalText of one line, as a MessageText.
std::string TerminalLine(const std::string& sjis);
// A command-line argument as UTF-8: the terminal's own text natively, Shift_JIS on Windows
// (cli/main.cpp converts the arguments with code page 932).
std::string ArgumentText(const std::string& arg);

// A whole non-negative decimal number that fits an int; false otherwise.
bool ParseCount(const std::string& text, int& value);

// The data file's password: from the file named, otherwise TORVANE_PASSWORD; a message and an
// exit code when it cannot be read or is unusable.
int ReadPassword(Context& ctx, const std::optional<std::string>& file, std::string& password);

// The usage error for a protected file named without a password; an output file may take its
// password from --new-password-file too.
int MissingPassword(Context& ctx, const std::string& file, bool output);

// One data file loaded into a record list without any prompt. Lines that are no records leave
// the others loaded (Damaged); the command prints what it can, then names them with Finish and
// fails unless told to skip them.
class Catalogue {
public:
    explicit Catalogue(Context& ctx);
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    // 0, or the exit code after a message on the error stream.
    int Load(const std::string& file, const std::string& password);
    // True when the load skipped lines that are no records.
    bool Damaged() const { return list_->LastLoadResult() == LoadResult::Damaged; }
    // Names the skipped lines, if any; code after a clean load, else kExitFileError.
    int Finish(int code, const std::string& outcome = "the other records were read");
    // Writes the list to file, protected when its name says so, replacing it only when every
    // record was written. A record the file cannot store is named by its folder and title.
    int Save(const std::string& file, const std::string& password);

    TPassList& List() { return *list_; }

private:
    class Prompts;
    Context& ctx_;
    std::string file_;
    std::unique_ptr<Prompts> prompts_;
    std::unique_ptr<TPassList> list_;
};

// The record with the secrets a listing must not show replaced by "********".
TPassItem Masked(const TPassItem& item);
// "Path\Title", or the title alone for a record at the top.
std::string FullTitle(const TPassItem& item);

}  // namespace torvane::cli
