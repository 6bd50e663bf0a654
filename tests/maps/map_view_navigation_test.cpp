// SPDX-License-Identifier: GPL-3.0-or-later
// Navigation of the map view: fitting, zooming, dragging, centring, tracking, staying on the world.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>

#include "core/clock.h"
#include "maps/map_view.h"
#include "maps/web_mercator.h"

namespace plovane {
namespace {

// The world on a 240 x 301 client (map area 240 x 282), as after the first drawing: its whole
// height fills the area at 229 787 units per pixel.
constexpr MapBox kWorldView{37225560, 92374440, 33, 64799967};
// 2400000 x 2820000 units: exactly 10000 units per pixel on that area.
constexpr MapBox kCityView{60000000, 62400000, 30000000, 32820000};

constexpr MapBox Shifted(const MapBox& b, int32_t dx, int32_t dy) {
    return {b.left + dx, b.right + dx, b.top + dy, b.bottom + dy};
}

// A view box before a command and after it.
struct BoxCase {
    const char* name;
    MapBox before, after;
};

struct ViewRig {
    explicit ViewRig(int width = 240, int height = 301) {
        view.Resize(width, height);
        view.PrepareForDrawing(map);
    }
    // Makes the view exactly `box` (Home without the drawing that would widen it).
    void SetView(const MapBox& box) {
        map.left = box.left;
        map.right = box.right;
        map.top = box.top;
        map.bottom = box.bottom;
        view.Home(map);
    }
    DragOutcome Drag(PixelPoint from, PixelPoint to) {
        view.OnLButtonDown(from);
        view.OnMouseMove(to);
        return view.OnLButtonUp(to);
    }

