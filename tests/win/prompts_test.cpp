// The program's message boxes: caption by type, fixed button texts, the text as given.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/win/modal_helper.h"
#include "win/message_box.h"
#include "win/prompts_win.h"

namespace torvane::win {
namespace {

using wintest::ModalAnswerer;
using wintest::Reply;
using Buttons = std::vector<std::wstring>;

TEST(PromptsTest, CoreBoxesHaveTheirCaptionsAndOneOkButton) {
    WinPrompts prompts;
    ModalAnswerer answerer(
        {Reply::Press(L"警告", IDOK), Reply::Press(L"エラー", IDOK), Reply::Press(kApplicationTitle, IDOK)});
    prompts.Warning("C:\\データ\\ソフト.tvd\r\n暗号化されたファイルです！");
    prompts.Error("'abc' は整数ではありません");
    prompts.Plain("データが書き込めません!\r\nディスクがいっぱいです");
    ASSERT_TRUE(answerer.Done());
    // "ソ" ends in the byte 0x5C: the text must come through whole, not cut at a backslash.
    EXPECT_EQ(answerer.Seen(0).text, L"C:\\データ\\ソフト.tvd\r\n暗号化されたファイルです！");
    EXPECT_EQ(answerer.Seen(1).text, L"'abc' は整数ではありません");
    EXPECT_EQ(answerer.Seen(2).text, L"データが書き込めません!\r\nディスクがいっぱいです");
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(answerer.Seen(i).buttons, Buttons{L"OK"}) << i;
    EXPECT_TRUE(answerer.Unexpected().empty());
}

TEST(PromptsTest, ConfirmationAsksYesOrNo) {
    ModalAnswerer answerer({Reply::PressText(L"確認", L"はい(&Y)"), Reply::PressText(L"確認", L"いいえ(&N)")});
    EXPECT_TRUE(Confirm(nullptr, "ソフト 以下のデータは全て消えます！\r\nほんとにいい？"));
    EXPECT_FALSE(Confirm(nullptr, "x"));
    ASSERT_TRUE(answerer.Done());
    EXPECT_EQ(answerer.Seen(0).buttons, (Buttons{L"はい(&Y)", L"いいえ(&N)"}));
    EXPECT_EQ(answerer.Seen(0).text, L"ソフト 以下のデータは全て消えます！\r\nほんとにいい？");
}

TEST(PromptsTest, ResultsAreTheModalResults) {
    ModalAnswerer answerer({Reply::Press(L"情報", IDOK), Reply::Press(L"確認", IDCANCEL), Reply::Press(L"確認", IDNO),
                            Reply::Close(L"確認")});
    EXPECT_EQ(ShowMessageBox(nullptr, BoxType::Information, std::string("合計"), MB_OK), 1);
    EXPECT_EQ(ShowMessageBox(nullptr, BoxType::Confirmation, std::string("?"), MB_OKCANCEL), 2);
    EXPECT_EQ(ShowMessageBox(nullptr, BoxType::Confirmation, std::string("?"), MB_YESNOCANCEL), 7);
    EXPECT_EQ(ShowMessageBox(nullptr, BoxType::Confirmation, std::string("?"), MB_YESNOCANCEL), IDCANCEL);
    ASSERT_TRUE(answerer.Done());
    EXPECT_EQ(answerer.Seen(0).buttons, Buttons{L"OK"});
    EXPECT_EQ(answerer.Seen(1).buttons, (Buttons{L"OK", L"キャンセル"}));
    EXPECT_EQ(answerer.Seen(2).buttons, (Buttons{L"はい(&Y)", L"いいえ(&N)", L"キャンセル"}));
}

TEST(PromptsTest, BoxIsModalToTheGivenOwner) {
    const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    WinPrompts prompts(owner);
    HWND boxOwner = nullptr;
    bool ownerEnabled = true;
    ModalAnswerer answerer({Reply::Press(L"警告", IDOK).Then([&](HWND box) {
        boxOwner = GetWindow(box, GW_OWNER);
        ownerEnabled = IsWindowEnabled(owner);
    })});
    prompts.Warning("w");
    EXPECT_EQ(boxOwner, owner);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

TEST(PromptsTest, PasswordDialogComesFromThePrompts) {
    WinPrompts prompts;
    auto dialog = prompts.CreatePasswordDialog();
    ModalAnswerer answerer({Reply::Press(L"パスワードを入力してください", IDOK).Type(IDC_PASSFORM_PASSWD, L"pw")});
    std::string text;
    EXPECT_TRUE(dialog->Show("パスワードを入力してください", text));
    EXPECT_EQ(text, "pw");
}

}  // namespace
}  // namespace torvane::win
