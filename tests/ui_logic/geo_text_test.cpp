// SPDX-License-Identifier: GPL-3.0-or-later
// Position, locator, distance/bearing, age and map tooltip texts.
#include <gtest/gtest.h>

#include <cmath>

#include "core/geo.h"
#include "ui/logic/geo_text.h"
#include "ui/logic/map_tips.h"

namespace plovane {
namespace {

GeoPoint At(double lat, double lon) {
    return {static_cast<int32_t>(std::lround((90.0 - lat) * kUnitsPerDegree)),
            static_cast<int32_t>(std::lround((lon + 180.0) * kUnitsPerDegree))};
}

TEST(GeoText, PositionAndLocator) {
    struct Case {
        double lat, lon;
        const char* text;
        const char* locator;
    };
    const Case cases[] = {
        {47.6062, -122.3321, "47\u00b036.37'N 122\u00b019.93'W", "CN87uo"},
        {-33.8688, 151.2093, "33\u00b052.13'S 151\u00b012.56'E", "QF56od"},
        {0.5, 0.5, "00\u00b030.00'N 000\u00b030.00'E", "JJ00gm"},
        {59.99999, 10.0, "60\u00b000.00'N 010\u00b000.00'E",
         "JO59ax"},  // no 60 minutes; the locator never rounds up
        {90.0, 180.0, "90\u00b000.00'N 180\u00b000.00'W", "AR09ax"},  // 180 E folds to 180 W
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(LatLonText(At(c.lat, c.lon)), c.text);
        EXPECT_EQ(MaidenheadLocator(At(c.lat, c.lon)), c.locator);
    }
    EXPECT_EQ(MaidenheadLocator({-5, 0}), "");
}

TEST(GeoText, DistanceAndBearingInTheUsersUnits) {
    const GeoPoint seattle = At(47.6062, -122.3321);
    const GeoPoint portland = At(45.5152, -122.6784);
    const DistanceBearing db = DistanceAndBearing(seattle, portland);
    EXPECT_NEAR(db.kilometres, 234.0, 0.1);
    EXPECT_EQ(db.bearing, 187);
    EXPECT_EQ(DistanceAndBearing(portland, seattle).bearing, 6);
    EXPECT_EQ(DistanceAndBearing(At(0, 179.9), At(0, -179.9)).bearing, 90);  // across 180
    EXPECT_LT(DistanceAndBearing(At(0, 179.9), At(0, -179.9)).kilometres, 23);

    struct Case {
        double km;
        int units;
        const char* text;
    };
    const Case cases[] = {
        {234.0, 0, "145.4 mi"}, {234.0, 1, "126.3 nmi"}, {234.0, 2, "234.0 km"},
        {0.5, 2, "0.50 km"},    {2000, 2, "2000 km"},    {1, 9, "0.62 mi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DistanceText(c.km, c.units), c.text);
    }
    EXPECT_EQ(BearingText(186), "186\u00b0 S");
    EXPECT_EQ(BearingText(-45), "315\u00b0 NW");
    EXPECT_EQ(PointerStatusText(portland, seattle, 2),
              "45\u00b030.91'N 122\u00b040.70'W   CN85pm   234.0 km at 187\u00b0 S from me");
    EXPECT_EQ(PointerStatusText(portland, std::nullopt, 2),
              "45\u00b030.91'N 122\u00b040.70'W   CN85pm");
}

TEST(GeoText, AgeOfAReport) {
    struct Case {
        int64_t seconds;
        const char* text;
    };
    const Case cases[] = {{-1, "-"},
                          {3, "just now"},
                          {42, "42 s ago"},
                          {7 * 60 + 59, "7 min ago"},
                          {3 * 3600 + 5 * 60, "3 h 05 min ago"},
                          {3 * 86400, "3 days ago"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(AgeText(c.seconds), c.text);
    }
}

TEST(MapTips, StatusIconsAndStations) {
    struct Case {
        int x, y;
        bool gps;
        HeaderIcon icon;
    };
    const Case cases[] = {
        {500 - 17, 5, false, HeaderIcon::kMessages}, {500 - 35 + 15, 16, false, HeaderIcon::kNet},
        {500 - 53, 1, false, HeaderIcon::kTnc},      {500 - 71, 5, false, HeaderIcon::kNone},
        {500 - 71, 5, true, HeaderIcon::kGps},       {500 - 53, 17, false, HeaderIcon::kNone},
        {500 - 36, 5, false, HeaderIcon::kNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(HeaderIconAt(500, c.gps, c.x, c.y), c.icon);
    }
    HeaderStatus status;
    status.net = LinkState::kError;
    status.tnc = LinkState::kOpen;
    EXPECT_EQ(HeaderIconTip(HeaderIcon::kNet, status, "Connection refused"),
              "APRS-IS: error - Connection refused");
    EXPECT_EQ(HeaderIconTip(HeaderIcon::kTnc, status, "ignored while open"), "TNC: open");

    StationTip tip{"KK7OL-3", '/', '>', 7 * 60, "On the road \xe9"};
    EXPECT_EQ(StationTipText(tip),
              "KK7OL-3\nCar (SSID = 9)\nLast report 7 min ago\nOn the road \u00e9");
}

}  // namespace
}  // namespace plovane
