#pragma once
// The link opener's text rules, apart from the conversation with the browser: which program
// the registry names as the browser, the DDE service it answers under, the address form sent
// to it and how its reply is judged. All text is Shift_JIS bytes.
#include <cstddef>
#include <string>

namespace torvane {

// The first item of a command line: a quoted path runs to the next quote (or line break, or the
// end); an unquoted one to the next blank, tab or line break. Leading blanks and breaks are skipped.
std::string ExtractExePath(const std::string& commandLine);

// The DDE service name of a browser: its file name up to the first "." ("C:\b\web.exe" is "web").
std::string DdeServiceName(const std::string& browserPath);

// The address as the browser gets it: the scheme in lower case ("http:" when none is given),
// then the host part "//host/" ("///" for a local file), then the rest unchanged.
// "HTTP://server/a.htm" -> "http://server/a.htm", "file:///C:/a.htm" unchanged,
// "server/page" -> "http://server/page", "http://server" -> "http://server/".
std::string NormalizeURL(const std::string& url);

// The item of the "WWW_OpenURL" request for an address: quoted normalised address, empty
// save-as field, any window, no flags, four empty fields.
std::string OpenURLItem(const std::string& url);

// True for a normalised address that only a web browser handles (http, https or ftp, with a
// host): the only kind handed to the shell, so a data file can never make the shell start a
// program.
bool IsWebAddress(const std::string& normalizedUrl);

// A web address made safe for the shell's command line: blanks, quotes and control characters
// are percent-encoded, so the address stays one argument of the program the shell starts.
std::string ShellSafeURL(const std::string& normalizedUrl);

// The browser's reply to "WWW_OpenURL", read as zero-terminated text. No data or empty text
// fails silently; a first byte 0xFF is the browser's error, named "Error %X%X%X%X" from the
// first four bytes (those after the first zero byte or past the end count as 0).
struct ReplyJudgement {
    bool succeeded = false;
    std::string errorText;  // set only for the browser's error
};
ReplyJudgement JudgeReply(const char* data, std::size_t size);

}  // namespace torvane
