// Course/speed and wind marks: unit conversion, rounding, barb decomposition and geometry.
#include "maps/render/speed_marks.h"

#include <gtest/gtest.h>

namespace plovane {
namespace {

TEST(SpeedMarks, SpeedConvertsRoundsAndDecomposesInEveryUnit) {
    struct Case {
        int knots;
        int units;
        int speed;  // converted, rounded to fives
        Barbs course;
        Barbs wind;
    } cases[] = {
        {1, kUnitsStatute, 0, {0, 0, 0, 0}, {0, 0, 0, 0}},        // 1.15 mph
        {10, kUnitsStatute, 10, {0, 0, 1, 0}, {0, 0, 1, 0}},      // 11.5 -> 11 -> 10
        {250, kUnitsStatute, 285, {1, 0, 3, 1}, {0, 5, 3, 1}},    // 287.7 -> 285
        {5000, kUnitsStatute, 1150, {4, 3, 0, 0}, {0, 6, 4, 1}},  // capped; wind at 300 kn
        {65, kUnitsNautical, 65, {0, 1, 1, 1}, {0, 1, 1, 1}},
        {1000, kUnitsNautical, 1000, {4, 0, 0, 0}, {0, 6, 0, 0}},
        {10, kUnitsMetric, 20, {0, 0, 2, 0}, {0, 0, 2, 0}},       // 18.5 -> 18 -> 20
        {1000, kUnitsMetric, 1850, {7, 2, 0, 0}, {0, 11, 0, 1}},  // 1851.9; wind 555.6
        {-7, kUnitsStatute, 0, {0, 0, 0, 0}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.knots << " kn, units " << c.units);
        const int speed = MarkSpeed(c.knots, kMaxCourseSpeedKnots, c.units);
        EXPECT_EQ(speed, c.speed);
        EXPECT_EQ(DecomposeSpeed(speed, true), c.course);
        EXPECT_EQ(DecomposeSpeed(MarkSpeed(c.knots, kMaxWindSpeedKnots, c.units), false), c.wind);
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
