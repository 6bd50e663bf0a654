// Map units <-> pixels, fitting a box to the window's proportions, the detail threshold.
#include <gtest/gtest.h>

#include <limits>

#include "maps/map_projection.h"

namespace plovane {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TEST(MapProjection, PixelsSurviveARoundTripAndMapPointsLoseLessThanAPixel) {
    struct Case {
        const char* name;
        MapBox view;
        int width, height;
    };
    const Case cases[] = {
        {"world on a small screen", {0, 129600000, -43740000, 108540000}, 240, 282},
        {"one unit per pixel", {1000, 1640, 5000, 5480}, 640, 480},
        {"uneven units", {-123457, 9876543, 1, 7777777}, 333, 251},
        {"negative corner", {-5000000, -4000000, -900000, -100000}, 800, 600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MapProjection p(c.view, c.width, c.height);
        for (int px : {0, 1, c.width / 3, c.width - 1, c.width}) {
            for (int py :
                 {kHeaderStripHeight, kHeaderStripHeight + 7, kHeaderStripHeight + c.height - 1}) {
                EXPECT_EQ(p.MapToScreen(p.ScreenToMap(px, py)), (PixelPoint{px, py}));
            }
        }
        for (int64_t fx : {0, 1, 2, 3}) {
            const MapPoint m{static_cast<int32_t>(c.view.left + c.view.Width() * fx / 3),
                             static_cast<int32_t>(c.view.top + c.view.Height() * fx / 3)};
            const MapPoint back = p.ScreenToMap(p.MapToScreen(m));
            EXPECT_LE(back.x, m.x);
            EXPECT_GT(back.x, m.x - p.ux());
            EXPECT_LE(back.y, m.y);
            EXPECT_GT(back.y, m.y - p.uy());
        }
    }
}

// A garbage map point, a huge view or a tiny one must neither divide by zero nor overflow.
TEST(MapProjection, DegenerateViewsAndFarPointsStayDefined) {
    struct Case {
        const char* name;
        MapBox view;
        int width, height;
        MapPoint point;
        PixelPoint expected;
    };
    const Case cases[] = {
        {"far right of a max-zoom view",
         {kMin, kMin + 100, 0, 100},
         100,
         100,
         {kMax, 0},
         {kMax, 19}},
        {"far left of a max-zoom view",
         {kMax - 100, kMax, 0, 100},
         100,
         100,
         {kMin, 50},
         {kMin, 69}},
        {"view narrower than the window", {0, 10, 0, 10}, 640, 480, {7, 3}, {7, 22}},
        {"zero-sized window", {0, 1000, 0, 500}, 0, -5, {500, 250}, {0, 19}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MapProjection p(c.view, c.width, c.height);
        EXPECT_GE(p.ux(), 1);
        EXPECT_GE(p.uy(), 1);
        EXPECT_EQ(p.MapToScreen(c.point), c.expected);
    }
    const MapProjection coarse({0, kMax, 0, kMax}, 1, 1);
    EXPECT_EQ(coarse.ScreenToMap(100000, kMin), (MapPoint{kMax, kMin}));
}

TEST(FitBoxToArea, HoldsTheWholeBoxWithEqualUnitsPerPixel) {
    struct Case {
        const char* name;
        MapBox box;
        int width, height;
        MapBox expected;
    };
    const Case cases[] = {
        {"world, small screen", kWorldBox, 240, 282, {0, 129600000, -43740000, 108540000}},
        {"world, wide screen", kWorldBox, 1000, 300, {-43200000, 172800000, 0, 64800000}},
        // The truncating ratio (1 unit/pixel) would leave only 241 of these 479 units.
        {"just under two units per pixel", {0, 479, 0, 300}, 240, 282, {0, 480, -132, 432}},
        {"reversed edges", {479, 0, 300, 0}, 240, 282, {0, 480, -132, 432}},
        {"a single point", {5000, 5000, 7000, 7000}, 240, 282, {4880, 5120, 6859, 7141}},
        {"already fitting", {100, 340, 200, 482}, 240, 282, {100, 340, 200, 482}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MapBox fitted = FitBoxToArea(c.box, c.width, c.height);
        EXPECT_EQ(fitted, c.expected);
        const MapProjection p(fitted, c.width, c.height);
        EXPECT_EQ(p.ux(), p.uy());
        EXPECT_EQ(fitted.Width(), int64_t{p.ux()} * c.width);
        EXPECT_EQ(fitted.Height(), int64_t{p.uy()} * c.height);
    }
}

TEST(FitBoxToArea, ExtremeBoxesSaturateInsteadOfWrapping) {
    EXPECT_EQ(FitBoxToArea({kMin, kMax, 0, 10}, 3, 1000), (MapBox{kMin, kMax, kMin, kMax}));
}

TEST(DetailThreshold, ScalesWithTheViewAndFallsForBiggerWindows) {
    struct Case {
        const char* name;
        MapBox view;
        int width, height;
        int32_t expected;
    };
    const Case cases[] = {
        // 240 x 282: three times the smaller span in arc-minutes.
        {"65999 units high", {0, 100000, 0, 65999}, 240, 282, 30},
        {"66000 units high", {0, 100000, 0, 66000}, 240, 282, 33},
        {"narrower than high", {0, 12000, 0, 600000}, 240, 282, 6},
        {"640 x 480", {0, 600000, 0, 600000}, 640, 480, 100},
        {"1280 x 1000 (factor capped)", {0, 600000, 0, 600000}, 1280, 1000, 100},
        {"below an arc-minute", {0, 5999, 0, 5999}, 240, 282, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DetailThreshold(c.view, c.width, c.height), c.expected);
    }
    EXPECT_TRUE(IsDetailShown(30, 30));
    EXPECT_FALSE(IsDetailShown(30, 33));
    EXPECT_TRUE(IsDetailShown(0, 1000000));
}

}  // namespace
}  // namespace plovane
