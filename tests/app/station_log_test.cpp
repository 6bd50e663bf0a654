// The station log: reading back damaged day files, the writer's failures, a crash, and a
// station stopped and started again against a loopback APRS-IS server.
#include "app/station_log.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

#include "app/plovane_app.h"
#include "comm/net_loopback.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int64_t kNoon = 1796558400;  // 2026-12-06T12:00:00Z

using testing::ScratchDir;

TEST(StationLog, StampLinesRoundTripAndOddLinesAreRefused) {
    const std::string stamp = StampLine(kNoon + 3661, LogDirection::kSent, "NET");
    EXPECT_EQ(stamp, "#2026-12-06T13:01:01Z TX NET");
    EXPECT_EQ(LogFileName(kNoon), "2026-12-06.log");
    int64_t utc = 0;
    LogDirection direction{};
    std::string_view source;
    ASSERT_TRUE(ParseStampLine(stamp, utc, direction, source));
    EXPECT_EQ(utc, kNoon + 3661);
    EXPECT_EQ(direction, LogDirection::kSent);
    EXPECT_EQ(source, "NET");
    for (const char* bad : {"#2026-02-30T13:01:01Z RX NET", "#2026-12-06T24:01:01Z RX NET",
                            "#2026-12-06T13:01:01Z QX NET", "#2026-12-06T13:01:01Z RX net",
                            "#2026-12-06T13:01:01Z RX ", "# comment"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ParseStampLine(bad, utc, direction, source));
    }
}

// Damaged day files: every good record is kept, each damaged one counted once.
TEST(StationLog, GarbageAndCutLinesAreSkippedAndCounted) {
    const std::string a = StampLine(kNoon, LogDirection::kReceived, "TNC") + "\nW1AAA>APRS:>a\n";
    const std::string b =
        StampLine(kNoon + 1, LogDirection::kReceived, "NET") + "\nW1BBB>APRS:>b\n";
    struct Case {
        std::string bytes;
        size_t records;
        size_t damaged;
    };
    const Case cases[] = {
        {a + b, 2, 0},
        {a + "garbage\n" + b, 2, 1},                  // a line without its stamp
        {a + "#garbage\nW1CCC>APRS:>c\n" + b, 2, 2},  // a bad stamp and its line
        {StampLine(kNoon, LogDirection::kSent, "NET") + "\n" + b, 1, 1},  // stamp, no line
        {a + b.substr(0, b.size() - 4), 1, 1},  // cut in the middle of a line
        {std::string("\0\xff\x80\n", 4) + a, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        LogReplaySet set;
        set.AddBytes(c.bytes);
        EXPECT_EQ(set.records().size(), c.records);
        EXPECT_EQ(set.damaged(), c.damaged);
    }
}

TEST(StationLog, RecordsAreReplayedInStampOrderFromTheWindow) {
    ScratchDir dir;
    // Yesterday's file (partly before the window), today's with a clock step back, tomorrow's.
    std::ofstream(dir.path() / LogFileName(kNoon - 86400))
        << StampLine(kNoon - 7200 - 86400, LogDirection::kReceived, "TNC") << "\nold\n"
        << StampLine(kNoon - 3600, LogDirection::kReceived, "TNC") << "\nfirst\n";
    std::ofstream(dir.path() / LogFileName(kNoon))
        << StampLine(kNoon + 60, LogDirection::kReceived, "TNC") << "\nfourth\n"
        << StampLine(kNoon, LogDirection::kReceived, "TNC") << "\nsecond\n"
        << StampLine(kNoon, LogDirection::kReceived, "TNC") << "\nthird\n";
    std::ofstream(dir.path() / LogFileName(kNoon + 86400))
        << StampLine(kNoon + 86400, LogDirection::kReceived, "TNC") << "\nfuture\n";
    std::ofstream(dir.path() / "notes.txt") << "not a day file\n";
    LogReplaySet set;
    set.AddFolder(dir.path(), kNoon - 86400);
    set.Sort();
    std::vector<std::string> lines;
    for (const LogRecord& r : set.records())
        lines.emplace_back(r.line);
    EXPECT_EQ(lines, (std::vector<std::string>{"first", "second", "third", "fourth", "future"}));

    EXPECT_EQ(PurgeOldLogs(dir.path(), kNoon, 1), 0u);
    EXPECT_EQ(PurgeOldLogs(dir.path(), kNoon + 86400, 1), 1u);
    EXPECT_FALSE(fs::exists(dir.path() / LogFileName(kNoon - 86400)));
    EXPECT_TRUE(fs::exists(dir.path() / LogFileName(kNoon)));
}

// An unwritable folder and a full disk: one notice, records counted as dropped, no crash.
TEST(StationLog, WriteFailuresGiveOneNoticeAndTheStationGoesOn) {
    ScratchDir dir;
    std::ofstream(dir.path() / "file") << "x";
    const fs::path full = dir.path() / "full";
    fs::create_directory(full);
    fs::create_symlink("/dev/full", full / LogFileName(kNoon));  // writes fail with ENOSPC
    for (const fs::path& folder : {dir.path() / "file" / "log", full}) {
        SCOPED_TRACE(folder);
        std::vector<std::string> notices;
        CStationLog log(
            folder, [] { return kNoon; }, [&](const std::string& text) { notices.push_back(text); },
            30);
        for (int i = 0; i < 3; ++i) {
            log.Append(LogDirection::kReceived, "NET", "W1AAA>APRS:>hello");
            EXPECT_FALSE(log.Flush());
        }
        EXPECT_EQ(notices.size(), 1u);
        EXPECT_EQ(log.dropped(), 3u);
    }
}

// A process killed with SIGKILL keeps every line appended more than a second before.
TEST(StationLog, KilledProcessLosesAtMostTheLastSecond) {
    ScratchDir dir;
    const auto steadyMs = [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CStationLog log(
            dir.path(), [] { return kNoon; }, {}, 0);
        log.Start();
        for (;;) {
            log.Append(LogDirection::kReceived, "TNC",
                       "W1AAA>APRS:>t=" + std::to_string(steadyMs()));
            std::this_thread::sleep_for(2ms);
        }
    }
    std::this_thread::sleep_for(1500ms);
    const int64_t killedAt = steadyMs();
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);

    LogReplaySet set;
    ASSERT_TRUE(set.AddFile(dir.path() / LogFileName(kNoon)));
    ASSERT_FALSE(set.records().empty());
    const std::string_view last = set.records().back().line;
    const int64_t lastMs = std::stoll(std::string(last.substr(last.find("t=") + 2)));
    EXPECT_GE(lastMs, killedAt - 1000);
    EXPECT_LE(set.damaged(), 1u);  // at most the record being written
}

