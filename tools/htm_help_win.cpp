#include "tools/htm_help_win.h"

namespace torvane {

namespace {

constexpr char kViewerLibrary[] = "HHCtrl.OCX";
constexpr char kViewerEntry[] = "HtmlHelpA";
constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC

// The process's binding to the viewer: made before any window exists and released when the
// program ends.
class ViewerBinding {
public:
    ViewerBinding() { Bind(kViewerLibrary); }
    ~ViewerBinding() { Release(); }

    void Bind(const char* library) {
        Release();
        if (!library) return;
        module_ = LoadLibraryA(library);
        if (!module_) return;
        const FARPROC entry = GetProcAddress(module_, kViewerEntry);
        entry_ = reinterpret_cast<THtmHelp::ViewerEntry>(reinterpret_cast<void*>(entry));
    }
    void Release() {
        entry_ = nullptr;
        if (module_) FreeLibrary(module_);
        module_ = nullptr;
    }

    THtmHelp::ViewerEntry entry_ = nullptr;

private:
    HMODULE module_ = nullptr;
};

ViewerBinding viewer;

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void THtmHelp::SetFileName(const std::string& path) {
    fileName_ = path;
    enabled_ = !path.empty() && FileExists(path) && IsViewerLoaded();
}

// The ">" always separates the file from the window type, even when there is none; the topic is
// always a text, an empty one for the table of contents, never a null pointer.
void THtmHelp::ShowTopic(HWND caller, const std::string& topic) {
    const std::string file = fileName_ + ">" + WindowName;
    const std::string& shown = topic.empty() ? IndexFile : topic;
    CallViewer(caller, file, kDisplayTopic, reinterpret_cast<DWORD_PTR>(shown.c_str()));
}

void THtmHelp::CallViewer(HWND caller, const std::string& file, UINT command, DWORD_PTR data) {
    if (viewer.entry_) viewer.entry_(caller, file.c_str(), command, data);
}

bool THtmHelp::IsViewerLoaded() { return viewer.entry_ != nullptr; }

void THtmHelp::BindViewer(const char* library) { viewer.Bind(library); }

void THtmHelp::SetViewerEntry(ViewerEntry entry) { viewer.entry_ = entry; }

}  // namespace torvane
