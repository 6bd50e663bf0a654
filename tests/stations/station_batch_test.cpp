// Batches of updates: the same records and announcements as the operations one by one,
// their own copies of the texts decoders build in local buffers, reused records as fresh,
// and the position texts read as the parsers read them.
#include "stations/station_batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/geo.h"
#include "stations/device_names.h"
#include "stations/station_list.h"
#include "store_fixture.h"

namespace plovane {
namespace {

using ::plovane::testing::StoreFixture;

// Every field of a record, for comparing whole records.
std::string Describe(const CStation& s) {
    std::ostringstream o;
    const auto time = [](const CDateTime& t) {
        return std::to_string(t.value()) + "/" + std::to_string(t.status());
    };
    o << s.call << '|' << s.heard << s.hasDfs << s.hasPhg << s.hasPosition << s.hasReportTime
      << s.moving << s.hasSymbol << s.hasWeather << s.hasOwner << s.killed << s.shownOnMap << '|'
      << s.symbolTable << s.symbolCode << '|' << s.ambiguity << ',' << s.course << ',' << s.speed
      << '|' << s.position.colatitude << ',' << s.position.longitude << ',' << s.position.altitude
      << '|' << time(s.lastHeard) << ',' << time(s.reportTime) << ',' << time(s.trackTime) << ','
      << time(s.created) << '|' << s.comment << '|' << s.path << '|' << s.destination << '|'
      << s.device << '|' << s.lastInfo << '|' << s.phgPower << ',' << s.phgHeight << ','
      << s.phgGain << ',' << s.phgDirectivity << ',' << s.dfsStrength << ',' << s.dfsHeight << ','
      << s.dfsGain << ',' << s.dfsDirectivity << '|' << s.owner << "|T";
    for (const TrackPoint& p : s.track)
        o << p.colatitude << ',' << p.longitude << ',' << p.altitude << ';';
    const CWeatherReport& w = s.weather;
    o << "|W" << w.hasHumidity << w.hasLuminosity << w.hasBarometer << w.hasRain << w.hasSnow
      << w.hasTemperature << w.hasReportTime << w.hasWind << time(w.received) << ','
      << time(w.reportTime) << ',' << w.humidity << ',' << w.luminosity << ',' << w.barometer << ','
      << w.rainLastHour << ',' << w.rainLast24Hours << ',' << w.rainSinceMidnight << ','
      << w.snow[0] << ',' << w.snow[1] << ',' << w.snow[2] << ',' << w.temperature << ','
      << w.windDirection << ',' << w.windSpeed << ',' << w.windGust << ',' << w.description;
    return o.str();
}

std::vector<std::string> DescribeAll(const CStationList& list) {
    std::vector<std::string> all;
    for (const CStation& s : list.Snapshot())
        all.push_back(Describe(s));
    return all;
}

// The first announcement of each call, in order.
std::vector<std::string> FirstOfEach(const std::vector<std::string>& calls) {
    std::vector<std::string> first;
    for (const std::string& call : calls) {
        if (std::find(first.begin(), first.end(), call) == first.end())
            first.push_back(call);
    }
    return first;
}

// One recorded operation with owned texts, so it can be sent to a list or to a batch.
struct Operation {
    int kind = 0;
    std::string call, a, b, c, d, e;
    int n[4] = {};
    WeatherValues weather;

