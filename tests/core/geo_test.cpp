// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/geo.h"

#include <gtest/gtest.h>

#include <string>

namespace plovane {
namespace {

TEST(Geo, ParsesCoordinateTexts) {
    struct Case {
        const char* text;
        int32_t expected;
    } latitudes[] =
        {
            {"4903.50N", 14739000},
            {"49  .  N", 32400000 - 49 * 360000},  // ambiguity: blanks end the number
            {"4903.5 N", 14739000},                // one blanked hundredths digit counts as 0
            {"0000.00N", kEquatorColatitude},
            {"4x03.50N", -1},  // a foreign character is no number (not the equator)
            {"  03.50N", -1},  // nor is a text without leading digits
            {"4903.50", -1},   // hemisphere missing
            {"9000.00S", kMaxColatitude},
        },
      longitudes[] = {
          {"07201.75w", 38869500},
          {"07201.75E", 64800000 + 72 * 360000 + 1750 * 6},
          {"00000.00E", kGreenwichLongitude},
          {"180  .  W", 0},
      };
    for (const auto& c : latitudes) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseLatitude(c.text), c.expected);
    }
    for (const auto& c : longitudes) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseLongitude(c.text), c.expected);
    }
}

TEST(Geo, SplitsCoordinatesIntoTextPieces) {
    struct Case {
        int32_t value;
        bool latitude;
        const char* pieces;
    } cases[] = {
        {50061000, true, "49 3.50 S"},
        {38869500, false, "72 1.75 W"},
        {64800000 + 360000 * 151 + 6000 * 12 + 60 * 7, false, "151 12.07 E"},
        {-5000, true, "90 0.00 N"},  // beyond the pole: clamped
        // Rounding the hundredths up carries: 49 03.998 N is 49 04.00, 71 59.998 W 72 00.00.
        {kEquatorColatitude - (49 * 360000 + 3 * 6000 + 5999), true, "49 4.00 N"},
        {kGreenwichLongitude - (71 * 360000 + 59 * 6000 + 5999), false, "72 0.00 W"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const SplitAngle s = c.latitude ? SplitLatitude(c.value) : SplitLongitude(c.value);
        EXPECT_EQ(s.degrees + " " + s.minutes + "." + s.hundredths + " " + s.hemisphere, c.pieces);
    }
}

}  // namespace
}  // namespace plovane
