// SPDX-License-Identifier: GPL-3.0-or-later
// A station drawn again alone (one station changed) puts its call where the complete drawing
// placed it, not at a fixed place beside the icon.
#include <gtest/gtest.h>

#include <QRegion>

#include "render_rig.h"

namespace plovane {
namespace {

using testing::RenderRig;

bool Dark(const QColor& p) {
    return p.red() + p.green() + p.blue() < 3 * 128;
}

TEST(StationRedraw, AloneItShowsNothingTheCompleteDrawingDidNot) {
    // A halo onto the target, or an opaque box into the picture copy.
    for (const bool offScreen : {false, true}) {
        SCOPED_TRACE(offScreen ? "opaque, picture copy" : "halo, target");
        RenderRig rig;
        rig.options.IconLabels = true;
        rig.options.OpaqueLabels = rig.options.UseOffScreenBitmaps = offScreen;
        rig.map.loaded = false;  // a white map: only stations and their calls
        // A crowd on an 18-pixel grid: symbols never overlap, most calls find no free place.
        for (int row = 0; row < 9; ++row) {
            for (int column = 0; column < 9; ++column) {
                rig.Place("N" + std::to_string(row) + "C" + std::to_string(column) + "-1", "/-",
                          20 + 18 * column, 20 + 18 * row);
            }
        }
        ASSERT_TRUE(rig.Draw());
        const QImage complete = rig.image.copy();

        std::vector<CStation> crowd;  // copied: drawing looks the station up under the lock
        rig.stations.ForEach([&](const CStation& s) {
            if (s.hasPosition)
                crowd.push_back(s);
        });
        int withLabel = 0;
        for (const CStation& s : crowd) {
            SCOPED_TRACE(s.call);
            QImage alone(RenderRig::kWidth, RenderRig::kHeight, QImage::Format_RGB32);
            alone.fill(Qt::white);
            if (offScreen) {
                QPainter(&rig.renderer.bitmaps().picture()).fillRect(alone.rect(), Qt::white);
                ASSERT_TRUE(rig.renderer.DrawStation(nullptr, rig.Scene(), s.call));
                alone = rig.renderer.bitmaps().picture().copy(alone.rect());
            } else {
                QPainter painter(&alone);
                ASSERT_TRUE(rig.renderer.DrawStation(&painter, rig.Scene(), s.call));
            }
            // Calls are what is dark outside every icon (the neighbours round it are drawn
            // again too, where wiping its place reached them).
            QRegion icons;
            for (const CStation& other : crowd) {
                const PixelPoint at =
                    rig.view.MapToScreen(other.position.longitude, other.position.colatitude);
                icons += QRect(at.x - 8, at.y - 8, 16, 16);
            }
            int outsideIcon = 0;
            for (int y = RenderRig::kHeight - 200; y < RenderRig::kHeight; ++y) {
                for (int x = 0; x < RenderRig::kWidth; ++x) {
                    if (!Dark(QColor::fromRgb(alone.pixel(x, y))))
                        continue;
                    outsideIcon += icons.contains(QPoint(x, y)) ? 0 : 1;
                    ASSERT_NE(complete.pixel(x, y), QColor(Qt::white).rgb())
                        << "drawn alone at " << x << "," << y;
                }
            }
            withLabel += outsideIcon > 0 ? 1 : 0;
        }
        // Some calls found a place and were drawn again; most did not.
        EXPECT_GE(withLabel, 3);
        EXPECT_LT(withLabel, 60) << withLabel;
    }
}

// A fast mover drawn again alone leaves no ghost: round its old place the picture is what a
// complete drawing of the new state shows (symbol, call, course line, range ring and track end
// gone), whether the neighbour shared a bubble with it or not.
TEST(StationRedraw, AMovedStationLeavesNoGhostBehind) {
    for (const int run : {0, 1, 2, 3}) {
        const bool offScreen = run % 2 != 0;
        SCOPED_TRACE(offScreen ? "picture copy" : "target");
        SCOPED_TRACE(run < 2 ? "grouped" : "not grouped");
        RenderRig rig;
        rig.options.GroupStations = run < 2;
        rig.options.IconLabels = rig.options.ShowTracks = rig.options.ShowCourseSpeed = true;
        rig.options.ShowRangeCircles = true;
        rig.options.UseOffScreenBitmaps = offScreen;
        rig.map.loaded = false;  // a white map
        rig.Place("N0SAT-11", "/O", 60, 60);
        rig.stations.SetCourseSpeed("N0SAT-11", 40, 45);
        rig.GiveRange("N0SAT-11", 5);  // a ring 26 pixels high, 40 wide at 50 degrees north
        rig.Place("K1NEAR", "/-", 70, 66);  // a neighbour the erasing must not wipe
        // One far off whose track crosses the old place.
        rig.Place("K1TRAIL", "/>", 30, 85);
        rig.Place("K1TRAIL", "/>", 330, 85);
        ASSERT_TRUE(rig.Draw());
        const QRect oldPlace(60 - 45, 19 + 60 - 30, 100, 60);
        ASSERT_GT(testing::CountPixels(rig.image, oldPlace,
                                       [](const QColor& p) { return p != Qt::white; }),
                  50);

        rig.Place("N0SAT-11", "/O", 140, 150);
        rig.stations.SetCourseSpeed("N0SAT-11", 40, 135);
        {
            QPainter painter(&rig.image);
            ASSERT_TRUE(rig.renderer.DrawStation(&painter, rig.Scene(), "N0SAT-11"));
        }
        const QImage fast = offScreen ? rig.renderer.bitmaps().picture().copy() : rig.image.copy();
        rig.view.SetBackgroundValid(false);
        ASSERT_TRUE(rig.Draw());
        int differing = 0;
        for (int y = oldPlace.top(); y <= oldPlace.bottom(); ++y) {
            for (int x = oldPlace.left(); x <= oldPlace.right(); ++x)
                differing += fast.pixel(x, y) != rig.image.pixel(x, y) ? 1 : 0;
        }
        EXPECT_EQ(differing, 0);
    }
}

// A station joining or leaving a group draws the group again: the bubble with its new count,
// or the stations it leaves alone, pixel for pixel as a complete drawing shows them.
TEST(StationRedraw, AStationMovingIntoOrOutOfAGroupRedrawsTheGroupWithoutGhosts) {
    struct Move {
        const char* call;
        int px, py;
    };
    const Move moves[] = {
        {"K1CCC", 96, 92},    // joins A and B: three
        {"K1AAA", 30, 30},    // leaves: B and C stay a pair
        {"K1CCC", 150, 150},  // leaves: the pair parts, B drawn alone with its call
        {"K1CCC", 91, 90},    // back onto B
    };
    for (const bool offScreen : {false, true}) {
        SCOPED_TRACE(offScreen ? "picture copy" : "target");
        RenderRig rig;
        rig.options.IconLabels = rig.options.ShowTracks = true;
        rig.options.UseOffScreenBitmaps = offScreen;
        rig.map.loaded = false;
        rig.Place("K1AAA", "/-", 84, 84);
        rig.Place("K1BBB", "/-", 90, 88);
        rig.Place("K1CCC", "/-", 150, 40);
        rig.Place("K1DDD", "/-", 40, 150);
        ASSERT_TRUE(rig.Draw());
        for (const Move& move : moves) {
            SCOPED_TRACE(std::string(move.call) + " to " + std::to_string(move.px));
            rig.Place(move.call, "/-", move.px, move.py);
            {
                QPainter painter(&rig.image);
                ASSERT_TRUE(rig.renderer.DrawStation(&painter, rig.Scene(), move.call));
            }
            const QImage fast =
                offScreen ? rig.renderer.bitmaps().picture().copy() : rig.image.copy();
            rig.view.SetBackgroundValid(false);
            ASSERT_TRUE(rig.Draw());
            int differing = 0;
            for (int y = 19; y < RenderRig::kHeight; ++y) {
                for (int x = 0; x < RenderRig::kWidth; ++x)
                    differing += fast.pixel(x, y) != rig.image.pixel(x, y) ? 1 : 0;
            }
            EXPECT_EQ(differing, 0);
        }
    }
}

}  // namespace
}  // namespace plovane
