// The map renderer painting into a QImage: vectors, polygons, detail, labels, stations,
// marks, the header strip, the off-screen copies and the drawing's checks.
#include "maps/render/map_renderer.h"

#include <gtest/gtest.h>

#include "maps/render/render_internal.h"
#include "render/render_rig.h"

namespace plovane {
namespace {

using testing::CountColour;
using testing::CountTinted;
using testing::Pixel;
using testing::RenderRig;

const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

TEST(MapRenderer, VectorLineLandsOnItsProjectedPixels) {
    RenderRig rig;
    rig.map.points = {RenderRig::Point(kMoveCode, 10, 50), RenderRig::Point(12, 150, 50),
                      RenderRig::Point(kMoveCode, 40, 100), RenderRig::Point(9, 40, 180, 0),
                      kEndMarker};
    ASSERT_TRUE(rig.Draw());
    // Horizontal red line on row 19 + 50, vertical blue one on column 40 (thin pens drawn
    // solid: their gaps take the line's own colour). As on the platform, a line leaves out
    // its last pixel.
    EXPECT_EQ(CountColour(rig.image, QRect(10, 69, 140, 1), kRed), 140);
    EXPECT_EQ(Pixel(rig.image, 80, 68), kWhite);
    EXPECT_EQ(Pixel(rig.image, 80, 70), kWhite);
    EXPECT_EQ(Pixel(rig.image, 9, 69), kWhite);
    EXPECT_EQ(Pixel(rig.image, 151, 69), kWhite);
    EXPECT_EQ(CountColour(rig.image, QRect(40, 119, 1, 80), kBlue), 80);
    EXPECT_EQ(Pixel(rig.image, 41, 150), kWhite);

    // A heavy pen is two pixels wide.
    rig.map.points[0].attributes = 1;
    rig.view.Refresh();
    ASSERT_TRUE(rig.Draw());
    EXPECT_EQ(CountColour(rig.image, QRect(80, 60, 1, 20), kRed), 2);
}

TEST(MapRenderer, FilledPolygonTakesTheBrushOfItsAttributes) {
    struct Case {
        uint8_t attributes;
        QColor fill;
    } cases[] = {
        {0x81, QColor(192, 192, 192)},  // brush 0
        {0x82, QColor(255, 64, 64)},    // brush 1
        {0x85, QColor(64, 64, 255)},    // brush 4
        {0x88, QColor(0, 0, 0)},        // brush 7
        {0x89, QColor(192, 192, 192)},  // (0x89 - 1) & 7 = 0
        {0x80, QColor(255, 255, 255)},  // no brush named: the first polygon keeps white
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.attributes));
        RenderRig rig;
        rig.map.points = {RenderRig::Point(kMoveCode, 20, 20),
                          RenderRig::Point(2, 120, 20, c.attributes),
                          RenderRig::Point(2, 120, 120, c.attributes),
                          RenderRig::Point(2, 20, 120, c.attributes), kEndMarker};
        ASSERT_TRUE(rig.Draw());
        EXPECT_EQ(Pixel(rig.image, 70, 19 + 70), c.fill);
        EXPECT_EQ(Pixel(rig.image, 70, 19 + 20), QColor(0, 96, 0));  // edge in colour 2
        EXPECT_EQ(Pixel(rig.image, 70, 19 + 130), kWhite);
    }
}

TEST(MapRenderer, ShapeWithoutFillBitIsAnOpenPolyline) {
    RenderRig rig;
    rig.map.points = {RenderRig::Point(kMoveCode, 20, 20), RenderRig::Point(2, 120, 20, 0x02),
                      RenderRig::Point(2, 120, 120), RenderRig::Point(2, 20, 120), kEndMarker};
    ASSERT_TRUE(rig.Draw());
    EXPECT_EQ(Pixel(rig.image, 70, 19 + 70), kWhite);
    EXPECT_EQ(Pixel(rig.image, 20, 19 + 70), kWhite);  // not closed
    EXPECT_EQ(Pixel(rig.image, 120, 19 + 70), QColor(0, 96, 0));
}

