#include <gtest/gtest.h>

#include "store/crypt.h"
#include "store/pass_list.h"
#include "store/random.h"
#include "tests/core/fixed_clock.h"
#include "tests/core/list_files.h"
#include "tests/core/scripted_prompts.h"

namespace torvane {
namespace {

// A protected save spread over every processor writes the bytes of a save line by line: the
// same lines in the same order, each with the salt drawn for it in line order.
TEST(PassListParallelTest, ProtectedSaveIsTheLineByLineFile) {
    const FixedClock clock(45000, TimeOfDay{10, 20, 30, 400}, TimeOfDay{1, 2, 3, 4});
    ScriptedPrompts prompts;
    ByteCollator collator;
    listtest::NativeFileOps fileOps;
    TPassList list(prompts, collator, fileOps);
    for (int i = 0; i < 20000; ++i) {
        TPassItem item;
        item.Path = "フォルダ" + std::to_string(i % 37);
        item.Title = "題名" + std::to_string(i);
        item.Memo = std::string(static_cast<size_t>(i % 50), 'm');
        list.AddItem(item);
    }
    list.Encrypted = true;
    list.Password = "secret";
    listtest::Folder folder;
    const std::string file = folder.File("a.tvd");
    ASSERT_TRUE(list.SaveToFile(file));
    const uint32_t stateAfterSave = RandomState();

    std::string expected;
    TCrypt crypt;
    crypt.SetKey("secret");
    crypt.Mode = TCrypt::kEncipher;
    for (int i = 0; i < list.Count(); ++i) {
        expected += crypt.Process("secret" + FormatLine(list.Item(i))) + "\r\n";
        crypt.NewSalt();
    }
    EXPECT_EQ(stateAfterSave, RandomState());
    EXPECT_TRUE(expected == listtest::ReadBytes(file));
}

}  // namespace
}  // namespace torvane
