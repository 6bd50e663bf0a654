// SPDX-License-Identifier: GPL-3.0-or-later
// The scale bar's distance for one inch and its text; the course/speed and wind marks.
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

TEST(SpeedMarks, CourseMarkPlacesFiveTensFiftiesAndTwoFiftiesAlongTheShaft) {
    const DegreeTable trig;
    // A slow station: a bare 24-pixel shaft; 360 degrees is north again.
    const MarkShape east = CourseSpeedMark(trig, 100, 100, 90, 1, kUnitsStatute);
    EXPECT_EQ(east.lines, (std::vector<MarkLine>{{{100, 100}, {124, 100}}}));
    EXPECT_TRUE(east.outlines.empty() && east.filled.empty());
    EXPECT_EQ(CourseSpeedMark(trig, 0, 0, 360, 1, kUnitsNautical).lines[0].to, (MarkPoint{0, -24}));

    // 315 knots nautical: one 250, one 50, one 10, one 5; heading north from (50, 100).
    const MarkShape m = CourseSpeedMark(trig, 50, 100, 0, 315, kUnitsNautical);
    // Shaft to 20 + 3 + 10 + 1 = 34 pixels; the five's 3-pixel strokes back to P(20) from 240
    // and 120 degrees, the ten's 7-pixel ones at 23.
    EXPECT_EQ(m.lines, (std::vector<MarkLine>{{{50, 100}, {50, 66}},
                                              {{47, 82}, {50, 80}},
                                              {{53, 82}, {50, 80}},
                                              {{44, 81}, {50, 77}},
                                              {{56, 81}, {50, 77}}}));
    // The fifty outlined at 25 + 3 = 28, the 250 filled at 33.
    ASSERT_EQ(m.outlines.size(), 1u);
    EXPECT_EQ(m.outlines[0].points[0], (MarkPoint{50, 72}));
    ASSERT_EQ(m.filled.size(), 1u);
    EXPECT_EQ(m.filled[0].points[1], (MarkPoint{50, 67}));
    EXPECT_EQ(m.filled[0].points[0], (MarkPoint{44, 71}));
}

TEST(SpeedMarks, WindMarkStrokesOneSideAndFillsItsFifties) {
    const DegreeTable trig;
    // 65 knots from the north (nautical): a fifty, a ten and a five, strokes at 60 degrees.
    const MarkShape m = WindMark(trig, 100, 100, 0, 65, kUnitsNautical);
    EXPECT_EQ(m.lines, (std::vector<MarkLine>{{{100, 100}, {100, 71}},    // 20 + 3 + 5 + 1
                                              {{100, 80}, {104, 78}},     // the five, 5 pixels
                                              {{100, 77}, {109, 72}}}));  // the ten, 10 pixels
    EXPECT_TRUE(m.outlines.empty());
    ASSERT_EQ(m.filled.size(), 1u);
    EXPECT_EQ(m.filled[0].points[0], (MarkPoint{100, 72}));
    EXPECT_EQ(m.filled[0].points[1], (MarkPoint{109, 67}));
    // Wind marks never draw 250s: 300 knots is six fifties.
    EXPECT_EQ(WindMark(trig, 0, 0, 90, 300, kUnitsNautical).filled.size(), 6u);
}

}  // namespace
}  // namespace plovane
