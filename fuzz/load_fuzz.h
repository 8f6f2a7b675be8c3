#pragma once
// The whole load path of a data file, for the load fuzz targets: the input becomes a file on
// disk, the record list loads it with a password at hand, and whatever it read must save and
// load back to the same records.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "store/pass_list.h"
#include "tests/core/fixed_clock.h"
#include "tests/core/scripted_prompts.h"

namespace torvane::fuzz {

inline void Require(bool condition) {
    if (!condition) __builtin_trap();
}

// The folder of this process for the files of one input; in memory when the system has such a
// file system, where the flushes of every save cost nothing. Never destroyed, so the exit
// handler that removes it can still read its name.
inline const std::string& WorkFolder() {
    static const std::string* folder = [] {
        struct stat info;
        const std::string base = stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode) ? "/dev/shm" : "/tmp";
        auto* path = new std::string(base + "/torvane-fuzz-load-" + std::to_string(getpid()));
        mkdir(path->c_str(), 0700);
        std::atexit([] {
            if (DIR* dir = opendir(WorkFolder().c_str())) {
                while (const dirent* entry = readdir(dir)) {
                    if (entry->d_name[0] != '.') std::remove((WorkFolder() + "/" + entry->d_name).c_str());
                }
                closedir(dir);
            }
            rmdir(WorkFolder().c_str());
        });
        return path;
    }();
    return *folder;
}

inline std::string WorkFile(const char* name) {
    return WorkFolder() + "/" + name;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Require(file != nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

inline std::vector<std::string> Lines(const TPassList& list) {
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(FormatLine(list.Item(i)));
    return lines;
}

// Loads the file as the program does; when the load completes, a save and a second load must
// give the same records in the same order.
inline void LoadAndRoundTrip(const std::string& file, bool encrypted, const std::string& password) {
    // A whole day, so that an empty date taken from the clock writes and reads back unchanged.
    static FixedClock clock(40000);
    ScriptedPrompts prompts;
    ByteCollator collator;
    PosixFileOps fileOps;
    TPassList list(prompts, collator, fileOps);
    list.Encrypted = encrypted;
    list.Password = password;
    const LoadResult result = list.LoadFromFile(file);
    Require(prompts.dialogsCreated == 0);
    if (result != LoadResult::Loaded && result != LoadResult::Converted) {
        Require(prompts.shown.size() == 1);
        Require(result != LoadResult::WrongPassword || (list.Count() == 0 && list.Password.empty()));
        return;
    }
    Require(prompts.ShownNothing());
    const std::string copy = file + ".copy";
    Require(list.SaveToFile(copy));
    TPassList again(prompts, collator, fileOps);
    again.Encrypted = encrypted;
    again.Password = password;
    Require(again.LoadFromFile(copy) == LoadResult::Loaded);
    Require(Lines(again) == Lines(list));
    std::remove(copy.c_str());
}

}  // namespace torvane::fuzz
