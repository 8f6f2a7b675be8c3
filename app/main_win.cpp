// The program entry: one instance per log-on, the application window and the main window, and
// the settings written once the main window has closed.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "app/app_window_win.h"
#include "app/main_form_win.h"
#include "app/single_instance_win.h"
#include "app/startup_trace_win.h"
#include "settings/init_param.h"
#include "tools/about_dialog_win.h"
#include "win/exceptions_win.h"
#include "win/platform_win.h"

namespace {

constexpr char kMutexName[] = "mx_Dexmar_Torvane";
constexpr wchar_t kApplicationTitle[] = L"Torvane";

int RunMessageLoop(torvane::TMainForm& form) {
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) break;
        if (form.PreTranslateMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace torvane;
    StartupMark("process");
    // The settings holder outlives every window: it writes the settings file when it goes, at
    // the very end of the run. A second instance never loads it, so it writes nothing.
    win::WinFileOps fileOps;
    TInitParam params(fileOps);
    if (CheckPrevInstance(kMutexName)) return 0;

    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    int exitCode = 0;
    win::Guarded(nullptr, [&] {
        AppWindow app;
        if (!app.Create(kApplicationTitle)) return;
        TMainForm form(params, app, ProgramPath());
        form.OnClosed = [] { PostQuitMessage(0); };
        if (!form.CreateForm()) return;
        exitCode = RunMessageLoop(form);
    });
    return exitCode;
}
