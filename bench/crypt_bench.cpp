// Throughput of the line cipher as the data file uses it: every line gets its own salt and so its
// own key schedule. Figures are plaintext bytes per second, compared with OpenSSL's DES-ECB
// measured in the same run by scripts/bench.sh (TORVANE_OPENSSL_DES_MBS, in 10^6 bytes per second).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "bench/rate_reporter.h"
#include "store/crypt.h"

namespace torvane {
namespace {

constexpr double kGoal = 0.5;  // at least half of OpenSSL's DES-ECB

// Plaintexts of a protected file: the password followed by a record line of about 150 bytes.
std::vector<std::string> TypicalLines() {
    const char* titles[] = {"ソフトウェア登録", "メール設定", "ネット銀行", "会員サイト"};
    const char* users[] = {"山田太郎", "suzuki.hanako", "佐藤一郎", "tanaka-2001"};
    std::vector<std::string> lines;
    for (int i = 0; i < 64; ++i) {
        std::string line = "pass" + std::to_string(i) + "ソフト\\登録," + titles[i % 4] + std::to_string(i) + "," +
                           std::to_string(i % 6) + "," + users[i % 4] + ",Pw" + std::to_string(i * 7919) +
                           ",ABCD-EFGH-" + std::to_string(1000 + i) + ",,質問,答え,株式会社テスト," +
                           "http://www.example.co.jp/,user@example.co.jp,37061,0,0,0,メモ";
        lines.push_back(std::move(line));
    }
    return lines;
}

// A record whose memo runs to 4 KB.
std::vector<std::string> MemoLines() {
    std::string memo;
    while (memo.size() < 4000) memo += "長いメモの行です。Serial no. 1234-5678, 連絡先 03-1234-5678\\n";
    return {"password,ソフト\\登録,メモの多い記録,0,user,pw,,,,,,,,37061,0,0,0," + memo.substr(0, 4000)};
}

void EncipherLines(benchmark::State& state, const std::vector<std::string>& lines) {
    TCrypt crypt;
    crypt.SetKey("password");
    size_t next = 0;
    int64_t bytes = 0;
    for (auto _ : state) {
        const std::string& text = lines[next];
        next = next + 1 == lines.size() ? 0 : next + 1;
        crypt.NewSalt();
        std::string line = crypt.Encipher(text);
        benchmark::DoNotOptimize(line.data());
        bytes += static_cast<int64_t>(text.size());
    }
    state.SetBytesProcessed(bytes);
}

void DecipherLines(benchmark::State& state, const std::vector<std::string>& texts) {
    TCrypt crypt;
    crypt.SetKey("password");
    std::vector<std::string> lines;
    for (const std::string& text : texts) {
        crypt.NewSalt();
        lines.push_back(crypt.Encipher(text));
    }
    size_t next = 0;
    int64_t bytes = 0;
    for (auto _ : state) {
        std::string text = crypt.Decipher(lines[next]);
        next = next + 1 == lines.size() ? 0 : next + 1;
        benchmark::DoNotOptimize(text.data());
        bytes += static_cast<int64_t>(text.size());
    }
    state.SetBytesProcessed(bytes);
}

void BM_EncipherRecordLine(benchmark::State& state) {
    EncipherLines(state, TypicalLines());
}
void BM_DecipherRecordLine(benchmark::State& state) {
    DecipherLines(state, TypicalLines());
}
void BM_EncipherMemoLine(benchmark::State& state) {
    EncipherLines(state, MemoLines());
}
void BM_DecipherMemoLine(benchmark::State& state) {
    DecipherLines(state, MemoLines());
}

BENCHMARK(BM_EncipherRecordLine);
BENCHMARK(BM_DecipherRecordLine);
BENCHMARK(BM_EncipherMemoLine);
BENCHMARK(BM_DecipherMemoLine);

void PrintSummary(const std::vector<std::pair<std::string, double>>& results) {
    const double openssl = OpenSslDesRate();
    if (openssl > 0) {
        std::printf("\nOpenSSL DES-ECB (openssl speed -evp des-ecb): %.1f MB/s\n", openssl);
    } else {
        std::printf("\nOpenSSL DES-ECB: not measured (scripts/bench.sh sets TORVANE_OPENSSL_DES_MBS)\n");
    }
    for (const auto& [name, mbs] : results) {
        if (openssl > 0) {
            const double ratio = mbs / openssl;
            std::printf("%-28s %8.1f MB/s  %.2f x OpenSSL DES-ECB  %s\n", name.c_str(), mbs, ratio,
                        ratio >= kGoal ? "(goal 0.50 met)" : "(BELOW goal 0.50)");
        } else {
            std::printf("%-28s %8.1f MB/s\n", name.c_str(), mbs);
        }
    }
}

}  // namespace
}  // namespace torvane

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    torvane::RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    torvane::PrintSummary(reporter.rates);
    return 0;
}
