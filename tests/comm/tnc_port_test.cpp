// SPDX-License-Identifier: GPL-3.0-or-later
#include "comm/tnc_port.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/clock.h"
#include "intake/intake_thread.h"
#include "intake/packet_intake.h"
#include "pty_peer.h"
#include "stations/station_list.h"
#include "support/recording_host.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;
using testing::PtyPeer;
using testing::RecordingHost;

// One text the TNC should receive, with the pauses the writer keeps around it.
struct Step {
    std::string text;
    int beforeMs, afterMs;
};

std::string Concat(const std::vector<Step>& steps) {
    std::string all;
    for (const Step& s : steps)
        all += s.text;
    return all;
}

const std::vector<Step> kWakeUp = {
    {"\xC0\xFF", 500, 500}, {"\x03\x03\x03", 1000, 2000}, {"\x03\r\r", 500, 500}};
const std::vector<Step> kBreak = {{"\x03\r", 200, 300}, {"\r\r", 200, 300}};

std::vector<Step> InitCommands(const std::string& myCall, const std::string& unproto) {
    return {{"MON ON\r", 500, 0},
            {"MYCALL " + myCall + "\r", 500, 0},
            {"MYALIAS RELAY\r", 500, 0},
            {unproto + "\r", 500, 0},
            {"CONV\r", 500, 0}};
}

std::vector<Step> Join(std::initializer_list<std::vector<Step>> parts) {
    std::vector<Step> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A TNC port on a pseudo-terminal, wired to a real decoder and station list.
struct TncFixture {
    static constexpr const char* kComm = "Comm";

    explicit TncFixture(double scale)
        : stations(stationSettings, clock, host, host),
          decoder(clock, PacketTargets{host, stations}),
          port(host, host) {
        CTncSettings{true, kTncText, 1200, peer.slavePath(), 8, "N", "1", ""}.Save(profile);
        port.SetDelayScale(scale);
        port.SetLineSink({&lines, {1, LineKind::kRf}, &clock});
        intake.Start();
    }
    void Load() {
        tncSettings.Load(profile);
        port.SetSettings(tncSettings);
        stationSettings.Load(profile);
        port.SetStationSettings(stationSettings);
        stations.ApplySettings(stationSettings, false);
    }

    RecordingHost host;
    MemoryProfile profile;
    FakeClock clock;
    CStationSettings stationSettings;
    CTncSettings tncSettings;
    PtyPeer peer;
    CStationList stations;
    CPacketIntake decoder;
    LineQueue lines;
    CIntakeThread intake{lines, decoder};
    CTncPort port;  // last: its thread stops before the rest goes
};

// The steps arrived in order, each no sooner than the pauses around it allow.
void ExpectSpacing(const PtyPeer& peer, size_t start, testing::SteadyTime previous,
                   int previousAfterMs, const std::vector<Step>& steps, double scale) {
    size_t offset = start;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.text);
        const testing::SteadyTime arrival = peer.ArrivalOf(offset);
        const auto least = std::chrono::duration<double, std::milli>(
            (previousAfterMs + step.beforeMs) * scale - 15);
        EXPECT_GE(arrival - previous, least);
        previous = arrival;
        previousAfterMs = step.afterMs;
        offset += step.text.size();
    }
}

TEST(TncPortThreads, OpeningMonitoringAndClosingTalkToTheTnc) {
    constexpr double kScale = 0.1;
    TncFixture f(kScale);
    ASSERT_TRUE(f.peer.ok());
    const std::string file = ::testing::TempDir() + "tnc_port_test.tnc";
    std::ofstream(file, std::ios::binary)
        << "[PLOVANE-TNC-FILE:Test]\r\n[INIT]\r\n# quiet\r\nECHO OFF\r\n\\[X\r\n \t \n\n"
           "\\\\Y\r\n[RESTORE]\r\nECHO ON\r\n";
    f.profile.WriteString(TncFixture::kComm, "TNCType", file);
    f.profile.WriteString("Station", "MyCall", "W1AW-9");
    f.profile.WriteString("Station", "UIDigiPath", "WIDE1-1,WIDE2-1");
    f.Load();
    EXPECT_EQ(f.port.parameters().baudRate, 1200);

    const std::vector<Step> opening =
        Join({kWakeUp,
              // Comments go, escapes are undone, a line of blanks is a bare CR.
              {{"ECHO OFF\r", 500, 0}, {"[X\r", 500, 0}, {"\r", 500, 0}, {"\\Y\r", 500, 0}},
              InitCommands("W1AW-9", "UNPROTO APQ102 VIA WIDE1-1,WIDE2-1")});
    const auto opened = std::chrono::steady_clock::now();
    ASSERT_TRUE(f.port.Open().open);
    ASSERT_TRUE(f.peer.WaitFor("CONV\r", 5s));
    EXPECT_EQ(f.peer.Received(), Concat(opening));
    ExpectSpacing(f.peer, 0, opened, 0, opening, kScale);

    const size_t before = f.peer.Received().size();
    const auto lastArrival = f.peer.ArrivalOf(before - 1);
    f.port.Close();
    EXPECT_FALSE(f.port.IsOpen());
    EXPECT_TRUE(f.peer.WaitFor("MON OFF\r", 2s, before));
    const std::vector<Step> closing =
        Join({kBreak, {{"ECHO ON\r", 500, 0}, {"MON OFF\r", 250, 0}}});
    EXPECT_EQ(f.peer.Received().substr(before), Concat(closing));
    ExpectSpacing(f.peer, before, lastArrival, 0, closing, kScale);

    std::filesystem::remove(file);
    EXPECT_EQ(f.host.CountPosts(ThreadMessage::kPortStatus), 0u);
}

