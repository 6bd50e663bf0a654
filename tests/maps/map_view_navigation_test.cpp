// Navigation of the map view: fitting, zooming, home, dragging, centring, tracking.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "core/clock.h"
#include "maps/map_view.h"

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

TEST(MapView, FirstDrawingSetsLimitsAndFitsTheEmptyMapToTheWindow) {
    FakeClock clock;
    CMapData map(clock.Now());
    map.points.push_back({});  // stale records of a map that is not loaded
    map.labels.push_back({});
    CMapView view;
    view.Resize(240, 301);
    ASSERT_TRUE(view.PrepareForDrawing(map));
    EXPECT_EQ(view.limitsBox(), kWorldBox);
    EXPECT_EQ(view.viewBox(), kWorldView);
    EXPECT_TRUE(map.fitted);
    EXPECT_TRUE(map.points.empty());
    EXPECT_TRUE(map.labels.empty());
}

TEST(MapView, WithoutAMapAreaNothingIsFittedOrMoved) {
    for (const auto& [width, height] : {std::pair{0, 301}, {240, 19}, {-5, -5}}) {
        SCOPED_TRACE(::testing::Message() << width << " x " << height);
        FakeClock clock;
        CMapData map(clock.Now());
        CMapView view;
        view.Resize(width, height);
        EXPECT_FALSE(view.PrepareForDrawing(map));
        EXPECT_FALSE(map.fitted);
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

TEST(MapView, FittingKeepsTheWholeMapBoxAtLeastOneUnitPerPixel) {
    const BoxCase cases[] = {
        {"window proportions already", kCityView, kCityView},
        // Widened about the map, then kept south of the north pole.
        {"wide map", {0, 2400000, 0, 100000}, {0, 2400000, 0, 2820000}},
        {"reversed edges", {2400000, 0, 100000, 0}, {0, 2400000, 0, 2820000}},
        {"empty box", {5000, 5000, 7000, 7000}, {4880, 5120, 6859, 7141}},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.name);
        ViewRig rig;
        rig.SetView(c.before);
        rig.map.fitted = false;
        rig.view.PrepareForDrawing(rig.map);
        EXPECT_EQ(rig.view.viewBox(), c.after);
        EXPECT_EQ(rig.view.ux(), rig.view.uy());
        EXPECT_GE(rig.view.ux(), 1);
    }
}

TEST(MapView, ZoomInHalvesTheSpanDownToOneUnitPerPixel) {
    const BoxCase cases[] = {
        {"plain halving", {0, 4000, 0, 2000}, {1000, 3000, 500, 1500}},
        {"300 units on 240 pixels", {1000, 1300, 1000, 1282}, {1030, 1270, 1000, 1282}},
        {"already one unit per pixel", {0, 240, 0, 282}, {0, 240, 0, 282}},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.name);
        ViewRig rig;
        rig.SetView(c.before);
        rig.view.SetBackgroundValid(true);
        EXPECT_TRUE(rig.view.ZoomIn());
        EXPECT_EQ(rig.view.viewBox(), c.after);
        EXPECT_FALSE(rig.view.aspectFixed());
        EXPECT_FALSE(rig.view.backgroundValid());
    }

    ViewRig rig;
    for (int i = 0; i < 40; ++i) {
        rig.view.ZoomIn();
        rig.view.PrepareForDrawing(rig.map);
    }
    EXPECT_EQ(rig.view.ux(), 1);
    EXPECT_EQ(rig.view.viewBox().Width(), 240);
    EXPECT_NEAR(rig.view.viewBox().left + 120, 64800000, 240);
}

TEST(MapView, ZoomOutDoublesTheSpanWithinTheLimits) {
    const BoxCase cases[] = {
        {"whole limits stay", kWorldView, kWorldView},
        {"mid-world", kCityView, {58800000, 63600000, 28590000, 34230000}},
        {"pushed right off the west edge",
         {1000000, 3400000, 30000000, 32820000},
         {0, 4800000, 28590000, 34230000}},
        {"pushed up off the south pole",
         {60000000, 62400000, 61980000, 64800000},
         {58800000, 63600000, 59160000, 64800000}},
        // No wider than the world fills the window, about the centre, kept on the world.
        {"too wide to fit", {0, 100000000, 0, 1000}, {22425560, 77574440, 0, 64799934}},
        {"too high to fit", {0, 1000, 0, 100000000}, {0, 55148880, 66, 64800000}},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.name);
        ViewRig rig;
        rig.SetView(c.before);
        EXPECT_TRUE(rig.view.ZoomOut());
        EXPECT_EQ(rig.view.viewBox(), c.after);
    }

    CMapView unset;
    unset.Resize(240, 301);
    EXPECT_FALSE(unset.ZoomOut());
}

