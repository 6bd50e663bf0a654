#include "maps/map_data.h"

#include <gtest/gtest.h>

namespace plovane {
namespace {

TEST(MapData, ClearedMapIsTheEmptyWorld) {
    CMapData map(CDateTime(2026, 3, 4, 5, 6, 7));
    map.loaded = true;
    map.fitted = true;
    map.points.push_back({1, 0, 0, 5, 5});
    map.labels.push_back({});
    map.name = "Old";
    map.formatText = "APRS";
    map.left = 5;
    map.right = 6;
    map.Clear(CDateTime(2027, 1, 2, 3, 4, 5));

    EXPECT_FALSE(map.loaded);
    EXPECT_FALSE(map.fitted);
    EXPECT_TRUE(map.points.empty());
    EXPECT_TRUE(map.labels.empty());
    EXPECT_EQ(map.name, "");
    EXPECT_EQ(map.formatText, "");
    EXPECT_EQ(map.left, 0);
    EXPECT_EQ(map.right, 129600000);
    EXPECT_EQ(map.top, 0);
    EXPECT_EQ(map.bottom, 64800000);
    EXPECT_EQ(map.created, CDateTime(2027, 1, 2, 3, 4, 5));
    EXPECT_EQ(map.modified, map.created);
}

TEST(MapData, PalmDatesCountSecondsFrom1904) {
    struct Case {
        uint32_t seconds;
        int y, mo, d, h, mi, s;
    } cases[] = {
        {0, 1904, 1, 1, 0, 0, 0},
        {86399, 1904, 1, 1, 23, 59, 59},
        {59 * 86400, 1904, 2, 29, 0, 0, 0},  // 1904 is a leap year
        {60 * 86400 + 3661, 1904, 3, 1, 1, 1, 1},
        {366 * 86400, 1905, 1, 1, 0, 0, 0},
        {(366 + 364) * 86400, 1905, 12, 31, 0, 0, 0},
        {3029529600u, 2000, 1, 1, 0, 0, 0},  // across 1904..1999, 1900-style rules
        {3029529600u + 59 * 86400, 2000, 2, 29, 0, 0, 0},
        {3029529600u + 366 * 86400 + 45296, 2001, 1, 1, 12, 34, 56},
        {0xFFFFFFFFu, 2040, 2, 6, 6, 28, 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(PalmDateToDateTime(c.seconds), CDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s));
    }
}

}  // namespace
}  // namespace plovane
