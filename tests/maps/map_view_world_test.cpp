// The whole-world view fills the window, and no command shows what lies beyond the world.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/clock.h"
#include "maps/map_view.h"
#include "maps/web_mercator.h"

namespace plovane {
namespace {

TEST(MapViewWorld, TheWorldFillsTheWindowAndTheViewStaysOnIt) {
    struct Case {
        const char* name;
        int width, height;  // client, header strip included
        bool mercator;
    };
    const Case cases[] = {
        {"landscape grid", 800, 619, false},
        {"landscape Mercator", 800, 619, true},
        {"portrait Mercator", 300, 700, true},
        {"very wide grid", 2400, 319, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MapBox world = c.mercator ? kMercatorWorldBox : kWorldBox;
        FakeClock clock;
        CMapData map{clock.Now()};
        map.left = kWorldBox.left, map.right = kWorldBox.right;
        map.top = kWorldBox.top, map.bottom = kWorldBox.bottom;
        CMapView view;
        view.SetMercator(c.mercator);
        view.Resize(c.width, c.height);
        const auto expectOnWorld = [&] {
            view.PrepareForDrawing(map);
            const MapProjection p = view.Projection();
            const MapPoint a = p.ScreenToView(0, kHeaderStripHeight);
            const MapPoint b =
                p.ScreenToView(view.AreaWidth(), kHeaderStripHeight + view.AreaHeight());
            EXPECT_TRUE(a.x >= world.left && a.y >= world.top && b.x <= world.right &&
                        b.y <= world.bottom);
        };
        expectOnWorld();
        // Filled: one more unit per pixel would not fit the narrower direction.
        const int64_t r = view.ux();
        EXPECT_TRUE((r + 1) * view.AreaWidth() > world.Width() ||
                    (r + 1) * view.AreaHeight() > world.Height());
        const MapBox widest = view.viewBox();
        view.ZoomAbout({c.width - 1, c.height - 1}, false);
        expectOnWorld();
        EXPECT_EQ(view.viewBox(), widest);

        // Zoomed in, dragged far each way and centred on the corners: still on the world.
        view.ZoomAbout({c.width / 3, c.height / 3}, true);
        view.PrepareForDrawing(map);
        const MapBox before = view.viewBox();
        const PixelPoint shown = view.PanAllowed(100000, -100000);
        view.Pan(100000, -100000);
        expectOnWorld();
        // The picture dragged is where the view lands.
        EXPECT_LT(std::llabs(before.left - int64_t{shown.x} * view.ux() - view.viewBox().left),
                  view.ux());
        for (const auto& [colatitude, longitude] :
             {std::pair{0, 0}, {kMaxColatitude, kMaxLongitude}}) {
            view.CenterOn(colatitude, longitude);
            EXPECT_FALSE(view.CenterOn(colatitude, longitude));  // TrackMe: no redraw again
            expectOnWorld();
        }
        EXPECT_EQ(view.viewBox().Width(), before.Width());
    }
}

}  // namespace
}  // namespace plovane
