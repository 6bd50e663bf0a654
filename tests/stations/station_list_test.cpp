// SPDX-License-Identifier: GPL-3.0-or-later
// The list itself: order, limit, index, own record, notifications, settings.
#include <gtest/gtest.h>

#include "store_fixture.h"

namespace plovane {
namespace {

using ::plovane::testing::StoreFixture;
using Calls = std::vector<std::string>;

// The limit removes the earliest created records, even one just heard, never the own record.
TEST(StationList, LimitRemovesTheEarliestCreatedAndKeepsTheOwnRecord) {
    StoreFixture f;
    f.list.SetNewStationSound(true, "new.wav");
    f.Set("LimitStations", 3);
    f.Report("K1AAA");
    f.Report("K1BBB");
    f.Report("K1AAA");
    f.Report("K1CCC");
    EXPECT_EQ(f.Calls(), (Calls{"N0CALL", "K1CCC", "K1BBB"}));
    // No room beside the own record: a new station's update is dropped whole.
    f.Set("LimitStations", 1);
    f.host.Clear();
    f.Report("K1DDD");
    f.list.SetDeviceAndPath("K1EEE", "APRS", "WIDE", "hello");
    EXPECT_EQ(f.Calls(), (Calls{"N0CALL"}));
    EXPECT_TRUE(f.host.stationChanges().empty() && f.host.sounds().empty());
    f.Report("N0CALL");
    EXPECT_EQ(f.host.stationChanges(), (Calls{"N0CALL"}));

    f.Set("bLimitStations", 0);
    for (const char* call : {"A", "B", "C", "D"})
        f.Report(call);
    EXPECT_EQ(f.list.Count(), 5u);
    f.Set("bLimitStations", 1);  // still 1: ApplyLimit cuts after a settings change
    f.Set("LimitStations", 3);
    f.list.ApplyLimit();
    EXPECT_EQ(f.Calls(), (Calls{"N0CALL", "D", "C"}));
    f.Set("LimitStations", 0);  // out of range: no room beside the own record
    f.list.ApplyLimit();
    EXPECT_EQ(f.Calls(), (Calls{"N0CALL"}));
    f.Set("LimitStations", 10);
    f.Report("C");  // the index forgot it: a new record
    EXPECT_EQ(f.Calls(), (Calls{"N0CALL", "C"}));
}

// Every update announces its station, an implied symbol only when it creates the record.
TEST(StationList, UpdatesStoreTheirFieldsAndAnnounceTheStation) {
    StoreFixture f;
    f.list.SetNewStationSound(true, "/sounds/new.wav");
    StationReport r;
    r.call = "K1AAA";
    r.hasImpliedSymbol = true;
    r.impliedSymbol = {'/', '-'};
    f.list.Apply(r);
    r.impliedSymbol = {'/', '>'};  // already has one: ignored, and not announced
    f.list.Apply(r);
    EXPECT_EQ(f.Get("K1AAA").symbolCode, '-');
    r.hasPhg = r.hasDfs = true;
    r.phg = {25, 160, 3, 90};
    r.dfs = {-40000, 2, 3, 99999};
    f.list.Apply(r);
    f.list.SetDeviceAndPath("", "APRS", "WIDE", "x");  // an empty call changes nothing
    f.list.MarkObjectKilled("K1AAA");
    f.list.SetCourseSpeed("K1AAA", 40000, 270);
    f.list.SetObjectOwner("K1AAA", "K1OWN");  // revives the killed object
    WeatherValues weather;
    weather.temperature = weather.humidity = weather.rainLastHour = weather.snow[1] = 250;
    f.list.StoreWeather("K1AAA", "", "", "wRSW", weather);
    weather = WeatherValues{};
    weather.windDirection = 90;  // alone, it replaces the report before whole
    f.list.StoreWeather("K1AAA", "", "", "", weather);
    f.Report("K1AAA");
    f.list.SetShownOnMap("K1AAA", true);
    f.list.SetShownOnMap("K1ZZZ", true);  // creates nothing
    EXPECT_FALSE(f.list.Contains("K1ZZZ"));
    EXPECT_EQ(f.host.sounds(), Calls{"/sounds/new.wav"});
    EXPECT_EQ(f.host.stationChanges(), Calls(8, "K1AAA"));
    const CStation s = f.Get("K1AAA");
    EXPECT_TRUE(s.hasOwner && s.owner == "K1OWN" && !s.killed && s.shownOnMap);
    EXPECT_TRUE(s.weather.hasWind && !s.weather.hasTemperature && !s.weather.hasHumidity &&
                !s.weather.hasRain && !s.weather.hasSnow);
    // Speed and DFS values are clamped to their 16-bit fields.
    EXPECT_EQ(std::vector<int>({s.speed, s.course, s.phgPower, s.phgHeight, s.phgGain,
                                s.phgDirectivity, s.dfsStrength, s.dfsDirectivity}),
              std::vector<int>({32767, 270, 25, 160, 3, 90, -32768, 32767}));
    // Positions that are no position leave the stored one alone but keep the comment.
    for (const auto& [latitude, longitude] : {std::pair{"4903.50N", "7201.75W"},
                                              {"9000.01N", "07201.75W"},
                                              {"4903.50N", "19000.00E"},
                                              {"    .  N", "07201.75W"}}) {
        SCOPED_TRACE(std::string(latitude) + " " + longitude);
        f.list.UpdatePosition("K1AAA", "/>", latitude, longitude, "", "hi", -1);
        EXPECT_EQ(f.Get("K1AAA").position, s.position);
        EXPECT_EQ(f.Get("K1AAA").comment, "hi");
    }
    int visited = 0;
    EXPECT_TRUE(f.list.ForEach([&](const CStation&) { ++visited; }));
    EXPECT_EQ(visited, 2);  // the own record and K1AAA
}

// The equator and the Greenwich meridian are typed positions like any other; only 0 N 0 E,
// the value a settings file holds until a position is typed, stands for none.
TEST(StationList, TypedOwnPositionOnTheEquatorOrMeridianIsClaimed) {
    const struct Case {
        int32_t lat, lon;
        bool placed;
    } cases[] = {
        {13860000, kGreenwichLongitude, true},  // 51 30 N, 0 E
        {kEquatorColatitude, 38869500, true},   // 0 N, 72 01.75 W
        {kEquatorColatitude, kGreenwichLongitude, false},
        {-1, 38869500, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.lat) + " " + std::to_string(c.lon));
        StoreFixture f;
        f.profile.WriteInt("Station", "HasInitPosit", 1);
        f.profile.WriteInt("Station", "Lat", c.lat);
        f.profile.WriteInt("Station", "Lon", c.lon);
        f.Reload();
        EXPECT_EQ(f.list.OwnStation().hasPosition, c.placed);
    }
}

TEST(StationList, ApplySettingsCopiesTheOwnRecordAndAnnouncesOnlyWhenAsked) {
    StoreFixture f;
    f.profile.WriteString("Station", "Comments", "portable");
    f.profile.WriteString("Station", "Status", "on the air");
    f.profile.WriteInt("Station", "HasInitPosit", 1);
    f.profile.WriteInt("Station", "Lat", 14739000);
    f.profile.WriteInt("Station", "Lon", 38869500);
    f.profile.WriteInt("Station", "Ambiguity", 2);
    f.Reload();
    CStation s = f.list.OwnStation();
    EXPECT_EQ(s.device + "|" + s.comment + "|" + s.lastInfo, "Plovane (102)|portable|on the air");
    EXPECT_EQ(s.position, (TrackPoint{14739000, 38869500, s.position.altitude}));
    EXPECT_TRUE(s.hasPosition && s.ambiguity == 2);
    EXPECT_EQ(f.host.stationChanges(), (Calls{"N0CALL"}));

    f.transmit.calls.clear();
    f.list.ApplySettings(f.settings, false);
    f.list.ApplySettings(f.settings, true);
    EXPECT_EQ(f.transmit.calls,
              (Calls{"ready", "ready", "status:Plovane v1.02 online...", "rearm"}));

    f.settings.HasPHG = true;
    f.settings.Power = 3;
    f.settings.Height = 15;  // beyond 16 bits
    f.settings.Gain = 5;
    f.settings.Directivity = 2;
    f.list.ApplySettings(f.settings, false);
    s = f.list.OwnStation();
    EXPECT_EQ(std::vector<int>({s.moving, s.hasPhg, s.phgPower, s.phgHeight, s.phgGain,
                                s.phgDirectivity, s.speed, s.course}),
              std::vector<int>({false, true, 9, 32767, 5, 90, 0, 0}));
    EXPECT_EQ(std::string({s.symbolTable, s.symbolCode}), "/-");
    f.settings.Mobile = true;  // carries no PHG
    f.settings.Symbol = "x";   // too short: the default
    f.list.ApplySettings(f.settings, false);
    s = f.list.OwnStation();
    EXPECT_TRUE(s.moving && !s.hasPhg && s.hasSymbol);
    EXPECT_EQ(std::string({s.symbolTable, s.symbolCode}), "/-");
    f.settings.Symbol = "\\k";
    f.list.ApplySettings(f.settings, false);
    s = f.list.OwnStation();
    EXPECT_EQ(std::string({s.symbolTable, s.symbolCode}), "\\k");
}

// The own record follows MyCall; a heard record with the new call is merged away (the own
// record wins), so a call is never listed twice.
TEST(StationList, OwnCallChangeMovesTheIndexAndTheOwnRecordWins) {
    StoreFixture f;
    f.Report("K1NEW", "4000.00N", "07000.00W");
    f.Report("K1OTHER");
    f.Set("MyCall", "K1NEW");
    EXPECT_EQ(f.Calls(), (Calls{"K1NEW", "K1OTHER"}));
    EXPECT_EQ(f.list.OwnCall(), "K1NEW");
    EXPECT_EQ(f.Get("K1NEW").device, "Plovane (102)");
    // Updates now land on the own record and use the own track settings.
    f.Report("K1NEW");
    EXPECT_EQ(f.list.OwnStation().track.size(), 1u);
    // The old call is an ordinary station again.
    f.Report("N0CALL");
    EXPECT_EQ(f.Calls(), (Calls{"K1NEW", "N0CALL", "K1OTHER"}));
}

}  // namespace
}  // namespace plovane
