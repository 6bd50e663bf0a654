// SPDX-License-Identifier: GPL-3.0-or-later
// The map renderer painting into a QImage, and the painter's halo text.
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

TEST(MapRenderer, VectorLinesLandOnTheirPixelsWhenTheirLevelIsShown) {
    // 200000 units over 200 pixels: detail threshold (200000 / 6000) * 3 = 99.
    struct Case {
        uint8_t attributes;  // of the red line's move record: bit 0 is the heavy pen
        uint16_t level;
        int red;  // red pixels across the horizontal line
    } cases[] = {{0, 0, 1}, {1, 0, 2}, {0, 50, 0}, {0, 98, 0}, {0, 99, 1}, {0, 500, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.attributes) << " level " << c.level);
        RenderRig rig;
        rig.map.points = {RenderRig::Point(kMoveCode, 10, 50, c.attributes, c.level),
                          RenderRig::Point(12, 150, 50, 0, c.level),
                          RenderRig::Point(kMoveCode, 40, 100), RenderRig::Point(9, 40, 180),
                          // A lone vertex after a move draws nothing.
                          RenderRig::Point(kMoveCode, 10, 150),
                          RenderRig::Point(kMoveCode, 150, 150), RenderRig::Point(12, 150, 150),
                          kEndMarker};
        ASSERT_TRUE(rig.Draw());
        EXPECT_EQ(rig.view.DetailThreshold(), 99);
        EXPECT_EQ(CountColour(rig.image, QRect(80, 60, 1, 20), kRed), c.red);
        // Thin pens are drawn solid; as on the platform, a line leaves out its last pixel.
        EXPECT_EQ(CountColour(rig.image, QRect(40, 119, 1, 80), kBlue), 80);
        EXPECT_EQ(Pixel(rig.image, 41, 150), kWhite);
        EXPECT_EQ(CountColour(rig.image, QRect(0, 119, 200, 100), kRed), 0);
        if (c.red == 1) {
            EXPECT_EQ(CountColour(rig.image, QRect(10, 69, 140, 1), kRed), 140);
            EXPECT_EQ(Pixel(rig.image, 9, 69), kWhite);
            EXPECT_EQ(Pixel(rig.image, 151, 69), kWhite);
        }
    }
}

// The night map: dark paper, the map's lines lightened in their own hue, a dark header strip.
TEST(MapRenderer, NightMapDarkPaperLightLinesDarkHeader) {
    RenderRig rig;
    rig.options.NightMap = true;
    rig.map.points = {RenderRig::Point(kMoveCode, 40, 100), RenderRig::Point(9, 40, 180),
                      kEndMarker};
    ASSERT_TRUE(rig.Draw());
    EXPECT_EQ(Pixel(rig.image, 41, 150), NightColour(kWhite));
    EXPECT_LT(NightColour(kWhite).lightness(), 64);
    EXPECT_EQ(CountColour(rig.image, QRect(40, 119, 1, 80), NightColour(kBlue)), 80);
    EXPECT_GT(NightColour(kBlue).lightness(), kBlue.lightness());
    EXPECT_EQ(NightColour(kBlue).hue(), kBlue.hue());
    EXPECT_LT(Pixel(rig.image, 5, 8).lightness(), 64);  // the header strip
}

TEST(MapRenderer, LabelsAlignByCodeBit7AndShowWithTheOptionAtTheirLevel) {
    const QColor colour11(192, 128, 192);
    enum Side { kNone, kLeft, kRight };
    struct Case {
        uint8_t code;
        bool option;
        uint16_t level;
        QColor colour;
        Side side;  // of the anchor
    } cases[] = {
        {12, true, 0, kRed, kLeft},       {0x80 | 12, true, 0, kRed, kRight},
        {200, true, 0, colour11, kRight}, {72, true, 0, colour11, kLeft},
        {12, false, 0, kRed, kNone},      {12, true, 50, kRed, kNone},
        {12, true, 99, kRed, kLeft},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.code) << " level " << c.level);
        RenderRig rig;
        rig.options.MapLabels = c.option;
        rig.map.labels = {RenderRig::Label(c.code, 100, 100, "Harbour", c.level)};
        ASSERT_TRUE(rig.Draw());
        const int left = CountTinted(rig.image, QRect(50, 19 + 94, 50, 14), c.colour);
        const int right = CountTinted(rig.image, QRect(100, 19 + 94, 50, 14), c.colour);
        EXPECT_EQ(left > 0, c.side == kLeft) << left;
        EXPECT_EQ(right > 0, c.side == kRight) << right;
    }
}

TEST(MapRenderer, RotatedAndIconLabels) {
    EXPECT_EQ(RotatedLabelFont(90), 35);
    EXPECT_EQ(RotatedLabelFont(265), 0);
    EXPECT_EQ(RotatedLabelFont(360), 54);  // v clamped to 71
    EXPECT_EQ(RotatedLabelFont(-100), 53);

    RenderRig rig;
    rig.options.MapLabels = true;
    // "$" labels: a primary icon centred on the anchor, the text under it.
    rig.map.labels = {RenderRig::Label(12, 100, 60, "$/ Camp")};
    ASSERT_TRUE(rig.Draw());
    rig.ExpectIconAt(rig.icons.Icon(IconStrip::kPrimary, '/' - 32), 92, 19 + 52);
    EXPECT_GT(CountTinted(rig.image, QRect(75, 19 + 68, 50, 16), kRed), 0);
}

