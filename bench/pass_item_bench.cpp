// Record lines as a load and a save of a large data file meet them: typical lines with
// Japanese text, a memo of a few lines and a macro list.
#include <benchmark/benchmark.h>

#include "store/pass_item.h"

namespace {

using namespace torvane;

TPassItem TypicalRecord() {
    TPassItem item;
    item.FirstDate = 37061;
    item.LastDate = 37300;
    item.LimitDate = 38000;
    item.Path = "ソフトウェア\\エディタ";
    item.Title = "テキストエディタ \"Pro\" 版";
    item.Kind = 0;
    item.UserID = "yamada.taro";
    item.Passwd = "p@ssw0rd";
    item.Company = "株式会社ソフト工房";
    item.Serial = "1234-5678-9012";
    item.ProdKey = "ABCDE-FGHIJ-KLMNO";
    item.Price = 4800;
    item.ShopName = "オンラインストア";
    item.Flags = KeySplit | HasLimitDate;
    item.URL = "http://www.example.co.jp/support/";
    item.Mail = "support@example.co.jp";
    item.Macro = "\"ログイン=%U\\t%P\\n\",シリアル=%S";
    item.Memo = "購入時のメモ。\r\n更新は年一回。\r\n";
    return item;
}

void BM_FormatLine(benchmark::State& state) {
    const TPassItem item = TypicalRecord();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string line = FormatLine(item);
        bytes += line.size();
        benchmark::DoNotOptimize(line);
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatLine);

void BM_ParseLine(benchmark::State& state) {
    const std::string line = FormatLine(TypicalRecord());
    for (auto _ : state) {
        auto item = ParseLine(line);
        benchmark::DoNotOptimize(item);
    }
    state.SetBytesProcessed(static_cast<int64_t>(line.size() * state.iterations()));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseLine);

}  // namespace

BENCHMARK_MAIN();
