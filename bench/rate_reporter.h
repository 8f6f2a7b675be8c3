#pragma once
// Throughput figures of a Google Benchmark run, kept for a summary printed after the table,
// and OpenSSL's DES-ECB throughput that scripts/bench.sh measures in the same run.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace torvane {

class RateReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // A benchmark run several times is taken by its median: one slow run on a shared
            // machine then moves no figure.
            const bool taken = run.run_type == Run::RT_Iteration ? run.repetitions <= 1 : run.aggregate_name == "median";
            if (!taken) continue;
            const auto rate = run.counters.find("bytes_per_second");
            if (rate != run.counters.end()) rates.emplace_back(run.benchmark_name(), rate->second.value / 1e6);
            if (run.iterations > 0) {
                wallMs.emplace_back(run.benchmark_name(),
                                    run.real_accumulated_time * 1e3 / static_cast<double>(run.iterations));
            }
        }
    }
    // The first rate whose benchmark name (with its options) starts with prefix; 0 when none.
    double Find(const std::string& prefix) const {
        for (const auto& [name, value] : rates) {
            if (name.compare(0, prefix.size(), prefix) == 0) return value;
        }
        return 0;
    }
    // The first wall-clock time per iteration, in milliseconds, like Find; 0 when none.
    double FindWallMs(const std::string& prefix) const {
        for (const auto& [name, value] : wallMs) {
            if (name.compare(0, prefix.size(), prefix) == 0) return value;
        }
        return 0;
    }
    std::vector<std::pair<std::string, double>> rates;   // in run order, 10^6 bytes per second
    std::vector<std::pair<std::string, double>> wallMs;  // in run order, milliseconds per iteration
};

// 10^6 bytes per second; 0 when the benchmark runs outside scripts/bench.sh.
inline double OpenSslDesRate() {
    const char* given = std::getenv("TORVANE_OPENSSL_DES_MBS");
    return given ? std::atof(given) : 0;
}

}  // namespace torvane
