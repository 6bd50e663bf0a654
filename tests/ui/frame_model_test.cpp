// The main window's menus, toolbar, map menu and progress geometry as tables.
#include "ui/frame_model.h"

#include <gtest/gtest.h>

#include "ui/command_ids.h"

namespace plovane {
namespace {

struct Item {
    std::string menu;
    std::string text;
    int id;
    bool enabled;
    std::string shortcut;
};

// Every command of the menu bar in order, separators and submenus left out.
const std::vector<Item> kExpectedItems = {
    {"&Map", "Map List", 32773, false, ""},
    {"&Map", "Open &File...", 32840, true, "Ctrl+O"},
    {"&Map", "&Close", 0xE102, true, ""},
    {"&Map", "&Refresh Map List", 0x802C, true, ""},
    {"&Map", "&Simulate...", 0x8003, true, ""},
    {"&Map", "Replay &Log...", 0x80A0, true, ""},
    {"&Map", "E&xit", 0xE141, true, "Ctrl+Q"},
    {"&View", "&Refresh", 32798, true, "F5"},
    {"&View", "&Drag To Zoom", 32779, true, ""},
    {"&View", "Drag To &Move", 32780, true, ""},
    {"&View", "&Home", 32772, true, "Ctrl+H"},
    {"&View", "Zoom &Out", 32774, true, "Ctrl+-"},
    {"&View", "Zoom &In", 32775, true, "Ctrl++"},
    {"&View", "Op&tions...", 32783, true, ""},
    {"&List", "&Stations...", 0x8027, true, ""},
    {"&List", "&Messages...", 0x8028, true, ""},
    {"&Ops", "Send &Position", 0x809C, true, "F2"},
    {"&Ops", "Send &Status", 0x809D, true, ""},
    {"&Ops", "Send &Messages", 0x809E, true, ""},
    {"&Setup", "&Station...", 0x8021, true, ""},
    {"&Setup", "&Communications...", 0x8012, true, ""},
    {"&Setup", "S&ound...", 0x809F, true, ""},
    {"&Help", "&Help Topics", 0xE143, true, "F1"},
    {"&Help", "&About Plovane...", 0xE140, true, ""},
};

void Flatten(const std::string& menu, const std::vector<MenuEntry>& entries,
             std::vector<Item>& out) {
    for (const MenuEntry& entry : entries) {
        if (entry.kind == MenuEntry::Kind::kSubmenu) {
            Flatten(menu, entry.children, out);
        } else if (entry.kind == MenuEntry::Kind::kCommand) {
            out.push_back({menu, entry.text, entry.id, entry.enabled, entry.shortcut});
        }
    }
}

TEST(FrameModel, MenuBarHasEveryItemWithItsIdKeyAndState) {
    const std::vector<MenuEntry> bar = MainMenuBar();
    std::vector<std::string> titles;
    std::vector<Item> items;
    for (const MenuEntry& top : bar) {
        ASSERT_EQ(top.kind, MenuEntry::Kind::kSubmenu);
        titles.push_back(top.text);
        Flatten(top.text, top.children, items);
    }
    EXPECT_EQ(titles,
              (std::vector<std::string>{"&Map", "&View", "&List", "&Ops", "&Setup", "&Help"}));
    ASSERT_EQ(items.size(), kExpectedItems.size());
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(kExpectedItems[i].text);
        EXPECT_EQ(items[i].menu, kExpectedItems[i].menu);
        EXPECT_EQ(items[i].text, kExpectedItems[i].text);
        EXPECT_EQ(items[i].id, kExpectedItems[i].id);
        EXPECT_EQ(items[i].enabled, kExpectedItems[i].enabled);
        EXPECT_EQ(items[i].shortcut, kExpectedItems[i].shortcut);
    }
}

TEST(FrameModel, MapMenuStartsWithTheOpenSubmenuAndOnlyDragModesAreCheckable) {
    const std::vector<MenuEntry> bar = MainMenuBar();
    const MenuEntry& open = bar[0].children[0];
    EXPECT_EQ(open.kind, MenuEntry::Kind::kSubmenu);
    EXPECT_EQ(open.text, "&Open");
    for (const MenuEntry& top : bar) {
        for (const MenuEntry& entry : top.children) {
            if (entry.kind != MenuEntry::Kind::kCommand)
                continue;
            SCOPED_TRACE(entry.text);
            EXPECT_EQ(entry.checkable,
                      entry.id == kCommandDragToZoom || entry.id == kCommandDragToMove);
        }
    }
}

TEST(FrameModel, StationPopupOffersInfoAndMessage) {
    const std::vector<MenuEntry> popup = StationOptionsMenu();
    ASSERT_EQ(popup.size(), 4u);
    EXPECT_EQ(popup[0].text, "Station Call");
    EXPECT_FALSE(popup[0].enabled);
    EXPECT_EQ(popup[1].kind, MenuEntry::Kind::kSeparator);
    EXPECT_EQ(popup[2].text, "Station &Info...");
    EXPECT_EQ(popup[2].id, 32805);
    EXPECT_EQ(popup[3].text, "Send &Message...");
    EXPECT_EQ(popup[3].id, 32806);
    EXPECT_TRUE(popup[2].enabled);
    EXPECT_TRUE(popup[3].enabled);
}

TEST(FrameModel, ToolbarButtonsInOrderWithTheDragModesCheckable) {
    std::vector<int> ids;
    for (const ToolbarButton& button : MainToolbar())
        ids.push_back(button.id);
    EXPECT_EQ(ids, (std::vector<int>{kCommandRefresh, 0, kCommandDragToZoom, kCommandDragToMove, 0,
                                     kCommandHome, 0, kCommandZoomIn, kCommandZoomOut}));
    for (const ToolbarButton& button : MainToolbar()) {
        EXPECT_EQ(button.checkable,
                  button.id == kCommandDragToZoom || button.id == kCommandDragToMove);
    }
}

TEST(FrameModel, MapOpenItemsKeepListOrderAndStopAtAThousand) {
    EXPECT_EQ(MapOpenItems({}).size(), 1u);
    EXPECT_EQ(MapOpenItems({})[0].text, "Map List");
    EXPECT_FALSE(MapOpenItems({})[0].enabled);

    std::vector<MapListEntry> maps;
    for (int i = 0; i < 1200; ++i) {
        maps.push_back({"/maps/" + std::to_string(i) + ".map", "Map " + std::to_string(i)});
    }
    struct Case {
        size_t count;
        size_t expected;
    };
    for (const Case c :
         {Case{1, 1}, Case{999, 999}, Case{1000, 1000}, Case{1001, 1000}, Case{1200, 1000}}) {
        SCOPED_TRACE(c.count);
        const std::vector<MapListEntry> some(maps.begin(), maps.begin() + c.count);
        const std::vector<MenuEntry> items = MapOpenItems(some);
        ASSERT_EQ(items.size(), c.expected);
        EXPECT_EQ(items.front().id, 12000);
        EXPECT_EQ(items.front().text, "Map 0");
        EXPECT_EQ(items.back().id, 12000 + static_cast<int>(c.expected) - 1);
        EXPECT_EQ(items.back().text, "Map " + std::to_string(c.expected - 1));
        EXPECT_TRUE(items.back().enabled);
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
        bool done;
        bool remaining;
    };
    for (const Case c :
         {Case{-5, 197, false, true}, Case{0, 197, false, true}, Case{50, 247, true, true},
          Case{100, 297, true, false}, Case{150, 297, true, false}}) {
        SCOPED_TRACE(c.percent);
        const ProgressLayout layout = LayoutProgress(bar, c.percent);
        EXPECT_EQ(layout.frame, (PixelRect{196, 5, 298, 18}));
        EXPECT_EQ(layout.done.Width() > 0, c.done);
        EXPECT_EQ(layout.remaining.Width() > 0, c.remaining);
        if (c.done) {
            EXPECT_EQ(layout.done, (PixelRect{197, 6, c.split, 17}));
        }
        if (c.remaining) {
            EXPECT_EQ(layout.remaining, (PixelRect{c.split, 6, 297, 17}));
        }
    }
}

TEST(FrameModel, AboutTexts) {
    EXPECT_EQ(AboutCaption(), "About Plovane...");
    EXPECT_EQ(VersionLine(), "Version 1.02");
}

}  // namespace
}  // namespace plovane