    template <typename Target>
    void To(Target& t) const {
        switch (kind) {
            case 0:
                t.UpdatePosition(call, a, b, c, d, e, n[0]);
                break;
            case 1:
                t.SetCourseSpeed(call, n[0], n[1]);
                break;
            case 2:
                t.SetPhg(call, n[0], n[1], n[2], n[3]);
                break;
            case 3:
                t.SetDfs(call, n[0], n[1], n[2], n[3]);
                break;
            case 4:
                t.SetSymbolIfUnset(call, a);
                break;
            case 5:
                t.SetObjectOwner(call, a);
                break;
            case 6:
                t.MarkObjectKilled(call);
                break;
            case 7:
                t.SetDeviceAndPath(call, a, b, c);
                break;
            default:
                t.StoreWeather(call, a, b, c, weather);
                break;
        }
    }
};

Operation RandomOperation(std::mt19937& random) {
    const auto pick = [&](std::vector<std::string> items) {
        return items[random() % items.size()];
    };
    Operation op;
    op.kind = static_cast<int>(random() % 9);
    op.call = pick({"K1AAA", "K1BBB", "K1CCC", "OBJECT1", "N0CALL", ""});
    switch (op.kind) {
        case 0:
            op.a = pick({"/>", "\\#", "", "x"});
            op.b = pick({"4903.50N", "4903.5 N", "49  .  N", "0000.00N", "4903.50n", "9100.00S"});
            op.c = pick({"07201.75W", "07201.7 W", "00000.00E", "18100.00E", "07201.75w", "1"});
            op.d = pick({"", "092345z", "120000h", "311200/", "bad"});
            op.e = pick({"", "hello", "/A=001234 up", "a comment longer than the small buffer"});
            op.n[0] = static_cast<int>(random() % 3) - 1;
            break;
        case 4:
        case 5:
            op.a = pick({"/-", "K1OWN", "", "\\"});
            break;
        case 7:
            op.a = pick({"APRS", "APK102", "Mic-E", "TH-D7", "", "GPSLV"});
            op.b = pick({"WIDE1-1", "", "K1DIG-3,WIDE1*,WIDE2-1"});
            op.c = pick({"", ">status", "text", ">"});
            break;
        case 8:
            op.c = pick({"", "wDVS", "xU2k"});
            op.weather.temperature = static_cast<int32_t>(random() % 400) - 200;
            op.weather.month = static_cast<int32_t>(random() % 13);
            op.weather.day = 1 + static_cast<int32_t>(random() % 28);
            if (random() % 2 != 0)
                op.weather.windSpeed = static_cast<int32_t>(random() % 50);
            break;
        default:
            for (int& value : op.n)
                value = static_cast<int>(random() % 70000) - 1000;
            break;
    }
    return op;
}

// Two lists alike; one takes the operations one by one, the other in batches of 1 to 12
// (beyond the capacity, so full batches are applied on the way). A limit of 4 keeps records
// going and coming, tracks are on and new records sound.
TEST(StationBatch, GivesTheRecordsAndAnnouncementsOfTheSingleOperations) {
    StoreFixture single;
    StoreFixture batched;
    for (StoreFixture* f : {&single, &batched}) {
        f->profile.WriteInt("Station", "LimitStations", 4);
        f->profile.WriteInt("Station", "bTrack", 1);
        f->profile.WriteInt("Station", "TrackMax", 3);
        f->settings.Load(f->profile);
        f->list.ApplySettings(f->settings, false);
        f->list.SetNewStationSound(true, "new.wav");
        f->host.Clear();
    }
    std::mt19937 random(11);
    for (int round = 0; round < 2000; ++round) {
        std::vector<Operation> ops(1 + random() % 12);
        for (Operation& op : ops)
            op = RandomOperation(random);

        for (const Operation& op : ops)
            op.To(single.list);
        StationBatch batch(batched.list);
        for (const Operation& op : ops)
            op.To(batch);
        batch.Apply();
        EXPECT_TRUE(batch.empty());

        ASSERT_EQ(DescribeAll(batched.list), DescribeAll(single.list)) << "round " << round;
        ASSERT_EQ(batched.host.sounds().size(), single.host.sounds().size()) << round;
        const auto weatherOps = std::count_if(ops.begin(), ops.end(), [](const Operation& op) {
            return op.kind == 8 && !op.call.empty();
        });
        if (ops.size() <= StationBatch::kCapacity && weatherOps <= 1) {
            // Applied at once: one announcement per call where the operations made several.
            ASSERT_EQ(batched.host.stationChanges(), FirstOfEach(single.host.stationChanges()))
                << "round " << round;
        }
        const int64_t seconds = random() % 400;
        for (StoreFixture* f : {&single, &batched}) {
            f->host.Clear();
            f->clock.AdvanceSeconds(seconds);
        }
    }
}

// Decoders build symbols, coordinates and time stamps in local buffers that are gone before
// the batch is applied; the batch keeps what it needs of them.
TEST(StationBatch, KeepsItsOwnCopiesOfSymbolsCoordinatesAndTimes) {
    StoreFixture f;
    StationBatch batch(f.list);
    char symbol[] = "/>";
    char latitude[] = "4903.50N";
    char longitude[] = "07201.75W";
    char time[] = "092345z";
    batch.SetSymbolIfUnset("K1AAA", symbol);
    batch.UpdatePosition("K1BBB", symbol, latitude, longitude, time, "", -1);
    for (char* text : {symbol, latitude, longitude, time})
        std::fill(text, text + std::char_traits<char>::length(text), '?');
    batch.Apply();

    EXPECT_EQ(f.Get("K1AAA").symbolCode, '>');
    const CStation s = f.Get("K1BBB");
    EXPECT_EQ(s.symbolTable, '/');
    EXPECT_EQ(s.position.colatitude, ParseLatitude("4903.50N"));
    EXPECT_EQ(s.position.longitude, ParseLongitude("07201.75W"));
    EXPECT_TRUE(s.hasReportTime);
    EXPECT_EQ(s.reportTime.Day(), 9);
    EXPECT_EQ(s.reportTime.Minute(), 45);
}

TEST(StationBatch, IsAppliedWhenDestroyedAndSkipsEmptyCalls) {
    StoreFixture f;
    {
        StationBatch batch(f.list);
        batch.SetCourseSpeed("", 5, 90);
        EXPECT_TRUE(batch.empty());
        batch.SetCourseSpeed("K1AAA", 5, 90);
        EXPECT_EQ(batch.size(), 1u);
        EXPECT_FALSE(f.list.Contains("K1AAA")) << "nothing is applied before the batch is";
    }
    EXPECT_EQ(f.Get("K1AAA").speed, 5);
    EXPECT_EQ(f.host.stationChanges(), std::vector<std::string>{"K1AAA"});
}

// A full list reuses its oldest record for a new station; nothing of the old one may show.
TEST(StationList, ReusedRecordIsAsFreshAsANewOne) {
    StoreFixture f;
    f.profile.WriteInt("Station", "LimitStations", 3);
    f.profile.WriteInt("Station", "bTrack", 1);
    f.settings.Load(f.profile);
    f.list.ApplySettings(f.settings, false);
    WeatherValues weather;
    weather.temperature = 210;
    weather.windSpeed = 4;
    f.list.UpdatePosition("K1OLD", "/>", "4903.50N", "07201.75W", "092345z",
                          "a comment longer than the small buffer", 100);
    f.list.UpdatePosition("K1OLD", "/>", "4913.50N", "07211.75W", "092346z", "", 100);
    f.list.SetCourseSpeed("K1OLD", 10, 20);
    f.list.SetPhg("K1OLD", 25, 20, 3, 90);
    f.list.SetDfs("K1OLD", 1, 2, 3, 4);
    f.list.SetObjectOwner("K1OLD", "K1OWNER-15");
    f.list.MarkObjectKilled("K1OLD");
    f.list.SetDeviceAndPath("K1OLD", "APK102", "K1DIG-3,WIDE1*,WIDE2-1", ">a long status text");
    f.list.StoreWeather("K1OLD", "", "", "wDVS", weather);
    f.list.SetShownOnMap("K1OLD", true);
    f.list.SetDeviceAndPath("K1MID", "APRS", "", "");
    f.clock.AdvanceSeconds(60);

    f.list.SetDeviceAndPath("K1NEW", "APRS", "WIDE1-1", "");  // K1OLD makes room
    ASSERT_FALSE(f.list.Contains("K1OLD"));

    StoreFixture fresh(f.clock.Now());
    fresh.profile.WriteInt("Station", "bTrack", 1);
    fresh.settings.Load(fresh.profile);
    fresh.list.ApplySettings(fresh.settings, false);
    fresh.list.SetDeviceAndPath("K1NEW", "APRS", "WIDE1-1", "");
    EXPECT_EQ(Describe(f.Get("K1NEW")), Describe(fresh.Get("K1NEW")));
    EXPECT_EQ(f.Calls(), (std::vector<std::string>{"N0CALL", "K1NEW", "K1MID"}));

    // A record that never had weather or a track is reused the same way.
    f.list.UpdatePosition("K1NEXT", "", "4903.50N", "07201.75W", "", "", -1);
    fresh.list.UpdatePosition("K1NEXT", "", "4903.50N", "07201.75W", "", "", -1);
    ASSERT_FALSE(f.list.Contains("K1MID"));
    EXPECT_EQ(Describe(f.Get("K1NEXT")), Describe(fresh.Get("K1NEXT")));
}

// Describe above and the reuse of records in the store name every field of CStation; a new
// field must be added to both (and this size updated).
#if defined(__GLIBCXX__) && defined(__x86_64__)
static_assert(sizeof(CStation) == 552, "a new field of CStation?");
#endif

std::string RandomCoordinate(std::mt19937& random, int degreeDigits) {
    // Digits, their neighbours in the byte table (0x2F, 0x3A, 0x3F, 0x40), blanks, hemispheres
    // and bytes whose carry would run into the next one.
    static const std::string kChars = "0123456789.  NSEWnsewX-/:?@\xFA\xFF";
    std::string text;
    for (int i = 0; i < degreeDigits + 2; ++i)
        text += static_cast<char>('0' + random() % 10);
    text += '.';
    text += static_cast<char>('0' + random() % 10);
    text += static_cast<char>('0' + random() % 10);
    text += std::string(degreeDigits == 2 ? "NSnsX" : "EWewX").at(random() % 5);
    // Now and then a character anywhere is replaced, or the text grows a tail.
    if (random() % 3 == 0)
        text[random() % text.size()] = kChars[random() % kChars.size()];
    if (random() % 5 == 0)
        text += kChars[random() % kChars.size()];
    return text;
}

// Plain "DDMM.mmN" / "DDDMM.mmW" texts are converted without the general parsers; every
// text must still give what ParseLatitude and ParseLongitude give.
TEST(StationList, PositionTextsAreReadAsTheParsersReadThem) {
    StoreFixture f;
    std::mt19937 random(5);
    for (int i = 0; i < 20000; ++i) {
        const std::string latitude = RandomCoordinate(random, 2);
        const std::string longitude = RandomCoordinate(random, 3);
        SCOPED_TRACE(latitude + " " + longitude);
        const int32_t colatitude = ParseLatitude(latitude);
        const int32_t lon = ParseLongitude(longitude);
        const bool usable =
            !IsNoPosition(colatitude, lon) && colatitude <= kMaxColatitude && lon <= kMaxLongitude;
        const std::string call = "K" + std::to_string(i);  // a fresh record each time
        f.list.UpdatePosition(call, "", latitude, longitude, "", "", -1);
        const CStation s = f.Get(call);
        ASSERT_EQ(s.hasPosition, usable);
        if (usable) {
            ASSERT_EQ(s.position.colatitude, colatitude);
            ASSERT_EQ(s.position.longitude, lon);
        }
    }
}

// The store names a device again only when the destination changes; that is right only as
// long as naming twice from one destination changes nothing and never gives an empty name.
TEST(DeviceName, NamingTwiceFromOneDestinationChangesNothing) {
    const char* destinations[] = {"Mic-E",  "TH-D7",  "TM-D700", "APRSM",  "APRSW",  "APRS",
                                  "APRSX",  "APIC12", "GPSLJ",   "APQ102", "APK003", "APk003",
                                  "APA123", "AP",     "apw251",  "BEACON", "A"};
    const char* devices[] = {"", "Kenwood TH-D7", "Mic-E/Pic-E Device", "old"};
    for (const char* destination : destinations) {
        for (const char* device : devices) {
            SCOPED_TRACE(std::string(destination) + " after " + device);
            const std::string once = DeviceName(destination, device);
            EXPECT_FALSE(once.empty());
            EXPECT_EQ(DeviceName(destination, once), once);
        }
    }
}

TEST(SetDeviceAndPath, NamesTheDeviceAgainAfterAPacketWithoutDestination) {
    StoreFixture f;
    struct Step {
        const char* destination;
        const char* device;
    } steps[] = {
        {"APK102", "Kenwood (102)"},     {"Mic-E", "Kenwood (102)"},
        {"TH-D7", "Kenwood TH-D7"},      {"TH-D7", "Kenwood TH-D7"},
        {"APK102", "Kenwood TH-D7"},     {"", ""},
        {"APK102", "Kenwood (102)"},     {"", ""},
        {"Mic-E", "Mic-E/Pic-E Device"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.destination);
        f.list.SetDeviceAndPath("K1AAA", step.destination, "", "");
        EXPECT_EQ(f.Get("K1AAA").device, step.device);
    }
}

// Two threads apply batches over overlapping calls through a small limit, so records are
// reused while a third thread reads; every view of the list must hold together.
TEST(StationBatchThreads, BatchesFromTwoThreadsKeepTheListConsistent) {
    StoreFixture f;
    f.profile.WriteInt("Station", "LimitStations", 8);
    f.profile.WriteInt("Station", "bTrack", 1);
    f.settings.Load(f.profile);
    f.list.ApplySettings(f.settings, false);
    std::atomic<bool> done{false};
    std::atomic<int> violations{0};
    const auto writer = [&](unsigned seed) {
        std::mt19937 random(seed);
        for (int round = 0; round < 3000; ++round) {
            std::vector<Operation> ops(1 + random() % 10);
            for (Operation& op : ops)
                op = RandomOperation(random);
            StationBatch batch(f.list);
            for (const Operation& op : ops)
                op.To(batch);
        }
    };
    std::thread reader([&] {
        while (!done.load()) {
            std::vector<std::string> calls;
            for (const CStation& s : f.list.Snapshot())
                calls.push_back(s.call);
            if (calls.empty() || calls.size() > 8 || calls.front() != "N0CALL")
                ++violations;
            std::sort(calls.begin(), calls.end());
            if (std::adjacent_find(calls.begin(), calls.end()) != calls.end())
                ++violations;
        }
    });
    std::thread first(writer, 1u);
    std::thread second(writer, 2u);
    first.join();
    second.join();
    done = true;
    reader.join();
    EXPECT_EQ(violations.load(), 0);
}

TEST(StationList, TellsTheOwnCallWithoutBeingFooledByARename) {
    StoreFixture f;
    EXPECT_TRUE(f.list.IsOwnCall("N0CALL"));
    EXPECT_FALSE(f.list.IsOwnCall("N0CALL-1"));
    EXPECT_FALSE(f.list.IsOwnCall("n0call"));
    f.Set("MyCall", "K1ME-9");
    EXPECT_FALSE(f.list.IsOwnCall("N0CALL"));
    EXPECT_TRUE(f.list.IsOwnCall("K1ME-9"));
}

}  // namespace
}  // namespace plovane