    FakeClock clock;
    CMapData map{clock.Now()};
    CMapView view;
};

TEST(MapView, WithoutAMapAreaNothingIsFittedOrMoved) {
    for (const auto& [width, height] : {std::pair{0, 301}, {240, 19}, {-5, -5}}) {
        SCOPED_TRACE(::testing::Message() << width << " x " << height);
        ViewRig rig(width, height);
        CMapView& view = rig.view;
        EXPECT_FALSE(view.PrepareForDrawing(rig.map));
        EXPECT_FALSE(rig.map.fitted);
        EXPECT_FALSE(view.limitsSet());
        EXPECT_FALSE(view.ZoomIn());
        EXPECT_FALSE(view.ZoomOut());
        EXPECT_FALSE(view.ZoomAbout({10, 10}, true));
        EXPECT_FALSE(view.Pan(10, 10));
        view.OnLButtonDown({5, 5});
        EXPECT_FALSE(view.tracking());
        EXPECT_EQ(view.viewBox(), kWorldBox);
    }
}

// Each command from a view box: the box it leaves, never under one unit per pixel.
TEST(MapView, CommandsMoveTheViewWithinTheLimits) {
    enum class Command { kFit, kZoomIn, kZoomOut, kPan };
    using enum Command;
    struct Case {
        const char* name;
        Command command;
        MapBox before, after;
        int dx = 0, dy = 0;
    };
    constexpr MapBox kWide{-150000000, 179600000, 0, 64800000};
    const Case cases[] = {
        // Widened about the map, then kept south of the north pole.
        {"fit: wide map", kFit, {0, 2400000, 0, 100000}, {0, 2400000, 0, 2820000}},
        {"fit: empty box", kFit, {5000, 5000, 7000, 7000}, {4880, 5120, 6859, 7141}},
        {"zoom in", kZoomIn, {0, 4000, 0, 2000}, {1000, 3000, 500, 1500}},
        {"zoom in: 300 units", kZoomIn, {1000, 1300, 1000, 1282}, {1030, 1270, 1000, 1282}},
        {"zoom in: one unit per pixel", kZoomIn, {0, 240, 0, 282}, {0, 240, 0, 282}},
        {"zoom out", kZoomOut, kCityView, {58800000, 63600000, 28590000, 34230000}},
        {"west edge", kZoomOut, Shifted(kCityView, -59000000, 0), {0, 4800000, 28590000, 34230000}},
        // No wider than the world fills the window, about the centre, kept on the world.
        {"too wide", kZoomOut, {0, 100000000, 0, 1000}, {22425560, 77574440, 0, 64799934}},
        {"pan", kPan, kCityView, Shifted(kCityView, -100000, 50000), 10, -5},
        {"pan: east edge", kPan, kCityView, Shifted(kCityView, 67200000, 0), -100000},
        {"pan: top", kPan, kCityView, Shifted(kCityView, 0, -30000000), 0, 2000000000},
        {"the world: east-west", kPan, kWorldView, {25736210, 80885090, 0, 64799934}, 50, 50},
        // Wider than the limits: centred on them rather than pushed against one side.
        {"pan: wider than the limits", kPan, kWide, Shifted(kWide, 50000000, 0), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ViewRig rig;
        rig.SetView(c.before);
        rig.map.fitted = c.command != kFit;
        EXPECT_TRUE(c.command == kFit       ? rig.view.PrepareForDrawing(rig.map)
                    : c.command == kZoomIn  ? rig.view.ZoomIn()
                    : c.command == kZoomOut ? rig.view.ZoomOut()
                                            : rig.view.Pan(c.dx, c.dy));
        EXPECT_EQ(rig.view.viewBox(), c.after);
        EXPECT_GE(rig.view.ux(), 1);
    }
    // A box no window can hold, and a point far off a view, saturate instead of wrapping.
    EXPECT_EQ(FitBoxToArea({INT32_MIN, INT32_MAX, 0, 10}, 3, 1000),
              (MapBox{INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX}));
    const MapProjection maxZoom({INT32_MAX - 100, INT32_MAX, 0, 100}, 100, 100);
    EXPECT_EQ(maxZoom.MapToScreen({INT32_MIN, 50}), (PixelPoint{INT32_MIN, 69}));
}

// Zooming about the pointer keeps the place under it, down to one unit per pixel and out again,
// on the plain grid and in Mercator (tiles on), where y is not colatitude.
TEST(MapView, ZoomAboutKeepsThePointUnderThePointer) {
    const PixelPoint pointer{60, 250};
    for (const bool mercator : {false, true}) {
        SCOPED_TRACE(mercator ? "Mercator" : "grid");
        ViewRig rig;
        rig.view.SetMercator(mercator);
        rig.view.PrepareForDrawing(rig.map);
        const MapPoint anchor = rig.view.Projection().ScreenToView(pointer.x, pointer.y);
        for (int i = 0; i < 31; ++i) {
            SCOPED_TRACE(i);
            ASSERT_TRUE(rig.view.ZoomAbout(pointer, i < 30));
            rig.view.PrepareForDrawing(rig.map);
            const MapProjection now = rig.view.Projection();
            const MapPoint at = now.ScreenToView(pointer.x, pointer.y);
            EXPECT_LE(std::llabs(int64_t{at.x} - anchor.x), now.ux());
            EXPECT_LE(std::llabs(int64_t{at.y} - anchor.y), now.viewUy());
        }
        EXPECT_EQ(rig.view.ux(), 2);
    }
    ViewRig rig;
    EXPECT_EQ(rig.Drag({100, 100}, {109, 91}).result, DragResult::kTap);  // under 10 pixels
}

TEST(MapView, ZoomRectangleAtFullZoomIsWidenedToTheWindow) {
    ViewRig rig;
    const std::pair<PixelRect, MapBox> cases[] = {
        {{100, 119, 0, 19}, {-70, 170, -91, 191}},
        {{0, 19, 101, 120}, {-70, 171, -91, 192}},  // odd spans end one unit wider
    };
    for (const auto& [rect, after] : cases) {
        rig.SetView({0, 240, 0, 282});
        EXPECT_TRUE(rig.view.ZoomToRect(rect));
        EXPECT_EQ(rig.view.viewBox(), after);
        EXPECT_EQ(rig.view.ux(), 1);
        EXPECT_EQ(rig.view.uy(), 1);
    }
}

TEST(MapView, CenterOnMovesTheViewWithoutResizingIt) {
    struct Case {
        int32_t colatitude, longitude;
        bool moved;
        MapBox after;
    };
    const Case cases[] = {
        {20000000, 10000000, true, {8800000, 11200000, 18590000, 21410000}},
        // Near the edges of the world: as near as they allow.
        {0, 0, true, {0, 2400000, 0, 2820000}},
        {64800000, 129600000, true, {127200000, 129600000, 61980000, 64800000}},
        {-1, 10000000, false, kCityView},
        {20000000, 129600001, false, kCityView},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.colatitude << ", " << c.longitude);
        ViewRig rig;
        rig.SetView(kCityView);
        rig.view.SetBackgroundValid(true);
        EXPECT_EQ(rig.view.CenterOn(c.colatitude, c.longitude), c.moved);
        EXPECT_EQ(rig.view.viewBox(), c.after);
        EXPECT_EQ(rig.view.backgroundValid(), !c.moved);
    }
}

TEST(MapView, TrackMeRecentresOnlyWhenTheOwnStationDrifts) {
    struct Case {
        const char* name;
        bool option;
        bool hasPosition;
        int32_t colatitude, longitude;
        bool moved;
    };
    const Case cases[] = {
        {"option off", false, true, 20000000, 10000000, false},
        {"well in view", true, true, 31410000, 61200000 + 900000, false},
        {"near the edge", true, true, 31410000, 61200000 + 1000000, true},
        {"no position yet", true, false, 20000000, 10000000, false},
        {"on the Greenwich meridian", true, true, 13860000, kGreenwichLongitude, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ViewRig rig;
        rig.SetView(kCityView);
        CMapOptions options;
        options.TrackMe = c.option;
        EXPECT_EQ(rig.view.TrackMe(options, c.hasPosition, c.colatitude, c.longitude), c.moved);
        if (c.moved) {
            EXPECT_TRUE(rig.view.IsWellInView(c.colatitude, c.longitude));
            EXPECT_EQ(rig.view.viewBox().Width(), kCityView.Width());
        } else {
            EXPECT_EQ(rig.view.viewBox(), kCityView);
        }
    }
}

TEST(MapView, DragFeedbackShowsTheRubberBandOrTheMovedClient) {
    ViewRig rig;
    EXPECT_EQ(rig.view.OnLButtonUp({5, 5}).result, DragResult::kNone);

    rig.view.OnLButtonDown({50, 60});
    EXPECT_FALSE(rig.view.DragRectangle().has_value());
    const DragFeedback first = rig.view.OnMouseMove({20, 100});
    EXPECT_EQ(first.current, (PixelRect{20, 60, 50, 100}));
    const DragFeedback second = rig.view.OnMouseMove({70, 30});
    EXPECT_TRUE(second.erasePrevious);
    EXPECT_EQ(second.previous, first.current);
    EXPECT_EQ(second.current, (PixelRect{50, 30, 70, 60}));
    EXPECT_EQ(rig.view.DragRectangle(), second.current);
    EXPECT_EQ(rig.view.OnLButtonUp({70, 30}).rect, second.current);
    EXPECT_FALSE(rig.view.DragRectangle().has_value());

    rig.view.SetDragMode(DragMode::kMove);
    rig.view.OnLButtonDown({50, 60});
    EXPECT_EQ(rig.view.OnMouseMove({60, 55}).current, (PixelRect{10, -5, 250, 296}));
}

// The whole-world view fills the window, and no command shows what lies beyond the world.
TEST(MapViewWorld, TheWorldFillsTheWindowAndTheViewStaysOnIt) {
    for (const auto& [width, height, mercator] :
         {std::tuple{800, 619, false}, {800, 619, true}, {300, 700, true}, {2400, 319, false}}) {
        SCOPED_TRACE(::testing::Message() << width << " x " << height << " " << mercator);
        const MapBox world = mercator ? kMercatorWorldBox : kWorldBox;
        ViewRig rig(width, height);
        CMapView& view = rig.view;
        view.SetMercator(mercator);
        rig.map.fitted = false;
        const auto expectOnWorld = [&] {
            view.PrepareForDrawing(rig.map);
            const MapPoint a = view.Projection().ScreenToView(0, kHeaderStripHeight);
            const MapPoint b = view.Projection().ScreenToView(width, height);
            EXPECT_TRUE(a.x >= world.left && a.y >= world.top && b.x <= world.right &&
                        b.y <= world.bottom);
        };
        expectOnWorld();
        // Filled: one more unit per pixel would not fit the narrower direction.
        const int64_t r = view.ux();
        EXPECT_TRUE((r + 1) * view.AreaWidth() > world.Width() ||
                    (r + 1) * view.AreaHeight() > world.Height());
        const MapBox widest = view.viewBox();
        view.ZoomAbout({width - 1, height - 1}, false);
        expectOnWorld();
        EXPECT_EQ(view.viewBox(), widest);
        // Zoomed in, dragged far (the view lands where the picture was dragged) and centred on
        // the corners (then TrackMe needs no redraw): still on the world.
        view.ZoomAbout({width / 3, height / 3}, true);
        view.PrepareForDrawing(rig.map);
        const MapBox before = view.viewBox();
        const PixelPoint shown = view.PanAllowed(100000, -100000);
        view.Pan(100000, -100000);
        expectOnWorld();
        EXPECT_LT(std::llabs(before.left - int64_t{shown.x} * view.ux() - view.viewBox().left),
                  view.ux());
        for (const auto& [colatitude, longitude] :
             {std::pair{0, 0}, {kMaxColatitude, kMaxLongitude}}) {
            view.CenterOn(colatitude, longitude);
            EXPECT_FALSE(view.CenterOn(colatitude, longitude));
            expectOnWorld();
        }
        EXPECT_EQ(view.viewBox().Width(), before.Width());
    }
}

// Any mix of sizes, maps and commands leaves a drawable view: edges in order and at least one
// map unit per pixel after the next drawing (the sanitizer build checks the arithmetic).
TEST(MapView, RandomNavigationAlwaysLeavesADrawableView) {
    std::mt19937 random(20260801);
    const auto pick = [&](int64_t low, int64_t high) {
        return static_cast<int32_t>(std::uniform_int_distribution<int64_t>(low, high)(random));
    };
    const auto coordinate = [&] { return pick(INT32_MIN, INT32_MAX); };
    ViewRig rig;
    for (int i = 0; i < 20000; ++i) {
        const int command = pick(0, 9);  // 8 and 9: only the drawing
        if (command == 0) {
            rig.view.Resize(pick(-2, 3000), pick(-2, 3000));
        } else if (command == 1) {
            rig.map.left = coordinate();
            rig.map.right = coordinate();
            rig.map.top = coordinate();
            rig.map.bottom = coordinate();
            rig.map.fitted = pick(0, 1) == 0;
        } else if (command == 2) {
            rig.view.ZoomIn();
        } else if (command == 3) {
            rig.view.ZoomOut();
        } else if (command == 4) {
            rig.view.Home(rig.map);
        } else if (command == 5) {
            rig.view.Pan(pick(-100000, 100000), pick(-100000, 100000));
        } else if (command == 6) {
            rig.view.CenterOn(pick(-10, kMaxColatitude + 10), pick(-10, kMaxLongitude + 10));
        } else if (command == 7) {
            rig.view.SetDragMode(pick(0, 1) == 0 ? DragMode::kZoom : DragMode::kMove);
            rig.Drag({pick(-500, 3000), pick(-500, 3000)}, {pick(-500, 3000), pick(-500, 3000)});
        }
        if (!rig.view.PrepareForDrawing(rig.map))
            continue;
        const MapBox& box = rig.view.viewBox();
        ASSERT_LE(box.left, box.right) << "step " << i;
        ASSERT_LE(box.top, box.bottom) << "step " << i;
        ASSERT_GE(box.Width(), rig.view.AreaWidth()) << "step " << i;
        ASSERT_GE(box.Height(), rig.view.AreaHeight()) << "step " << i;
        rig.view.MapToScreen(coordinate(), coordinate());
        rig.view.DetailThreshold();
    }
}

}  // namespace
}  // namespace plovane