// The station is stopped and started again: stations, tracks and messages come back, the
// replay sends nothing, and a new message does not reuse a restored number.
TEST(StationLog, RestartedStationComesBackWithoutSendingOldLines) {
    ScratchDir dir;
    const fs::path simulation = dir.path() / "sim.txt";
    std::ofstream(simulation) << "W1AAA>APRS:!4903.50N/07201.75W>first\r\n"
                                 "W1AAA>APRS:!4904.50N/07202.75W>second\r\n"
                                 "W2WX>APRS:_10090556c220s004g005t077r000p000P000h50b09900\r\n"
                                 "W1AAA>APRS::N0CALL-9 :Hi there{42\r\n";
    MemoryProfile profile;
    profile.WriteString("Station", "MyCall", "N0CALL-9");
    profile.WriteString("Station", "Status", "Listening");
    profile.WriteInt("Station", "TransmitStatus", 0);
    profile.WriteInt("Station", "bTrack", 1);
    profile.WriteInt("Comm", "NetEnabled", 1);
    AppStartOptions options;
    options.logFolder = dir.path() / "log";

    std::vector<CStation> stationsBefore;
    std::vector<CMessage> messagesBefore;
    {
        testing::LoopbackServer server;
        ASSERT_TRUE(server.ok());
        profile.WriteString("Comm", "HostAddress", server.host());
        profile.WriteString("Comm", "HostPort", server.port());
        testing::RecordingHost host;
        FakeClock clock(CDateTime(2026, 12, 6, 12, 0, 0));
        CPlovaneApp app(profile, host, clock);
        ASSERT_TRUE(app.Start(options));
        ASSERT_TRUE(server.Accept());
        server.ReadLine();  // the login
        ASSERT_EQ(app.PlaySimulation(simulation), 4);
        EXPECT_EQ(server.ReadLine(), "N0CALL-9>APQ102,TCPIP*::W1AAA    :ack42\r");
        app.messages().SendNewMessage("W1AAA", "pending");
        app.messages().SendNewMessage("W3CCC", "answered");
        std::string sent;
        for (int i = 0; i < 8 && sent.find("answered") == std::string::npos; ++i)
            sent = server.ReadLine();
        ASSERT_NE(sent.find("answered"), std::string::npos);
        app.decoder().DecodeLine("W3CCC>APRS::N0CALL-9 :ack2", "NET>");
        stationsBefore = app.stations().Snapshot();
        messagesBefore = app.messages().Snapshot();
        app.Shutdown();
    }
    // A crash left half a record behind, and a stray line came in.
    std::ofstream(options.logFolder / LogFileName(kNoon), std::ios::app) << "stray\n#2026-12";

    testing::LoopbackServer server;
    ASSERT_TRUE(server.ok());
    profile.WriteString("Comm", "HostAddress", server.host());
    profile.WriteString("Comm", "HostPort", server.port());
    testing::RecordingHost host;
    FakeClock clock(CDateTime(2026, 12, 6, 15, 0, 0));  // three hours later
    CPlovaneApp app(profile, host, clock);
    ASSERT_TRUE(app.Start(options));
    ASSERT_TRUE(server.Accept());
    server.ReadLine();      // the login
    app.SendMessagesNow();  // nothing old is due
    app.SendStatusNow();
    EXPECT_EQ(server.ReadLine().find("N0CALL-9>APQ102,TCPIP*:>"), 0u);

    const std::vector<CStation> stations = app.stations().Snapshot();
    ASSERT_EQ(stations.size(), stationsBefore.size());
    for (size_t i = 0; i < stations.size(); ++i) {
        SCOPED_TRACE(stations[i].call);
        EXPECT_EQ(stations[i].call, stationsBefore[i].call);
        EXPECT_EQ(stations[i].position.colatitude, stationsBefore[i].position.colatitude);
        EXPECT_EQ(stations[i].track.size(), stationsBefore[i].track.size());
        EXPECT_EQ(stations[i].hasWeather, stationsBefore[i].hasWeather);
        if (i > 0) {  // the own record is made afresh
            EXPECT_EQ((stations[i].lastHeard - stationsBefore[i].lastHeard).TotalSeconds(), 0);
        }
    }
    EXPECT_EQ(app.stations().FindStation("W1AAA")->track.size(), 2u);
    const std::vector<CMessage> messages = app.messages().Snapshot();
    ASSERT_EQ(messages.size(), messagesBefore.size());
    for (size_t i = 0; i < messages.size(); ++i) {
        SCOPED_TRACE(messages[i].text);
        EXPECT_EQ(messages[i].from, messagesBefore[i].from);
        EXPECT_EQ(messages[i].to, messagesBefore[i].to);
        EXPECT_EQ(messages[i].number, messagesBefore[i].number);
        EXPECT_EQ(messages[i].acked, messagesBefore[i].acked);
    }
    const auto notices = host.notices();
    EXPECT_TRUE(std::any_of(notices.begin(), notices.end(), [](const std::string& text) {
        return text.find("2 damaged lines skipped") != std::string::npos;
    }));

    // A new message continues the numbers and goes out alone.
    app.messages().SendNewMessage("W1AAA", "new");
    EXPECT_EQ(server.ReadLine(), "N0CALL-9>APQ102,TCPIP*::W1AAA    :new{3\r");
    app.decoder().DecodeLine("W1AAA>APRS::N0CALL-9 :ack3", "NET>");

    // File > Replay Log... while on the air: a logged message to us is stored, not acked.
    const fs::path day = dir.path() / "day.log";
    std::ofstream(day) << StampLine(kNoon, LogDirection::kReceived, "NET")
                       << "\nW4DDD>APRS::N0CALL-9 :old news{77\n";
    EXPECT_EQ(app.ReplayLogFile(day), 1);
    ASSERT_TRUE(app.messages().FindMessage("W4DDD", "N0CALL-9", "77", {}).has_value());
    app.SendMessagesNow();
    app.SendStatusNow();
    EXPECT_EQ(server.ReadLine().find("N0CALL-9>APQ102,TCPIP*:>"), 0u);
}

}  // namespace
}  // namespace plovane
