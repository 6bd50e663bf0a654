// SPDX-License-Identifier: GPL-3.0-or-later
// Track colours and fading, and stations grouped into count bubbles where symbols overlap.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "maps/render/track_style.h"
#include "render_rig.h"

namespace plovane {
namespace {

using testing::CountPixels;
using testing::Pixel;
using testing::RenderRig;

// Relative luminance of a colour (sRGB weights, no gamma: enough to compare).
double Lightness(const QColor& c) {
    return 0.2126 * c.red() + 0.7152 * c.green() + 0.0722 * c.blue();
}

TEST(TrackStyle, AColourPerCallStableDistinctForItsSsidsAndReadableDayAndNight) {
    // Pinned: the colour of a call is the same in every run and on every machine.
    EXPECT_EQ(TrackColourIndex("N0CALL"), TrackColourIndex("n0call"));
    EXPECT_EQ(TrackColourIndex("N0CALL"), TrackColourIndex("N0CALL-0"));
    const int base = TrackColourIndex("W1AW");
    std::set<int> ssids;
    for (int ssid = 0; ssid < 16; ++ssid)
        ssids.insert(TrackColourIndex("W1AW-" + std::to_string(ssid)));
    EXPECT_EQ(ssids.size(), 16u);
    EXPECT_EQ(TrackColourIndex("W1AW-1"), (base + 5) % kTrackPaletteSize);
    // Calls that differ in one character spread over the palette.
    std::set<int> neighbours;
    for (char c = 'A'; c <= 'P'; ++c)
        neighbours.insert(TrackColourIndex(std::string("K1AB") + c));
    EXPECT_GE(neighbours.size(), 9u);
    const QColor own = TrackColour("N0CALL", true);
    for (const Rgb& rgb : kTrackPalette) {
        const QColor c = ToQColor(rgb);
        SCOPED_TRACE(c.name().toStdString());
        EXPECT_NE(c, own);
        // Well apart from a white map and from a dark night map.
        EXPECT_LT(Lightness(c), 255 - 60);
        EXPECT_GT(Lightness(c), 30 + 45);
    }
}

TEST(TrackStyle, FadeStepsFollowTheTimeSpanOrElseTheOrder) {
    struct Case {
        std::vector<int32_t> heard;  // newest first
        std::vector<uint8_t> steps;
    };
    const Case cases[] = {
        {{1000, 900, 500, 0}, {7, 6, 4, 0}},
        {{50, 50, 50}, {7, 4, 0}},  // one time: by order
        {{70}, {7}},
        {{100, 200}, {0, 7}},  // a clock set back: the newer time is still the solid end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.heard));
        EXPECT_EQ(TrackFadeSteps(c.heard), c.steps);
    }
    EXPECT_EQ(TrackAlpha(kTrackFadeSteps - 1), 255);
    EXPECT_LT(TrackAlpha(0), TrackAlpha(1));
}

// How far a pixel is from white: a fainter track is nearer white.
int Strength(const QColor& p) {
    return 3 * 255 - p.red() - p.green() - p.blue();
}

TEST(MapRenderer, TracksFadeWithAgeHaveADotPerReportAndTheOwnTrackIsWider) {
    RenderRig rig;
    rig.options.ShowTracks = true;
    rig.options.IconLabels = rig.options.ShowCourseSpeed = false;
    rig.map.loaded = false;  // a white map
    rig.profile.WriteInt(CStationSettings::kSection, "bTrack", 1);
    rig.profile.WriteInt(CStationSettings::kSection, "bMyTrack", 1);
    rig.profile.WriteString(CStationSettings::kSection, "MyCall", "N0ME");
    rig.settings.Load(rig.profile);
    rig.stations.ApplySettings(rig.settings, false);
    // Westward along one row, a report a minute: the oldest end is at the east.
    for (const auto& [call, row] : {std::pair<std::string, int>{"N0TRK", 60}, {"N0ME", 140}}) {
        for (int x = 180; x >= 20; x -= 40) {
            rig.Place(call, "/>", x, row);
            rig.clock.AdvanceSeconds(60);
        }
    }
    ASSERT_TRUE(rig.Draw());
    const auto line = [&](int x, int row) { return Pixel(rig.image, x, 19 + row); };
    // The newest segment is solid in the call's colour, older ones fade toward the map.
    EXPECT_EQ(line(40, 60), TrackColour("N0TRK", false));
    EXPECT_GT(Strength(line(80, 60)), Strength(line(120, 60)));
    EXPECT_GT(Strength(line(120, 60)), Strength(line(160, 60)));
    EXPECT_GT(Strength(line(160, 60)), 0);
    // A dot at each report: wider than the line.
    const auto thickness = [&](int x, int row) {
        return CountPixels(rig.image, QRect(x, 19 + row - 6, 1, 13),
                           [](const QColor& p) { return p != Qt::white; });
    };
    EXPECT_GT(thickness(100, 60), thickness(120, 60));
    // The own track: its own colour, twice as wide.
    EXPECT_EQ(line(40, 140), TrackColour("N0ME", true));
    EXPECT_EQ(thickness(120, 140), 2 * thickness(120, 60));

    rig.options.ShowTracks = false;  // the map option still hides them
    rig.view.SetBackgroundValid(false);
    ASSERT_TRUE(rig.Draw());
    EXPECT_EQ(thickness(120, 60), 0);
    EXPECT_EQ(thickness(120, 140), 0);
}

// The calls of the bubble a station is in; none when it is drawn alone.
std::vector<std::string> GroupOf(RenderRig& rig, const std::string& call) {
    for (int y = 19; y < RenderRig::kHeight; ++y) {
        for (int x = 0; x < RenderRig::kWidth; ++x) {
            std::optional<CMapRenderer::GroupHit> hit = rig.renderer.GroupAt({x, y});
            if (hit && std::find(hit->calls.begin(), hit->calls.end(), call) != hit->calls.end()) {
                std::sort(hit->calls.begin(), hit->calls.end());
                return hit->calls;
            }
        }
    }
    return {};
}

TEST(StationGroups, OverlappingSymbolsShareABubbleThatStaysAsTheViewPansAndSplitsZoomingIn) {
    RenderRig rig;
    rig.options.IconLabels = false;
    rig.map.loaded = false;
    // In one 40-pixel cell: A and B overlap, C does not overlap either but shares their cell.
    rig.Place("K1AAA", "/-", 84, 84);
    rig.Place("K1BBB", "/-", 90, 88);
    rig.Place("K1CCC", "/-", 98, 98);
    rig.Place("K1EDGE", "/-", 121, 84);  // overlaps none, in the next cell
    rig.profile.WriteString(CStationSettings::kSection, "MyCall", "N0ME");
    rig.settings.Load(rig.profile);
    rig.stations.ApplySettings(rig.settings, false);
    rig.Place("N0ME", "/-", 126, 88);  // on K1EDGE, but the own station is never grouped
    const std::vector<std::string> abc{"K1AAA", "K1BBB", "K1CCC"};
    ASSERT_TRUE(rig.Draw());
    EXPECT_EQ(GroupOf(rig, "K1AAA"), abc);
    EXPECT_TRUE(GroupOf(rig, "K1EDGE").empty());
    EXPECT_TRUE(GroupOf(rig, "N0ME").empty());
    const std::optional<CMapRenderer::GroupHit> hit = rig.renderer.GroupAt({91, 19 + 90});
    ASSERT_TRUE(hit);                                 // the bubble sits on their mean
    EXPECT_EQ(hit->box, QRect(84, 19 + 84, 15, 15));  // the click zooms to where they lie
    EXPECT_FALSE(hit->samePlace);
    // Drawn as a bubble, not as three symbols: the bubble's blue at the mean.
    EXPECT_EQ(Pixel(rig.image, 91 - 5, 19 + 90), QColor(30, 110, 210));

    rig.view.Pan(7, 5);
    rig.view.SetBackgroundValid(false);
    ASSERT_TRUE(rig.Draw());
    EXPECT_EQ(GroupOf(rig, "K1AAA"), abc);
    EXPECT_EQ(rig.renderer.GroupAt({91 + 7, 19 + 90 + 5})->box, hit->box.translated(7, 5));

    rig.view.ZoomIn();
    rig.view.SetBackgroundValid(false);
    ASSERT_TRUE(rig.Draw());
    EXPECT_EQ(GroupOf(rig, "K1AAA"), abc);  // A and B still overlap
    rig.view.ZoomIn();
    rig.view.SetBackgroundValid(false);
    ASSERT_TRUE(rig.Draw());
    EXPECT_TRUE(GroupOf(rig, "K1AAA").empty());
    EXPECT_TRUE(GroupOf(rig, "K1CCC").empty());

    rig.view.ZoomOut();
    rig.options.GroupStations = false;
    rig.view.SetBackgroundValid(false);
    ASSERT_TRUE(rig.Draw());
    EXPECT_TRUE(GroupOf(rig, "K1AAA").empty());
}

}  // namespace
}  // namespace plovane
