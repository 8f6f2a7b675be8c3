// The torvane-cli users run (the optimised build beside this program) as whole processes on the
// sample catalogue (bench/sample_catalogue.h): a protected convert (load plain, save protected)
// and a protected dump, against `openssl enc -des-ecb` enciphering and deciphering the same
// plaintext bytes (password and line of every record) as processes too, in the same run.
// Goal: each at least 0.7 times OpenSSL's speed (OpenSSL's time over ours).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/rate_reporter.h"
#include "bench/sample_catalogue.h"
#include "store/pass_list.h"

namespace torvane {
namespace {

constexpr double kGoal = 0.7;
// A DES key in hex: OpenSSL enciphers with it directly, as the line cipher uses its own key.
constexpr char kOpenSslArgs[] = "-des-ecb -provider legacy -provider default -K 0123456789abcdef -nosalt";

struct Files {
    std::string folder;
    std::string plain;
    std::string protect;
    std::string out;
    std::string plaintext;  // the bytes the cipher handles, for OpenSSL
    std::string ciphertext;
    std::string cli;
    bool ok = false;
};

std::string Quote(const std::string& text) {
    return "'" + text + "'";
}

bool Shell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

const Files& BenchFiles() {
    static const Files files = [] {
        Files f;
        char pattern[] = "/tmp/torvane-cli-bench-XXXXXX";
        f.folder = mkdtemp(pattern);
        f.plain = f.folder + "/data.csv";
        f.protect = f.folder + "/data.tvd";
        f.out = f.folder + "/out.tvd";
        f.plaintext = f.folder + "/plaintext";
        f.ciphertext = f.folder + "/ciphertext";
        char self[4096];
        const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
        const std::string exe(self, n > 0 ? static_cast<size_t>(n) : 0);
        f.cli = exe.substr(0, exe.rfind('/') + 1) + "torvane-cli";
        PosixFileOps fileOps;
        if (bench::WriteSampleFiles(f.plain, f.protect, fileOps) <= 0) return f;
        // The plaintext of the protected file, as the cipher sees it.
        std::FILE* out = std::fopen(f.plaintext.c_str(), "wb");
        for (int i = 0; i < bench::kRecords; ++i) {
            const std::string text = bench::kPassword + FormatLine(bench::MakeRecord(i));
            std::fwrite(text.data(), 1, text.size(), out);
        }
        std::fclose(out);
        setenv("TORVANE_PASSWORD", bench::kPassword, 1);
        f.ok = access(f.cli.c_str(), X_OK) == 0 &&
               Shell("openssl enc " + std::string(kOpenSslArgs) + " -in " + Quote(f.plaintext) + " -out " +
                     Quote(f.ciphertext) + " 2>/dev/null");
        return f;
    }();
    return files;
}

void RunEach(benchmark::State& state, const std::string& command) {
    const Files& f = BenchFiles();
    if (!f.ok) {
        state.SkipWithError("no torvane-cli beside this program, or no openssl with DES");
        return;
    }
    for (auto _ : state) {
        if (!Shell(command)) state.SkipWithError(("failed: " + command).c_str());
    }
}

void BM_CliConvertProtected(benchmark::State& state) {
    const Files& f = BenchFiles();
    RunEach(state, Quote(f.cli) + " convert " + Quote(f.plain) + " " + Quote(f.out));
}
void BM_CliDumpProtected(benchmark::State& state) {
    const Files& f = BenchFiles();
    RunEach(state, Quote(f.cli) + " dump " + Quote(f.protect) + " >/dev/null");
}
void BM_OpenSslEncipher(benchmark::State& state) {
    const Files& f = BenchFiles();
    RunEach(state, "openssl enc " + std::string(kOpenSslArgs) + " -in " + Quote(f.plaintext) + " -out /dev/null");
}
void BM_OpenSslDecipher(benchmark::State& state) {
    const Files& f = BenchFiles();
    RunEach(state, "openssl enc -d " + std::string(kOpenSslArgs) + " -in " + Quote(f.ciphertext) + " -out /dev/null");
}

BENCHMARK(BM_CliConvertProtected)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_CliDumpProtected)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_OpenSslEncipher)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_OpenSslDecipher)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void PrintSummary(const RateReporter& times) {
    std::printf("\ntorvane-cli as a whole process (%s), %d records, against openssl enc -des-ecb on the same "
                "plaintext\n",
                BenchFiles().cli.c_str(), bench::kRecords);
    const struct {
        const char* label;
        const char* ours;
        const char* theirs;
    } pairs[] = {{"protected convert", "BM_CliConvertProtected", "BM_OpenSslEncipher"},
                 {"protected dump", "BM_CliDumpProtected", "BM_OpenSslDecipher"}};
    for (const auto& p : pairs) {
        const double ours = times.FindWallMs(p.ours);
        const double theirs = times.FindWallMs(p.theirs);
        if (ours <= 0 || theirs <= 0) {
            std::printf("%-18s n/a\n", p.label);
            continue;
        }
        const double ratio = theirs / ours;
        std::printf("%-18s %7.1f ms  openssl %7.1f ms  %.2fx OpenSSL's speed, goal >= %.2f: %s\n", p.label, ours,
                    theirs, ratio, kGoal, ratio >= kGoal ? "met" : "NOT MET");
    }
}

void RemoveFiles() {
    const Files& f = BenchFiles();
    for (const std::string& file : {f.plain, f.protect, f.out, f.plaintext, f.ciphertext}) std::remove(file.c_str());
    rmdir(f.folder.c_str());
}

}  // namespace
}  // namespace torvane

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    torvane::RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    torvane::PrintSummary(reporter);
    torvane::RemoveFiles();
    return 0;
}