TEST(MapRenderer, DetailThresholdHidesLowLevelsAndSingleVerticesDrawNothing) {
    // 200000 units over 200 pixels: threshold (200000 / 6000) * 3 = 99.
    struct Case {
        uint16_t level;
        bool shown;
    } cases[] = {{0, true}, {50, false}, {98, false}, {99, true}, {500, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        RenderRig rig;
        rig.map.points = {RenderRig::Point(kMoveCode, 10, 50, 0, c.level),
                          RenderRig::Point(12, 150, 50, 0, c.level), kEndMarker};
        ASSERT_TRUE(rig.Draw());
        EXPECT_EQ(rig.view.DetailThreshold(), 99);
        EXPECT_EQ(Pixel(rig.image, 80, 69) == kRed, c.shown);
    }
    RenderRig rig;
    rig.map.points = {RenderRig::Point(kMoveCode, 10, 50), RenderRig::Point(kMoveCode, 150, 50),
                      RenderRig::Point(12, 150, 50), kEndMarker};
    ASSERT_TRUE(rig.Draw());
    EXPECT_EQ(CountColour(rig.image, QRect(0, 19, 150, 200), kRed), 0);
}

TEST(MapRenderer, LabelsAlignByCodeBit7AndFallBackToColour11) {
    const QColor colour11(192, 128, 192);
    struct Case {
        uint8_t code;
        QColor colour;
        bool right;  // text right of the anchor
    } cases[] = {
        {12, kRed, false}, {0x80 | 12, kRed, true}, {200, colour11, true}, {72, colour11, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.code));
        RenderRig rig;
        rig.options.MapLabels = true;
        rig.map.labels = {RenderRig::Label(c.code, 100, 100, "Harbour")};
        ASSERT_TRUE(rig.Draw());
        const int left = CountTinted(rig.image, QRect(50, 19 + 94, 50, 14), c.colour);
        const int right = CountTinted(rig.image, QRect(100, 19 + 94, 50, 14), c.colour);
        EXPECT_EQ(left > 0, !c.right) << left;
        EXPECT_EQ(right > 0, c.right) << right;
    }
}

TEST(MapRenderer, LabelsNeedTheOptionAndTheirLevel) {
    RenderRig rig;
    rig.map.labels = {RenderRig::Label(12, 100, 100, "Harbour")};
    ASSERT_TRUE(rig.Draw());
    EXPECT_EQ(CountTinted(rig.image, QRect(40, 100, 70, 40), kRed), 0);
    rig.options.MapLabels = true;
    rig.map.labels[0].level = 50;  // below the threshold of 99
    rig.view.Refresh();
    ASSERT_TRUE(rig.Draw());
    EXPECT_EQ(CountTinted(rig.image, QRect(40, 100, 70, 40), kRed), 0);
    rig.map.labels[0].level = 99;
    rig.view.Refresh();
    ASSERT_TRUE(rig.Draw());
    EXPECT_GT(CountTinted(rig.image, QRect(40, 100, 70, 40), kRed), 0);
}

TEST(MapRenderer, RotatedAndIconLabels) {
    EXPECT_EQ(RotatedLabelFont(90), 35);
    EXPECT_EQ(RotatedLabelFont(0), 53);
    EXPECT_EQ(RotatedLabelFont(265), 0);
    EXPECT_EQ(RotatedLabelFont(360), 54);  // v clamped to 71
    EXPECT_EQ(RotatedLabelFont(-100), 53);

    RenderRig rig;
    rig.options.MapLabels = true;
    // "$" labels: a primary icon centred on the anchor, the text under it.
    rig.map.labels = {RenderRig::Label(12, 100, 60, "$/ Camp")};
    ASSERT_TRUE(rig.Draw());
    const QImage dot = rig.icons.Icon(IconStrip::kPrimary, '/' - 32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (qAlpha(dot.pixel(x, y)) != 0) {
                EXPECT_EQ(rig.image.pixel(92 + x, 19 + 52 + y), dot.pixel(x, y) | 0xFF000000u);
            }
        }
    }
    EXPECT_GT(CountTinted(rig.image, QRect(75, 19 + 68, 50, 16), kRed), 0);
}

