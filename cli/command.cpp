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

// The text after the last line break of a record list message: its detail.
std::string Detail(const std::string& message) {
    const size_t at = message.rfind("\r\n");
    return TerminalText(at == std::string::npos ? message : message.substr(at + 2));
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

bool ParseArgs(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs, ParsedArgs& parsed,
               std::string& problem) {
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
        for (const OptionSpec& s : specs) {
            if (name == s.name) spec = &s;
        }
        if (!spec || (!spec->takesValue && eq != std::string::npos)) {
            problem = "unknown option '" + a + "'";
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
            problem = "option '" + a + "' needs a value";
            return false;
        }
    }
    return true;
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

bool IsProtectedName(const std::string& file) {
    return IsProtectedFileName(file);
}

int ReadPassword(Context& ctx, const std::optional<std::string>& file, std::string& password) {
    password.clear();
    if (!file) {
        if (std::optional<std::string> value = ctx.env(kPasswordVariable)) password = *value;
        return kExitOk;
    }
    ctx.fileOps.ClearError();
    std::FILE* f = ctx.fileOps.OpenRead(*file);
    if (!f) {
        return Fail(ctx, kExitFileError,
                    *file + ": cannot read the password file: " + ctx.fileOps.ErrorText(errno ? errno : EIO));
    }
    std::string content(kMaxPasswordFile, '\0');
    content.resize(std::fread(content.data(), 1, content.size(), f));
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return Fail(ctx, kExitFileError, *file + ": cannot read the password file: " + ctx.fileOps.ErrorText(EIO));
    password = content.substr(0, content.find_first_of("\r\n"));
    if (password.find('\0') != std::string::npos) {
        return Fail(ctx, kExitUsage, *file + ": the password holds a character 0 (NUL), which a password cannot contain");
    }
    return kExitOk;
}

int LoadDataFile(std::ostream& err, IFileOps& fileOps, TPassList& list, const std::string& file,
                 const std::string& password, MessageText text) {
    auto fail = [&](int code, const std::string& message) {
        err << "torvane-cli: " << file << message << '\n';
        err.flush();
        return code;
    };
    if (!fileOps.FileExists(file)) return fail(kExitFileError, ": no such file");
    list.Encrypted = IsProtectedName(file);
    list.Password = list.Encrypted ? password : std::string();
    list.LoadFromFile(file);
    const LoadReport& report = list.LastLoad();
    switch (report.result) {
        case LoadResult::Loaded:
        case LoadResult::Converted:
        case LoadResult::Damaged:
            return kExitOk;
        case LoadResult::NoFile:
            return fail(kExitFileError, ": no such file");
        case LoadResult::Cancelled:
            return fail(kExitUsage, ": no password");
        case LoadResult::WrongPassword:
            return fail(kExitWrongPassword, ": wrong password");
        case LoadResult::ConvertError:
            return fail(kExitFileError, ": bad data: " + text(report.detail));
        case LoadResult::ReadError:
            return fail(kExitFileError, ": cannot read: " + text(report.detail));
        case LoadResult::Truncated:
            return fail(kExitFileError, ": data after an end-of-file mark (character 26, Ctrl+Z) was not read");
        case LoadResult::LineTooLong:
            return fail(kExitFileError, ": a line is longer than 64 MB; the file was not read");
        case LoadResult::OutOfMemory:
            return fail(kExitFileError, ": not enough memory to read the file");
    }
    return fail(kExitFileError, ": cannot read");
}

void WarnDamaged(std::ostream& err, const TPassList& list, const std::string& file, const std::string& outcome) {
    const std::vector<long long>& lines = list.LastLoad().damagedLines;
    err << "torvane-cli: " << file << ": " << (lines.size() == 1 ? "line " : "lines ");
    for (size_t i = 0; i < lines.size(); ++i) err << (i ? ", " : "") << lines[i];
    err << (lines.size() == 1 ? " holds" : " hold") << " no readable record; " << outcome << '\n';
    err.flush();
}

// Keeps the last message the record list showed; the command line has no one to ask.
class Catalogue::Prompts : public IPrompts {
public:
    void Warning(const std::string& text) override { last = text; }
    void Error(const std::string& text) override { last = text; }
    void Plain(const std::string& text) override { last = text; }
    std::unique_ptr<IPasswordDialog> CreatePasswordDialog() override { return std::make_unique<NoDialog>(); }

    std::string last;

private:
    class NoDialog : public IPasswordDialog {
    public:
        bool Show(const std::string&, std::string& text) override {
            text.clear();
            return false;
        }
    };
};

Catalogue::Catalogue(Context& ctx)
    : ctx_(ctx), prompts_(std::make_unique<Prompts>()), list_(*prompts_, ctx.collator, ctx.fileOps) {}

Catalogue::~Catalogue() = default;

int Catalogue::Load(const std::string& file, const std::string& password) {
    if (IsProtectedName(file) && password.empty()) {
        return Fail(ctx_, kExitUsage,
                    file + " is protected: give its password with --password-file or " + kPasswordVariable);
    }
    file_ = file;
    return LoadDataFile(ctx_.err, ctx_.fileOps, list_, file, password, [](const std::string& text) { return TerminalText(text); });
}

int Catalogue::Finish(int code, const std::string& outcome) {
    if (!Damaged()) return code;
    WarnDamaged(ctx_.err, list_, file_, outcome);
    return kExitFileError;
}

int Catalogue::Save(const std::string& file, const std::string& password) {
    list_.Encrypted = IsProtectedName(file);
    list_.Password = list_.Encrypted ? password : std::string();
    if (list_.Encrypted && password.empty()) {
        return Fail(ctx_, kExitUsage,
                    file + " is protected: give its password with --new-password-file, --password-file or " +
                        kPasswordVariable);
    }
    const int unstorable = list_.FirstUnstorableItem(list_.Encrypted);
    if (unstorable >= 0) {
        return Fail(ctx_, kExitFileError,
                    file + ": record \"" + TerminalText(FullTitle(list_.Item(unstorable))) + "\"" +
                        (list_.Encrypted ? " holds a character 0 (NUL), which a protected data file cannot store"
                                         : " holds a character 26 (Ctrl+Z), which a plain data file cannot store; "
                                           "write a .tvd file instead"));
    }
    prompts_->last.clear();
    if (!list_.SaveToFile(file)) return Fail(ctx_, kExitFileError, file + ": cannot write: " + Detail(list_.LastSave().detail));
    return kExitOk;
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
