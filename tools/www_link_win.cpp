#include "tools/www_link_win.h"

#include <shellapi.h>

#include <algorithm>

#include "tools/www_link.h"
#include "win/message_box.h"
#include "win/text.h"

namespace torvane {

namespace {

constexpr char kActivateTopic[] = "WWW_Activate";
constexpr char kOpenURLTopic[] = "WWW_OpenURL";
constexpr char kActivateItem[] = "0xFFFFFFFF,0x0";
constexpr char kCouldNotOpen[] = "Could not open link";
constexpr char kNotFoundTail[] = " not found. Please check the browser configuration under Options.";

HDDEDATA CALLBACK ClientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// The default value of a key under HKEY_CLASSES_ROOT; nothing when the key does not open. Read
// as UTF-16 and given back in Shift_JIS, so a browser in a Japanese folder is found on any
// system.
std::optional<std::string> ClassesValue(const std::string& subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, win::ToWide(subKey).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring value;
    DWORD type = 0;
    DWORD size = 0;  // in bytes
    if (RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && size > 0 &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        value.resize((size + 1) / sizeof(wchar_t));
        if (RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
            ERROR_SUCCESS) {
            size = 0;
        }
        value.resize(std::min<size_t>(value.size(), size / sizeof(wchar_t)));
        while (!value.empty() && value.back() == L'\0') value.pop_back();
    }
    RegCloseKey(key);
    return win::ToSjis(value);
}

// Asks the shell to open target (Shift_JIS) with the verb "open".
HINSTANCE ShellOpenTarget(HWND owner, const std::string& target, int show) {
    return ShellExecuteW(owner, L"open", win::ToWide(target).c_str(), nullptr, nullptr, show);
}

// Starts the program as WinExec does, returning once it waits for input (or after 30 seconds),
// but from a path in any code page.
bool StartProgram(const std::string& commandLine, int show) {
    std::wstring command = win::ToWide(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return false;
    }
    WaitForInputIdle(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// The hourglass for one attempt; the cursor that was there comes back however the attempt ends.
class HourGlass {
public:
    HourGlass() : previous_(SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)))) {}
    ~HourGlass() { SetCursor(previous_ ? previous_ : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW))); }
    HourGlass(const HourGlass&) = delete;
    HourGlass& operator=(const HourGlass&) = delete;

private:
    HCURSOR previous_;
};

class StringHandle {
public:
    StringHandle(DWORD instance, const std::string& text)
        : instance_(instance), handle_(DdeCreateStringHandleW(instance, win::ToWide(text).c_str(), CP_WINUNICODE)) {}
    ~StringHandle() {
        if (handle_) DdeFreeStringHandle(instance_, handle_);
    }
    StringHandle(const StringHandle&) = delete;
    StringHandle& operator=(const StringHandle&) = delete;
    HSZ Get() const { return handle_; }

private:
    DWORD instance_;
    HSZ handle_;
};

}  // namespace

TWWWLink::TWWWLink(HWND owner) : owner_(owner) {
    if (DdeInitializeW(&instance_, ClientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) instance_ = 0;
    FindBrowser();
}

TWWWLink::~TWWWLink() {
    CloseLink();
    if (instance_) DdeUninitialize(instance_);
}

void TWWWLink::FindBrowser() {
    BrowserPath.clear();
    const std::optional<std::string> type = ClassesValue(".htm");
    if (!type) return;
    const std::optional<std::string> verb = ClassesValue(*type + "\\shell\\");
    if (!verb) return;
    const std::optional<std::string> command = ClassesValue(*type + "\\shell\\" + *verb + "\\command\\");
    if (!command) return;
    BrowserPath = ExtractExePath(*command);
}

bool TWWWLink::BrowseURL(const std::string& url) {
    startedThisClick_ = false;
    if (BrowserPath.empty()) return ShellOpen(url, kCouldNotOpen);
    if (!ActivateBrowser()) return ShellOpen(url, BrowserPath + kNotFoundTail);

    bool succeeded = false;
    if (!OpenLink(DdeServiceName(BrowserPath), kOpenURLTopic)) {
        ShowError(kCouldNotOpen);
        return false;
    }
    const std::optional<std::string> reply = RequestItem(OpenURLItem(url));
    const ReplyJudgement judged = reply ? JudgeReply(reply->data(), reply->size()) : ReplyJudgement{};
    CloseLink();
    succeeded = judged.succeeded;
    if (!judged.errorText.empty()) ShowError(judged.errorText);
    return succeeded;
}

// One attempt: a browser that was started and still does not answer will not answer in time
// (today's browsers serve no DDE at all); starting it again would only open more windows.
bool TWWWLink::ActivateBrowser() {
    if (BrowserPath.empty()) return false;
    HourGlass wait;
    if (!OpenLink(DdeServiceName(BrowserPath), kActivateTopic)) return false;
    RequestItem(kActivateItem);
    CloseLink();
    return true;
}

std::optional<std::string> TWWWLink::RequestItem(const std::string& item) {
    if (!conversation_) return std::nullopt;
    HDDEDATA data = nullptr;
    {
        StringHandle itemHandle(instance_, item);
        data = DdeClientTransaction(nullptr, 0, conversation_, itemHandle.Get(), CF_TEXT, XTYP_REQUEST,
                                    static_cast<DWORD>(RequestTimeout), nullptr);
    }
    if (!data) return std::nullopt;
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::string text(size, '\0');
    if (size > 0) DdeGetData(data, reinterpret_cast<BYTE*>(text.data()), size, 0);
    DdeFreeDataHandle(data);
    return text;
}

bool TWWWLink::OpenLink(const std::string& service, const std::string& topic) {
    CloseLink();
    if (Connect(service, topic)) return true;
    if (startedThisClick_) return false;
    startedThisClick_ = true;
    // Returns once the browser waits for input (or has had its time), when a DDE server has
    // registered its service.
    const std::string command = "\"" + BrowserPath + "\"";
    if (!StartProgram(command, SW_SHOWMINNOACTIVE)) return false;
    return Connect(service, topic);
}

bool TWWWLink::Connect(const std::string& service, const std::string& topic) {
    if (!instance_) return false;
    StringHandle serviceHandle(instance_, service);
    StringHandle topicHandle(instance_, topic);
    conversation_ = DdeConnect(instance_, serviceHandle.Get(), topicHandle.Get(), nullptr);
    return conversation_ != nullptr;
}

void TWWWLink::CloseLink() {
    if (!conversation_) return;
    DdeDisconnect(conversation_);
    conversation_ = nullptr;
}

bool TWWWLink::ShellOpen(const std::string& url, const std::string& failureText) {
    const std::string address = NormalizeURL(url);
    if (!IsWebAddress(address)) {
        ShowError(kCouldNotOpen);
        return false;
    }
    const std::string safe = ShellSafeURL(address);
    HINSTANCE result = nullptr;
    {
        HourGlass wait;
        result = ShellOpenTarget(owner_, safe, SW_SHOWNORMAL);
    }
    if (reinterpret_cast<INT_PTR>(result) > 32) return true;
    ShowError(failureText);
    return false;
}

void TWWWLink::ShowError(const std::string& text) const {
    win::ShowError(owner_, text);
}

void OpenMailTo(HWND owner, const std::string& address) {
    // Blanks and quotes would end the argument of the mail program the shell starts.
    const std::string target = ShellSafeURL("mailto:" + address);
    ShellOpenTarget(owner, target, SW_SHOW);
}

}  // namespace torvane
