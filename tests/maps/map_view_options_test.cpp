// The map preferences in "Maps" and the Map Options dialog's period list.
#include <gtest/gtest.h>

#include "maps/map_options.h"

namespace plovane {
namespace {

constexpr const char* kMaps = "Maps";

TEST(MapOptions, EachCheckBoxHasItsOwnKeyAndAnyNonZeroNumberIsOn) {
    MemoryProfile empty;
    CMapOptions options;
    options.TrackMe = true;  // stale values are replaced by the defaults
    options.Load(empty);
    EXPECT_EQ(options, CMapOptions{});
    EXPECT_EQ(options.RedrawScreenEvery, 5);

    // Switching one check box on changes only its own key.
    for (const MapOptionCheck& check : kMapOptionChecks) {
        SCOPED_TRACE(check.key);
        MemoryProfile stored;
        stored.WriteInt(kMaps, check.key, -7);
        CMapOptions expected;
        expected.*check.member = true;
        CMapOptions loaded;
        loaded.Load(stored);
        EXPECT_EQ(loaded, expected);
        loaded.Save(stored);
        EXPECT_EQ(stored.GetInt(kMaps, check.key, -1), 1);
    }
    options.LastMapPath = "/home/ham/maps/Lake Tahoe.map";
    options.RedrawScreenEvery = 15;
    MemoryProfile profile;
    options.Save(profile);
    CMapOptions back;
    back.Load(profile);
    EXPECT_EQ(back, options);
}

TEST(MapOptions, SearchFoldersSplitAtSemicolons) {
    struct Case {
        const char* text;
        std::vector<std::string> folders;
    };
    const Case cases[] = {
        {"", {}},
        {"/srv/maps", {"/srv/maps"}},
        {"/a;/b", {"/a", "/b"}},
        {" /x ; ;\t/y/my maps;", {"/x", "/y/my maps"}},
        {";;", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CMapOptions options;
        options.SearchFolders = c.text;
        EXPECT_EQ(options.SearchFolderList(), c.folders);
    }
}

TEST(MapOptions, RedrawPeriodListSelectsAndStoresMinutes) {
    // Periods not in the list, 7 minutes say, select the first entry.
    const std::pair<int32_t, int> cases[] = {{1, 0}, {5, 3}, {60, 8}, {7, 0}, {-5, 0}};
    for (const auto& [stored, index] : cases) {
        SCOPED_TRACE(stored);
        EXPECT_EQ(RedrawPeriodIndex(stored), index);
    }
    // OK after opening on a period of 7 minutes stores the shown entry's 1 minute.
    EXPECT_EQ(RedrawPeriodMinutes(RedrawPeriodIndex(7)), 1);
    EXPECT_EQ(RedrawPeriodMinutes(8), 60);
    EXPECT_EQ(RedrawPeriodMinutes(-1), 0);  // nothing selected
    EXPECT_EQ(RedrawPeriodMinutes(9), 0);
}

}  // namespace
}  // namespace plovane
