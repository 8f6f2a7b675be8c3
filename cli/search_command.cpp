// search: records whose chosen text fields contain a pattern, compared in folded form.
#include <algorithm>
#include <cctype>

#include "cli/commands.h"
#include "cli/record_json.h"
#include "cli/search_fold.h"

namespace torvane::cli {
namespace {

constexpr char kUsage[] =
    "usage: torvane-cli search [--json] [--field NAME]... [--password-file F] PATTERN FILE\n"
    "Lists the records whose Title, Company, Path, URL, Mail, ShopName or Memo (or the fields\n"
    "named with --field) contain PATTERN: path, title, kind and user ID, separated by tabs, or\n"
    "with --json one record object a line. Letter case and full-width/half-width forms are\n"
    "ignored. Passwords and answers are never printed.\n"
    "Exit status: 0 done (also when nothing matched), 2 usage error or no password,\n"
    "3 wrong password, 4 file or data error.\n";

using Field = std::string TPassItem::*;

struct NamedField {
    const char* name;
    Field field;
};

constexpr NamedField kFields[] = {
    {"Path", &TPassItem::Path},       {"Title", &TPassItem::Title},       {"UserID", &TPassItem::UserID},
    {"Passwd", &TPassItem::Passwd},   {"Hint", &TPassItem::Hint},         {"Answer", &TPassItem::Answer},
    {"Company", &TPassItem::Company}, {"Serial", &TPassItem::Serial},     {"ProdKey", &TPassItem::ProdKey},
    {"ShopName", &TPassItem::ShopName}, {"URL", &TPassItem::URL},         {"Mail", &TPassItem::Mail},
    {"Macro", &TPassItem::Macro},     {"Memo", &TPassItem::Memo},
};
constexpr const char* kDefaultFields[] = {"Title", "Company", "Path", "URL", "Mail", "ShopName", "Memo"};

bool SameName(const std::string& a, const char* b) {
    const std::string other(b);
    return a.size() == other.size() && std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool FindField(const std::string& name, Field& field) {
    for (const NamedField& f : kFields) {
        if (SameName(name, f.name)) {
            field = f.field;
            return true;
        }
    }
    return false;
}

const Syntax kSyntax{"search",
                     {{"json", false}, {"field", true}, {"password-file", true}},
                     2,
                     "search takes a pattern and a data file",
                     kUsage};

}  // namespace

int RunSearch(Context& ctx, const std::vector<std::string>& args) {
    ParsedArgs parsed;
    if (const auto done = ParseCommandLine(ctx, args, kSyntax, parsed)) return *done;

    std::vector<Field> fields;
    std::vector<std::string> names = parsed.Values("field");
    if (names.empty()) names.assign(std::begin(kDefaultFields), std::end(kDefaultFields));
    for (const std::string& name : names) {
        Field field = nullptr;
        if (!FindField(name, field)) return UsageFail(ctx, "no text field named '" + name + "'", kUsage);
        fields.push_back(field);
    }

    std::string password;
    if (const int code = ReadPassword(ctx, parsed.Value("password-file"), password)) return code;
    Catalogue catalogue(ctx);
    if (const int code = catalogue.Load(parsed.operands[1], password)) return code;

    const std::u32string pattern = FoldForSearch(ArgumentText(parsed.operands[0]));
    const TPassList& list = catalogue.List();
    std::string text;
    std::string badField;
    for (int i = 0; i < list.Count(); ++i) {
        const TPassItem& item = list.Item(i);
        const bool match = std::any_of(fields.begin(), fields.end(), [&](Field field) {
            return FoldForSearch(Utf8Lossy(item.*field)).find(pattern) != std::u32string::npos;
        });
        if (!match) continue;
        if (parsed.Has("json")) {
            if (!AppendRecordJson(Masked(item), text, badField)) {
                return Fail(ctx, kExitFileError, "record " + std::to_string(i + 1) + ": " + badField +
                                                     " is not Shift_JIS text, so it has no UTF-8 form");
            }
        } else {
            text += TerminalText(item.Path) + '\t' + TerminalText(item.Title) + '\t' +
                    TerminalText(KindName(item.Kind)) + '\t' + TerminalText(item.UserID);
        }
        text += '\n';
    }
    return catalogue.Finish(Emit(ctx, text), "the other records were searched");
}

}  // namespace torvane::cli
