#pragma once
// Opens the program's compiled help file in the system's HTML help viewer. The viewer is bound
// at run time, once for the whole process when it is first called, so the program starts and
// works without it; the help commands are disabled when the viewer or the help file is missing.
#include <windows.h>

#include <string>

namespace torvane {

class THtmHelp {
public:
    // The viewer's entry point, HtmlHelpW.
    using ViewerEntry = HWND(WINAPI*)(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data);

    // The path of the help file; Enabled is evaluated again here and only here.
    void SetFileName(const std::string& path);
    const std::string& FileName() const { return fileName_; }
    // True when the help file existed when it was set and the viewer is there (IsViewerAvailable).
    bool Enabled() const { return enabled_; }

    // Opens the help file at topic (IndexFile when topic is empty). Without the viewer it does
    // nothing.
    void ShowTopic(HWND caller, const std::string& topic);
    // file is Shift_JIS; data goes to the viewer as it is, so a text in it must be UTF-16.
    static void CallViewer(HWND caller, const std::string& file, UINT command, DWORD_PTR data);
    // Binds the viewer unless that was tried; true when its entry point is present.
    static bool IsViewerLoaded();
    // Without binding it: once bound, whether the entry point is present; before, whether the
    // viewer's library is where the system would load it from.
    static bool IsViewerAvailable();

    // Binds the viewer from another library, or none (nullptr), now; the program uses the
    // default one, bound when first called. For tests: a system without the viewer, and a hook in its place.
    static void BindViewer(const char* library);
    static void SetViewerEntry(ViewerEntry entry);

    std::string WindowName;  // a window type of the help file; none in this program
    std::string IndexFile;   // the topic shown when none is asked for; none in this program

private:
    std::string fileName_;
    bool enabled_ = false;
};

}  // namespace torvane
