// The help viewer link: the main window's help command follows the viewer and the help file,
// and the viewer is called as the help action does (the call itself is hooked). The program's
// folder has a Japanese name, so the English-system run shows that the path reaches the viewer
// whole.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/win/main_window_fixture.h"
#include "tools/htm_help_win.h"
#include "win/text.h"

namespace torvane {
namespace {

struct ViewerCall {
    int count = 0;
    HWND caller = reinterpret_cast<HWND>(1);
    std::wstring file;
    UINT command = 99;
    bool nullData = true;
    std::wstring topic;
};
ViewerCall lastCall;

HWND WINAPI HookedViewer(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data) {
    lastCall.count++;
    lastCall.caller = caller;
    lastCall.file = file;
    lastCall.command = command;
    lastCall.nullData = data == 0;
    if (data) lastCall.topic = reinterpret_cast<const wchar_t*>(data);
    return nullptr;
}

class HelpLinkTest : public wintest::MainWindowTest {
protected:
    void SetUp() override { lastCall = {}; }
    void TearDown() override {
        MainWindowTest::TearDown();
        THtmHelp::BindViewer("HHCtrl.OCX");
    }
    void AddHelpFile() { wintest::WriteBytes(folder_.File("Torvane.chm"), "ITSF"); }
};

TEST_F(HelpLinkTest, HelpCommandNeedsTheViewerAndTheFile) {
    struct Case {
        const char* viewer;
        bool file;
        bool enabled;
    };
    for (const Case& c : {Case{"HHCtrl.OCX", true, true}, Case{"HHCtrl.OCX", false, false},
                          Case{"no_such_viewer.ocx", true, false}, Case{nullptr, true, false}}) {
        SCOPED_TRACE(std::string(c.viewer ? c.viewer : "(none)") + (c.file ? " with file" : " without file"));
        THtmHelp::BindViewer(c.viewer);
        DeleteFileW(win::ToWide(folder_.File("Torvane.chm")).c_str());
        if (c.file) AddHelpFile();
        Start();
        EXPECT_EQ(c.enabled, Enabled(kCmdHelpAction));
        EXPECT_EQ(c.enabled, form_->HtmHelp().Enabled());
        EXPECT_NE(nullptr, form_->Handle());
        // Without the viewer the topic goes nowhere and nothing fails.
        form_->HtmHelp().ShowTopic(nullptr, "");
        MainWindowTest::TearDown();
    }
}

TEST_F(HelpLinkTest, HelpOpensTheFileBesideTheProgramWithAnEmptyTopic) {
    AddHelpFile();
    Start();
    THtmHelp::SetViewerEntry(HookedViewer);
    form_->HtmHelp().ShowTopic(nullptr, "");
    EXPECT_EQ(1, lastCall.count);
    EXPECT_EQ(nullptr, lastCall.caller);
    EXPECT_EQ(win::ToWide(folder_.File("Torvane.chm") + ">"), lastCall.file);
    EXPECT_EQ(0u, lastCall.command);
    EXPECT_FALSE(lastCall.nullData);
    EXPECT_EQ(L"", lastCall.topic);

    THtmHelp other;
    other.SetFileName(folder_.File("Torvane.chm"));
    other.WindowName = "main";
    other.IndexFile = "目次.htm";
    other.ShowTopic(Main(), "");
    EXPECT_EQ(win::ToWide(folder_.File("Torvane.chm") + ">main"), lastCall.file);
    EXPECT_EQ(L"目次.htm", lastCall.topic);
    other.ShowTopic(Main(), "macro.htm");
    EXPECT_EQ(Main(), lastCall.caller);
    EXPECT_EQ(L"macro.htm", lastCall.topic);
}

}  // namespace
}  // namespace torvane
