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

#include <cstdio>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // The dump is a data file with CR LF line ends of its own: no text-mode translation.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const std::vector<std::string> args(argv + 1, argv + argc);
#ifdef _WIN32
    // The reading commands print UTF-8; a console shows it only in its UTF-8 code page, which
    // the console keeps after we end, so the old one comes back.
    const UINT consolePage = GetConsoleOutputCP();
    const bool utf8Console = torvane::cli::PrintsUtf8(args) && consolePage != CP_UTF8 &&
                             GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_CHAR;
    if (utf8Console) SetConsoleOutputCP(CP_UTF8);
#endif
    const torvane::cli::EnvLookup env = [](const std::string& name) -> std::optional<std::string> {
        const char* value = std::getenv(name.c_str());
        if (!value) return std::nullopt;
        return std::string(value);
    };
    const int code = torvane::cli::Run(args, env, std::cout, std::cerr);
#ifdef _WIN32
    if (utf8Console) SetConsoleOutputCP(consolePage);
#endif
    return code;
}
