#include "cli/command.h"

#include <cerrno>
#include <cstdio>

#include "cli/sjis_utf8.h"
#include "store/sjis.h"
#include "store/text_file.h"

namespace torvane::cli {
namespace {

constexpr char kPasswordVariable[] = "TORVANE_PASSWORD";
constexpr size_t kMaxPasswordFile = 64 * 1024;
constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// Loads file into list without any prompt: 0, or the exit code after a message.
int LoadDataFile(Context& ctx, TPassList& list, const std::string& file, const std::string& password) {
    if (!ctx.fileOps.FileExists(file)) return Fail(ctx, kExitFileError, file + ": no such file");
    list.Encrypted = IsProtectedFileName(file);
    list.Password = list.Encrypted ? password : std::string();
    list.LoadFromFile(file);
    const LoadReport& report = list.LastLoad();
    switch (report.result) {
        case LoadResult::Loaded:
        case LoadResult::Converted:
        case LoadResult::Damaged:
            return kExitOk;
        case LoadResult::NoFile:
            return Fail(ctx, kExitFileError, file + ": no such file");
        case LoadResult::Cancelled:
            return Fail(ctx, kExitUsage, file + ": no password");
        case LoadResult::WrongPassword:
            return Fail(ctx, kExitWrongPassword, file + ": wrong password");
        case LoadResult::ConvertError:
            return Fail(ctx, kExitFileError, file + ": bad data: " + ctx.text(report.detail));
        case LoadResult::ReadError:
            return Fail(ctx, kExitFileError, file + ": cannot read: " + ctx.text(report.detail));
        case LoadResult::Truncated:
            return Fail(ctx, kExitFileError,
                        file + ": data after an end-of-file mark (character 26, Ctrl+Z) was not read");
        case LoadResult::LineTooLong:
            return Fail(ctx, kExitFileError, file + ": a line is longer than 64 MB; the file was not read");
        case LoadResult::OutOfMemory:
            return Fail(ctx, kExitFileError, file + ": not enough memory to read the file");
    }
    return Fail(ctx, kExitFileError, file + ": cannot read");
}

// "FILE: line N holds no readable record; outcome".
void WarnDamaged(Context& ctx, const TPassList& list, const std::string& file, const std::string& outcome) {
    const std::vector<long long>& lines = list.LastLoad().damagedLines;
    ctx.err << "torvane-cli: " << file << ": " << (lines.size() == 1 ? "line " : "lines ");
    for (size_t i = 0; i < lines.size(); ++i) ctx.err << (i ? ", " : "") << lines[i];
    ctx.err << (lines.size() == 1 ? " holds" : " hold") << " no readable record; " << outcome << '\n';
    ctx.err.flush();
}

}  // namespace

std::optional<std::string> ParsedArgs::Value(const std::string& name) const {
    const auto it = options.find(name);
    if (it == options.end() || it->second.empty()) return std::nullopt;
    return it->second.back();
}

std::vector<std::string> ParsedArgs::Values(const std::string& name) const {
    const auto it = options.find(name);
    return it == options.end() ? std::vector<std::string>() : it->second;
}

namespace {

bool ParseArgs(const std::vector<std::string>& args, const Syntax& syntax, ParsedArgs& parsed, std::string& problem) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.size() < 2 || a.compare(0, 2, "--") != 0) {
            parsed.operands.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        const size_t eq = a.find('=');
        const std::string name = a.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
        if (name == "help") {
            parsed.help = true;
            return true;
        }
        const OptionSpec* spec = nullptr;
        for (const OptionSpec& s : syntax.options) {
            if (name == s.name) spec = &s;
        }
        if (!spec || (!spec->takesValue && eq != std::string::npos)) {
            problem =
                "unknown option '" + a + "'" + (syntax.nameInOptionErrors ? std::string(" for ") + syntax.name : "");
            return false;
        }
        std::vector<std::string>& values = parsed.options[name];
        if (!spec->takesValue) {
            values.emplace_back();
        } else if (eq != std::string::npos) {
            values.push_back(a.substr(eq + 1));
        } else if (i + 1 < args.size()) {
            values.push_back(args[++i]);
        } else {
            problem = "option '" + a + "' needs " + spec->valueName;
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<int> ParseCommandLine(Context& ctx, const std::vector<std::string>& args, const Syntax& syntax,
                                    ParsedArgs& parsed) {
    std::string problem;
    if (!ParseArgs(args, syntax, parsed, problem)) return UsageFail(ctx, problem, syntax.usage);
    if (parsed.help) return Emit(ctx, syntax.usage);
    if (parsed.operands.size() != syntax.operands) return UsageFail(ctx, syntax.operandProblem, syntax.usage);
    return std::nullopt;
}

int Fail(Context& ctx, int code, const std::string& message) {
    ctx.err << "torvane-cli: " << message << '\n';
    ctx.err.flush();
    return code;
}

int UsageFail(Context& ctx, const std::string& problem, const char* usage) {
    ctx.err << "torvane-cli: " << problem << '\n' << usage;
    ctx.err.flush();
    return kExitUsage;
}

int Emit(Context& ctx, const std::string& text) {
    ctx.out.write(text.data(), static_cast<std::streamsize>(text.size()));
    ctx.out.flush();
    if (!ctx.out) return Fail(ctx, kExitFileError, "cannot write the output");
    return kExitOk;
}

std::string Utf8Lossy(const std::string& sjis) {
    std::string utf8;
    if (!AppendSjisAsUtf8(sjis, utf8)) {
        // Character by character, so one bad byte spoils only itself.
        utf8.clear();
        for (size_t i = 0; i < sjis.size(); ++i) {
            const size_t n = IsLeadByte(sjis[i]) && i + 1 < sjis.size() ? 2 : 1;
            if (!AppendSjisAsUtf8(std::string_view(sjis).substr(i, n), utf8)) utf8 += kReplacement;
            i += n - 1;
        }
    }
    return utf8;
}

std::string TerminalText(const std::string& sjis, bool keepBreaks) {
    const std::string utf8 = Utf8Lossy(sjis);
    std::string shown;
    shown.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (keepBreaks && c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') {
            shown += '\n';
            ++i;
        } else if (keepBreaks && c == '\n') {
            shown += '\n';
        } else {
            shown += c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
        }
    }
    return shown;
}

std::string TerminalLine(const std::string& sjis) {
    return TerminalText(sjis);
}

std::string ArgumentText(const std::string& arg) {
#ifdef _WIN32
    std::string utf8;
    return AppendSjisAsUtf8(arg, utf8) ? utf8 : arg;
#else
    return arg;
#endif
}

bool ParseCount(const std::string& text, int& value) {
    if (text.empty() || text.size() > 9) return false;
    int result = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        result = result * 10 + (c - '0');
    }
    value = result;
    return true;
}

int MissingPassword(Context& ctx, const std::string& file, bool output) {
    return Fail(ctx, kExitUsage,
                file + " is protected: give its password with " + (output ? "--new-password-file, " : "") +
                    "--password-file or " + kPasswordVariable);
}

int ReadPassword(Context& ctx, const std::optional<std::string>& file, std::string& password) {
    password.clear();
    if (!file) {
        if (std::optional<std::string> value = ctx.env(kPasswordVariable)) password = *value;
        return kExitOk;
    }
    const std::string cannotRead = *file + ": cannot read the password file: ";
    ctx.fileOps.ClearError();
    std::FILE* f = ctx.fileOps.OpenRead(*file);
    if (!f) return Fail(ctx, kExitFileError, cannotRead + ctx.text(ctx.fileOps.ErrorText(errno ? errno : EIO)));
    std::string content(kMaxPasswordFile, '\0');
    content.resize(std::fread(content.data(), 1, content.size(), f));
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return Fail(ctx, kExitFileError, cannotRead + ctx.text(ctx.fileOps.ErrorText(EIO)));
    password = content.substr(0, content.find_first_of("\r\n"));
    // It enters each enciphered line in front of the record, and a deciphered block ends at a
    // character 0: a file saved under such a password would open for nobody.
    if (password.find('\0') != std::string::npos) {
        return Fail(ctx, kExitUsage,
                    *file + ": the password holds a character 0 (NUL), which a password cannot contain");
    }
    return kExitOk;
}

// The command line has no one to ask; the record list's reports say what happened.
class Catalogue::Prompts : public IPrompts {
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

namespace {

bool leaveRecords = false;

// The lists left to the process's end, with the prompts they refer to.
struct LeftLists {
    std::vector<std::unique_ptr<IPrompts>> prompts;
    std::vector<std::unique_ptr<TPassList>> lists;
};
LeftLists* leftLists = nullptr;

}  // namespace

void LeaveRecordsToProcessEnd() {
    leaveRecords = true;
}

Catalogue::Catalogue(Context& ctx)
    : ctx_(ctx),
      prompts_(std::make_unique<Prompts>()),
      list_(std::make_unique<TPassList>(*prompts_, ctx.collator, ctx.fileOps)) {}

Catalogue::~Catalogue() {
    if (!leaveRecords) return;
    if (!leftLists) leftLists = new LeftLists;
    leftLists->prompts.push_back(std::move(prompts_));
    leftLists->lists.push_back(std::move(list_));
}

int Catalogue::Load(const std::string& file, const std::string& password) {
    if (IsProtectedFileName(file) && password.empty()) return MissingPassword(ctx_, file, false);
    file_ = file;
    return LoadDataFile(ctx_, *list_, file, password);
}

int Catalogue::Finish(int code, const std::string& outcome) {
    if (!Damaged()) return code;
    WarnDamaged(ctx_, *list_, file_, outcome);
    return kExitFileError;
}

int Catalogue::Save(const std::string& file, const std::string& password) {
    list_->Encrypted = IsProtectedFileName(file);
    list_->Password = list_->Encrypted ? password : std::string();
    if (list_->Encrypted && password.empty()) return MissingPassword(ctx_, file, true);
    if (list_->SaveToFile(file)) return kExitOk;
    const SaveReport& report = list_->LastSave();
    // The save looks for such a record before it touches anything.
    if (report.result == SaveResult::Unstorable && list_->IsValidIndex(report.item)) {
        return Fail(ctx_, kExitFileError,
                    file + ": record \"" + ctx_.text(FullTitle(list_->Item(report.item))) + "\"" +
                        (list_->Encrypted ? " holds a character 0 (NUL), which a protected data file cannot store"
                                          : " holds a character 26 (Ctrl+Z), which a plain data file cannot store; "
                                            "write a .tvd file instead"));
    }
    std::string detail = ctx_.text(report.detail);
    if (report.result == SaveResult::BackupError) detail = "cannot keep a backup " + report.backupName + ": " + detail;
    return Fail(ctx_, kExitFileError, file + ": cannot write: " + detail);
}

TPassItem Masked(const TPassItem& item) {
    TPassItem masked = item;
    if (!masked.Passwd.empty()) masked.Passwd = "********";
    if (!masked.Answer.empty()) masked.Answer = "********";
    return masked;
}

std::string FullTitle(const TPassItem& item) {
    return item.Path.empty() ? item.Title : item.Path + "\\" + item.Title;
}

}  // namespace torvane::cli
