#include <windows.h>

#include <gtest/gtest.h>

#include "tools/about_dialog_win.h"
#include "tools/tray_icon_win.h"

namespace torvane {
namespace {

class TrayIconTest : public testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowExW(0, L"STATIC", L"tray owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                 nullptr);
        ASSERT_NE(nullptr, owner_);
    }
    void TearDown() override { DestroyWindow(owner_); }

    HWND owner_ = nullptr;
};

TEST_F(TrayIconTest, StoresIconAndTipUntilAnOwnerExists) {
    TTrayIcon tray;
    tray.SetIcon("SLEEP", "Torvane");
    EXPECT_FALSE(tray.InTray());
    tray.SetOwnerWindow(owner_);
    EXPECT_FALSE(tray.InTray());
    tray.ShowInTray(true);
    EXPECT_TRUE(tray.InTray());
    EXPECT_EQ("SLEEP", tray.IconName());
    // Switching the image modifies the icon in place.
    tray.SetIcon("ACTIVE", "Torvane");
    EXPECT_TRUE(tray.NotifyShell(NIM_MODIFY));
    EXPECT_EQ("ACTIVE", tray.IconName());
}

TEST_F(TrayIconTest, DestroyingTheObjectRemovesTheIcon) {
    {
        TTrayIcon tray;
        tray.SetIcon("ACTIVE", "Torvane");
        tray.SetOwnerWindow(owner_);
        tray.ShowInTray(true);
        EXPECT_TRUE(tray.NotifyShell(NIM_MODIFY));
    }
    TTrayIcon after;
    after.SetOwnerWindow(owner_);
    EXPECT_FALSE(after.NotifyShell(NIM_MODIFY));
    after.SetOwnerWindow(nullptr);
}

TEST_F(TrayIconTest, LongTipIsCutOnACharacterBoundary) {
    TTrayIcon tray;
    std::string tip(62, 'a');
    tip += "ソフト";  // the first double-byte character would end at byte 64: it is left out
    tray.SetIcon("ACTIVE", tip);
    tray.SetOwnerWindow(owner_);
    EXPECT_TRUE(tray.NotifyShell(NIM_ADD));
    tray.ShowInTray(false);
    EXPECT_FALSE(tray.InTray());
}

TEST(AboutDialogTest, ReadsTheProgramsVersionResource) {
    TAboutDialog about;
    EXPECT_EQ("1.2.1.29", about.FileVersion);
    EXPECT_EQ("1.2.1", about.GetShortVersion());
    EXPECT_EQ("Torvane", about.ProductName);
    EXPECT_EQ("Torvane 登録情報管理ツール", about.FileDescription);
    EXPECT_EQ("Torvane", about.Caption);
    EXPECT_TRUE(about.TradeMarks.empty());
    // The resource writes its line break as backslash and n.
    EXPECT_NE(std::string::npos, about.Comments.find("\r\n"));
    EXPECT_EQ(std::string::npos, about.Comments.find("\\n"));
}

TEST(AboutDialogTest, KeepsTextsGivenBeforeReading) {
    TAboutDialog about;
    about.ProductName = "Other";
    about.ReadVersionInfo(ProgramPath());
    EXPECT_EQ("Other", about.ProductName);
}

TEST(AboutDialogTest, FileWithoutVersionResourceLeavesTextsEmpty) {
    TAboutDialog about;
    about.FileVersion.clear();
    about.ReadVersionInfo("C:\\no\\such\\file.exe");
    EXPECT_TRUE(about.FileVersion.empty());
}

}  // namespace
}  // namespace torvane
