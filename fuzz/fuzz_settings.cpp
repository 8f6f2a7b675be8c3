// Reads arbitrary bytes as a settings file and runs the program's settings life twice over it:
// nothing may crash, the second run must read what the first one wrote, and (once the values
// have settled) must write the file exactly as the first one did.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>

#include "settings/init_file.h"
#include "settings/init_param.h"

namespace {

using namespace torvane;

// Never freed, so that the exit handler that removes the file can still use it.
const std::string& FilePath() {
    static const std::string* path = [] {
        const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        auto* p = new std::string(std::string(dir) + "/torvane-fuzz-settings-" + std::to_string(getpid()) + ".ini");
        std::atexit([] { std::remove(FilePath().c_str()); });
        return p;
    }();
    return *path;
}

auto Values(const TInitParam& p) {
    return std::make_tuple(p.OpenDir, p.SaveDir, p.LastOpen, p.PropView, p.WindowHide, p.AddEnter, p.AlermDate,
                           p.KeyDelay, p.KeyPause, p.StartFor, p.StatusBar, p.LastNode, p.NotifyTop, p.ItemList);
}

std::string ReadAll(const std::string& path) {
    std::string content;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, got);
        std::fclose(file);
    }
    return content;
}

void WriteAll(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PosixFileOps fileOps;
    const std::string& path = FilePath();
    WriteAll(path, data, size);
    {
        // A name taken from the input itself, to reach odd matches (double-byte, empty, "=").
        const TInitFile file(path, fileOps);
        const std::vector<std::string>& lines = file.Lines();
        const std::string name = lines.empty() ? std::string() : lines.front().substr(0, lines.front().find('='));
        file.ReadInteger(name, 0);
        file.ReadBool(name, false);
        file.ReadString(name, "");
    }

    // Each holder writes the file when it goes, as at the end of a run.
    auto first = std::make_unique<TInitParam>(fileOps);
    first->LoadParams(path);
    auto read = Values(*first);
    first.reset();
    const std::string written = ReadAll(path);
    // ITEMLIST present but empty reads as empty and its line is dropped when written, so the
    // next run reads the default and writes that.
    const bool settled = !std::get<13>(read).empty();
    if (!settled) std::get<13>(read) = "UGDL";

    auto second = std::make_unique<TInitParam>(fileOps);
    second->LoadParams(path);
    if (Values(*second) != read) std::abort();
    second.reset();
    if (settled && ReadAll(path) != written) std::abort();
    return 0;
}
