// SPDX-License-Identifier: GPL-3.0-or-later
// Clipping far-away vertices to the guard rectangle.
#include "maps/render/clip.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace plovane {
namespace {

TEST(Clip, PolylineLeavingAndReenteringSplitsIntoRuns) {
    const QRect r(0, 0, 101, 101);  // 0..100 both ways
    const std::vector<QPoint> line = {{10, 50}, {300, 50}, {300, 60}, {50, 60}, {50, 90}};
    const auto runs = ClipPolyline(line, r);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], (std::vector<QPoint>{{10, 50}, {100, 50}}));
    EXPECT_EQ(runs[1], (std::vector<QPoint>{{100, 60}, {50, 60}, {50, 90}}));
    // Inside: unchanged; wholly outside or a single vertex: nothing.
    const std::vector<QPoint> inside = {{1, 1}, {99, 99}, {1, 99}};
    EXPECT_EQ(ClipPolyline(inside, r), (std::vector<std::vector<QPoint>>{inside}));
    EXPECT_TRUE(ClipPolyline({{200, 0}, {300, 300}}, r).empty());
    EXPECT_TRUE(ClipPolyline({{5, 5}}, r).empty());
}

TEST(Clip, PolygonIsCutToTheRectangle) {
    const QRect r(0, 0, 101, 101);
    const int far = 2000000000;
    const std::vector<QPoint> huge = {{-far, -far}, {far, -far}, {far, far}, {-far, far}};
    const std::vector<QPoint> cut = ClipPolygon(huge, r);
    ASSERT_EQ(cut.size(), 4u);
    for (const QPoint& p : cut)
        EXPECT_TRUE(r.contains(p)) << p.x() << "," << p.y();
    // A triangle over the edges keeps its inside part: the square 50..100.
    const std::vector<QPoint> tri = {{50, 50}, {250, 50}, {50, 250}};
    const std::vector<QPoint> part = ClipPolygon(tri, r);
    for (const QPoint& p : part)
        EXPECT_TRUE(p.x() >= 50 && p.x() <= 100 && p.y() >= 50 && p.y() <= 100);
    for (const QPoint corner : {QPoint(100, 100), QPoint(100, 50), QPoint(50, 100)})
        EXPECT_NE(std::find(part.begin(), part.end(), corner), part.end());
    EXPECT_TRUE(ClipPolygon({{200, 200}, {300, 200}, {300, 300}}, r).empty());
}

}  // namespace
}  // namespace plovane