TEST(MapRenderer, StationIconAndOverlayLandCentredOnThePosition) {
    RenderRig rig;
    rig.Place("N0CAR", "/>", 100, 100);
    rig.Place("N0DIG", "A#", 40, 150);
    ASSERT_TRUE(rig.Draw());
    auto expectIcon = [&](const QImage& icon, int left, int top) {
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                if (qAlpha(icon.pixel(x, y)) != 0) {
                    ASSERT_EQ(rig.image.pixel(left + x, top + y), icon.pixel(x, y) | 0xFF000000u)
                        << x << "," << y;
                }
            }
        }
    };
    expectIcon(rig.icons.Icon(IconStrip::kPrimary, '>' - 32), 92, 19 + 92);
    expectIcon(rig.icons.Icon(IconStrip::kOverlay, 10), 32, 19 + 142);  // "A" over the star
    EXPECT_TRUE(rig.stations.FindStation("N0CAR")->shownOnMap);
}

TEST(MapRenderer, StationsOutsideTheViewOrKilledAreNotShown) {
    RenderRig rig;
    rig.Place("N0FAR", "/>", 100, 2000);  // 1800 pixels below the map area
    rig.Place("N0OBJ", "/>", 100, 100);
    rig.stations.MarkObjectKilled("N0OBJ");
    rig.stations.SetShownOnMap("N0FAR", true);
    ASSERT_TRUE(rig.Draw());
    EXPECT_FALSE(rig.stations.FindStation("N0FAR")->shownOnMap);
    EXPECT_FALSE(rig.stations.FindStation("N0OBJ")->shownOnMap);
    EXPECT_EQ(CountColour(rig.image, QRect(92, 111, 16, 16), kWhite), 256);
    // A killed object is drawn only on its own, with the "." icon.
    QPainter painter(&rig.image);
    EXPECT_TRUE(rig.renderer.DrawStation(&painter, rig.Scene(), "N0OBJ"));
    painter.end();
    EXPECT_TRUE(rig.stations.FindStation("N0OBJ")->shownOnMap);
    const QImage cross = rig.icons.Icon(IconStrip::kPrimary, '.' - 32);
    EXPECT_EQ(rig.image.pixel(92 + 2, 111 + 2), cross.pixel(2, 2) | 0xFF000000u);
}

TEST(MapRenderer, CallsWithHaloOrOpaqueBox) {
    for (bool opaque : {false, true}) {
        SCOPED_TRACE(opaque);
        RenderRig rig;
        rig.options.IconLabels = true;
        rig.options.OpaqueLabels = opaque;
        rig.map.points = {RenderRig::Point(kMoveCode, 0, 100, 1), RenderRig::Point(9, 199, 100),
                          kEndMarker};  // blue under the call, level with the symbol
        rig.Place("N0CALL-9", "/>", 100, 100);
        ASSERT_TRUE(rig.Draw());
        const QRect callBox(109, 19 + 92, 50, 12);
        EXPECT_GT(CountColour(rig.image, callBox, QColor(0, 0, 0)), 10);
        EXPECT_GT(CountColour(rig.image, callBox, kWhite), 10);
        // The halo surrounds the glyphs only; the opaque box covers the line along the text.
        const int blue = CountColour(rig.image, QRect(111, 19 + 99, 45, 3), kBlue);
        if (opaque) {
            EXPECT_EQ(blue, 0);
        } else {
            EXPECT_GT(blue, 0);
        }
    }
}

