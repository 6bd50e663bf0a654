// The list itself: order, limit, index, own record, notifications, settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "stations/station_list.h"
#include "store_fixture.h"

namespace plovane {
namespace {

using ::plovane::testing::StoreFixture;
using Calls = std::vector<std::string>;

TEST(StationList, LimitRemovesTheEarliestCreatedEvenIfJustHeard) {
    StoreFixture f;
    f.Set("LimitStations", 3);
    f.Report("K1AAA");
    f.Report("K1BBB");
    f.Report("K1AAA");  // heard again, but still the earliest created
    EXPECT_EQ(f.Calls(), (Calls{"N0CALL", "K1BBB", "K1AAA"}));
    f.Report("K1CCC");
    EXPECT_EQ(f.Calls(), (Calls{"N0CALL", "K1CCC", "K1BBB"}));
    EXPECT_FALSE(f.list.Contains("K1AAA"));
    f.Set("bLimitStations", 0);  // without the limit nothing is removed
    for (const char* call : {"A", "B", "C", "D"})
        f.Report(call);
    EXPECT_EQ(f.list.Count(), 7u);
}

// With a limit of 1 there is no room beside the own record: a new station's update is
// dropped whole (no record, no notification, no sound), updates of the own record still work.
TEST(StationList, LimitOfOneDropsNewStationsAndKeepsTheOwnRecord) {
    StoreFixture f;
    f.list.SetNewStationSound(true, "new.wav");
    f.Report("K1AAA");
    f.Set("LimitStations", 1);
    f.host.Clear();
    f.Report("K1BBB");
    f.list.SetDeviceAndPath("K1CCC", "APRS", "WIDE", "hello");
    EXPECT_EQ(f.Calls(), (Calls{"N0CALL"}));
    EXPECT_TRUE(f.host.stationChanges().empty());
    EXPECT_TRUE(f.host.sounds().empty());

    f.Report("N0CALL");
    EXPECT_TRUE(f.Get("N0CALL").hasPosition);
    EXPECT_EQ(f.host.stationChanges(), (Calls{"N0CALL"}));
}

TEST(StationList, ApplyLimitCutsTheOldestAfterASettingsChange) {
    StoreFixture f;
    for (const char* call : {"A", "B", "C", "D"})
        f.Report(call);
    f.Set("LimitStations", 3);
    f.list.ApplyLimit();
    EXPECT_EQ(f.Calls(), (Calls{"N0CALL", "D", "C"}));
    f.Set("LimitStations", 0);  // out of range: no room beside the own record
    f.list.ApplyLimit();
    EXPECT_EQ(f.Calls(), (Calls{"N0CALL"}));
    // The index forgot the removed records too: they come back as new records.
    f.Set("LimitStations", 10);
    f.Report("A");
    EXPECT_EQ(f.Calls(), (Calls{"N0CALL", "A"}));
}

TEST(StationList, CallsAreCaseSensitiveAndTheOwnCallIsNotAddedTwice) {
    StoreFixture f;
    f.Report("k1abc");
    f.Report("K1ABC");
    f.Report("N0CALL");  // e.g. from the GPS receiver
    EXPECT_EQ(f.Calls(), (Calls{"N0CALL", "K1ABC", "k1abc"}));
    EXPECT_TRUE(f.list.OwnStation().hasPosition);
}

TEST(StationList, EmptyCallsChangeNothing) {
    StoreFixture f;
    WeatherValues weather;
    weather.temperature = 200;
    f.list.UpdatePosition("", "/>", "4903.50N", "07201.75W", "", "x", -1);
    f.list.SetCourseSpeed("", 1, 1);
    f.Phg("", {1, 1, 1, 1});
    f.Dfs("", {1, 1, 1, 1});
    f.ImplySymbol("", "/>");
    f.list.SetObjectOwner("", "K1ABC");
    f.list.MarkObjectKilled("");
    f.list.SetDeviceAndPath("", "APRS", "WIDE", "x");
    f.list.StoreWeather("", "APRS", "", "", weather);
    EXPECT_EQ(f.list.Count(), 1u);
    EXPECT_TRUE(f.host.stationChanges().empty());
}

TEST(StationList, NewStationSoundPlaysOncePerNewRecordWhenEnabled) {
    StoreFixture f;
    f.list.SetNewStationSound(true, "/sounds/new.wav");
    f.Report("K1AAA");
    f.Report("K1AAA");
    f.list.SetDeviceAndPath("K1BBB", "APRS", "", "");
    EXPECT_EQ(f.host.sounds(), (Calls{"/sounds/new.wav", "/sounds/new.wav"}));
    f.list.SetNewStationSound(false, "/sounds/new.wav");
    f.Report("K1CCC");
    EXPECT_EQ(f.host.sounds().size(), 2u);
}

TEST(StationList, EveryUpdateButAnImpliedSymbolRaisesStationChanged) {
    StoreFixture f;
    f.Report("K1AAA");
    f.host.Clear();
    f.ImplySymbol("K1AAA", "/-");
    EXPECT_TRUE(f.host.stationChanges().empty());
    f.list.SetCourseSpeed("K1AAA", 5, 180);
    f.Phg("K1AAA", {25, 160, 3, 90});
    f.Dfs("K1AAA", {1, 2, 3, 4});
    f.list.SetObjectOwner("K1AAA", "K1OWN");
    f.list.MarkObjectKilled("K1AAA");
    f.list.SetDeviceAndPath("K1AAA", "APRS", "", "");
    f.list.StoreWeather("K1AAA", "", "", "", WeatherValues{});
    f.Report("K1AAA");
    EXPECT_EQ(f.host.stationChanges(), Calls(8, "K1AAA"));
    // A record created by an implied symbol is announced, or no window would list it.
    f.ImplySymbol("K1NEW", "/-");
    EXPECT_EQ(f.host.stationChanges().back(), "K1NEW");
}

TEST(StationList, FieldUpdatesStoreTheirValues) {
    StoreFixture f;
    f.list.SetCourseSpeed("K1AAA", 40000, 270);
    f.Phg("K1AAA", {25, 160, 3, 90});
    f.Dfs("K1AAA", {-40000, 2, 3, 99999});
    const CStation s = f.Get("K1AAA");
    EXPECT_TRUE(s.moving && s.hasPhg && s.hasDfs);
    EXPECT_EQ(s.speed, 32767);  // clamped to the 16-bit field
    EXPECT_EQ(s.course, 270);
    EXPECT_EQ(std::vector<int>({s.phgPower, s.phgHeight, s.phgGain, s.phgDirectivity}),
              std::vector<int>({25, 160, 3, 90}));
    EXPECT_EQ(std::vector<int>({s.dfsStrength, s.dfsHeight, s.dfsGain, s.dfsDirectivity}),
              std::vector<int>({-32768, 2, 3, 32767}));
}

TEST(StationList, SymbolFromAPositionReportWinsOverAnImpliedSymbol) {
    StoreFixture f;
    f.ImplySymbol("K1AAA", "/-");
    f.ImplySymbol("K1AAA", "/>");  // already set: ignored
    EXPECT_EQ(f.Get("K1AAA").symbolCode, '-');
    f.list.UpdatePosition("K1AAA", "\\k", "4903.50N", "07201.75W", "", "", -1);
    f.ImplySymbol("K1AAA", "/-");
    EXPECT_EQ(std::string({f.Get("K1AAA").symbolTable, f.Get("K1AAA").symbolCode}), "\\k");
}

TEST(StationList, ObjectOwnerRevivesAKilledObjectAndShownOnMapCreatesNothing) {
    StoreFixture f;
    f.list.MarkObjectKilled("LEADER");
    EXPECT_TRUE(f.Get("LEADER").killed);
    f.list.SetObjectOwner("LEADER", "K1OWN");
    f.list.SetShownOnMap("LEADER", true);
    f.list.SetShownOnMap("K1ZZZ", true);
    const CStation s = f.Get("LEADER");
    EXPECT_TRUE(!s.killed && s.hasOwner && s.shownOnMap);
    EXPECT_EQ(s.owner, "K1OWN");
    EXPECT_FALSE(f.list.Contains("K1ZZZ"));
}

TEST(StationList, StationsInBoxSkipsCapsAndCountsInListOrder) {
    StoreFixture f;
    // Four stations on a line of latitude one minute apart, one without a position.
    f.Report("W1", "4900.00N", "07200.00W");
    f.Report("W2", "4900.00N", "07201.00W");
    f.Report("W3", "4900.00N", "07202.00W");
    f.Report("W4", "4900.00N", "07203.00W");
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
        {2, 0, {"W4", "W3"}, 4, 2, true},
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
        EXPECT_EQ(r.total, c.total);
        EXPECT_EQ(r.stored, c.stored);
        EXPECT_EQ(r.more, c.more);
    }
    // One unit narrower leaves out the stations on the edges.
    const StationBoxResult narrow =
        f.list.StationsInBox(colatitude, centre, halfWidth - 1, 0, found, 10, 0);
    EXPECT_EQ(narrow.total, 2);
}

TEST(StationList, ApplySettingsRefreshesTheOwnRecord) {
    using Phg = std::vector<int>;  // power, height, gain, directivity; empty: no PHG
    struct Case {
        const char* name;
        std::function<void(CStationSettings&)> edit;
        bool moving;
        Phg phg;
        char table, code;
    } cases[] = {
        {"defaults", [](CStationSettings&) {}, false, {}, '/', 'Z'},
        {"phg codes",
         [](CStationSettings& s) {
             s.HasPHG = true;
             s.Power = 3;
             s.Height = 4;
             s.Gain = 5;
             s.Directivity = 2;
         },
         false, Phg{9, 160, 5, 90}, '/', 'Z'},
        {"height beyond 16 bits",
         [](CStationSettings& s) {
             s.HasPHG = true;
             s.Height = 15;
         },
         false, Phg{0, 32767, 0, 0}, '/', 'Z'},
        {"mobile carries no phg",
         [](CStationSettings& s) {
             s.HasPHG = s.Mobile = true;
             s.Power = 3;
         },
         true, Phg{}, '/', 'Z'},
        {"too short a symbol", [](CStationSettings& s) { s.Symbol = "x"; }, false, {}, '/', 'Z'},
        {"symbol", [](CStationSettings& s) { s.Symbol = "\\k"; }, false, {}, '\\', 'k'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StoreFixture f;
        f.settings.Load(f.profile);
        c.edit(f.settings);
        f.list.ApplySettings(f.settings, false);
        const CStation own = f.list.OwnStation();
        EXPECT_EQ(own.moving, c.moving);
        EXPECT_EQ(own.speed + own.course, 0);
        const Phg phg =
            own.hasPhg ? Phg{own.phgPower, own.phgHeight, own.phgGain, own.phgDirectivity} : Phg{};
        EXPECT_EQ(phg, c.phg);
        EXPECT_TRUE(own.hasSymbol);
        EXPECT_EQ(own.symbolTable, c.table);
        EXPECT_EQ(own.symbolCode, c.code);
    }
}

TEST(StationList, ApplySettingsCopiesTextsPositionAndAmbiguity) {
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
    EXPECT_TRUE(own.hasPosition);
    EXPECT_EQ(own.position, (TrackPoint{14739000, 38869500, own.position.altitude}));
    EXPECT_EQ(own.ambiguity, 2);
    EXPECT_EQ(f.settings.Comments, "portable");  // the shared settings were reloaded too
}

TEST(StationList, ApplySettingsAnnouncesOnlyWhenAsked) {
    StoreFixture f;
    f.Reload();
    EXPECT_EQ(f.transmit.calls().back(), "ready");
    EXPECT_EQ(f.host.stationChanges(), (Calls{"N0CALL"}));
    const size_t before = f.transmit.calls().size();
    f.settings.Load(f.profile);
    f.list.ApplySettings(f.settings, true);
    const Calls calls = f.transmit.calls();
    EXPECT_EQ(Calls(calls.begin() + static_cast<long>(before), calls.end()),
              (Calls{"ready", "status:Plovane v1.02 online...", "rearm"}));
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
    EXPECT_FALSE(f.list.Contains("N0CALL"));
    EXPECT_EQ(f.Get("K1NEW").device, "Plovane (102)");
    // Updates now land on the own record and use the own track settings.
    f.Report("K1NEW");
    EXPECT_EQ(f.list.Count(), 2u);
    EXPECT_EQ(f.list.OwnStation().track.size(), 1u);
    // The old call is an ordinary station again.
    f.Report("N0CALL");
    EXPECT_EQ(f.Calls(), (Calls{"K1NEW", "N0CALL", "K1OTHER"}));
}

}  // namespace
}  // namespace plovane
