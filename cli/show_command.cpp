// show: one record in full, as labelled lines.
#include <cstdlib>

#include "cli/commands.h"
#include "cli/record_json.h"

namespace torvane::cli {
namespace {

constexpr char kUsage[] =
    "usage: torvane-cli show [--json] [--reveal] [--password-file F] SELECTOR FILE\n"
    "Prints one record with its Japanese field names. SELECTOR is the record's position as dump\n"
    "lists it (from 1), or its folder path and title as \"Path\\Title\" (\"\\Title\" or \"Title\" for\n"
    "a record at the top). Password and answer show as ******** unless --reveal is given.\n"
    "Exit status: 0 done, 2 usage error, no password or no such record, 3 wrong password,\n"
    "4 file or data error.\n";

// Positions (from 0) of the records the selector names.
std::vector<int> Select(const TPassList& list, const std::string& selector) {
    std::vector<int> found;
    int position = 0;
    if (ParseCount(selector, position)) {
        if (position >= 1 && position <= list.Count()) found.push_back(position - 1);
        return found;
    }
    const std::string wanted = ArgumentText(selector);
    for (int i = 0; i < list.Count(); ++i) {
        const TPassItem& item = list.Item(i);
        const std::string full = Utf8Lossy(FullTitle(item));
        if (full == wanted || (item.Path.empty() && "\\" + full == wanted)) found.push_back(i);
    }
    return found;
}

void Line(std::string& text, const char* label, const std::string& value) {
    text += TerminalText(label);
    text += ": ";
    text += value;
    text += '\n';
}

std::string Price(int32_t price) {
    if (price == 0) return std::string();
    const std::string amount = std::to_string(std::llabs(price));
    return price < 0 ? "US$ " + amount : amount;
}

std::string Split(const TPassItem& item, uint16_t flag) {
    return (item.Flags & flag) ? TerminalText(" ('-'で分割)") : std::string();
}

std::string Memo(const std::string& memo) {
    std::string shown = TerminalText(memo, true);
    // Lines after the first are indented under the label.
    for (size_t at = shown.find('\n'); at != std::string::npos; at = shown.find('\n', at + 1)) {
        shown.insert(at + 1, "  ");
    }
    return shown;
}

std::string Text(const TPassItem& item, int position) {
    std::string t;
    Line(t, "番号", std::to_string(position + 1));
    Line(t, "カテゴリ", TerminalText(item.Path));
    Line(t, "タイトル", TerminalText(item.Title));
    Line(t, "種類", TerminalText(KindName(item.Kind)));
    Line(t, "登録名", TerminalText(item.UserID));
    Line(t, "パスワード", TerminalText(item.Passwd));
    Line(t, "シリアル", TerminalText(item.Serial) + Split(item, SerSplit));
    Line(t, "プロダクトキー", TerminalText(item.ProdKey) + Split(item, KeySplit));
    Line(t, "質問", TerminalText(item.Hint));
    Line(t, "答え", TerminalText(item.Answer));
    Line(t, "会社/作者名", TerminalText(item.Company));
    Line(t, "URL", TerminalText(item.URL));
    Line(t, "Mail", TerminalText(item.Mail));
    Line(t, "購入店", TerminalText(item.ShopName));
    Line(t, "金額", Price(item.Price));
    Line(t, "登録日", FormatDate(item.FirstDate));
    Line(t, "有効期限", (item.Flags & HasLimitDate) ? FormatDate(item.LimitDate) : TerminalText("なし"));
    Line(t, "最終更新日", FormatDate(item.LastDate));
    Line(t, "マクロ", TerminalText(item.Macro));
    Line(t, "メモ", Memo(item.Memo));
    return t;
}

const Syntax kSyntax{"show",
                     {{"json", false}, {"reveal", false}, {"password-file", true}},
                     2,
                     "show takes a selector and a data file",
                     kUsage};

}  // namespace

int RunShow(Context& ctx, const std::vector<std::string>& args) {
    ParsedArgs parsed;
    if (const auto done = ParseCommandLine(ctx, args, kSyntax, parsed)) return *done;

    std::string password;
    if (const int code = ReadPassword(ctx, parsed.Value("password-file"), password)) return code;
    Catalogue catalogue(ctx);
    if (const int code = catalogue.Load(parsed.operands[1], password)) return code;

    const TPassList& list = catalogue.List();
    const std::string& selector = parsed.operands[0];
    const std::vector<int> found = Select(list, selector);
    // The record asked for may be on a skipped line.
    if (found.empty()) return catalogue.Finish(Fail(ctx, kExitUsage, "no record " + ArgumentText(selector)));
    if (found.size() > 1) {
        std::string positions;
        for (int i : found) positions += (positions.empty() ? "" : ", ") + std::to_string(i + 1);
        return Fail(ctx, kExitUsage, ArgumentText(selector) + " names " + std::to_string(found.size()) +
                                         " records (" + positions + "); give the position instead");
    }
    const TPassItem& item = list.Item(found.front());
    const TPassItem shown = parsed.Has("reveal") ? item : Masked(item);
    if (!parsed.Has("json")) return catalogue.Finish(Emit(ctx, Text(shown, found.front())));
    std::string json;
    std::string badField;
    if (!AppendRecordJson(shown, json, badField)) {
        return Fail(ctx, kExitFileError, badField + " is not Shift_JIS text, so it has no UTF-8 form");
    }
    return catalogue.Finish(Emit(ctx, json + '\n'));
}

}  // namespace torvane::cli