TEST(MapRenderer, CourseSpeedAndWindMarks) {
    RenderRig rig;
    rig.options.ShowCourseSpeed = true;
    rig.options.ShowWX = true;
    rig.Place("N0MOB", "/>", 60, 100);
    rig.stations.SetCourseSpeed("N0MOB", 1, 0);  // rounds to 0: a bare 24-pixel shaft north
    rig.Place("N0WX", "/_", 140, 100);
    WeatherValues wx;
    wx.windDirection = 90;
    wx.windSpeed = 10;
    rig.stations.StoreWeather("N0WX", "APRS", "", "", wx);
    rig.Place("N0STILL", "/>", 100, 40);
    rig.stations.SetCourseSpeed("N0STILL", 0, 90);
    ASSERT_TRUE(rig.Draw());
    EXPECT_EQ(CountColour(rig.image, QRect(60, 119 - 24, 1, 16), kRed), 16);
    EXPECT_EQ(Pixel(rig.image, 60, 119 - 26), kWhite);
    // 10 knots is 10 mph: one ten, shaft 24 pixels east.
    EXPECT_EQ(CountColour(rig.image, QRect(140 + 9, 119, 15, 1), kBlue), 15);
    EXPECT_EQ(Pixel(rig.image, 140 + 26, 119), kWhite);
    EXPECT_GT(CountColour(rig.image, QRect(140 + 20, 119 + 1, 10, 10), kBlue), 3);
    // No speed, no mark.
    EXPECT_EQ(CountColour(rig.image, QRect(109, 59 - 3, 20, 6), kRed), 0);
}

TEST(MapRenderer, TracksAreDashedRedLines) {
    RenderRig rig;
    rig.options.ShowTracks = true;
    rig.profile.WriteInt(CStationSettings::kSection, "bTrack", 1);
    rig.settings.Load(rig.profile);
    rig.stations.ApplySettings(rig.settings, false);
    rig.Place("N0TRK", "/>", 150, 100);
    rig.Place("N0TRK", "/>", 50, 100);
    ASSERT_FALSE(rig.stations.FindStation("N0TRK")->track.empty());
    ASSERT_TRUE(rig.Draw());
    const int red = CountColour(rig.image, QRect(60, 119, 80, 1), kRed);
    EXPECT_GT(red, 30);
    EXPECT_LT(red, 80);  // dashed, gaps show the map
}

TEST(MapRenderer, HeaderStripRowsTitleAndScale) {
    RenderRig rig;
    ASSERT_TRUE(rig.Draw());
    EXPECT_EQ(Pixel(rig.image, 2, 0), kWhite);
    EXPECT_EQ(Pixel(rig.image, 2, 8), QColor(192, 192, 192));
    EXPECT_EQ(Pixel(rig.image, 2, 17), QColor(128, 128, 128));
    EXPECT_EQ(Pixel(rig.image, 2, 18), QColor(0, 0, 0));
    EXPECT_EQ(Pixel(rig.image, 150, 17), QColor(128, 128, 128));
    EXPECT_EQ(HeaderTitle(rig.map), "Plovane: Test Map");
    rig.map.loaded = false;
    EXPECT_EQ(HeaderTitle(rig.map), "Plovane v1.02");
    // The scale bar's black bracket: its right end 10 pixels from the edge.
    EXPECT_GT(CountColour(rig.image, QRect(200 - 10, 19, 1, 30), QColor(0, 0, 0)), 4);
}

TEST(MapRenderer, ProgressAndCompleteRedrawTime) {
    RenderRig rig;
    rig.clock.AdvanceSeconds(7);
    ASSERT_TRUE(rig.Draw());
    const std::vector<std::string>& progress = rig.report.steps;
    ASSERT_GE(progress.size(), 2u);
    EXPECT_EQ(progress.front(), "show:Rendering map:");
    EXPECT_EQ(progress.back(), "hide");
    EXPECT_EQ(rig.view.lastCompleteRedrawMs(), rig.clock.TickMs());
}

