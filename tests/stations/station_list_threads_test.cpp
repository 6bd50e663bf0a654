// SPDX-License-Identifier: GPL-3.0-or-later
// The list under several decoding threads and a reader at once. Run under ThreadSanitizer.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "store_fixture.h"

namespace plovane {
namespace {

using ::plovane::testing::StoreFixture;

std::string CallFor(int n) {
    return "K" + std::to_string(n) + "AB";
}

// Two writers feed overlapping calls (500 distinct ones) through a limit of 50 while a third
// thread reads; every view of the list must hold the invariants.
TEST(StationListThreads, UpdatesAndReadsKeepTheListConsistent) {
    StoreFixture f;
    f.profile.WriteInt("Station", "LimitStations", 50);
    f.Set("bTrack", 1);
    constexpr int kUpdates = 20000;
    const int32_t colatitude = ParseLatitude("4903.50N");  // the box holds 4910 to 4923
    const int32_t longitude = ParseLongitude("07201.75W");

    std::atomic<bool> done{false};
    std::atomic<int> violations{0};
    auto writer = [&](int seed) {
        WeatherValues weather;
        weather.temperature = 100;
        for (int i = 0; i < kUpdates; ++i) {
            const std::string call = CallFor((i * 7 + seed) % 500);
            const std::string latitude = "49" + std::to_string(10 + i % 50) + ".50N";
            f.list.UpdatePosition(call, "/>", latitude, "07201.75W", "120000h", "c", -1);
            f.list.SetDeviceAndPath(call, "APRS", "WIDE", ">status");
            if (i % 16 == 0)
                f.list.StoreWeather(call, "", "", "wDVS", weather);
            if (i % 32 == 0)
                f.list.SetCourseSpeed(call, i, i % 360);
        }
    };
    auto reader = [&] {
        std::vector<CStation> found;
        for (int round = 0; !done.load(); ++round) {
            const std::vector<CStation> snapshot = f.list.Snapshot();
            std::vector<std::string> calls;
            for (const CStation& s : snapshot)
                calls.push_back(s.call);
            std::sort(calls.begin() + (calls.empty() ? 0 : 1), calls.end());
            const StationBoxResult box =
                f.list.StationsInBox(colatitude, longitude, 9000, 120000, found, 10, round % 3);
            const auto one = f.list.FindStation(CallFor(round % 500));
            if (snapshot.empty() || snapshot.size() > 50 || snapshot.front().call != "N0CALL" ||
                std::adjacent_find(calls.begin(), calls.end()) != calls.end() || box.total > 50 ||
                found.size() > 10 || f.list.Count() > 50 ||
                (one && (one->call != CallFor(round % 500) || one->track.size() > 10))) {
                ++violations;
            }
            if (round % 64 == 0)
                f.list.ApplyLimit();
        }
    };

    std::thread read(reader);
    std::thread first(writer, 0);
    std::thread second(writer, 3);
    first.join();
    second.join();
    done = true;
    read.join();

    EXPECT_EQ(violations.load(), 0);
    EXPECT_EQ(f.list.Count(), 50u);
    EXPECT_EQ(f.list.OwnCall(), "N0CALL");
}

// Find-or-add is one step: two threads adding the same new calls create each record once
// (one new-station sound per record).
TEST(StationListThreads, TwoThreadsAddingTheSameCallsCreateOneRecordEach) {
    StoreFixture f;
    f.Set("bLimitStations", 0);
    f.list.SetNewStationSound(true, "new.wav");
    constexpr int kCalls = 2000;
    auto adder = [&] {
        for (int i = 0; i < kCalls; ++i)
            f.list.SetDeviceAndPath(CallFor(i), "APRS", "", "");
    };
    std::thread first(adder);
    std::thread second(adder);
    first.join();
    second.join();
    EXPECT_EQ(f.list.Count(), static_cast<size_t>(kCalls) + 1);
    EXPECT_EQ(f.host.sounds().size(), static_cast<size_t>(kCalls));
}

}  // namespace
}  // namespace plovane
