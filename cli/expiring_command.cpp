// expiring: records whose limit date has passed or falls within the warning days.
#include <algorithm>
#include <cmath>

#include "cli/commands.h"
#include "cli/record_json.h"
#include "settings/init_file.h"

namespace torvane::cli {
namespace {

constexpr char kUsage[] =
    "usage: torvane-cli expiring [--json] [--days N] [--password-file F] FILE\n"
    "Lists the records with a limit date that has passed or comes within N days, soonest first:\n"
    "limit date, days left (negative when past), path, title and kind, separated by tabs, or with\n"
    "--json one object a line. N defaults to ALERMDATE of the Torvane.ini beside FILE, else 7;\n"
    "as in the program, a limit date exactly N days ahead is not yet listed.\n"
    "Exit status: 0 none found, 1 some found, 2 usage error or no password, 3 wrong password,\n"
    "4 file or data error.\n";
constexpr int kDefaultDays = 7;
constexpr int kExitSomeFound = 1;

// The warning days of the program's settings file beside the data file.
int SettingsDays(Context& ctx, const std::string& file) {
    const size_t slash = file.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
    const TInitFile settings(folder + "Torvane.ini", ctx.fileOps);
    return settings.ReadInteger("ALERMDATE", kDefaultDays);
}

struct Due {
    int position;
    int daysLeft;
};

const Syntax kSyntax{
    "expiring", {{"json", false}, {"days", true}, {"password-file", true}}, 1, "expiring takes one data file", kUsage};

}  // namespace

int RunExpiring(Context& ctx, const std::vector<std::string>& args) {
    ParsedArgs parsed;
    if (const auto done = ParseCommandLine(ctx, args, kSyntax, parsed)) return *done;
    const std::string& file = parsed.operands[0];
    int days = 0;
    if (const auto value = parsed.Value("days")) {
        if (!ParseCount(*value, days)) return UsageFail(ctx, "--days takes a whole number of days, 0 or more", kUsage);
    }

    std::string password;
    if (const int code = ReadPassword(ctx, parsed.Value("password-file"), password)) return code;
    Catalogue catalogue(ctx);
    if (const int code = catalogue.Load(file, password)) return code;
    if (!parsed.Has("days")) days = SettingsDays(ctx, file);

    const TPassList& list = catalogue.List();
    const TDate today = Today();
    std::vector<Due> due;
    for (int i = 0; i < list.Count(); ++i) {
        const TPassItem& item = list.Item(i);
        if (ExpiryState(&item, days) == 0) continue;
        due.push_back({i, static_cast<int>(std::floor(item.LimitDate) - today)});
    }
    std::stable_sort(due.begin(), due.end(), [](const Due& a, const Due& b) { return a.daysLeft < b.daysLeft; });

    std::string text;
    std::string badField;
    for (const Due& d : due) {
        const TPassItem& item = list.Item(d.position);
        if (parsed.Has("json")) {
            std::string object;
            if (!AppendRecordJson(Masked(item), object, badField)) {
                return Fail(ctx, kExitFileError, "record " + std::to_string(d.position + 1) + ": " + badField +
                                                     " is not Shift_JIS text, so it has no UTF-8 form");
            }
            text += "{\"DaysLeft\":" + std::to_string(d.daysLeft) + ',' + object.substr(1);
        } else {
            text += FormatDate(item.LimitDate) + '\t' + std::to_string(d.daysLeft) + '\t' + TerminalText(item.Path) +
                    '\t' + TerminalText(item.Title) + '\t' + TerminalText(KindName(item.Kind));
        }
        text += '\n';
    }
    if (const int code = Emit(ctx, text)) return code;
    return catalogue.Finish(due.empty() ? kExitOk : kExitSomeFound, "the other records were checked");
}

}  // namespace torvane::cli
