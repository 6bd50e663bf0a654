// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's menu bar and menu texts.
#include "ui/logic/frame_model.h"

#include <gtest/gtest.h>

#include <set>

#include "ui/logic/command_ids.h"

namespace plovane {
namespace {

// Every command id and key appears once, so no two items answer the same command or key;
// only the drag modes are checkable.
TEST(FrameModel, MenuIdsAndKeysAreUniqueAndOnlyDragModesCheck) {
    std::set<Command> ids;
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
                  entry.id == Command::kDragToZoom || entry.id == Command::kDragToMove);
    }
    EXPECT_GT(ids.size(), 20u);
}

TEST(FrameModel, PlainMenuTextDropsMnemonicsAndKeepsDoubledAmpersands) {
    EXPECT_EQ(PlainMenuText("Zoom &In"), "Zoom In");
    EXPECT_EQ(PlainMenuText("R&&D Maps"), "R&D Maps");
    EXPECT_EQ(PlainMenuText("&&&Open"), "&Open");
    EXPECT_EQ(PlainMenuText("trailing&"), "trailing");
}

}  // namespace
}  // namespace plovane
