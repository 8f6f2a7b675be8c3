// A protected data file. Random bytes rarely decipher to anything, so the input's first byte
// chooses: the rest is the file as it is, or plaintext lines that are enciphered here (under
// the password, or under a longer one whose first part is the password) before the load.
#include "fuzz/load_fuzz.h"
#include "store/crypt.h"

namespace {

constexpr char kPassword[] = "fuzzpass";

std::string Encipher(const std::string& plaintextLines, const std::string& key) {
    torvane::TCrypt crypt;
    crypt.SetKey(key);
    crypt.Mode = torvane::TCrypt::kEncipher;
    std::string file;
    size_t start = 0;
    while (start <= plaintextLines.size()) {
        size_t end = plaintextLines.find('\n', start);
        if (end == std::string::npos) end = plaintextLines.size();
        file += crypt.Process(key + plaintextLines.substr(start, end - start));
        file += "\r\n";
        crypt.NewSalt();
        start = end + 1;
    }
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace torvane::fuzz;
    if (size == 0) return 0;
    static const std::string file = WorkFile("data.tvd");
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 3) {
        case 0:
            WriteFile(file, rest);
            break;
        case 1:
            WriteFile(file, Encipher(rest, kPassword));
            break;
        default:
            WriteFile(file, Encipher(rest, std::string(kPassword) + "x,"));
            break;
    }
    LoadAndRoundTrip(file, true, kPassword);
    return 0;
}
