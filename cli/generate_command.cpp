// generate: passwords by the program's generator rules from the system's secure source.
#include "cli/commands.h"
#include "tools/pass_gen_rules.h"

namespace torvane::cli {
namespace {

constexpr char kUsage[] =
    "usage: torvane-cli generate [--length N] [--classes ULDS] [--count K]\n"
    "Prints K passwords (default 1) of N characters (8 to 32, default 12), drawn from the\n"
    "operating system's secure random source as the program's password generator draws them.\n"
    "--classes picks the characters: U upper-case letters, L lower-case letters, D digits,\n"
    "S the 32 ASCII symbols (default ULD). Every allowed character is equally likely.\n"
    "Exit status: 0 done, 2 usage error, 4 no random source.\n";
constexpr int kMaxCount = 10000;

const Syntax kSyntax{
    "generate", {{"length", true}, {"classes", true}, {"count", true}}, 0, "generate takes no operands", kUsage};

}  // namespace

int RunGenerate(Context& ctx, const std::vector<std::string>& args) {
    ParsedArgs parsed;
    if (const auto done = ParseCommandLine(ctx, args, kSyntax, parsed)) return *done;

    int length = kPassLengthDefault;
    if (const auto value = parsed.Value("length")) {
        if (!ParseCount(*value, length) || length < kPassLengthMin || length > kPassLengthMax) {
            return UsageFail(ctx,
                             "--length takes " + std::to_string(kPassLengthMin) + " to " +
                                 std::to_string(kPassLengthMax) + " characters",
                             kUsage);
        }
    }
    unsigned classes = kPassClassesDefault;
    if (const auto value = parsed.Value("classes")) {
        if (!ParsePassClasses(*value, classes)) {
            return UsageFail(ctx, "--classes takes one or more of the letters U, L, D and S", kUsage);
        }
    }
    int count = 1;
    if (const auto value = parsed.Value("count")) {
        if (!ParseCount(*value, count) || count < 1 || count > kMaxCount) {
            return UsageFail(ctx, "--count takes 1 to " + std::to_string(kMaxCount), kUsage);
        }
    }

    std::string text;
    std::string password;
    for (int i = 0; i < count; ++i) {
        if (GeneratePassword(classes, length, ctx.random, password) != PassGenResult::Ok) {
            return Fail(ctx, kExitFileError, "the system's secure random source failed");
        }
        text += password + '\n';
    }
    return Emit(ctx, text);
}

}  // namespace torvane::cli