TEST(MapRenderer, CourseSpeedWindAndTrackMarks) {
    RenderRig rig;
    rig.options.ShowCourseSpeed = rig.options.ShowWX = rig.options.ShowTracks = true;
    rig.options.IconLabels = false;  // the marks alone
    rig.profile.WriteInt(CStationSettings::kSection, "bTrack", 1);
    rig.settings.Load(rig.profile);
    rig.stations.ApplySettings(rig.settings, false);
    rig.Place("N0MOB", "/>", 60, 100);
    rig.stations.SetCourseSpeed("N0MOB", 1, 0);  // rounds to 0: a bare 24-pixel shaft north
    rig.Place("N0WX", "/_", 140, 100);
    WeatherValues wx;
    wx.windDirection = 90;
    wx.windSpeed = 10;
    rig.stations.StoreWeather("N0WX", "APRS", "", "", wx);
    rig.Place("N0STILL", "/>", 100, 40);
    rig.stations.SetCourseSpeed("N0STILL", 0, 90);
    rig.Place("N0TRK", "/>", 150, 180);
    rig.Place("N0TRK", "/>", 50, 180);
    ASSERT_TRUE(rig.Draw());
    EXPECT_EQ(CountColour(rig.image, QRect(60, 119 - 24, 1, 16), kRed), 16);
    EXPECT_EQ(Pixel(rig.image, 60, 119 - 26), kWhite);
    // 10 knots is 10 mph: one ten, shaft 24 pixels east.
    EXPECT_EQ(CountColour(rig.image, QRect(140 + 9, 119, 15, 1), kBlue), 15);
    EXPECT_EQ(Pixel(rig.image, 140 + 26, 119), kWhite);
    EXPECT_GT(CountColour(rig.image, QRect(140 + 20, 119 + 1, 10, 10), kBlue), 3);
    // No speed, no mark.
    EXPECT_EQ(CountColour(rig.image, QRect(109, 59 - 3, 20, 6), kRed), 0);
    // The track is no red mark: it has a colour of its own.
    EXPECT_EQ(CountColour(rig.image, QRect(60, 199, 80, 1), kRed), 0);
}

// The given range, else the PHG range, as a ring round the station when the option is on;
// none too small to show beside the icon.
TEST(MapRenderer, RangeRingsOnlyWhenAsked) {
    for (const bool on : {false, true}) {
        SCOPED_TRACE(on);
        RenderRig rig;
        rig.options.ShowRangeCircles = on;
        rig.options.IconLabels = false;
        rig.map.loaded = false;  // a white map
        rig.Place("N0RNG", "/-", 100, 100);
        rig.GiveRange("N0RNG", 10);  // 52 pixels north, 81 east at 50 degrees north
        rig.Place("N0TINY", "/-", 30, 170);
        rig.GiveRange("N0TINY", 1);  // 5 pixels: under the icon
        ASSERT_TRUE(rig.Draw());
        const auto marked = [&](const QRect& area) {
            return testing::CountPixels(rig.image, area,
                                        [](const QColor& p) { return p != kWhite; });
        };
        EXPECT_EQ(marked(QRect(97, 119 - 55, 7, 6)) > 0, on);      // north
        EXPECT_EQ(marked(QRect(100 + 78, 116, 6, 7)) > 0, on);     // east
        EXPECT_EQ(marked(QRect(100 - 30, 119 - 30, 20, 20)), 0);  // inside stays clear
        EXPECT_EQ(marked(QRect(30 - 12, 189 - 12, 24, 24)), marked(QRect(30 - 8, 181, 16, 16)));
    }
}

TEST(MapRenderer, OffScreenCopiesMakeARepaintOneCopy) {
    RenderRig rig;
    rig.options.UseOffScreenBitmaps = true;
    rig.map.points = {RenderRig::Point(kMoveCode, 10, 50), RenderRig::Point(12, 150, 50),
                      kEndMarker};
    ASSERT_TRUE(rig.Draw());
    EXPECT_EQ(rig.report.steps.front(), "show:Rendering map:");
    EXPECT_EQ(rig.report.steps.back(), "hide");
    EXPECT_EQ(HeaderTitle(rig.map), "Plovane: Test Map");
    EXPECT_TRUE(rig.view.backgroundValid());
    ASSERT_TRUE(rig.renderer.bitmaps().Exist());
    EXPECT_EQ(rig.renderer.bitmaps().picture().size(), QSize(202, 244));

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
    rig.ExpectIconAt(rig.icons.Icon(IconStrip::kPrimary, '>' - 32), 92, 19 + 142);

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

// The painter shortcut for a call with its halo draws exactly what the long way draws.
TEST(MapPainter, HaloTextMatchesSeparateTexts) {
    testing::EnsureGuiApplication();
    const RenderResources resources;
    for (const char* text : {"K1ABC-9", "A LONG OBJECT NAME FAR WIDER THAN ITS BOX", "two\nlines",
                             "tab\there", "trailing  ", "", "\xc3\x9cml\xc3\xa4ut"}) {
        SCOPED_TRACE(text);
        const QString call = QString::fromUtf8(text);
        const QRect box(20, 40, 50, 10);
        QImage expected(240, 120, QImage::Format_RGB32);
        expected.fill(QColor(90, 140, 200));
        QImage actual = expected;
        {
            QPainter painter(&expected);
            MapPainter out(painter, resources);
            out.SelectFont(MapFont::kBold12);
            const int align = Qt::AlignLeft | Qt::AlignTop;
            out.SetTextColour(Qt::white);
            out.Text(box.translated(-1, -1), align, call);
            out.Text(box.translated(1, 1), align, call);
            out.SetTextColour(Qt::black);
            out.Text(box, align, call);
        }
        {
            QPainter painter(&actual);
            MapPainter out(painter, resources);
            out.SelectFont(MapFont::kBold12);
            out.HaloText(box, call);
        }
        EXPECT_EQ(actual, expected);
    }
}

}  // namespace
}  // namespace plovane