TEST(TncPortThreads, WithoutACommandFileOnlyTheStandardSequenceGoesOut) {
    // A folder chosen as the file reads with an error: skipped like a missing file.
    const std::string folder = std::filesystem::temp_directory_path().string();
    for (const std::string& commandFile : {std::string(), std::string("None"), folder}) {
        SCOPED_TRACE(commandFile);
        TncFixture f(0.01);
        ASSERT_TRUE(f.peer.ok());
        f.profile.WriteString(TncFixture::kComm, "TNCType", commandFile);
        f.profile.WriteString("Station", "UIDigiPath", " ");  // no path: no "VIA"
        f.Load();
        ASSERT_TRUE(f.port.Open().open);
        ASSERT_TRUE(f.peer.WaitFor("CONV\r", 3s));
        f.port.Close();
        // Close returns once the last bytes are written; the peer reads them on its thread.
        EXPECT_TRUE(f.peer.WaitFor("MON OFF\r", 2s));
        EXPECT_EQ(f.peer.Received(), Concat(Join({kWakeUp,
                                                  InitCommands("NOCALL", "UNPROTO APQ102"),
                                                  kBreak,
                                                  {{"MON OFF\r", 0, 0}}})));
        const bool unreadable = !commandFile.empty() && commandFile != "None";
        EXPECT_EQ(f.host.notices().size(), unreadable ? 2u : 0u);  // [INIT] and [RESTORE]
    }
}

TEST(TncPortThreads, HangUpMidSessionEndsInErrorAndTheTncReopens) {
    TncFixture f(0.01);
    ASSERT_TRUE(f.peer.ok());
    f.Load();
    ASSERT_TRUE(f.port.Open().open);
    ASSERT_TRUE(f.peer.WaitFor("MYCALL", 3s));  // in the middle of the opening sequence
    f.peer.Hangup();
    ASSERT_TRUE(testing::WaitUntil([&] { return f.port.HasError(); }, 2s));
    EXPECT_FALSE(f.port.IsOpen());
    ASSERT_TRUE(
        testing::WaitUntil([&] { return f.host.CountPosts(ThreadMessage::kPortStatus) == 1; }, 2s));

    const auto before = std::chrono::steady_clock::now();
    f.port.Close();  // no closing sequence for a dead line
    EXPECT_LT(std::chrono::steady_clock::now() - before, 300ms);
    EXPECT_FALSE(f.port.HasError());
    EXPECT_TRUE(f.host.boxes().empty());
    f.port.SendStationSetup();  // closed: nothing
    f.port.SendGpsRequest();

    PtyPeer second;
    ASSERT_TRUE(second.ok());
    f.profile.WriteString(TncFixture::kComm, "TNCCommPort", second.slavePath());
    f.Load();
    ASSERT_TRUE(f.port.Open().open);
    ASSERT_TRUE(second.WaitFor("CONV\r", 3s));
    second.Write("N0CALL>APRS:>after\r");
    ASSERT_TRUE(testing::WaitUntil([&] { return f.stations.Contains("N0CALL"); }, 2s));

    // The station setup and a GPS request reach an open TNC.
    const size_t opened = second.Received().size();
    f.stationSettings.MyCall = "W1AW-2";
    f.port.SetStationSettings(f.stationSettings);
    f.port.SendStationSetup();
    f.port.SendGpsRequest();
    ASSERT_TRUE(second.WaitFor("\x05", 3s, opened));
    EXPECT_EQ(second.Received().substr(opened),
              Concat(Join({kBreak,
                           InitCommands("W1AW-2", "UNPROTO APQ102 VIA WIDE1-1,WIDE2-1"),
                           {{"\x05", 0, 0}}})));
    f.port.Close();
}

}  // namespace
}  // namespace plovane
