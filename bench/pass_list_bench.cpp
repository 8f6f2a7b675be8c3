// Loading and saving the sample catalogue (bench/sample_catalogue.h), plain and protected.
// Plain figures are file bytes per second; protected figures are plaintext bytes (password and
// record line) per second, compared with OpenSSL's DES-ECB over the same bytes, which scripts/bench.sh measures in the same run (TORVANE_OPENSSL_DES_MBS, in
// 10^6 bytes per second, from CPU time like the figures here). The peak memory of a load is measured
// in a process of its own.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "bench/rate_reporter.h"
#include "bench/sample_catalogue.h"
#include "bench/silent_prompts.h"
#include "store/pass_list.h"
#include "store/text_file.h"

namespace torvane {
namespace {

using bench::kFolders;
using bench::kPassword;
using bench::kRecords;
constexpr double kProtectedGoal = 0.40;  // of OpenSSL's DES-ECB
constexpr double kPlainLoadGoal = 100;   // 10^6 bytes per second
constexpr double kPeakGoal = 150;        // 10^6 bytes

struct Files {
    std::string folder;
    std::string plain;
    std::string protect;
    std::string out;
    double plainBytes = 0;
    double plaintextBytes = 0;  // of the protected file: password and line, per record
};

const Files& BenchFiles() {
    static const Files files = [] {
        Files f;
        char pattern[] = "/tmp/torvane-bench-XXXXXX";
        f.folder = mkdtemp(pattern);
        f.plain = f.folder + "/data.csv";
        f.protect = f.folder + "/data.tvd";
        f.out = f.folder + "/out";
        PosixFileOps fileOps;
        f.plaintextBytes = bench::WriteSampleFiles(f.plain, f.protect, fileOps);
        std::FILE* file = std::fopen(f.plain.c_str(), "rb");
        std::fseek(file, 0, SEEK_END);
        f.plainBytes = static_cast<double>(std::ftell(file));
        std::fclose(file);
        return f;
    }();
    return files;
}

void Load(benchmark::State& state, bool encrypted) {
    const Files& f = BenchFiles();
    SilentPrompts prompts;
    ByteCollator collator;
    PosixFileOps fileOps;
    TPassList list(prompts, collator, fileOps);
    for (auto _ : state) {
        list.Encrypted = encrypted;
        list.Password = kPassword;
        if (list.LoadFromFile(encrypted ? f.protect : f.plain) != LoadResult::Loaded || list.Count() != kRecords) {
            state.SkipWithError("load failed");
        }
    }
    state.SetBytesProcessed(
        static_cast<int64_t>((encrypted ? f.plaintextBytes : f.plainBytes) * static_cast<double>(state.iterations())));
}

void Save(benchmark::State& state, bool encrypted) {
    const Files& f = BenchFiles();
    SilentPrompts prompts;
    ByteCollator collator;
    PosixFileOps fileOps;
    TPassList list(prompts, collator, fileOps);
    list.Encrypted = false;
    list.LoadFromFile(f.plain);
    list.Encrypted = encrypted;
    list.Password = kPassword;
    for (auto _ : state) {
        if (!list.SaveToFile(f.out)) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(
        static_cast<int64_t>((encrypted ? f.plaintextBytes : f.plainBytes) * static_cast<double>(state.iterations())));
}

void BM_LoadPlain(benchmark::State& state) {
    Load(state, false);
}
void BM_SavePlain(benchmark::State& state) {
    Save(state, false);
}
void BM_LoadProtected(benchmark::State& state) {
    Load(state, true);
}
void BM_SaveProtected(benchmark::State& state) {
    Save(state, true);
}

// Each is run five times and taken by the median, as the Windows build's timing under Wine is
// (bench/wine/list_io_timing.cpp), which compares itself with these.
constexpr int kRepetitions = 5;
BENCHMARK(BM_LoadPlain)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions)->ReportAggregatesOnly();
BENCHMARK(BM_SavePlain)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions)->ReportAggregatesOnly();
BENCHMARK(BM_LoadProtected)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions)->ReportAggregatesOnly();
// Its cipher runs on every processor: the time of the calling thread alone would flatter it.
BENCHMARK(BM_SaveProtected)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly();

