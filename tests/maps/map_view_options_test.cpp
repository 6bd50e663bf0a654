// The map preferences in "Maps" and the Map Options dialog's period list.
#include <gtest/gtest.h>

#include "maps/map_options.h"

namespace plovane {
namespace {

constexpr const char* kMaps = "Maps";

TEST(MapOptions, DefaultsWhenNothingIsStored) {
    MemoryProfile profile;
    CMapOptions options;
    options.TrackMe = true;  // stale values are replaced
    options.RedrawScreenEvery = 30;
    options.LastMapPath = "/old.map";
    options.Load(profile);
    EXPECT_EQ(options, CMapOptions{});
    EXPECT_FALSE(options.TrackMe);
    EXPECT_EQ(options.RedrawScreenEvery, 5);
    EXPECT_EQ(options.LastMapPath, "");
    EXPECT_EQ(options.SearchFolders, "");
}

TEST(MapOptions, SavedValuesReadBackUnderTheirKeys) {
    CMapOptions options;
    for (const MapOptionCheck& check : kMapOptionChecks)
        options.*check.member = true;
    options.RedrawScreenEvery = 15;
    options.LastMapPath = "/home/ham/maps/Lake Tahoe.map";
    options.SearchFolders = "/srv/maps;/media/card";

    MemoryProfile profile;
    options.Save(profile);
    for (const MapOptionCheck& check : kMapOptionChecks) {
        SCOPED_TRACE(check.key);
        EXPECT_EQ(profile.GetInt(kMaps, check.key, -1), 1);
    }
    EXPECT_EQ(profile.GetInt(kMaps, "RedrawScreenEvery", -1), 15);
    EXPECT_EQ(profile.GetString(kMaps, "LastMapPath", "?"), options.LastMapPath);
    EXPECT_EQ(profile.GetString(kMaps, "SearchFolders", "?"), options.SearchFolders);

    CMapOptions loaded;
    loaded.Load(profile);
    EXPECT_EQ(loaded, options);

    // Each check box maps to its own key: switching one off changes only that one.
    for (const MapOptionCheck& check : kMapOptionChecks) {
        SCOPED_TRACE(check.key);
        CMapOptions one = options;
        one.*check.member = false;
        MemoryProfile stored;
        one.Save(stored);
        EXPECT_EQ(stored.GetInt(kMaps, check.key, -1), 0);
        CMapOptions back;
        back.Load(stored);
        EXPECT_EQ(back, one);
    }
}

TEST(MapOptions, AnyNonZeroNumberIsOn) {
    MemoryProfile profile;
    profile.WriteInt(kMaps, "ShowWX", 7);
    profile.WriteInt(kMaps, "MapLabels", -1);
    profile.WriteString(kMaps, "IconLabels", "yes");
    CMapOptions options;
    options.Load(profile);
    EXPECT_TRUE(options.ShowWX);
    EXPECT_TRUE(options.MapLabels);
    EXPECT_FALSE(options.IconLabels);
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
    struct Case {
        int32_t stored;
        int index;
        const char* text;
    };
    const Case cases[] = {
        {1, 0, "1 min."}, {2, 1, "2 mins."}, {5, 3, "5 mins."}, {60, 8, "60 mins."},
        {7, 0, "1 min."}, {0, 0, "1 min."},  {-5, 0, "1 min."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        const int index = RedrawPeriodIndex(c.stored);
        EXPECT_EQ(index, c.index);
        EXPECT_STREQ(kRedrawPeriods[index].text, c.text);
    }
    // OK after opening on a period of 7 minutes stores the shown entry's 1 minute.
    EXPECT_EQ(RedrawPeriodMinutes(RedrawPeriodIndex(7)), 1);
    EXPECT_EQ(RedrawPeriodMinutes(4), 10);
    EXPECT_EQ(RedrawPeriodMinutes(8), 60);
    EXPECT_EQ(RedrawPeriodMinutes(-1), 0);  // nothing selected
    EXPECT_EQ(RedrawPeriodMinutes(9), 0);
}

}  // namespace
}  // namespace plovane
