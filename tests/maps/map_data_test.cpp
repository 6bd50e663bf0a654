#include "maps/map_data.h"

#include <gtest/gtest.h>

namespace plovane {
namespace {

TEST(MapData, PalmDatesCountSecondsFrom1904) {
    struct Case {
        uint32_t seconds;
        int y, mo, d, h, mi, s;
    } cases[] = {
        {0, 1904, 1, 1, 0, 0, 0},
        {59 * 86400, 1904, 2, 29, 0, 0, 0},  // 1904 is a leap year
        {60 * 86400 + 3661, 1904, 3, 1, 1, 1, 1},
        {(366 + 364) * 86400, 1905, 12, 31, 0, 0, 0},
        {3029529600u, 2000, 1, 1, 0, 0, 0},  // across 1904..1999, 1900-style rules
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