// The child's side of the memory measurement: one load, then the peak resident size.
int MeasureLoad(const std::string& file) {
    SilentPrompts prompts;
    ByteCollator collator;
    PosixFileOps fileOps;
    TPassList list(prompts, collator, fileOps);
    list.Encrypted = file.size() > 4 && file.compare(file.size() - 4, 4, ".tvd") == 0;
    list.Password = kPassword;
    if (list.LoadFromFile(file) != LoadResult::Loaded) return 1;
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld\n", usage.ru_maxrss);  // kilobytes
    return 0;
}

// Peak resident size in 10^6 bytes of a fresh process that loads the file; negative on failure.
double PeakLoadMemory(const std::string& file) {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return -1;
    self[n] = '\0';
    const std::string command = std::string("'") + self + "' --peak-rss-load '" + file + "'";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    long kilobytes = -1;
    if (std::fscanf(pipe, "%ld", &kilobytes) != 1) kilobytes = -1;
    if (pclose(pipe) != 0 || kilobytes < 0) return -1;
    return static_cast<double>(kilobytes) * 1024 / 1e6;
}

void PrintSummary(const RateReporter& rates) {
    const Files& f = BenchFiles();
    const double openssl = OpenSslDesRate();
    std::printf("\nData file: %d records, %d folders, %.1f MB plain (%.0f bytes a record)\n", kRecords, kFolders,
                f.plainBytes / 1e6, f.plainBytes / kRecords);
    if (openssl > 0) {
        std::printf("OpenSSL DES-ECB: %.1f MB/s\n", openssl);
    } else {
        std::printf("OpenSSL DES-ECB: n/a (scripts/bench.sh sets TORVANE_OPENSSL_DES_MBS)\n");
    }
    const double plainLoad = rates.Find("BM_LoadPlain");
    std::printf("plain load       %8.1f MB/s  goal >= %.0f MB/s: %s\n", plainLoad, kPlainLoadGoal,
                plainLoad >= kPlainLoadGoal ? "met" : "NOT MET");
    std::printf("plain save       %8.1f MB/s\n", rates.Find("BM_SavePlain"));
    for (const char* name : {"BM_LoadProtected", "BM_SaveProtected"}) {
        const double mbs = rates.Find(name);
        const char* label = std::strcmp(name, "BM_LoadProtected") == 0 ? "protected load" : "protected save";
        if (openssl > 0) {
            const double ratio = mbs / openssl;
            std::printf("%-16s %8.1f MB/s  %.2f x OpenSSL DES-ECB, goal >= %.2f: %s\n", label, mbs, ratio,
                        kProtectedGoal, ratio >= kProtectedGoal ? "met" : "NOT MET");
        } else {
            std::printf("%-16s %8.1f MB/s  ratio to OpenSSL DES-ECB: n/a\n", label, mbs);
        }
    }
    for (const std::string& file : {f.plain, f.protect}) {
        const double peak = PeakLoadMemory(file);
        std::printf("peak memory, loading %s: %.1f MB  goal < %.0f MB: %s\n", file == f.plain ? "plain" : "protected",
                    peak, kPeakGoal, peak >= 0 && peak < kPeakGoal ? "met" : "NOT MET");
    }
}

// The wall-clock times for the Windows build's measurement under Wine, which compares itself
// with them (scripts/bench-wine.sh passes them on).
void ExportTimes(const RateReporter& rates) {
    const char* path = std::getenv("TORVANE_NATIVE_TIMES");
    if (!path) return;
    std::FILE* out = std::fopen(path, "w");
    if (!out) return;
    for (const char* name : {"BM_LoadPlain", "BM_SavePlain", "BM_LoadProtected", "BM_SaveProtected"}) {
        std::fprintf(out, "%s %.3f\n", name, rates.FindWallMs(name));
    }
    std::fclose(out);
}

void RemoveFiles() {
    const Files& f = BenchFiles();
    for (const std::string& file : {f.plain, f.protect, f.out}) std::remove(file.c_str());
    rmdir(f.folder.c_str());
}

}  // namespace
}  // namespace torvane

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--peak-rss-load") == 0) return torvane::MeasureLoad(argv[2]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    torvane::RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    torvane::PrintSummary(reporter);
    torvane::ExportTimes(reporter);
    torvane::RemoveFiles();
    return 0;
}
