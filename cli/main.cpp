// torvane-cli: the command line companion; see cli/cli.h.
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>

#include "win/text.h"
#endif
#ifdef __GLIBC__
#include <unistd.h>

#include <cstring>
#endif

namespace {

#ifdef __GLIBC__
// A data file of 100,000 records becomes some 100 MB of small heap blocks, and where touching a
// fresh 4 KB page is dear (virtual machines, above all) that costs more than the parsing and the
// cipher together. glibc backs its heap with huge pages only when told so as the process starts,
// so the tool starts itself once more with that setting; when it cannot, it goes on as it is.
// glibc also grows a heap by only 128 KB more than an allocation needs: a helper thread's heap
// then never spans a whole huge page and faults in 4 KB pages (a third of a convert's time),
// and the lists of lines and records, too big for such a heap, take fresh mappings of their own
// at every growth. Growing by 32 MB gives both huge pages; untouched memory costs nothing.
void StartWithHugePages(char** argv) {
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    if (tunables && std::strstr(tunables, "glibc.malloc.hugetlb")) return;
    const std::string before = tunables ? tunables : "";
    std::string value = (before.empty() ? "" : before + ":") + "glibc.malloc.hugetlb=1";
    if (!std::strstr(before.c_str(), "glibc.malloc.top_pad")) value += ":glibc.malloc.top_pad=33554432";
    if (setenv("GLIBC_TUNABLES", value.c_str(), 1) != 0) return;
    execv("/proc/self/exe", argv);
    if (tunables) {
        setenv("GLIBC_TUNABLES", before.c_str(), 1);
    } else {
        unsetenv("GLIBC_TUNABLES");
    }
}
#endif

#ifdef _WIN32
// The arguments and the environment in Shift_JIS, the text of the data files, whatever the
// system's code page: the C runtime gives them in the ANSI code page, which on most systems
// cannot hold a Japanese file name or password.
std::vector<std::string> Arguments() {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i) args.push_back(torvane::win::ToSjis(wide[i]));
    LocalFree(wide);
    return args;
}

std::optional<std::string> Environment(const std::string& name) {
    const wchar_t* value = _wgetenv(torvane::win::ToWide(name).c_str());
    if (!value) return std::nullopt;
    return torvane::win::ToSjis(value);
}
#else
std::optional<std::string> Environment(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (!value) return std::nullopt;
    return std::string(value);
}
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef __GLIBC__
    StartWithHugePages(argv);
#endif
#ifdef _WIN32
    // The dump is a data file with CR LF line ends of its own: no text-mode translation.
    _setmode(_fileno(stdout), _O_BINARY);
    (void)argc;
    (void)argv;
    const std::vector<std::string> args = Arguments();
#else
    const std::vector<std::string> args(argv + 1, argv + argc);
#endif
#ifdef _WIN32
    // The reading commands print UTF-8; a console shows it only in its UTF-8 code page, which
    // the console keeps after we end, so the old one comes back.
    const UINT consolePage = GetConsoleOutputCP();
    const bool utf8Console = torvane::cli::PrintsUtf8(args) && consolePage != CP_UTF8 &&
                             GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_CHAR;
    if (utf8Console) SetConsoleOutputCP(CP_UTF8);
#endif
    torvane::cli::LeaveRecordsToProcessEnd();
    const int code = torvane::cli::Run(args, Environment, std::cout, std::cerr);
#ifdef _WIN32
    if (utf8Console) SetConsoleOutputCP(consolePage);
#endif
    return code;
}
