// A web browser as the link opener knows it: a DDE server whose service name is its own file
// name up to the first ".", answering the topics "WWW_Activate" and "WWW_OpenURL". Every start
// and request is appended to "<service>.log" beside the program ("start|<show command>",
// "<topic>|<item>"). The reply to "WWW_OpenURL" is the bytes of "<service>.reply" beside the
// program when that file exists ("none" there: no data), else the byte 1. It ends on WM_CLOSE
// to its window (class "TorvaneDdeBrowser") or after two minutes.
#include <windows.h>
// After windows.h, which it needs.
#include <ddeml.h>

#include <cstdio>
#include <string>

namespace {

DWORD instance;
HSZ activateTopic;
HSZ openTopic;
std::wstring folder;  // UTF-16, so a Japanese folder works on any system
std::string service;  // ASCII, as the tests name the program

std::wstring Beside(const char* extension) {
    const std::string name = service + extension;
    return folder + std::wstring(name.begin(), name.end());
}

std::string ReadFileBytes(const std::wstring& path, bool& exists) {
    exists = false;
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return {};
    exists = true;
    std::string bytes;
    char buffer[256];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
    std::fclose(file);
    return bytes;
}

void Log(const std::string& line) {
    if (std::FILE* file = _wfopen(Beside(".log").c_str(), L"ab")) {
        std::fputs((line + "\n").c_str(), file);
        std::fclose(file);
    }
}

std::string StringOf(HSZ handle) {
    char text[1024] = {};
    DdeQueryStringA(instance, handle, text, sizeof text, CP_WINANSI);
    return text;
}

HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV, HSZ topic, HSZ item, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    switch (type) {
        case XTYP_CONNECT:
            return reinterpret_cast<HDDEDATA>(
                static_cast<ULONG_PTR>(DdeCmpStringHandles(topic, activateTopic) == 0 ||
                                       DdeCmpStringHandles(topic, openTopic) == 0));
        case XTYP_REQUEST: {
            Log(StringOf(topic) + "|" + StringOf(item));
            std::string reply = "\x01";
            if (DdeCmpStringHandles(topic, openTopic) == 0) {
                bool exists = false;
                const std::string configured = ReadFileBytes(Beside(".reply"), exists);
                if (exists && configured == "none") return nullptr;
                if (exists) reply = configured;
            }
            return DdeCreateDataHandle(instance, reinterpret_cast<BYTE*>(reply.data()),
                                       static_cast<DWORD>(reply.size()), 0, item, format, 0);
        }
    }
    return nullptr;
}

LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER || msg == WM_CLOSE) {
        DestroyWindow(wnd);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instanceHandle, HINSTANCE, LPSTR, int showCommand) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full = path;
    const size_t slash = full.find_last_of(L"\\/");
    folder = full.substr(0, slash + 1);
    const std::wstring name = full.substr(slash + 1);
    for (wchar_t c : name.substr(0, name.find(L'.'))) service += static_cast<char>(c);
    Log("start|" + std::to_string(showCommand));

    if (DdeInitializeA(&instance, Callback, APPCLASS_STANDARD | CBF_FAIL_POKES | CBF_FAIL_EXECUTES | CBF_SKIP_ALLNOTIFICATIONS,
                       0) != DMLERR_NO_ERROR) {
        return 1;
    }
    activateTopic = DdeCreateStringHandleA(instance, "WWW_Activate", CP_WINANSI);
    openTopic = DdeCreateStringHandleA(instance, "WWW_OpenURL", CP_WINANSI);
    const HSZ serviceName = DdeCreateStringHandleA(instance, service.c_str(), CP_WINANSI);
    DdeNameService(instance, serviceName, nullptr, DNS_REGISTER);

    WNDCLASSW wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instanceHandle;
    wc.lpszClassName = L"TorvaneDdeBrowser";
    RegisterClassW(&wc);
    const HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"dde browser", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     instanceHandle, nullptr);
    SetTimer(wnd, 1, 120000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);

    DdeNameService(instance, serviceName, nullptr, DNS_UNREGISTER);
    DdeFreeStringHandle(instance, serviceName);
    DdeFreeStringHandle(instance, activateTopic);
    DdeFreeStringHandle(instance, openTopic);
    DdeUninitialize(instance);
    return 0;
}
