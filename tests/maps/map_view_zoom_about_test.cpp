// Zooming about a point: the place under the pointer stays under it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/clock.h"
#include "maps/map_view.h"

namespace plovane {
namespace {

struct Rig {
    Rig(int width, int height) {
        view.Resize(width, height);
        view.PrepareForDrawing(map);
    }
    FakeClock clock;
    CMapData map{clock.Now()};
    CMapView view;
};

TEST(MapViewZoomAbout, ThePointUnderThePointerStaysPut) {
    struct Case {
        const char* name;
        int width, height;
        PixelPoint pointer;
        int zoomIns;  // zoom in this many times, then out as many
    };
    const Case cases[] = {
        {"centre", 800, 619, {400, 300}, 6},
        {"top-left corner of the map area", 800, 619, {0, 19}, 6},
        {"near the bottom-right corner", 800, 619, {790, 610}, 8},
        {"odd window", 333, 517, {17, 400}, 10},
        {"to one unit per pixel and beyond", 240, 301, {60, 250}, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(c.width, c.height);
        const MapPoint anchor = rig.view.ScreenToMap(c.pointer.x, c.pointer.y);
        const auto expectAnchored = [&] {
            const MapPoint now = rig.view.ScreenToMap(c.pointer.x, c.pointer.y);
            EXPECT_LE(std::llabs(int64_t{now.x} - anchor.x), rig.view.ux());
            EXPECT_LE(std::llabs(int64_t{now.y} - anchor.y), rig.view.uy());
        };
        for (int i = 0; i < c.zoomIns; ++i) {
            ASSERT_TRUE(rig.view.ZoomAbout(c.pointer, true));
            // The drawing that follows must not move the view again.
            const MapBox before = rig.view.viewBox();
            rig.view.PrepareForDrawing(rig.map);
            ASSERT_EQ(rig.view.viewBox(), before);
            expectAnchored();
        }
        // Zooming back out stays about the point until the limits push the view.
        const int32_t uxIn = rig.view.ux();
        ASSERT_TRUE(rig.view.ZoomAbout(c.pointer, false));
        rig.view.PrepareForDrawing(rig.map);
        EXPECT_GT(rig.view.ux(), uxIn);
        expectAnchored();
        // A resize refits the same box rather than jumping.
        const MapBox kept = rig.view.viewBox();
        rig.view.Resize(c.width + 1, c.height);
        rig.view.Resize(c.width, c.height);
        rig.view.PrepareForDrawing(rig.map);
        EXPECT_EQ(rig.view.viewBox(), kept);
    }
}

TEST(MapViewZoomAbout, ZoomingOutNeverLeavesTheLimits) {
    Rig rig(640, 499);
    const PixelPoint corner{639, 498};
    for (int i = 0; i < 5; ++i)
        rig.view.ZoomAbout(corner, true);
    for (int i = 0; i < 12; ++i) {
        rig.view.ZoomAbout(corner, false);
        rig.view.PrepareForDrawing(rig.map);
        const MapBox& v = rig.view.viewBox();
        const MapBox& l = rig.view.limitsBox();
        EXPECT_GE(v.left, l.left);
        EXPECT_LE(v.right, l.right);
        EXPECT_GE(v.top, l.top);
        EXPECT_LE(v.bottom, l.bottom);
    }
    // At the widest the world's whole height fills the 480-pixel area.
    EXPECT_EQ(rig.view.viewBox().Height(), rig.view.limitsBox().Height());
}

}  // namespace
}  // namespace plovane
