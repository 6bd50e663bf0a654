// SPDX-License-Identifier: GPL-3.0-or-later
// Status-line feedback of the send commands, the saved view, help topics, the About text,
// the track-history note and Station Info's context lines.
#include <gtest/gtest.h>

#include "core/profile.h"
#include "ui/logic/help_about.h"
#include "ui/logic/send_feedback.h"
#include "ui/logic/station_context.h"
#include "ui/logic/track_note.h"
#include "ui/logic/view_state.h"

namespace plovane {
namespace {

TEST(SendFeedback, SaysWhatWentWhereOrWhyNothingDid) {
    struct Case {
        SendKind kind;
        SendFacts facts;
        const char* text;
    };
    const Case cases[] = {
        {SendKind::kPosition,
         {"nocall ", true, true, true, true},
         "Position not sent: no call sign is set (Setup > Station...)."},
        {SendKind::kPosition,
         {"KK7OL", false, true, true, true},
         "Position not sent: your station has no position (Setup > Station... or a GPS)."},
        {SendKind::kStatus,
         {"KK7OL", true, false, true, false},
         "Status not sent: no status text is set (Setup > Station...)."},
        {SendKind::kMessages,
         {"KK7OL", false, false, false, false},
         "Pending messages not sent: no TNC port is open and APRS-IS is not connected."},
        {SendKind::kPosition,
         {"KK7OL", true, false, true, true},
         "Position sent to TNC and APRS-IS"},
        {SendKind::kStatus, {"KK7OL", false, true, false, true}, "Status sent to APRS-IS"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const bool sent = std::string(c.text).find(" not sent") == std::string::npos;
        EXPECT_EQ(!SendBlocked(c.kind, c.facts).has_value(), sent);
        EXPECT_EQ(SendFeedback(c.kind, c.facts), c.text);
    }
    EXPECT_FALSE(NoCallMessageWarning("NOCALL").empty());
    EXPECT_TRUE(NoCallMessageWarning("KK7OL-3").empty());
}

TEST(ViewState, RoundTripsAndRejectsDamagedBoxes) {
    MemoryProfile profile;
    EXPECT_FALSE(LoadViewState(profile));
    SaveViewState(profile, {{100, 2000, 300, 900}, "/maps/town.map"});
    const auto loaded = LoadViewState(profile);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->box, (MapBox{100, 2000, 300, 900}));
    EXPECT_EQ(loaded->mapPath, "/maps/town.map");
    for (const MapBox& bad : {MapBox{5, 5, 0, 10}, MapBox{10, 0, 0, 10}, MapBox{0, 10, 9, 3}}) {
        SaveViewState(profile, {bad, "/maps/town.map"});
        EXPECT_FALSE(LoadViewState(profile));
    }
}

TEST(HelpAbout, TopicsAndCredits) {
    EXPECT_EQ(HelpTopicFor("plovane::CStationListWindow"), "stations");
    EXPECT_EQ(HelpTopicFor("plovane::MapOptionsDialog"), "maps");
    EXPECT_EQ(HelpTopicFor("QFileDialog"), "window");
    EXPECT_NE(AboutDetails(false).find("Natural Earth"), std::string::npos);
    EXPECT_NE(AboutDetails(false).find("GPL-3.0-or-later"), std::string::npos);
    EXPECT_NE(AboutDetails(false).find("aprs-deviceid), CC BY-SA 2.0"), std::string::npos);
    EXPECT_EQ(AboutDetails(false).find("OpenStreetMap"), std::string::npos);
    EXPECT_NE(AboutDetails(true).find("OpenStreetMap contributors"), std::string::npos);
}

TEST(TrackNote, SaysWhichTracksAreNotRecorded) {
    CStationSettings settings;
    settings.bTrack = false;  // own track on, others off
    EXPECT_EQ(TrackHistoryNote(false, settings), "");
    EXPECT_EQ(TrackHistoryNote(true, settings).rfind("Other stations' tracks are not", 0), 0u);
    settings.bTrack = true;
    EXPECT_EQ(TrackHistoryNote(true, settings), "");
    settings.MyTrackMax = 0;
    EXPECT_EQ(TrackHistoryNote(true, settings).rfind("Your own track", 0), 0u);
    settings.bTrack = false;
    EXPECT_EQ(TrackHistoryNote(true, settings).rfind("No tracks", 0), 0u);
}

TEST(StationContext, PathDistanceAndAge) {
    CStation station("KK7OL-3", CDateTime(2026, 12, 6, 12, 0, 0));
    station.path = "KD7BZW-3*,WIDE2-1";
    station.hasPosition = true;
    station.position = {15264000, 20736000, 0};      // 47.6 N 122.4 W
    const GeoPoint own{15264000 + 36000, 20736000};  // 0.1 degree north of it
    const CDateTime now(2026, 12, 6, 12, 7, 30);
    const StationContextText text = FormatStationContext(station, own, now, 2);
    EXPECT_EQ(text.path, "KD7BZW-3*,WIDE2-1");
    EXPECT_EQ(text.fromUs, "11.1 km at 0\u00b0 N");
    EXPECT_EQ(text.lastHeard, "7 min ago");
    EXPECT_EQ(FormatStationContext(station, std::nullopt, now, 2).fromUs, "-");
    station.path.clear();
    station.hasPosition = false;
    EXPECT_EQ(FormatStationContext(station, own, now, 2).path, "-");
    EXPECT_EQ(FormatStationContext(station, own, now, 2).fromUs, "-");
}

}  // namespace
}  // namespace plovane
