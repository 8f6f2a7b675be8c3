#include "tools/htm_help_win.h"

#include "win/platform_win.h"
#include "win/text.h"

namespace torvane {

namespace {

constexpr char kViewerLibrary[] = "HHCtrl.OCX";
// The Unicode entry: the help file's path and the topic are Shift_JIS, converted with code page
// 932 here, so a Japanese folder works whatever the system's code page.
constexpr char kViewerEntry[] = "HtmlHelpW";
constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC

// The process's binding to the viewer, made when the viewer is first called: loading it (and the
// OLE libraries it brings) at start would delay the main window for a viewer most runs never
// use. Released when the program ends.
class ViewerBinding {
public:
    ~ViewerBinding() { Release(); }

    void Bind(const char* library) {
        Release();
        tried_ = true;
        if (!library) return;
        module_ = LoadLibraryA(library);
        if (!module_) return;
        const FARPROC entry = GetProcAddress(module_, kViewerEntry);
        entry_ = reinterpret_cast<THtmHelp::ViewerEntry>(reinterpret_cast<void*>(entry));
    }
    void SetEntry(THtmHelp::ViewerEntry entry) {
        tried_ = true;
        entry_ = entry;
    }
    THtmHelp::ViewerEntry Entry() {
        if (!tried_) Bind(kViewerLibrary);
        return entry_;
    }
    // Before the first call, whether the system would find the viewer's library to load.
    bool Available() const {
        if (tried_) return entry_ != nullptr;
        return SearchPathA(nullptr, kViewerLibrary, nullptr, 0, nullptr, nullptr) > 0;
    }

private:
    void Release() {
        entry_ = nullptr;
        if (module_) FreeLibrary(module_);
        module_ = nullptr;
    }

    bool tried_ = false;
    THtmHelp::ViewerEntry entry_ = nullptr;
    HMODULE module_ = nullptr;
};

ViewerBinding viewer;

}  // namespace

void THtmHelp::SetFileName(const std::string& path) {
    fileName_ = path;
    enabled_ = !path.empty() && win::WinFileOps().FileExists(path) && IsViewerAvailable();
}

// The ">" always separates the file from the window type, even when there is none; the topic is
// always a text, an empty one for the table of contents, never a null pointer.
void THtmHelp::ShowTopic(HWND caller, const std::string& topic) {
    const std::string file = fileName_ + ">" + WindowName;
    const std::wstring shown = win::ToWide(topic.empty() ? IndexFile : topic);
    CallViewer(caller, file, kDisplayTopic, reinterpret_cast<DWORD_PTR>(shown.c_str()));
}

void THtmHelp::CallViewer(HWND caller, const std::string& file, UINT command, DWORD_PTR data) {
    if (const ViewerEntry entry = viewer.Entry()) entry(caller, win::ToWide(file).c_str(), command, data);
}

bool THtmHelp::IsViewerLoaded() { return viewer.Entry() != nullptr; }

bool THtmHelp::IsViewerAvailable() { return viewer.Available(); }

void THtmHelp::BindViewer(const char* library) { viewer.Bind(library); }

void THtmHelp::SetViewerEntry(ViewerEntry entry) { viewer.SetEntry(entry); }

}  // namespace torvane
