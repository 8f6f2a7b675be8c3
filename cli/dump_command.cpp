// torvane-cli dump: a data file's records as the lines of a plain data file, or as JSON.
#include <string>

#include "cli/commands.h"
#include "cli/record_json.h"
#include "store/text_file.h"

namespace torvane::cli {

std::string RecordName(Context& ctx, const TPassList& list, int index) {
    std::string title = list.Item(index).Title;
    for (char& c : title) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    }
    return "record " + std::to_string(index + 1) + " (\"" + ctx.text(title) + "\")";
}

namespace {
const Syntax kSyntax{
    "dump", {{"json", false}, {"password-file", true, kFileName}}, 1, "dump takes one data file", kGeneralUsage, true};
}  // namespace

int RunDump(Context& ctx, const std::vector<std::string>& args) {
    ParsedArgs parsed;
    if (const auto done = ParseCommandLine(ctx, args, kSyntax, parsed)) return *done;
    const std::string& file = parsed.operands[0];
    const bool json = parsed.Has("json");
    std::string password;
    if (const int code = ReadPassword(ctx, parsed.Value("password-file"), password)) return code;
    Catalogue catalogue(ctx);
    if (const int code = catalogue.Load(file, password)) return code;
    const TPassList& list = catalogue.List();
    // The lines are a plain data file, which a character 26 would cut short when read back.
    if (!json) {
        const int unstorable = list.FirstUnstorableItem(false);
        if (unstorable >= 0) {
            return Fail(ctx, kExitFileError,
                        file + ": " + RecordName(ctx, list, unstorable) +
                            " holds a character 26 (Ctrl+Z), which a plain data file cannot store; use --json");
        }
    }

    // All of it first: a failure half-way must not leave half an export behind.
    std::vector<std::string> parts;
    if (!json) parts = list.PlainTextParts();
    std::string text;
    std::string badField;
    for (int i = 0; json && i < list.Count(); ++i) {
        if (!AppendRecordJson(list.Item(i), text, badField)) {
            return Fail(ctx, kExitFileError,
                        file + ": record " + std::to_string(i + 1) + ": " + badField +
                            " is not Shift_JIS text, so it has no UTF-8 form");
        }
        text += '\n';
    }
    if (json) parts.push_back(std::move(text));
    for (const std::string& part : parts) {
        if (const int code = Emit(ctx, part)) return code;
    }
    return catalogue.Finish(kExitOk, "the other records were printed");
}

}  // namespace torvane::cli
