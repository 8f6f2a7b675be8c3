// A plain data file: line ends, character 26, records spanning lines, merges, comments, dates.
#include "fuzz/load_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace torvane::fuzz;
    static const std::string file = WorkFile("data.csv");
    WriteFile(file, std::string(reinterpret_cast<const char*>(data), size));
    LoadAndRoundTrip(file, false, "");
    return 0;
}
