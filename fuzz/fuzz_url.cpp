// Addresses and browser command lines from data files and the registry: the address sent to
// the browser is stable, only web addresses pass to the shell and stay one argument there, and
// the browser path is a piece of its command line.
#include <cstdint>
#include <string>

#include "tools/www_link.h"

namespace {

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const std::string sent = torvane::NormalizeURL(text);
    Require(torvane::NormalizeURL(sent) == sent);
    Require(sent.find("//") != std::string::npos);
    if (torvane::IsWebAddress(sent)) {
        const std::string safe = torvane::ShellSafeURL(sent);
        for (char c : safe) Require(static_cast<unsigned char>(c) > 0x20 && c != '"' && c != 0x7F);
    }

    const std::string path = torvane::ExtractExePath(text);
    Require(text.find(path) != std::string::npos);
    Require(path.find_first_of("\r\n") == std::string::npos);
    Require(torvane::DdeServiceName(path).find('.') == std::string::npos);

    const torvane::ReplyJudgement judged = torvane::JudgeReply(text.data(), text.size());
    Require(!(judged.succeeded && !judged.errorText.empty()));
    return 0;
}
