// merge: two copies of a catalogue combined, the newer of two differing records winning and
// neither kept silently when no copy is newer.
#include <cmath>
#include <filesystem>
#include <optional>
#include <system_error>

#include "cli/commands.h"
#include "store/sjis.h"

namespace torvane::cli {
namespace {

constexpr char kUsage[] =
    "usage: torvane-cli merge [--password-file F] [--new-password-file G] [--skip-damaged] A B OUT\n"
    "Writes OUT with the records of A and those of B that A lacks. A record of both (same path,\n"
    "title, user ID, password and company) that differs is taken from B only when B's last change\n"
    "is on a later day, kept from A when A's is later, and kept twice when both changed on the same\n"
    "day: B's copy then gets \" (競合)\" after its title. Each such record is listed on standard\n"
    "error. Records deleted from one copy stay. OUT is protected when its name ends in \".tvd\"\n"
    "(under G, else the same password) and is replaced only when every record was written; it\n"
    "cannot be A or B. Lines of A or B that hold no record are named, and nothing is written\n"
    "unless --skip-damaged is given.\n"
    "Exit status: 0 done, 2 usage error or no password, 3 wrong password, 4 file or data error.\n";
constexpr char kConflictMark[] = " (競合)";

bool SameFile(const std::string& a, const std::string& b) {
    if (a == b) return true;
    std::error_code error;
    return std::filesystem::equivalent(std::filesystem::path(a), std::filesystem::path(b), error) && !error;
}

long long Day(TDate date) {
    return static_cast<long long>(std::floor(date));
}

std::string Name(const TPassItem& item) {
    std::string name = "\"" + TerminalText(FullTitle(item)) + "\"";
    if (!item.UserID.empty()) name += " (" + TerminalText(item.UserID) + ")";
    return name;
}

// B's copy of a conflicting record under a title no record of the list holds yet; nothing when
// an earlier merge already kept this very copy.
std::optional<TPassItem> ConflictCopy(const TPassList& list, const TPassItem& item) {
    TPassItem copy = item;
    for (int n = 1;; ++n) {
        copy.Title = item.Title + kConflictMark;
        if (n > 1) copy.Title.insert(copy.Title.size() - 1, " " + std::to_string(n));
        const int at = list.IndexOfItem(copy);
        if (at < 0) return copy;
        if (FormatLine(list.Item(at)) == FormatLine(copy)) return std::nullopt;
    }
}

const Syntax kSyntax{"merge",
                     {{"password-file", true}, {"new-password-file", true}, {"skip-damaged", false}},
                     3,
                     "merge takes two data files and an output file",
                     kUsage};

}  // namespace

int RunMerge(Context& ctx, const std::vector<std::string>& args) {
    ParsedArgs parsed;
    if (const auto done = ParseCommandLine(ctx, args, kSyntax, parsed)) return *done;
    const std::string& a = parsed.operands[0];
    const std::string& b = parsed.operands[1];
    const std::string& out = parsed.operands[2];
    if (SameFile(out, a) || SameFile(out, b)) {
        return UsageFail(ctx, "the output file must not be one of the files merged", kUsage);
    }

    std::string password;
    if (const int code = ReadPassword(ctx, parsed.Value("password-file"), password)) return code;
    std::string newPassword = password;
    if (parsed.Has("new-password-file")) {
        if (const int code = ReadPassword(ctx, parsed.Value("new-password-file"), newPassword)) return code;
    }
    if (IsProtectedFileName(out) && newPassword.empty()) return MissingPassword(ctx, out, true);
    Catalogue merged(ctx);
    if (const int code = merged.Load(a, password)) return code;
    Catalogue other(ctx);
    if (const int code = other.Load(b, password)) return code;
    const bool skip = parsed.Has("skip-damaged");
    if ((merged.Damaged() || other.Damaged()) && !skip) {
        const std::string outcome = "nothing was written (--skip-damaged writes the other records)";
        merged.Finish(kExitOk, outcome);
        return other.Finish(kExitFileError, outcome);
    }

    TPassList& list = merged.List();
    const TPassList& incoming = other.List();
    const int fromA = list.Count();
    int added = 0;
    int replaced = 0;
    int keptA = 0;
    int doubled = 0;
    for (int i = 0; i < incoming.Count(); ++i) {
        const TPassItem& theirs = incoming.Item(i);
        const int at = list.IndexOfItem(theirs);
        if (at < 0) {
            list.AddItem(theirs);
            ++added;
            continue;
        }
        TPassItem& ours = list.Item(at);
        if (FormatLine(ours) == FormatLine(theirs)) continue;
        if (Day(theirs.LastDate) > Day(ours.LastDate)) {
            ctx.err << "replaced by the newer copy of " << b << ": " << Name(theirs) << '\n';
            ours = theirs;
            ++replaced;
        } else if (Day(theirs.LastDate) < Day(ours.LastDate)) {
            ctx.err << "kept the newer copy of " << a << ": " << Name(ours) << '\n';
            ++keptA;
        } else {
            const std::optional<TPassItem> copy = ConflictCopy(list, theirs);
            if (!copy) continue;
            ctx.err << "both kept, changed on the same day: " << Name(ours) << "; the copy of " << b << " as "
                    << Name(*copy) << '\n';
            list.AddItem(*copy);
            ++doubled;
        }
    }
    if (const int code = merged.Save(out, newPassword)) return code;
    merged.Finish(kExitOk, "the other records were merged");
    other.Finish(kExitOk, "the other records were merged");
    ctx.err << out << ": " << list.Count() << " records (" << fromA << " of " << a << ", " << added << " added from "
            << b << ", " << replaced << " replaced, " << keptA << " kept from " << a << ", " << doubled
            << " kept twice)\n";
    ctx.err.flush();
    return kExitOk;
}

}  // namespace torvane::cli
