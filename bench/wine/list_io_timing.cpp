// The record list's load and save of the sample catalogue (bench/sample_catalogue.h), plain and
// protected, in the Windows build under Wine, against the native release build's wall-clock
// times of the same operations on the same bytes, measured in the same `make bench` run just
// before (scripts/bench-wine.sh passes them as TORVANE_NATIVE_TIMES). Goal: at most 1.5 times
// the native time. "--goal" measures only that part, which scripts/bench-wine.sh runs in rounds;
// "--information" only the rest.
//
// The native build has no Japanese collation and sorts by bytes, so the comparison with it is
// made with the same order: the Windows build's list given the byte comparison. The Japanese
// order the program uses costs the system's collation on top (CompareStringW, LCMapStringW);
// that is measured on a file saved in that order, as every file this program saves is, and
// printed beside the goal. The load is also taken apart (reading lines, parsing, sorting).
// Prints the figures (median of several runs); asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "bench/sample_catalogue.h"
#include "bench/silent_prompts.h"
#include "store/pass_list.h"
#include "store/text_file.h"
#include "win/platform_win.h"

namespace torvane {
namespace {

constexpr int kRuns = 5;
constexpr double kGoalRatio = 1.5;

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double MedianMs(const std::function<void()>& run) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const double start = NowMs();
        run();
        times.push_back(NowMs() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// "BM_LoadPlain=120.5,BM_SavePlain=..." from scripts/bench-wine.sh.
std::map<std::string, double> NativeTimes() {
    std::map<std::string, double> times;
    const char* given = std::getenv("TORVANE_NATIVE_TIMES");
    std::string text = given ? given : "";
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        const std::string item = text.substr(start, end - start);
        const size_t eq = item.find('=');
        if (eq != std::string::npos) times[item.substr(0, eq)] = std::atof(item.c_str() + eq + 1);
        start = end + 1;
    }
    return times;
}

void Report(const char* label, double ms, double native) {
    if (native > 0) {
        const double ratio = ms / native;
        std::printf("%-15s %8.1f ms  native %7.1f ms  %5.2fx, goal <= %.1fx: %s\n", label, ms, native, ratio,
                    kGoalRatio, ratio <= kGoalRatio ? "met" : "NOT MET");
    } else {
        std::printf("%-15s %8.1f ms  native: n/a (scripts/bench-wine.sh gives it)\n", label, ms);
    }
}

void Inform(const char* label, double ms, double native) {
    if (native > 0) {
        std::printf("%-15s %8.1f ms  native %7.1f ms  %5.2fx\n", label, ms, native, ms / native);
    } else {
        std::printf("%-15s %8.1f ms\n", label, ms);
    }
}

std::string TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    const std::string folder = std::string(base) + "torvane-io-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// What a run measures: everything, or one of the two parts (scripts/bench-wine.sh runs the goal's
// part in rounds, each beside a native run of its own, and the rest once).
enum class Part { All, Goal, Information };

void RemoveFiles(const std::string& folder, std::initializer_list<std::string> files) {
    for (const std::string& file : files) DeleteFileA(file.c_str());
    RemoveDirectoryA(folder.c_str());
}

int Main(Part part) {
    const std::string folder = TempFolder();
    const std::string plain = folder + "\\data.csv";
    const std::string protect = folder + "\\data.tvd";
    const std::string out = folder + "\\out";
    win::WinFileOps fileOps;
    win::LocaleCollator collator;
    SilentPrompts prompts;
    if (bench::WriteSampleFiles(plain, protect, fileOps) <= 0) {
        std::printf("cannot write the sample files in %s\n", folder.c_str());
        return 1;
    }
    const std::map<std::string, double> native = NativeTimes();
    auto nativeMs = [&](const char* name) {
        const auto it = native.find(name);
        return it == native.end() ? 0.0 : it->second;
    };

    ByteCollator byteOrder;
    TPassList list(prompts, byteOrder, fileOps);
    TPassList japanese(prompts, collator, fileOps);
    auto load = [&](TPassList& into, bool encrypted) {
        into.Encrypted = encrypted;
        into.Password = bench::kPassword;
        if (into.LoadFromFile(encrypted ? protect : plain) != LoadResult::Loaded || into.Count() != bench::kRecords) {
            std::printf("load failed\n");
            std::exit(1);
        }
    };
    auto save = [&](TPassList& from, bool encrypted, const std::string& to) {
        from.Encrypted = encrypted;
        from.Password = bench::kPassword;
        if (!from.SaveToFile(to)) std::exit(1);
    };

    if (part != Part::Information) {
        std::printf("Record list, %d records, Windows build under Wine (median of %d) against the native release build\n",
                    bench::kRecords, kRuns);
        std::printf("The same work (both sort by bytes):\n");
        Report("plain load", MedianMs([&] { load(list, false); }), nativeMs("BM_LoadPlain"));
        Report("plain save", MedianMs([&] { save(list, false, out); }), nativeMs("BM_SavePlain"));
        Report("protected load", MedianMs([&] { load(list, true); }), nativeMs("BM_LoadProtected"));
        Report("protected save", MedianMs([&] { save(list, true, out); }), nativeMs("BM_SaveProtected"));
    }
    if (part == Part::Goal) {
        RemoveFiles(folder, {plain, protect, out});
        return 0;
    }

    // The sample files in Japanese order, as this program saves them.
    load(japanese, false);
    save(japanese, false, plain);
    save(japanese, true, protect);
    std::printf("In Japanese order, as the program runs (no native counterpart; ratios for information):\n");
    Inform("plain load", MedianMs([&] { load(japanese, false); }), nativeMs("BM_LoadPlain"));
    Inform("plain save", MedianMs([&] { save(japanese, false, out); }), nativeMs("BM_SavePlain"));
    Inform("protected load", MedianMs([&] { load(japanese, true); }), nativeMs("BM_LoadProtected"));
    Inform("protected save", MedianMs([&] { save(japanese, true, out); }), nativeMs("BM_SaveProtected"));

    // Where a plain load goes.
    std::vector<std::string> lines;
    const double read = MedianMs([&] {
        lines.clear();
        std::FILE* file = std::fopen(plain.c_str(), "rb");
        TextLineReader reader(file);
        std::string line;
        while (reader.ReadLine(line)) lines.push_back(line);
        std::fclose(file);
    });
    // Records as the load puts them together: a memo's line breaks lie inside quotes.
    std::vector<std::string> records;
    for (const std::string& line : lines) {
        const bool open = !records.empty() && std::count(records.back().begin(), records.back().end(), '"') % 2 != 0;
        if (open) {
            records.back() += "\r\n" + line;
        } else {
            records.push_back(line);
        }
    }
    const double parse = MedianMs([&] {
        for (const std::string& record : records) {
            if (!ParseLine(record)) std::exit(1);
        }
    });
    const double sort = MedianMs([&] { japanese.Sort(); });
    std::printf("plain load, taken apart: reading lines %.1f ms, parsing %.1f ms, sorting a list in Japanese order already %.1f ms\n",
                read, parse, sort);

    RemoveFiles(folder, {plain, protect, out});
    return 0;
}

}  // namespace
}  // namespace torvane

int main(int argc, char** argv) {
    using torvane::Part;
    const std::string option = argc > 1 ? argv[1] : "";
    return torvane::Main(option == "--goal" ? Part::Goal : option == "--information" ? Part::Information : Part::All);
}
