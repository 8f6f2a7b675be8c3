// The about box, shown for real from the program's version resource.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "res/resource.h"
#include "tests/win/modal_helper.h"
#include "tests/win/screenshot.h"
#include "tools/about_dialog_win.h"

namespace torvane {
namespace {

using wintest::ModalAnswerer;
using wintest::Reply;

struct Shown {
    std::wstring product, version, copyright, comments;
    RECT window{};
    HWND owner = nullptr;
};

Shown ShowAndRead(const TAboutDialog& about, HWND mainWindow) {
    Shown shown;
    ModalAnswerer answerer({Reply::Press(L"Torvane の情報", IDOK).Then([&](HWND box) {
        shown.product = wintest::TextOf(GetDlgItem(box, IDC_ABOUT_PRODUCT));
        shown.version = wintest::TextOf(GetDlgItem(box, IDC_ABOUT_VERSION));
        shown.copyright = wintest::TextOf(GetDlgItem(box, IDC_ABOUT_COPYRIGHT));
        shown.comments = wintest::TextOf(GetDlgItem(box, IDC_ABOUT_COMMENTS));
        GetWindowRect(box, &shown.window);
        shown.owner = GetWindow(box, GW_OWNER);
        wintest::SaveScreenshot(box, "about_form");
    })});
    about.ShowAbout(mainWindow);
    EXPECT_TRUE(answerer.Done());
    return shown;
}

TEST(AboutFormTest, ShowsTheVersionResourceCentredOnTheScreen) {
    // A main window off the centre: the default placement ignores it.
    const HWND main = CreateWindowExW(0, L"STATIC", L"main", WS_POPUP | WS_VISIBLE, 10, 20, 300, 200, nullptr,
                                      nullptr, nullptr, nullptr);
    TAboutDialog about;
    const Shown shown = ShowAndRead(about, main);
    DestroyWindow(main);

    EXPECT_EQ(L"Torvane 登録情報管理ツール", shown.product);
    EXPECT_EQ(L"Torvane\r\nVersion. 1.2.1 (Build 29)", shown.version);
    EXPECT_NE(std::wstring::npos, shown.copyright.find(L"株式会社デクスマー"));
    // The resource writes its line break as a backslash and n.
    EXPECT_NE(std::wstring::npos, shown.comments.find(L"\r\n"));
    EXPECT_EQ(std::wstring::npos, shown.comments.find(L"\\n"));
    EXPECT_EQ(main, shown.owner);
    const int width = shown.window.right - shown.window.left, height = shown.window.bottom - shown.window.top;
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - width) / 2, shown.window.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - height) / 2, shown.window.top);
}

TEST(AboutFormTest, CornersKeepTwoPixelsFromTheFarEdges) {
    const SIZE box{301, 241}, screen{1024, 768};
    const RECT main{10, 20, 611, 421};
    struct Case {
        TAboutDialog::TPosition position;
        POINT expected;
    };
    for (const Case& c : {Case{TAboutDialog::spDefault, {361, 263}}, Case{TAboutDialog::spScreenCenter, {361, 263}},
                          Case{TAboutDialog::spFormCenter, {160, 100}}, Case{TAboutDialog::spTopLeft, {0, 0}},
                          Case{TAboutDialog::spTopRight, {721, 0}}, Case{TAboutDialog::spBottomLeft, {0, 525}},
                          Case{TAboutDialog::spBottomRight, {721, 525}}}) {
        const POINT origin = AboutBoxOrigin(c.position, box, screen, main);
        EXPECT_EQ(c.expected.x, origin.x) << c.position;
        EXPECT_EQ(c.expected.y, origin.y) << c.position;
    }
}

TEST(AboutFormTest, MissingVersionResourceShowsTheBareVersionLine) {
    TAboutDialog about;
    about.FileDescription = about.FileVersion = about.ProductName = about.Copyright = about.Comments = "";
    const Shown shown = ShowAndRead(about, nullptr);
    EXPECT_EQ(L"\r\nVersion (Build  )", shown.version);
    EXPECT_EQ(L"", shown.product);
}

}  // namespace
}  // namespace torvane
