#include "tools/www_link.h"

#include <cctype>
#include <cstdio>

namespace torvane {

namespace {

bool IsBreak(char c) {
    return c == '\r' || c == '\n';
}

bool IsAsciiAlpha(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string AsciiLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// The length of a scheme name ending at the first ":" (letter, then letters, digits, "+-."),
// or 0. "host:8080" is a host and its port, not a scheme: a browser reads it so too.
size_t SchemeLength(const std::string& url) {
    if (url.empty() || !IsAsciiAlpha(url[0])) return 0;
    size_t i = 1;
    while (i < url.size() && (IsAsciiAlpha(url[i]) || IsAsciiDigit(url[i]) || url[i] == '+' || url[i] == '-' ||
                              url[i] == '.')) {
        ++i;
    }
    if (i >= url.size() || url[i] != ':') return 0;
    size_t port = i + 1;
    while (port < url.size() && IsAsciiDigit(url[port])) ++port;
    if (port > i + 1 && (port == url.size() || url[port] == '/')) return 0;
    return i;
}

}  // namespace

std::string ExtractExePath(const std::string& commandLine) {
    size_t i = 0;
    while (i < commandLine.size() && (commandLine[i] == ' ' || commandLine[i] == '\t' || IsBreak(commandLine[i]))) {
        ++i;
    }
    if (i < commandLine.size() && commandLine[i] == '"') {
        const size_t start = ++i;
        while (i < commandLine.size() && commandLine[i] != '"' && !IsBreak(commandLine[i])) ++i;
        return commandLine.substr(start, i - start);
    }
    const size_t start = i;
    while (i < commandLine.size() && commandLine[i] != ' ' && commandLine[i] != '\t' && !IsBreak(commandLine[i])) {
        ++i;
    }
    return commandLine.substr(start, i - start);
}

// A "\" that is the second byte of a double-byte character separates nothing.
std::string DdeServiceName(const std::string& browserPath) {
    size_t nameStart = 0;
    for (size_t i = 0; i < browserPath.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(browserPath[i]);
        if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
            ++i;
        } else if (c == '\\' || c == '/' || c == ':') {
            nameStart = i + 1;
        }
    }
    const std::string name = browserPath.substr(nameStart);
    return name.substr(0, name.find('.'));
}

// Built from the front of the address, so a "//" or "///" further inside (a path, a query)
// never decides the host.
std::string NormalizeURL(const std::string& url) {
    const size_t schemeLength = SchemeLength(url);
    const bool hasScheme = schemeLength > 0;
    const std::string scheme = hasScheme ? AsciiLower(url.substr(0, schemeLength + 1)) : "http:";
    std::string rest = hasScheme ? url.substr(schemeLength + 1) : url;

    if (rest.compare(0, 3, "///") == 0) return scheme + rest;
    const bool slashes = rest.compare(0, 2, "//") == 0;
    if (!slashes && hasScheme) return scheme + "///" + rest;  // "mailto:x" and the like
    if (slashes) rest.erase(0, 2);
    // The host runs to the path, the query or the fragment; a path always follows it.
    const size_t hostEnd = rest.find_first_of("/?#");
    if (hostEnd == std::string::npos) return scheme + "//" + rest + "/";
    const size_t pathStart = rest[hostEnd] == '/' ? hostEnd + 1 : hostEnd;
    return scheme + "//" + rest.substr(0, hostEnd) + "/" + rest.substr(pathStart);
}

std::string OpenURLItem(const std::string& url) {
    return "\"" + NormalizeURL(url) + "\",,0xFFFFFFFF,0x0,,,,";
}

// A web address also needs a host; a backslash makes it a Windows path in disguise.
bool IsWebAddress(const std::string& normalizedUrl) {
    for (const char* scheme : {"http://", "https://", "ftp://"}) {
        const size_t length = std::char_traits<char>::length(scheme);
        if (normalizedUrl.compare(0, length, scheme) != 0) continue;
        const std::string host = normalizedUrl.substr(length, normalizedUrl.find('/', length) - length);
        return !host.empty() && host.find('\\') == std::string::npos;
    }
    return false;
}

std::string ShellSafeURL(const std::string& normalizedUrl) {
    std::string safe;
    for (char c : normalizedUrl) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F || c == '"') {
            char encoded[4];
            std::snprintf(encoded, sizeof encoded, "%%%02X", byte);
            safe += encoded;
        } else {
            safe += c;
        }
    }
    return safe;
}

ReplyJudgement JudgeReply(const char* data, std::size_t size) {
    ReplyJudgement judgement;
    if (data == nullptr || size == 0 || data[0] == '\0') return judgement;
    if (static_cast<unsigned char>(data[0]) != 0xFF) {
        judgement.succeeded = true;
        return judgement;
    }
    unsigned bytes[4] = {};
    for (std::size_t i = 0; i < 4 && i < size && data[i] != '\0'; ++i) bytes[i] = static_cast<unsigned char>(data[i]);
    char text[32];
    std::snprintf(text, sizeof text, "Error %X%X%X%X", bytes[0], bytes[1], bytes[2], bytes[3]);
    judgement.errorText = text;
    return judgement;
}

}  // namespace torvane
