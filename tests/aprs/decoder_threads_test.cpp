// SPDX-License-Identifier: GPL-3.0-or-later
// Two sources and a reader on one store with the station limit at work (run under tsan).
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "core/clock.h"
#include "core/geo.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "intake/packet_intake.h"
#include "stations/station_list.h"
#include "support/recording_host.h"

namespace plovane {
namespace {

TEST(DecoderThreads, TwoSourcesAndAReaderKeepTheStoreConsistent) {
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

    // 300 calls shared by both sources, in every position format and with objects.
    const std::string formats[] = {">APRS,WIDE1-1:!4903.50N/07201.75W>088/036", ">S32U6T:`(#fpPO>/",
                                   ">APRS:;OBJ%d     *092345z4903.50N/07201.75W-obj",
                                   ">APRS:=/5L!!<*e7>7P[moving"};
    auto source = [&](int seed, const char* tag) {
        for (int i = 0; i < 6000; ++i) {
            std::string line = "K" + std::to_string((i * 13 + seed) % 300) + "XY" + formats[i % 4];
            if (const size_t at = line.find("%d"); at != std::string::npos)
                line.replace(at, 2, std::to_string(i % 20));
            decoder.DecodeLine(line, tag);
        }
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
    std::thread tnc(source, 1, "TNC>");
    std::thread net(source, 7, "NET>");
    tnc.join();
    net.join();
    done = true;
    reader.join();

    EXPECT_EQ(violations.load(), 0);
    EXPECT_EQ(stations.Count(), 40u);
    EXPECT_EQ(stations.Snapshot().front().call, "N0CALL");
}

}  // namespace
}  // namespace plovane
