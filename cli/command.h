#pragma once
// What the reading commands (search, show, expiring, tree, generate, merge) share: their
// streams and platform services, option parsing, loading a data file without prompting, and
// text for the terminal.
//
// These commands print UTF-8 on both platforms (records stay Shift_JIS in files only).
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "store/pass_list.h"
#include "store/secure_random.h"

namespace torvane::cli {

struct Context {
    const EnvLookup& env;
    std::ostream& out;
    std::ostream& err;
    IFileOps& fileOps;
    const ICollator& collator;
    ISecureRandom& random;
};

struct OptionSpec {
    const char* name;  // without "--"
    bool takesValue;
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

// "--name value" and "--name=value"; "--" ends the options; "--help" anywhere asks for help.
bool ParseArgs(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs, ParsedArgs& parsed,
               std::string& problem);

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
// A command-line argument as UTF-8: the terminal's own text natively, the ANSI code page
// (Shift_JIS) on Windows.
std::string ArgumentText(const std::string& arg);

// A whole non-negative decimal number that fits an int; false otherwise.
bool ParseCount(const std::string& text, int& value);

// The data file's password: from the file named, otherwise TORVANE_PASSWORD; a message and an
// exit code when it cannot be read or is unusable.
int ReadPassword(Context& ctx, const std::optional<std::string>& file, std::string& password);

// Protected exactly when the name ends in ".tvd", letter case included.
bool IsProtectedName(const std::string& file);

// How a load message shows record or platform text: the reading commands print UTF-8, dump and
// convert the console's own text.
using MessageText = std::string (*)(const std::string&);

// Loads file into list without any prompt: 0, or the exit code after a message on err. Lines
// that are no records leave the others loaded (LastLoadResult Damaged); the command prints what
// it can, then names them with WarnDamaged and fails unless told to skip them.
int LoadDataFile(std::ostream& err, IFileOps& fileOps, TPassList& list, const std::string& file,
                 const std::string& password, MessageText text);
// "FILE: line N holds no readable record; outcome" on err.
void WarnDamaged(std::ostream& err, const TPassList& list, const std::string& file, const std::string& outcome);

// One data file loaded into a record list without any prompt.
class Catalogue {
public:
    explicit Catalogue(Context& ctx);
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    // 0, or the exit code after a message on the error stream.
    int Load(const std::string& file, const std::string& password);
    // True when the load skipped lines that are no records.
    bool Damaged() const { return list_.LastLoadResult() == LoadResult::Damaged; }
    // Names the skipped lines, if any; code after a clean load, else kExitFileError.
    int Finish(int code, const std::string& outcome = "the other records were read");
    // Writes the list to file, protected when its name says so, replacing it only when every
    // record was written.
    int Save(const std::string& file, const std::string& password);

    TPassList& List() { return list_; }

private:
    class Prompts;
    Context& ctx_;
    std::string file_;
    std::unique_ptr<Prompts> prompts_;
    TPassList list_;
};

// The record with the secrets a listing must not show replaced by "********".
TPassItem Masked(const TPassItem& item);
// "Path\Title", or the title alone for a record at the top.
std::string FullTitle(const TPassItem& item);

}  // namespace torvane::cli
