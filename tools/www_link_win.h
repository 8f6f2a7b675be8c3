#pragma once
// TWWWLink: shows a record's web address in the user's browser. The browser is the program the
// registry opens ".htm" files with, found once when the object is created; it is driven
// through its DDE topics "WWW_Activate" and "WWW_OpenURL" when it answers them. A browser that
// answers no DDE (every browser of today), or none registered, gets the address through the
// shell's "open" verb instead, for web addresses only. Failures are reported here, in error
// boxes; callers need not look at the result.
//
// Also OpenMailTo, the mail opener every caller shares.
#include <windows.h>
// After windows.h, which it needs.
#include <ddeml.h>

#include <optional>
#include <string>

namespace torvane {

class TWWWLink {
public:
    static constexpr int kRequestTimeout = 1000;  // milliseconds, per DDE request

    // owner: the window that the error boxes belong to.
    explicit TWWWLink(HWND owner);
    ~TWWWLink();
    TWWWLink(const TWWWLink&) = delete;
    TWWWLink& operator=(const TWWWLink&) = delete;

    // Fills BrowserPath from HKEY_CLASSES_ROOT: ".htm", its type's default verb, that verb's
    // command line. Empty when any of them is missing.
    void FindBrowser();
    // Shows the address (a record's URL as stored); true when the browser or the shell took it.
    bool BrowseURL(const std::string& url);
    // Makes sure the browser runs and answers DDE, starting it (minimised, not activated) at
    // most once; true when it answered.
    bool ActivateBrowser();
    // One request on the open conversation; nothing when none is open or no data came back.
    std::optional<std::string> RequestItem(const std::string& item);

    std::string BrowserPath;
    int RequestTimeout = kRequestTimeout;

private:
    // Connects to the service and topic; when that fails and the browser was not started yet
    // during this click, starts it and connects once more.
    bool OpenLink(const std::string& service, const std::string& topic);
    void CloseLink();
    bool Connect(const std::string& service, const std::string& topic);
    // The fallback: the shell opens a web address; anything else is refused. failureText is
    // the box shown when the shell fails.
    bool ShellOpen(const std::string& url, const std::string& failureText);
    void ShowError(const std::string& text) const;

    HWND owner_;
    DWORD instance_ = 0;
    HCONV conversation_ = nullptr;
    bool startedThisClick_ = false;
};

// Asks the shell to start a mail to the address: "mailto:" and the address unchanged, verb
// "open", shown normally. The outcome is not examined.
void OpenMailTo(HWND owner, const std::string& address);

}  // namespace torvane
