// torvane-cli convert: a data file written again, plain or protected as the output's name says.
#include <string>

#include "cli/commands.h"
#include "store/sjis.h"

namespace torvane::cli {

namespace {
const Syntax kSyntax{
    "convert",
    {{"password-file", true, kFileName}, {"new-password-file", true, kFileName}, {"skip-damaged", false}},
    2,
    "convert takes an input and an output file",
    kGeneralUsage,
    true};
}  // namespace

int RunConvert(Context& ctx, const std::vector<std::string>& args) {
    ParsedArgs parsed;
    if (const auto done = ParseCommandLine(ctx, args, kSyntax, parsed)) return *done;
    const std::string& in = parsed.operands[0];
    const std::string& out = parsed.operands[1];
    std::string password;
    if (const int code = ReadPassword(ctx, parsed.Value("password-file"), password)) return code;
    std::string newPassword = password;
    if (parsed.Has("new-password-file")) {
        if (const int code = ReadPassword(ctx, parsed.Value("new-password-file"), newPassword)) return code;
    }
    // Both passwords are asked for before anything is read.
    if (IsProtectedFileName(in) && password.empty()) return MissingPassword(ctx, in, false);
    const bool protectedOut = IsProtectedFileName(out);
    if (protectedOut && newPassword.empty()) return MissingPassword(ctx, out, true);
    Catalogue catalogue(ctx);
    if (const int code = catalogue.Load(in, password)) return code;
    if (catalogue.Damaged() && !parsed.Has("skip-damaged")) {
        return catalogue.Finish(kExitFileError, "nothing was written (--skip-damaged writes the other records)");
    }

    const TPassList& list = catalogue.List();
    const int unstorable = list.FirstUnstorableItem(protectedOut);
    if (unstorable >= 0) {
        return Fail(ctx, kExitFileError,
                    out + ": " + RecordName(ctx, list, unstorable) +
                        (protectedOut ? " holds a character 0 (NUL), which a protected data file cannot store; "
                                        "remove it, or convert to a plain file instead"
                                      : " holds a character 26 (Ctrl+Z), which a plain data file cannot store; "
                                        "convert to a .tvd file instead"));
    }
    if (const int code = catalogue.Save(out, newPassword)) return code;
    // Told to skip them: the skipped lines are named, and the conversion has done its work.
    catalogue.Finish(kExitOk, "the other records were written");
    return kExitOk;
}

}  // namespace torvane::cli
