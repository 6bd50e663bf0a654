// SPDX-License-Identifier: GPL-3.0-or-later
// The map preferences in "Maps" and the Map Options dialog's period list.
#include <gtest/gtest.h>

#include "maps/map_options.h"
#include "maps/map_view.h"

namespace plovane {
namespace {

TEST(MapOptions, SearchFoldersRedrawPeriodsAndTheRedrawDue) {
    CMapOptions options;
    options.SearchFolders = " /x ; ;\t/y/my maps;";
    EXPECT_EQ(options.SearchFolderList(), (std::vector<std::string>{"/x", "/y/my maps"}));
    options.SearchFolders = ";;";
    EXPECT_TRUE(options.SearchFolderList().empty());
    MemoryProfile profile;
    options.Save(profile);
    CMapOptions back;
    back.Load(profile);
    EXPECT_EQ(back, options);

    // A period not in the list, 7 minutes say, selects the first entry, and OK then stores
    // the shown entry's 1 minute; nothing selected stores 0.
    EXPECT_EQ(RedrawPeriodIndex(60), 8);
    EXPECT_EQ(RedrawPeriodMinutes(RedrawPeriodIndex(7)), 1);
    EXPECT_EQ(RedrawPeriodMinutes(8), 60);
    EXPECT_EQ(RedrawPeriodMinutes(-1), 0);
    EXPECT_EQ(RedrawPeriodMinutes(9), 0);

    // A complete redraw falls due only when switched on and after the period.
    CMapView view(1000);
    options.RedrawScreenEvery = 5;
    EXPECT_FALSE(view.IsCompleteRedrawDue(options, 1000 + 3600000));
    options.bRedrawScreenEvery = true;
    EXPECT_FALSE(view.IsCompleteRedrawDue(options, 1000 + 300000));
    EXPECT_TRUE(view.IsCompleteRedrawDue(options, 1000 + 300001));
    view.MarkCompleteRedraw(400000);
    EXPECT_FALSE(view.IsCompleteRedrawDue(options, 400000 + 300000));
}

}  // namespace
}  // namespace plovane
