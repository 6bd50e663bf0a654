// The list itself: order, limit, index, own record, notifications, settings.
#include <gtest/gtest.h>

#include <functional>

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

TEST(StationList, CallsAreCaseSensitiveAndEmptyOnesChangeNothing) {
    StoreFixture f;
    WeatherValues weather;
    weather.temperature = 200;
    f.list.UpdatePosition("", "/>", "4903.50N", "07201.75W", "", "x", -1);
    f.list.SetCourseSpeed("", 1, 1);
    f.PhgDfs("", {1, 1, 1, 1}, {1, 1, 1, 1});
    f.ImplySymbol("", "/>");
    f.list.SetObjectOwner("", "K1ABC");
    f.list.MarkObjectKilled("");
    f.list.SetDeviceAndPath("", "APRS", "WIDE", "x");
    f.list.StoreWeather("", "APRS", "", "", weather);
    EXPECT_EQ(f.list.Count(), 1u);
    EXPECT_TRUE(f.host.stationChanges().empty());
    f.Report("k1abc");
    f.Report("K1ABC");
    f.Report("N0CALL");  // e.g. from the GPS receiver
    EXPECT_EQ(f.Calls(), (Calls{"N0CALL", "K1ABC", "k1abc"}));
    EXPECT_TRUE(f.list.OwnStation().hasPosition);
}

// Every update announces its station, but an implied symbol only when it creates the record;
// a new record plays the new-station sound when that is on.
TEST(StationList, UpdatesStoreTheirFieldsAndAnnounceTheStation) {
    StoreFixture f;
    f.list.SetNewStationSound(true, "/sounds/new.wav");
    f.ImplySymbol("K1AAA", "/-");
    f.ImplySymbol("K1AAA", "/>");  // already has one: ignored
    f.list.SetDeviceAndPath("K1BBB", "APRS", "", "");
    EXPECT_EQ(f.host.sounds(), Calls(2, "/sounds/new.wav"));
    EXPECT_EQ(f.host.stationChanges(), (Calls{"K1AAA", "K1BBB"}));
    EXPECT_EQ(f.Get("K1AAA").symbolCode, '-');

    f.list.SetNewStationSound(false, "/sounds/new.wav");
    f.host.Clear();
    f.list.MarkObjectKilled("K1AAA");
    f.list.SetCourseSpeed("K1AAA", 40000, 270);
    f.PhgDfs("K1AAA", {25, 160, 3, 90}, {-40000, 2, 3, 99999});
    f.list.SetObjectOwner("K1AAA", "K1OWN");  // revives the killed object
    f.list.StoreWeather("K1AAA", "", "", "", WeatherValues{});
    f.list.UpdatePosition("K1AAA", "\\k", "4903.50N", "07201.75W", "", "", -1);
    f.ImplySymbol("K1AAA", "/-");
    f.Report("K1CCC");
    EXPECT_EQ(f.host.stationChanges(),
              (Calls{"K1AAA", "K1AAA", "K1AAA", "K1AAA", "K1AAA", "K1AAA", "K1CCC"}));
    EXPECT_TRUE(f.host.sounds().empty());
    f.list.SetShownOnMap("K1AAA", true);
    f.list.SetShownOnMap("K1ZZZ", true);  // creates nothing
    EXPECT_FALSE(f.list.Contains("K1ZZZ"));

    const CStation s = f.Get("K1AAA");
    EXPECT_TRUE(s.moving && s.hasPhg && s.hasDfs && s.hasOwner && s.shownOnMap && !s.killed);
    EXPECT_EQ(s.owner, "K1OWN");
    EXPECT_EQ(std::string({s.symbolTable, s.symbolCode}), "\\k");
    // Speed and DFS values are clamped to their 16-bit fields.
    EXPECT_EQ(std::vector<int>({s.speed, s.course, s.phgPower, s.phgHeight, s.phgGain,
                                s.phgDirectivity, s.dfsStrength, s.dfsDirectivity}),
              std::vector<int>({32767, 270, 25, 160, 3, 90, -32768, 32767}));
}