TEST(MapRenderer, OffScreenCopiesMakeARepaintOneCopy) {
    RenderRig rig;
    rig.options.UseOffScreenBitmaps = true;
    rig.map.points = {RenderRig::Point(kMoveCode, 10, 50), RenderRig::Point(12, 150, 50),
                      kEndMarker};
    ASSERT_TRUE(rig.Draw());
    EXPECT_TRUE(rig.view.backgroundValid());
    ASSERT_TRUE(rig.renderer.bitmaps().Exist());
    EXPECT_EQ(rig.renderer.bitmaps().picture().size(), QSize(202, 244));
    EXPECT_EQ(Pixel(rig.image, 80, 69), kRed);

    // A repaint copies the picture: no new progress, same pixels.
    rig.report.steps.clear();
    rig.image.fill(Qt::gray);
    ASSERT_TRUE(rig.Draw());
    EXPECT_TRUE(rig.report.steps.empty());
    EXPECT_EQ(Pixel(rig.image, 80, 69), kRed);

    // A changed station goes onto the picture without a target; the next repaint shows it.
    rig.Place("N0NEW", "/>", 100, 150);
    EXPECT_TRUE(rig.renderer.DrawStation(nullptr, rig.Scene(), "N0NEW"));
    rig.image.fill(Qt::gray);
    ASSERT_TRUE(rig.Draw());
    const QImage car = rig.icons.Icon(IconStrip::kPrimary, '>' - 32);
    EXPECT_EQ(rig.image.pixel(92 + 7, 19 + 142 + 9), car.pixel(7, 9) | 0xFF000000u);

    // Switching the option off releases the copies.
    rig.options.UseOffScreenBitmaps = false;
    rig.view.Refresh();
    ASSERT_TRUE(rig.Draw());
    EXPECT_FALSE(rig.renderer.bitmaps().Exist());
    EXPECT_FALSE(rig.view.backgroundValid());
}

TEST(MapRenderer, ChecksShowTheirMessages) {
    RenderRig rig;
    QPainter painter(&rig.image);
    MapScene scene = rig.Scene();
    EXPECT_FALSE(rig.renderer.DrawMap(nullptr, scene));
    scene.options = nullptr;
    EXPECT_FALSE(rig.renderer.DrawMap(&painter, scene));
    scene.view = nullptr;
    EXPECT_FALSE(rig.renderer.DrawMap(&painter, scene));
    EXPECT_FALSE(rig.renderer.DrawStation(&painter, scene, "N0CALL"));
    EXPECT_EQ(rig.report.checks,
              (std::vector<std::string>{kInvalidParameterText, kMissingPreferencesText, kNoViewText,
                                        kNoViewText}));
    // A window too small for a map area draws nothing and complains about nothing.
    rig.view.Resize(100, 10);
    EXPECT_FALSE(rig.renderer.DrawMap(&painter, rig.Scene()));
    EXPECT_EQ(rig.report.checks.size(), 4u);
}

TEST(MapRenderer, FarAwayVerticesAreClippedNotWrapped) {
    RenderRig rig;
    // A polygon reaching tens of millions of pixels out still fills the visible part.
    const int far = 100000000;
    rig.map.points = {{kMoveCode, 0, 0, RenderRig::kX0 - far, RenderRig::kY0 - far},
                      {3, 0x82, 0, RenderRig::kX0 + far, RenderRig::kY0 - far},
                      {3, 0x82, 0, RenderRig::kX0 + far, RenderRig::kY0 + far},
                      {3, 0x82, 0, RenderRig::kX0 - far, RenderRig::kY0 + far},
                      kEndMarker};
    ASSERT_TRUE(rig.Draw());
    EXPECT_EQ(Pixel(rig.image, 100, 120), QColor(255, 64, 64));
    EXPECT_EQ(Pixel(rig.image, 5, 200), QColor(255, 64, 64));
}

TEST(DisplayText, Utf8WhenValidElseLatin1) {
    EXPECT_EQ(render::DisplayText("Gr\xC3\xBC\xC3\x9F"
                                  "e"),
              QString::fromUtf8("Grüße"));
    EXPECT_EQ(render::DisplayText("Stra\xDF"
                                  "e"),
              QString::fromUtf8("Straße"));
    EXPECT_EQ(render::DisplayText(""), QString());
}

}  // namespace
}  // namespace plovane
