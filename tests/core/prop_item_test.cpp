// The property panel's rules: flags, macro names, drop-down histories, previews.
#include "editor/prop_item.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

TEST(PropItemTest, FlagsAreRebuiltFromTheThreeBoxes) {
    EXPECT_EQ(PanelFlags(false, false, false), 0);
    EXPECT_EQ(PanelFlags(true, false, false), 1);
    EXPECT_EQ(PanelFlags(false, true, false), 2);
    EXPECT_EQ(PanelFlags(true, true, true), 11);
}

TEST(PropItemTest, OwnMacroNamesFollowTheCommaList) {
    TPassItem item;
    item.Macro = "\"a b=%U\\t%P\",login=%U,\"x,y=1\"";
    EXPECT_EQ(OwnMacroNames(item), (std::vector<std::string>{"a b", "login", "x,y"}));
    item.Macro.clear();
    EXPECT_TRUE(OwnMacroNames(item).empty());
}

TEST(PropItemTest, HistoryTrimsReplacesByCaseAndKeepsTwenty) {
    EXPECT_EQ(TrimBlanks(" \t shop \r\n"), "shop");
    EXPECT_EQ(TrimBlanks("店 名"), "店 名");
    std::vector<std::string> history{"Alpha", "beta"};
    AddHistoryEntry(history, "BETA");
    EXPECT_EQ(history, (std::vector<std::string>{"BETA", "Alpha"}));
    for (int i = 0; i < 25; ++i) AddHistoryEntry(history, "v" + std::to_string(i));
    EXPECT_EQ(history.size(), kHistoryLimit);
    EXPECT_EQ(history.front(), "v24");
    EXPECT_EQ(history.back(), "v5");
    // Double-byte letters are not folded: full-width Ａ and ａ stay two entries.
    std::vector<std::string> wide;
    AddHistoryEntry(wide, "Ａ");
    AddHistoryEntry(wide, "ａ");
    EXPECT_EQ(wide.size(), 2u);
}

TEST(PropItemTest, PreviewIsCappedWithoutSplittingACharacter) {
    EXPECT_EQ(PreviewText("abc", 3), "abc");
    EXPECT_EQ(PreviewText("abcd", 3), "abc…");
    const std::string kanji = "あいう";  // two bytes each
    EXPECT_EQ(PreviewText(kanji, 3), "あ…");
    EXPECT_EQ(PreviewText(std::string(1 << 20, 'x')).size(), kPreviewLimit + std::string("…").size());
}

}  // namespace
}  // namespace torvane