TEST(StationList, StationsInBoxSkipsCapsAndCountsInListOrder) {
    StoreFixture f;
    // Four stations on a line of latitude one minute apart, one without a position.
    for (int i = 0; i < 4; ++i)
        f.Report("W" + std::to_string(i + 1), "4900.00N", "0720" + std::to_string(i) + ".00W");
    f.list.SetCourseSpeed("NOPOS", 1, 1);
    const int32_t colatitude = ParseLatitude("4900.00N");
    const int32_t centre = ParseLongitude("07201.50W");
    const int32_t halfWidth = 9000;  // 1.5 minutes each way: W1 and W4 lie on the edges
    std::vector<CStation> found;
    struct Case {
        size_t capacity, skip;
        Calls calls;
        int total, stored;
        bool more;
    } cases[] = {
        {10, 0, {"W4", "W3", "W2", "W1"}, 4, 4, false},
        {2, 1, {"W3", "W2"}, 4, 2, true},
        {10, 3, {"W1"}, 4, 1, false},
        {10, 9, {}, 4, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "capacity " << c.capacity << " skip " << c.skip);
        found.emplace_back("stale");
        const StationBoxResult r =
            f.list.StationsInBox(colatitude, centre, halfWidth, 0, found, c.capacity, c.skip);
        Calls calls;
        for (const CStation& s : found)
            calls.push_back(s.call);
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(std::tuple(r.total, r.stored, r.more), std::tuple(c.total, c.stored, c.more));
    }
    // One unit narrower leaves out the stations on the edges.
    EXPECT_EQ(f.list.StationsInBox(colatitude, centre, halfWidth - 1, 0, found, 10, 0).total, 2);
}

TEST(StationList, ApplySettingsRefreshesTheOwnRecord) {
    using Phg = std::vector<int>;  // power, height, gain, directivity; empty: no PHG
    struct Case {
        const char* name;
        std::function<void(CStationSettings&)> edit;
        bool moving;
        Phg phg;
        const char* symbol;
    } cases[] = {
        {"phg codes, height beyond 16 bits",
         [](CStationSettings& s) {
             s.HasPHG = true;
             s.Power = 3;
             s.Height = 15;
             s.Gain = 5;
             s.Directivity = 2;
         },
         false, Phg{9, 32767, 5, 90}, "/Z"},
        {"mobile carries no phg", [](CStationSettings& s) { s.HasPHG = s.Mobile = true; }, true,
         Phg{}, "/Z"},
        {"too short a symbol", [](CStationSettings& s) { s.Symbol = "x"; }, false, {}, "/Z"},
        {"symbol", [](CStationSettings& s) { s.Symbol = "\\k"; }, false, {}, "\\k"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StoreFixture f;
        c.edit(f.settings);
        f.list.ApplySettings(f.settings, false);
        const CStation own = f.list.OwnStation();
        EXPECT_EQ(own.moving, c.moving);
        EXPECT_EQ(own.speed + own.course, 0);
        const Phg phg =
            own.hasPhg ? Phg{own.phgPower, own.phgHeight, own.phgGain, own.phgDirectivity} : Phg{};
        EXPECT_EQ(phg, c.phg);
        EXPECT_TRUE(own.hasSymbol);
        EXPECT_EQ(std::string({own.symbolTable, own.symbolCode}), c.symbol);
    }
}

TEST(StationList, ApplySettingsCopiesTextsAndPositionAndAnnouncesOnlyWhenAsked) {
    StoreFixture f;
    f.profile.WriteString("Station", "Comments", "portable");
    f.profile.WriteString("Station", "Status", "on the air");
    for (const auto& [key, value] : {std::pair<const char*, int>{"HasInitPosit", 1},
                                     {"Lat", 14739000},
                                     {"Lon", 38869500},
                                     {"Ambiguity", 2}})
        f.profile.WriteInt("Station", key, value);
    f.Reload();
    const CStation own = f.list.OwnStation();
    EXPECT_EQ(own.device + "|" + own.comment + "|" + own.lastInfo,
              "Plovane (102)|portable|on the air");
    EXPECT_EQ(own.position, (TrackPoint{14739000, 38869500, own.position.altitude}));
    EXPECT_TRUE(own.hasPosition);
    EXPECT_EQ(own.ambiguity, 2);
    EXPECT_EQ(f.host.stationChanges(), (Calls{"N0CALL"}));

    f.transmit.calls.clear();
    f.list.ApplySettings(f.settings, false);
    f.list.ApplySettings(f.settings, true);
    EXPECT_EQ(f.transmit.calls,
              (Calls{"ready", "ready", "status:Plovane v1.02 online...", "rearm"}));
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
