// The main window's map menu, menu texts and progress geometry.
#include "ui/logic/frame_model.h"

#include <gtest/gtest.h>

#include <set>

#include "ui/logic/command_ids.h"

namespace plovane {
namespace {

// Every command id and key appears once, so no two items answer the same command or key;
// only the drag modes are checkable.
TEST(FrameModel, MenuIdsAndKeysAreUniqueAndOnlyDragModesCheck) {
    std::set<int> ids;
    std::set<std::string> keys;
    std::vector<const MenuEntry*> pending;
    const std::vector<MenuEntry> bar = MainMenuBar();
    for (const MenuEntry& top : bar)
        pending.push_back(&top);
    while (!pending.empty()) {
        const MenuEntry& entry = *pending.back();
        pending.pop_back();
        for (const MenuEntry& child : entry.children)
            pending.push_back(&child);
        if (entry.kind != MenuEntry::Kind::kCommand)
            continue;
        SCOPED_TRACE(entry.text);
        EXPECT_TRUE(ids.insert(entry.id).second);
        if (!entry.shortcut.empty()) {
            EXPECT_TRUE(keys.insert(entry.shortcut).second);
        }
        EXPECT_EQ(entry.checkable,
                  entry.id == kCommandDragToZoom || entry.id == kCommandDragToMove);
    }
    EXPECT_GT(ids.size(), 20u);
}

TEST(FrameModel, MapOpenItemsKeepListOrderAndStopAtAThousand) {
    ASSERT_EQ(MapOpenItems({}).size(), 1u);
    EXPECT_FALSE(MapOpenItems({})[0].enabled);  // the greyed placeholder

    std::vector<MapListEntry> maps;
    for (int i = 0; i < 1200; ++i)
        maps.push_back({"/maps/" + std::to_string(i) + ".map", "Map " + std::to_string(i)});
    for (const auto& [count, expected] : {std::pair<size_t, size_t>{1000, 1000}, {1001, 1000}}) {
        SCOPED_TRACE(count);
        const std::vector<MenuEntry> items =
            MapOpenItems({maps.begin(), maps.begin() + static_cast<long>(count)});
        ASSERT_EQ(items.size(), expected);
        EXPECT_EQ(items.front().id, 12000);
        EXPECT_EQ(items.back().id, 12000 + static_cast<int>(expected) - 1);
        EXPECT_EQ(items.back().text, "Map " + std::to_string(expected - 1));
    }
}

TEST(FrameModel, PlainMenuTextDropsMnemonicsAndKeepsDoubledAmpersands) {
    EXPECT_EQ(PlainMenuText("Zoom &In"), "Zoom In");
    EXPECT_EQ(PlainMenuText("R&&D Maps"), "R&D Maps");
    EXPECT_EQ(PlainMenuText("&&&Open"), "&Open");
    EXPECT_EQ(PlainMenuText("trailing&"), "trailing");
}

TEST(FrameModel, ProgressIsClampedAndSplitsTheRightThird) {
    const PixelRect bar{0, 0, 300, 20};  // w = 100
    struct Case {
        int percent;
        int32_t split;  // where the done part ends
    };
    for (const Case c : {Case{-5, 197}, Case{50, 247}, Case{150, 297}}) {
        SCOPED_TRACE(c.percent);
        const ProgressLayout layout = LayoutProgress(bar, c.percent);
        EXPECT_EQ(layout.frame, (PixelRect{196, 5, 298, 18}));
        EXPECT_EQ(layout.done.Width() > 0, c.split > 197);
        EXPECT_EQ(layout.remaining.Width() > 0, c.split < 297);
        if (c.split > 197) {
            EXPECT_EQ(layout.done, (PixelRect{197, 6, c.split, 17}));
        }
        if (c.split < 297) {
            EXPECT_EQ(layout.remaining, (PixelRect{c.split, 6, 297, 17}));
        }
    }
}

}  // namespace
}  // namespace plovane
