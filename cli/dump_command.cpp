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
    if (!json) {
        // The lines are a plain data file, which a character 26 would cut short when read back.
        const int unstorable = list.FirstUnstorableItem(false);
        if (unstorable >= 0) {
            return Fail(ctx, kExitFileError,
                        file + ": " + RecordName(ctx, list, unstorable) +
                            " holds a character 26 (Ctrl+Z), which a plain data file cannot store; use --json");
        }
        // Nothing but the output itself can fail from here, so the lines go out a part at a time.
        int code = kExitOk;
        list.WritePlainText([&](const std::string& part) { return (code = Emit(ctx, part)) == kExitOk; });
        return code != kExitOk ? code : catalogue.Finish(kExitOk, "the other records were printed");
    }
    // All of it first: a record that has no UTF-8 form half-way must not leave half an export behind.
    std::string text;
    std::string badField;
    for (int i = 0; i < list.Count(); ++i) {
        if (!AppendRecordJson(list.Item(i), text, badField)) {
            return Fail(ctx, kExitFileError,
                        file + ": record " + std::to_string(i + 1) + ": " + badField +
                            " is not Shift_JIS text, so it has no UTF-8 form");
        }
        text += '\n';
    }
    if (const int code = Emit(ctx, text)) return code;
    return catalogue.Finish(kExitOk, "the other records were printed");
}

}  // namespace torvane::cli
