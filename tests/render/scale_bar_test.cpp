// The scale bar's distance for one inch and its text.
#include "maps/render/scale_bar.h"

#include <gtest/gtest.h>

#include "maps/render/speed_marks.h"

namespace plovane {
namespace {

TEST(ScaleBar, TextPicksUnitAndFormatByDistance) {
    struct Case {
        double distance;
        int units;
        const char* text;
    } cases[] = {
        {0.1, kUnitsStatute, "528.0 ft"},
        {0.5, kUnitsStatute, "0.50 mi"},  // 2640 ft is past the 1000 mark
        {0.1, kUnitsNautical, "607.6 ft"},
        {0.9995, kUnitsMetric, "999.5 m"},
        {9.96, kUnitsNautical, "10.0 nmi"},
        {10.0, kUnitsMetric, "10 km"},
        {1234567.6, kUnitsStatute, "1,234,568 mi"},
        {0.0, kUnitsStatute, "Off Edge of Globe"},
        {5.0, 7, "5.0 mi"},  // unknown units read as statute
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.distance << " units " << c.units);
        EXPECT_EQ(ScaleText(c.distance, c.units), c.text);
    }
}

TEST(ScaleBar, InchDistanceShrinksWithLatitudeAndFollowsUnits) {
    // 3750 units per pixel at 96 pixels per inch: one inch is one degree of longitude.
    const MapBox equator{0, 1000, 32400000 - 500000, 32400000 + 500000};
    EXPECT_NEAR(ScaleInchDistance(equator, 3750, 96, kUnitsStatute), 69.4072, 1e-6);
    EXPECT_NEAR(ScaleInchDistance(equator, 3750, 96, kUnitsNautical), 69.4072 * 0.868993, 1e-6);
    EXPECT_NEAR(ScaleInchDistance(equator, 3750, 96, kUnitsMetric), 69.4072 * 1.609347, 1e-6);
    // Centred on 60 S (colatitude 150 degrees); beyond a pole is off the globe.
    const MapBox south{0, 1000, 54000000 - 1000, 54000000 + 1000};
    EXPECT_NEAR(ScaleInchDistance(south, 3750, 96, kUnitsStatute), 69.4072 / 2, 1e-5);
    for (const MapBox& box :
         {MapBox{0, 1000, -20000000, -10000000}, MapBox{0, 1000, 70000000, 80000000}}) {
        EXPECT_EQ(ScaleText(ScaleInchDistance(box, 540000, 96, kUnitsStatute), kUnitsStatute),
                  "Off Edge of Globe");
    }
}

}  // namespace
}  // namespace plovane