TEST(MapView, HomeReturnsToTheMapAfterNavigating) {
    ViewRig rig;
    rig.SetView(kCityView);
    rig.view.PrepareForDrawing(rig.map);
    rig.view.ZoomIn();
    rig.view.Pan(37, -12);
    rig.view.PrepareForDrawing(rig.map);
    ASSERT_NE(rig.view.viewBox(), kCityView);
    EXPECT_TRUE(rig.view.Home(rig.map));
    EXPECT_FALSE(rig.view.aspectFixed());
    rig.view.PrepareForDrawing(rig.map);
    EXPECT_EQ(rig.view.viewBox(), kCityView);
}

TEST(MapView, ReleasingADragZoomsMovesOrTaps) {
    using enum DragMode;
    using enum DragResult;
    const MapBox zoomed{39523430, 67097870, 2297903, 34697870};
    struct Case {
        const char* name;
        DragMode mode;
        PixelPoint from, to;
        DragResult result;
        MapBox after;
    };
    const Case cases[] = {
        {"rectangle", kZoom, {10, 29}, {130, 170}, kZoomed, zoomed},
        {"10 x 10", kZoom, {0, 19}, {10, 29}, kZoomed, {37225560, 39523430, 33, 2297903}},
        {"9 x 200 is a tap", kZoom, {100, 40}, {109, 240}, kTap, kCityView},
        {"move under 10 is a tap", kMove, {100, 100}, {109, 91}, kTap, kCityView},
        {"move 10 across", kMove, {100, 100}, {110, 100}, kMoved, Shifted(kCityView, -100000, 0)},
        {"9 x 200", kMove, {100, 40}, {109, 240}, kMoved, Shifted(kCityView, -90000, -2000000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ViewRig rig;
        // The zoom cases start from the world, the others from the city.
        if (c.result != kZoomed)
            rig.SetView(kCityView);
        rig.view.SetDragMode(c.mode);
        const DragOutcome outcome = rig.Drag(c.from, c.to);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.point, c.to);
        EXPECT_FALSE(rig.view.tracking());
        EXPECT_EQ(rig.view.viewBox(), c.after);
    }
}

TEST(MapView, ZoomRectangleAtFullZoomIsWidenedToTheWindow) {
    ViewRig rig;
    rig.SetView({0, 240, 0, 282});
    ASSERT_EQ(rig.view.ux(), 1);
    struct Case {
        PixelRect rect;
        MapBox after;
    };
    const Case cases[] = {
        {{100, 119, 0, 19}, {-70, 170, -91, 191}},
        {{0, 19, 101, 120}, {-70, 171, -91, 192}},  // odd spans end one unit wider
    };
    for (const Case& c : cases) {
        rig.SetView({0, 240, 0, 282});
        EXPECT_TRUE(rig.view.ZoomToRect(c.rect));
        EXPECT_EQ(rig.view.viewBox(), c.after);
        EXPECT_EQ(rig.view.ux(), 1);
        EXPECT_EQ(rig.view.uy(), 1);
    }
}

TEST(MapView, PanningStaysInsideTheLimits) {
    struct Case {
        const char* name;
        MapBox before;
        int dx, dy;
        MapBox after;
    };
    const Case cases[] = {
        {"follows the pointer", kCityView, 10, -5, {59900000, 62300000, 30050000, 32870000}},
        {"stops at the east edge", kCityView, -100000, 0, Shifted(kCityView, 67200000, 0)},
        {"stops at the top", kCityView, 0, 2000000000, Shifted(kCityView, 0, -30000000)},
        {"the whole world moves only east and west",
         kWorldView,
         50,
         50,
         {25736210, 80885090, 0, 64799934}},
        // Wider than the limits: centred on them rather than pushed against one side.
        {"wider than the limits",
         {-150000000, 179600000, 0, 64800000},
         1,
         0,
         {-100000000, 229600000, 0, 64800000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ViewRig rig;
        rig.SetView(c.before);
        EXPECT_TRUE(rig.view.Pan(c.dx, c.dy));
        EXPECT_EQ(rig.view.viewBox(), c.after);
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

TEST(MapView, WellInViewMeansTheInnerThreeQuartersEdgesIncluded) {
    ViewRig rig;
    rig.SetView({0, 800, 0, 1600});  // centre (400, 800); margins 300 and 600
    struct Case {
        int32_t colatitude, longitude;
        bool inView;
    };
    const Case cases[] = {
        {800, 100, true},  {800, 99, false},  {800, 701, false},  {200, 400, true},
        {199, 400, false}, {1400, 400, true}, {1401, 400, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.colatitude << ", " << c.longitude);
        EXPECT_EQ(rig.view.IsWellInView(c.colatitude, c.longitude), c.inView);
    }
}

TEST(MapView, TrackMeRecentresOnlyWhenTheOwnStationDrifts) {
    struct Case {
        const char* name;
        bool option;
        bool hasPosition;
        struct {
            int32_t colatitude, longitude, altitude;
        } position;
        bool moved;
    };
    const Case cases[] = {
        {"option off", false, true, {20000000, 10000000, 0}, false},
        {"well in view", true, true, {31410000, 61200000 + 900000, 0}, false},
        {"near the edge", true, true, {31410000, 61200000 + 1000000, 0}, true},
        {"no position yet", true, false, {20000000, 10000000, 0}, false},
        {"the no-position value", true, true, {kNoColatitude, kNoLongitude, 0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ViewRig rig;
        rig.SetView(kCityView);
        CMapOptions options;
        options.TrackMe = c.option;
        EXPECT_EQ(
            rig.view.TrackMe(options, c.hasPosition, c.position.colatitude, c.position.longitude),
            c.moved);
        if (c.moved) {
            EXPECT_TRUE(rig.view.IsWellInView(c.position.colatitude, c.position.longitude));
            EXPECT_EQ(rig.view.viewBox().Width(), kCityView.Width());
        } else {
            EXPECT_EQ(rig.view.viewBox(), kCityView);
        }
    }
}

TEST(MapView, ResizingRefitsTheRequestedBoxAndRedoesTheLimits) {
    ViewRig rig;
    rig.SetView(kCityView);
    rig.view.PrepareForDrawing(rig.map);
    rig.view.SetBackgroundValid(true);

    rig.view.Resize(240, 301);  // the same size changes nothing
    EXPECT_TRUE(rig.view.backgroundValid());
    EXPECT_TRUE(rig.view.aspectFixed());

    struct Step {
        int width, height;
        MapBox view;
        int32_t ux;
    };
    const Step steps[] = {
        {480, 301, {58800000, 63600000, 30000000, 32820000}, 10000},
        {480, 583, kCityView, 5000},   // twice the area each way: twice the detail
        {240, 301, kCityView, 10000},  // back where it started, not zoomed out
        {120, 301, {60000000, 62400000, 28590000, 34230000}, 20000},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(::testing::Message() << step.width << " x " << step.height);
        rig.view.Resize(step.width, step.height);
        EXPECT_FALSE(rig.view.backgroundValid());
        EXPECT_FALSE(rig.view.limitsSet());
        rig.view.PrepareForDrawing(rig.map);
        EXPECT_EQ(rig.view.viewBox(), step.view);
        EXPECT_EQ(rig.view.ux(), step.ux);
        EXPECT_EQ(rig.view.uy(), step.ux);
    }
    rig.view.Resize(480, 301);
    rig.view.PrepareForDrawing(rig.map);
    EXPECT_EQ(rig.view.limitsBox(), kWorldBox);

    // After a pan the visible box is what a new size fits.
    rig.view.Pan(-10, 0);
    const MapBox panned = rig.view.viewBox();
    rig.view.Resize(960, 583);
    rig.view.PrepareForDrawing(rig.map);
    EXPECT_EQ(rig.view.viewBox(), panned);
}

TEST(MapView, DragFeedbackShowsTheRubberBandOrTheMovedClient) {
    ViewRig rig;
    EXPECT_EQ(rig.view.OnLButtonUp({5, 5}).result, DragResult::kNone);

    rig.view.OnLButtonDown({50, 60});
    EXPECT_TRUE(rig.view.tracking());
    EXPECT_FALSE(rig.view.DragRectangle().has_value());
    DragFeedback first = rig.view.OnMouseMove({20, 100});
    EXPECT_FALSE(first.erasePrevious);
    EXPECT_EQ(first.current, (PixelRect{20, 60, 50, 100}));
    DragFeedback second = rig.view.OnMouseMove({70, 30});
    EXPECT_TRUE(second.erasePrevious);
    EXPECT_EQ(second.previous, first.current);
    EXPECT_EQ(second.current, (PixelRect{50, 30, 70, 60}));
    EXPECT_EQ(rig.view.DragRectangle(), second.current);
    DragOutcome up = rig.view.OnLButtonUp({70, 30});
    EXPECT_TRUE(up.eraseRect);
    EXPECT_EQ(up.rect, second.current);
    EXPECT_FALSE(rig.view.DragRectangle().has_value());

    rig.view.SetDragMode(DragMode::kMove);
    rig.view.OnLButtonDown({50, 60});
    EXPECT_EQ(rig.view.OnMouseMove({60, 55}).current, (PixelRect{10, -5, 250, 296}));
}

TEST(MapView, CompleteRedrawFallsDueAfterThePeriod) {
    CMapView view(1000);
    CMapOptions options;
    options.RedrawScreenEvery = 5;
    EXPECT_FALSE(view.IsCompleteRedrawDue(options, 1000 + 3600000));
    options.bRedrawScreenEvery = true;
    EXPECT_FALSE(view.IsCompleteRedrawDue(options, 1000 + 300000));
    EXPECT_TRUE(view.IsCompleteRedrawDue(options, 1000 + 300001));
    view.MarkCompleteRedraw(400000);
    EXPECT_FALSE(view.IsCompleteRedrawDue(options, 400000 + 300000));
}

// Any mix of sizes, maps and commands leaves a drawable view: edges in order and at least one
// map unit per pixel after the next drawing (the sanitizer build checks the arithmetic).
TEST(MapView, RandomNavigationAlwaysLeavesADrawableView) {
    std::mt19937 random(20260801);
    const auto pick = [&](int64_t low, int64_t high) {
        return std::uniform_int_distribution<int64_t>(low, high)(random);
    };
    const auto coordinate = [&] { return static_cast<int32_t>(pick(INT32_MIN, INT32_MAX)); };
    ViewRig rig;
    for (int i = 0; i < 20000; ++i) {
        switch (pick(0, 9)) {
            case 0:
                rig.view.Resize(static_cast<int>(pick(-2, 3000)), static_cast<int>(pick(-2, 3000)));
                break;
            case 1:
                rig.map.left = coordinate();
                rig.map.right = coordinate();
                rig.map.top = coordinate();
                rig.map.bottom = coordinate();
                rig.map.fitted = pick(0, 1) == 0;
                break;
            case 2:
                rig.view.ZoomIn();
                break;
            case 3:
                rig.view.ZoomOut();
                break;
            case 4:
                rig.view.Home(rig.map);
                break;
            case 5:
                rig.view.Pan(static_cast<int32_t>(pick(-100000, 100000)),
                             static_cast<int32_t>(pick(-100000, 100000)));
                break;
            case 6:
                rig.view.CenterOn(static_cast<int32_t>(pick(-10, kMaxColatitude + 10)),
                                  static_cast<int32_t>(pick(-10, kMaxLongitude + 10)));
                break;
            case 7:
                rig.view.SetDragMode(pick(0, 1) == 0 ? DragMode::kZoom : DragMode::kMove);
                rig.Drag({static_cast<int32_t>(pick(-500, 3000)),
                          static_cast<int32_t>(pick(-500, 3000))},
                         {static_cast<int32_t>(pick(-500, 3000)),
                          static_cast<int32_t>(pick(-500, 3000))});
                break;
            default:
                break;
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
