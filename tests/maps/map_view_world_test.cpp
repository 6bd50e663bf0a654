// The whole-world view: the world fills the window, and no command shows what lies beyond
// its edges.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/clock.h"
#include "maps/map_view.h"
#include "maps/web_mercator.h"

namespace plovane {
namespace {

struct Window {
    const char* name;
    int width, height;  // client, header strip included
    bool mercator;
};

const Window kWindows[] = {
    {"landscape grid", 800, 619, false},  {"landscape Mercator", 800, 619, true},
    {"portrait grid", 300, 700, false},   {"portrait Mercator", 300, 700, true},
    {"very wide grid", 2400, 319, false}, {"small odd grid", 241, 97, false},
};

struct Rig {
    explicit Rig(const Window& w) {
        view.SetMercator(w.mercator);
        view.Resize(w.width, w.height);
        map.left = kWorldBox.left;
        map.right = kWorldBox.right;
        map.top = kWorldBox.top;
        map.bottom = kWorldBox.bottom;
        view.PrepareForDrawing(map);
    }
    void Draw() { view.PrepareForDrawing(map); }

    FakeClock clock;
    CMapData map{clock.Now()};
    CMapView view;
};

MapBox World(const Window& w) {
    return w.mercator ? kMercatorWorldBox : kWorldBox;
}

// Every pixel of the map area shows a place of the world.
void ExpectOnlyWorld(const CMapView& view, const MapBox& world) {
    const MapProjection p = view.Projection();
    const MapPoint topLeft = p.ScreenToView(0, kHeaderStripHeight);
    const MapPoint bottomRight =
        p.ScreenToView(view.AreaWidth(), kHeaderStripHeight + view.AreaHeight());
    EXPECT_GE(topLeft.x, world.left);
    EXPECT_GE(topLeft.y, world.top);
    EXPECT_LE(bottomRight.x, world.right);
    EXPECT_LE(bottomRight.y, world.bottom);
}

// The world reaches across the window in its narrower direction: one more zoom-out step of
// one unit per pixel would not fit.
void ExpectFilled(const CMapView& view, const MapBox& world) {
    const int64_t r = view.ux();
    EXPECT_EQ(r, view.Projection().viewUy());
    EXPECT_TRUE((r + 1) * view.AreaWidth() > world.Width() ||
                (r + 1) * view.AreaHeight() > world.Height())
        << "units per pixel " << r;
}

TEST(MapViewWorld, HomeZoomOutAndResizeFillTheWindowWithTheWorld) {
    for (const Window& w : kWindows) {
        SCOPED_TRACE(w.name);
        Rig rig(w);
        ExpectOnlyWorld(rig.view, World(w));
        ExpectFilled(rig.view, World(w));

        // Zoomed in about a corner, then out again as far as it goes.
        for (int i = 0; i < 6; ++i)
            rig.view.ZoomAbout({3, kHeaderStripHeight + 2}, true);
        for (int i = 0; i < 8; ++i) {
            rig.view.ZoomOut();
            rig.Draw();
            ExpectOnlyWorld(rig.view, World(w));
        }
        ExpectFilled(rig.view, World(w));
        const MapBox widest = rig.view.viewBox();
        EXPECT_TRUE(rig.view.ZoomAbout({w.width - 1, w.height - 1}, false));
        rig.Draw();
        EXPECT_EQ(rig.view.viewBox(), widest);

        // Home and a new window shape give the widest view again.
        rig.view.Home(rig.map);
        rig.view.Resize(w.height + 50, w.width / 2 + 40);
        rig.Draw();
        ExpectOnlyWorld(rig.view, World(w));
        ExpectFilled(rig.view, World(w));
    }
}

TEST(MapViewWorld, PanningAndCentringStopAtTheEdgesOfTheWorld) {
    struct Move {
        const char* name;
        int dx, dy;  // pixels the pointer moves; 0,0 centres on the position instead
        int32_t colatitude, longitude;
    };
    const Move moves[] = {
        {"drag far down", 0, 100000, 0, 0},
        {"drag far up and left", -100000, -100000, 0, 0},
        {"drag far right", 100000, 0, 0, 0},
        {"centre on the north pole", 0, 0, 0, 64800000},
        {"centre on the south-east corner", 0, 0, kMaxColatitude, kMaxLongitude},
    };
    for (const Window& w : kWindows) {
        for (const int zoomIns : {0, 3}) {
            for (const Move& m : moves) {
                SCOPED_TRACE(::testing::Message()
                             << w.name << ", " << zoomIns << " zoom-ins, " << m.name);
                Rig rig(w);
                for (int i = 0; i < zoomIns; ++i)
                    rig.view.ZoomAbout({w.width / 3, w.height / 3}, true);
                rig.Draw();
                const MapBox before = rig.view.viewBox();
                if (m.dx != 0 || m.dy != 0) {
                    // The picture shown while dragging is where the view lands on release.
                    const PixelPoint shown = rig.view.PanAllowed(m.dx, m.dy);
                    rig.view.Pan(m.dx, m.dy);
                    const int64_t ux = rig.view.ux();
                    const int64_t uy = rig.view.Projection().viewUy();
                    EXPECT_LT(std::llabs(before.left - shown.x * ux - rig.view.viewBox().left), ux);
                    EXPECT_LT(std::llabs(before.top - shown.y * uy - rig.view.viewBox().top), uy);
                } else {
                    rig.view.CenterOn(m.colatitude, m.longitude);
                    // Asking again changes nothing, so TrackMe does not redraw on every report.
                    EXPECT_FALSE(rig.view.CenterOn(m.colatitude, m.longitude));
                }
                rig.Draw();
                EXPECT_EQ(rig.view.viewBox().Width(), before.Width());
                ExpectOnlyWorld(rig.view, World(w));
            }
        }
    }
}

}  // namespace
}  // namespace plovane
