// The window and dialog bases: binding, results, and exceptions stopped at the procedure.
#include "win/window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <vector>

#include "res/resource.h"
#include "tests/win/modal_helper.h"
#include "win/dialog.h"
#include "win/exceptions_win.h"

namespace torvane::win {
namespace {

using wintest::ModalAnswerer;
using wintest::Reply;

constexpr wchar_t kClass[] = L"TorvaneTestWindow";
constexpr UINT kThrow = WM_APP + 1;

class TestWindow : public Window {
public:
    std::vector<UINT> messages;
    bool gone = false;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(msg);
        switch (msg) {
            case kThrow:
                throw std::runtime_error("'abc' は整数ではありません");
            case WM_APP:
                return 42;
        }
        return Window::HandleMessage(msg, wParam, lParam);
    }
    void OnWindowGone() override { gone = true; }
};

TEST(WindowTest, ObjectGetsItsMessagesFromCreationToDestruction) {
    ASSERT_TRUE(Window::RegisterWindowClass(kClass));
    ASSERT_TRUE(Window::RegisterWindowClass(kClass));  // a second registration is harmless
    TestWindow window;
    const HWND hwnd = window.Create(kClass, L"test", WS_OVERLAPPEDWINDOW);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(window.Handle(), hwnd);
    EXPECT_EQ(window.messages.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(SendMessageW(hwnd, WM_APP, 0, 0), 42);
    window.Destroy();
    EXPECT_EQ(window.messages.back(), static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_TRUE(window.gone);
}

TEST(WindowTest, ExceptionInAHandlerShowsTheErrorBoxAndTheWindowGoesOn) {
    ASSERT_TRUE(Window::RegisterWindowClass(kClass));
    TestWindow window;
    const HWND hwnd = window.Create(kClass, L"test", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ModalAnswerer answerer({Reply::Press(L"エラー", IDOK)});
    EXPECT_EQ(SendMessageW(hwnd, kThrow, 0, 0), 0);
    ASSERT_TRUE(answerer.Done());
    EXPECT_EQ(answerer.Seen(0).text, L"'abc' は整数ではありません");
    EXPECT_EQ(answerer.Seen(0).buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(SendMessageW(hwnd, WM_APP, 0, 0), 42);
}

TEST(WindowTest, WindowIsDestroyedWithItsObject) {
    ASSERT_TRUE(Window::RegisterWindowClass(kClass));
    HWND hwnd = nullptr;
    {
        TestWindow window;
        hwnd = window.Create(kClass, L"test", WS_OVERLAPPEDWINDOW);
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(WindowTest, SetClientSizeGivesExactlyThatClientArea) {
    ASSERT_TRUE(Window::RegisterWindowClass(kClass));
    TestWindow window;
    window.Create(kClass, L"test", WS_OVERLAPPEDWINDOW);
    SetClientSize(window.Handle(), 239, 87);
    RECT client;
    GetClientRect(window.Handle(), &client);
    EXPECT_EQ(client.right, 239);
    EXPECT_EQ(client.bottom, 87);
}

// A dialog on the password dialog's template, to exercise the base alone.
class TestDialog : public Dialog {
public:
    TestDialog() : Dialog(IDD_PASSFORM) {}
    int okClicks = 0;
    bool throwOnOk = false;

protected:
    void OnOK() override {
        ++okClicks;
        if (throwOnOk) throw std::runtime_error("failed");
        End(IDNO);  // any result reaches the caller
    }
};

constexpr wchar_t kDialogCaption[] = L"パスワード入力";

TEST(DialogTest, ShowModalReturnsTheResultTheDialogEndedWith) {
    TestDialog dialog;
    ModalAnswerer answerer({Reply::Press(kDialogCaption, IDOK)});
    EXPECT_EQ(dialog.ShowModal(nullptr), IDNO);
    EXPECT_EQ(dialog.okClicks, 1);
    EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST(DialogTest, ExceptionInAHandlerShowsTheErrorBoxAndTheDialogStaysOpen) {
    TestDialog dialog;
    dialog.throwOnOk = true;
    bool openAfterError = false;
    ModalAnswerer answerer(
        {Reply::Press(kDialogCaption, IDOK), Reply::Press(L"エラー", IDOK),
         Reply::Press(kDialogCaption, IDCANCEL).Then([&](HWND hwnd) { openAfterError = IsWindow(hwnd); })});
    EXPECT_EQ(dialog.ShowModal(nullptr), IDCANCEL);
    ASSERT_TRUE(answerer.Done());
    EXPECT_EQ(answerer.Seen(1).text, L"failed");
    EXPECT_TRUE(openAfterError);
}

TEST(DialogTest, UnownedModalDialogDisablesTheThreadsWindowsWhileOpen) {
    ASSERT_TRUE(Window::RegisterWindowClass(kClass));
    TestWindow main;
    main.Create(kClass, L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    SetActiveWindow(main.Handle());
    bool enabledMeanwhile = true;
    TestDialog dialog;
    ModalAnswerer answerer({Reply::Press(kDialogCaption, IDCANCEL).Then([&](HWND) {
        enabledMeanwhile = IsWindowEnabled(main.Handle());
    })});
    EXPECT_EQ(dialog.ShowModal(nullptr), IDCANCEL);
    EXPECT_FALSE(enabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(main.Handle()));
    EXPECT_EQ(GetActiveWindow(), main.Handle());
}

TEST(DialogTest, ModelessDialogIsDestroyedByEnd) {
    TestDialog dialog;
    const HWND hwnd = dialog.Create(nullptr);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_FALSE(dialog.IsModal());
    dialog.End(IDOK);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST(GuardedTest, AnythingThrownEndsInTheErrorBox) {
    ModalAnswerer answerer({Reply::Press(L"エラー", IDOK)});
    EXPECT_FALSE(Guarded(nullptr, [] { throw 7; }));
    EXPECT_TRUE(Guarded(nullptr, [] {}));
    ASSERT_TRUE(answerer.Done());
    EXPECT_FALSE(answerer.Seen(0).text.empty());
}

}  // namespace
}  // namespace torvane::win
