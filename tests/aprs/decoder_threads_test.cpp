// SPDX-License-Identifier: GPL-3.0-or-later
// Two sources on the one road and a reader on the store with the station limit at work
// (run under tsan).
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "core/clock.h"
#include "core/geo.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "intake/intake_thread.h"
#include "intake/packet_intake.h"
#include "stations/station_list.h"
#include "support/recording_host.h"

namespace plovane {
namespace {

TEST(DecoderThreads, TwoSourcesOnTheRoadAndAReaderKeepTheStoreConsistent) {
    MemoryProfile profile;
    profile.WriteString("Station", "MyCall", "N0CALL");
    profile.WriteInt("Station", "LimitStations", 40);
    CStationSettings settings;
    SystemClock clock;
    testing::RecordingHost host;
    CStationList stations(settings, clock, host, host);
    settings.Load(profile);
    stations.ApplySettings(settings, false);
    CPacketIntake decoder(clock, PacketTargets{host, stations});
    LineQueue queue(16);
    CIntakeThread intake(queue, decoder);
    // Every line reaches the hook after it was applied, with its origin, in each source's order.
    std::vector<std::pair<LineOrigin, std::string>> heard;  // intake thread only until joined
    intake.SetHeardHook([&](const HeardLine& line, const DecodedPacket&) {
        heard.emplace_back(line.origin, line.bytes);
    });
    ASSERT_TRUE(intake.Start());

    // 300 calls shared by both sources, in every position format and with objects.
    const std::string formats[] = {">APRS,WIDE1-1:!4903.50N/07201.75W>088/036", ">S32U6T:`(#fpPO>/",
                                   ">APRS:;OBJ%d     *092345z4903.50N/07201.75W-obj",
                                   ">APRS:=/5L!!<*e7>7P[moving"};
    const auto lineOf = [&](int seed, int i) {
        std::string line = "K" + std::to_string((i * 13 + seed) % 300) + "XY" + formats[i % 4];
        if (const size_t at = line.find("%d"); at != std::string::npos)
            line.replace(at, 2, std::to_string(i % 20));
        return line;
    };
    auto source = [&](int seed, LineOrigin origin) {
        const LineSink sink{&queue, origin, &clock};
        for (int i = 0; i < 6000; ++i)
            ASSERT_TRUE(sink.Put(lineOf(seed, i)));
    };

    std::atomic<bool> done{false};
    std::atomic<int> violations{0};
    std::thread reader([&] {
        std::vector<CStation> found;
        while (!done) {
            const std::vector<CStation> all = stations.Snapshot();
            std::set<std::string> calls;
            for (const CStation& s : all)
                calls.insert(s.call);
            if (all.size() > 40 || all.empty() || all.front().call != "N0CALL" ||
                calls.size() != all.size()) {
                ++violations;
            }
            const StationBoxResult box =
                stations.StationsInBox(ParseLatitude("4903.50N"), ParseLongitude("07201.75W"),
                                       36000000, 20000000, found, 10, 0);
            if (box.total > 40 || box.stored > 10)
                ++violations;
            (void)stations.FindStation("K1XY");
        }
    });
    const LineOrigin rf{1, LineKind::kRf};
    const LineOrigin internet{0, LineKind::kInternet};
    std::thread tnc(source, 1, rf);
    std::thread net(source, 7, internet);
    tnc.join();
    net.join();
    intake.Flush();
    done = true;
    reader.join();
    intake.Stop();

    int next[2] = {0, 0};
    for (const auto& [origin, line] : heard) {
        const bool fromRf = origin == rf;
        ASSERT_EQ(line, lineOf(fromRf ? 1 : 7, next[fromRf ? 0 : 1]++));
    }
    EXPECT_EQ(next[0], 6000);
    EXPECT_EQ(next[1], 6000);

    EXPECT_EQ(violations.load(), 0);
    EXPECT_EQ(stations.Count(), 40u);
    EXPECT_EQ(stations.Snapshot().front().call, "N0CALL");
}

}  // namespace
}  // namespace plovane
