// SPDX-License-Identifier: GPL-3.0-or-later
// The station log: day files, replay, write failures, a killed process, a restarted station.
#include "app/station_log.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/log_replay.h"
#include "app_rig.h"
#include "core/null_host.h"
#include "core/terminal_text.h"
#include "history/history_store.h"
#include "intake/packet_intake.h"
#include "messages/message_list.h"
#include "stations/station_list.h"
#include "support/child_process.h"
#include "support/scratch_dir.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using testing::ScratchDir;

constexpr int64_t kNoon = 1796558400;  // 2026-12-06T12:00:00Z

std::string Record(int64_t utc, const std::string& line, const char* source = "TNC") {
    return StampLine(utc, LogDirection::kReceived, source) + "\n" + line + "\n";
}

// Damaged day files: every good record is kept, each damaged one counted once.
TEST(StationLog, GarbageBadStampsAndCutLinesAreSkippedAndCounted) {
    EXPECT_EQ(StampLine(kNoon + 3661, LogDirection::kSent, "NET"), "#2026-12-06T13:01:01Z TX NET");
    EXPECT_EQ(LogFileName(kNoon), "2026-12-06.log");
    const std::string a = Record(kNoon, "W1AAA>APRS:>a");
    const std::string b = Record(kNoon + 1, "W1BBB>APRS:>b", "NET");
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
        {"#2026-02-30T13:01:01Z RX NET\nx\n" + a, 1, 2},
        {"#2026-12-06T24:01:01Z RX NET\nx\n" + a, 1, 2},
        {"#2026-12-06T13:01:01Z QX NET\nx\n" + a, 1, 2},
        {"#2026-12-06T13:01:01Z RX net\nx\n" + a, 1, 2},
        {"#2026-12-06T13:01:01Z RX \nx\n" + a, 1, 2},
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
        << Record(kNoon - 7200 - 86400, "old") << Record(kNoon - 3600, "first");
    std::ofstream(dir.path() / LogFileName(kNoon))
        << Record(kNoon + 60, "fourth") << Record(kNoon, "second") << Record(kNoon, "third");
    std::ofstream(dir.path() / LogFileName(kNoon + 86400)) << Record(kNoon + 86400, "future");
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

// The newest records have the first claim on the read limit; what is left out is reported.
TEST(StationLog, ReadLimitKeepsTheNewestRecordsAndReportsTheRest) {
    ScratchDir dir;
    {
        std::ofstream yesterday(dir.path() / LogFileName(kNoon - 86400));
        std::ofstream today(dir.path() / LogFileName(kNoon));
        for (int i = 0; i < 4; ++i) {
            yesterday << Record(kNoon - 86400 + i, "W1AAA>APRS:>0" + std::to_string(i));
            today << Record(kNoon + i, "W1AAA>APRS:>1" + std::to_string(i));
        }
    }
    constexpr int64_t kRecordBytes = 29 + 15;  // the stamp line and "W1AAA>APRS:>nn", each LF
    constexpr int64_t kTotal = 8 * kRecordBytes;
    struct Case {
        int64_t limitRecords;  // the read limit, in records (plus a part record)
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {8, {">00", ">01", ">02", ">03", ">10", ">11", ">12", ">13"}},  // all fit
        {6, {">02", ">03", ">10", ">11", ">12", ">13"}},                // yesterday's newest half
        {3, {">11", ">12", ">13"}},                                     // today's newest only
        {0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limitRecords);
        // A part record more: the cut lands inside a record, which is not counted as damaged.
        const int64_t limit = c.limitRecords * kRecordBytes + 20;
        LogReplaySet set(limit);
        set.AddFolder(dir.path(), kNoon - 2 * 86400);
        set.Sort();
        std::vector<std::string> lines;
        for (const LogRecord& r : set.records())
            lines.emplace_back(r.line.substr(11));
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(set.damaged(), 0u);
        EXPECT_EQ(set.leftOutBytes(), std::max<int64_t>(0, kTotal - limit));
        const std::string notice = ReplayNotice({c.lines.size(), 0}, set);
        EXPECT_EQ(notice.find("left out") != std::string::npos, limit < kTotal) << notice;
    }
    // One file read on its own (File > Replay Log...) keeps the same limit.
    LogReplaySet single(2 * kRecordBytes);
    ASSERT_TRUE(single.AddFile(dir.path() / LogFileName(kNoon)));
    ASSERT_EQ(single.records().size(), 2u);
    EXPECT_EQ(single.records()[0].line, "W1AAA>APRS:>12");
    EXPECT_EQ(single.leftOutBytes(), 2 * kRecordBytes);
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
        const fs::path blocker = folder == full ? full / LogFileName(kNoon) : dir.path() / "file";
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
        EXPECT_FALSE(log.writing());
        // Writable again: the log says so, with what it lost meanwhile.
        fs::remove(blocker);
        log.Append(LogDirection::kReceived, "NET", "W1AAA>APRS:>again");
        EXPECT_TRUE(log.Flush());
        EXPECT_TRUE(log.writing());
        ASSERT_EQ(notices.size(), 2u);
        EXPECT_NE(notices[1].find("writing again; 3 records were not written"), std::string::npos)
            << notices[1];
    }
}

// A pipe named like a day file neither blocks the start (its reader) nor the writer.
TEST(StationLog, PipeNamedLikeADayFileIsRefusedWithoutBlocking) {
    ScratchDir dir;
    ASSERT_EQ(::mkfifo((dir.path() / LogFileName(kNoon)).c_str(), 0644), 0);
    LogReplaySet set;
    set.AddFolder(dir.path(), kNoon - 86400);
    EXPECT_FALSE(set.AddFile(dir.path() / LogFileName(kNoon)));
    EXPECT_TRUE(set.records().empty());
    std::vector<std::string> notices;
    CStationLog log(
        dir.path(), [] { return kNoon; }, [&](const std::string& text) { notices.push_back(text); },
        30);
    log.Append(LogDirection::kReceived, "NET", "W1AAA>APRS:>hello");
    EXPECT_FALSE(log.Flush());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("not a regular file"), std::string::npos) << notices[0];
}

// A write the system does not finish (here: an open held by a file lease, as a stalled
// network file system would) does not hold up the shut-down, which says what was lost.
TEST(StationLog, CloseLeavesAStalledWriteAndSaysWhatWasNotWritten) {
    ScratchDir dir;
    const fs::path day = dir.path() / LogFileName(kNoon);
    std::ofstream(day) << Record(kNoon, "W1AAA>APRS:>before");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        ::signal(SIGIO, SIG_IGN);  // told of the writer waiting; holds on regardless
        const int fd = ::open(day.c_str(), O_RDONLY);
        const char ok = fd >= 0 && ::fcntl(fd, F_SETLEASE, F_RDLCK) == 0 ? 'y' : 'n';
        (void)::write(ready[1], &ok, 1);
        ::pause();
        ::_exit(0);
    }
    char ok = 'n';
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 'y') << "no file lease here";
    std::vector<std::string> notices;
    std::mutex noticesMutex;
    {
        CStationLog log(
            dir.path(), [] { return kNoon; },
            [&](const std::string& text) {
                std::lock_guard lock(noticesMutex);
                notices.push_back(text);
            },
            30);
        log.Start();
        log.Append(LogDirection::kReceived, "NET", "W1AAA>APRS:>stalled");
        log.Close();
        EXPECT_EQ(log.dropped(), 1u);
    }
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    std::lock_guard lock(noticesMutex);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("1 records not written"), std::string::npos) << notices[0];
}

// A record cut by a crash is set aside beside the day file, never deleted, and the next
// record starts on a line of its own, however long the cut part.
TEST(StationLog, CutLastRecordIsSetAsideAndTheNextRecordIsWhole) {
    const std::string good = Record(kNoon, "W1AAA>APRS:>good");
    struct Case {
        const char* name;
        std::string kept;  // the whole records before the cut
        std::string cut;
    };
    const Case cases[] = {
        {"no line end at all", "", std::string(59758, 'x')},
        {"a long cut line", good + "#2026-12-06T12:00:00Z RX NET\n", std::string(70000, 'y')},
        {"a cut stamp", good, "#2026-12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        const fs::path day = dir.path() / LogFileName(kNoon);
        std::ofstream(day) << c.kept << c.cut;
        CStationLog log(
            dir.path(), [] { return kNoon; }, {}, 30);
        log.Append(LogDirection::kReceived, "NET", "W1BBB>APRS:>next");
        ASSERT_TRUE(log.Flush());
        EXPECT_EQ(testing::ReadFile(day.string()),
                  c.kept + Record(kNoon, "W1BBB>APRS:>next", "NET"));
        EXPECT_EQ(testing::ReadFile(day.string() + ".damaged"), c.cut + "\n");
    }
}

// Terminal controls from the air are escaped in the file, which stays safe to cat, and come
// back exact; lines without them, and files written before, read as written.
TEST(StationLog, TerminalControlsAreEscapedInTheFileAndReadBackExact) {
    ScratchDir dir;
    const std::vector<std::string> lines = {
        "W1AAA>APRS:>\x1b]0;owned\x07title",
        "W1AAA>APRS:>\x1b]52;c;Y2xpcA==\x07 and \\x41 \\",
        "W1AAA>APRS:>\x1b[2J caf\xc3\xa9 \xc2\x9b \x9b",
        "W1AAA>APRS:>plain \\x1B and a back\\slash",
    };
    CStationLog log(
        dir.path(), [] { return kNoon; }, {}, 30);
    for (const std::string& line : lines)
        log.Append(LogDirection::kReceived, "TNC", line);
    ASSERT_TRUE(log.Flush());
    const std::string file = testing::ReadFile((dir.path() / LogFileName(kNoon)).string());
    std::string withoutLineEnds = file;
    std::erase(withoutLineEnds, '\n');
    EXPECT_FALSE(HasTerminalControls(withoutLineEnds)) << file;
    // The plain line is written as it was heard, as older files hold it.
    EXPECT_NE(file.find(Record(kNoon, lines[3])), std::string::npos) << file;
    LogReplaySet set;
    ASSERT_TRUE(set.AddFile(dir.path() / LogFileName(kNoon)));
    std::vector<std::string> read;
    for (const LogRecord& r : set.records())
        read.emplace_back(r.line);
    EXPECT_EQ(read, lines);
    // Played as a simulation or decoded line by line, the file gives the same lines.
    std::istringstream in(file);
    LogLineFilter filter;
    read.clear();
    for (std::string line; std::getline(in, line);) {
        filter.Apply(line);
        if (line[0] != '#')
            read.push_back(line);
    }
    EXPECT_EQ(read, lines);
}

// Streamed a small chunk at a time, every record comes through in order, a line longer than
// a chunk is one damaged record, and the buffer never holds more than about two chunks.
TEST(StationLog, StreamedReplayKeepsMemoryToTwoChunks) {
    ScratchDir dir;
    std::vector<std::string> written;
    {
        std::ofstream day(dir.path() / LogFileName(kNoon));
        for (int i = 0; i < 1000; ++i) {
            written.push_back("W1AAA>APRS:>" + std::to_string(i));
            day << Record(kNoon + i, written.back());
            if (i == 500)
                day << std::string(20000, 'z') << "\n";
        }
    }
    constexpr size_t kChunk = 4096;
    LogReplaySet set;
    std::vector<std::string> read;
    set.StreamTo(
        [&](std::span<const LogRecord> records) {
            for (const LogRecord& r : records)
                read.emplace_back(r.line);
        },
        kChunk);
    set.AddFolder(dir.path(), kNoon - 86400);
    EXPECT_EQ(read, written);
    EXPECT_EQ(set.count(), written.size());
    EXPECT_TRUE(set.records().empty());
    EXPECT_EQ(set.damaged(), 1u);
    EXPECT_LE(set.peakBufferBytes(), 2 * kChunk);
}

// A process killed with SIGKILL keeps every line appended more than a second before.
TEST(StationLog, KilledProcessLosesAtMostTheLastSecond) {
    ScratchDir dir;
    const auto steadyMs = [] {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    };
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CStationLog log(
            dir.path(), [] { return kNoon; }, {}, 0);
        log.Start();
        for (;; std::this_thread::sleep_for(2ms))
            log.Append(LogDirection::kReceived, "TNC", "t=" + std::to_string(steadyMs()));
    }
    std::this_thread::sleep_for(1500ms);
    const int64_t killedAt = steadyMs();
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    LogReplaySet set;
    ASSERT_TRUE(set.AddFile(dir.path() / LogFileName(kNoon)));
    ASSERT_FALSE(set.records().empty());
    EXPECT_GE(std::stoll(std::string(set.records().back().line.substr(2))), killedAt - 1000);
    EXPECT_LE(set.damaged(), 1u);  // at most the record being written
}

// What a restart must bring back: stations, tracks, weather, messages with numbers and acks.
std::vector<std::string> Stores(CPlovaneApp& app) {
    std::vector<std::string> lines;
    for (const CStation& s : app.stations().Snapshot()) {
        lines.push_back(s.call + " " + std::to_string(s.position.colatitude) + " " +
                        std::to_string(s.track.size()) + (s.hasWeather ? " wx" : ""));
        if (s.call != app.stations().OwnCall())
            lines.back() += " " + s.lastHeard.ToIso8601();
    }
    for (const CMessage& m : app.messages().Snapshot())
        lines.push_back(m.from + ">" + m.to + " " + m.number + (m.acked ? " acked" : ""));
    return lines;
}

// Started again: the stores come back, nothing old is sent, message numbers go on.
TEST(StationLog, RestartedStationComesBackWithoutSendingOldLines) {
    ScratchDir dir;
    const fs::path simulation = dir.path() / "sim.txt";
    std::ofstream(simulation) << "W1AAA>APRS:!4903.50N/07201.75W>first\r\n"
                                 "W1AAA>APRS:!4904.50N/07202.75W>second\r\n"
                                 "W2WX>APRS:_10090556c220s004g005t077r000p000P000h50b09900\r\n"
                                 "W1AAA>APRS::N0CALL-9 :Hi there{42\r\n";
    MemoryProfile profile;
    profile.WriteString("Station", "Status", "Listening");
    profile.WriteInt("Station", "bTrack", 1);
    AppStartOptions options;
    options.logFolder = dir.path() / "log";

    std::vector<std::string> before;
    {
        FakeClock clock(CDateTime(2026, 12, 6, 12, 0, 0));
        testing::NetStation net(profile, clock, options);
        CPlovaneApp& app = net.app;
        ASSERT_EQ(app.PlaySimulation(simulation), 4);
        EXPECT_EQ(net.server.ReadLine(), "N0CALL-9>APQ102,TCPIP*::W1AAA    :ack42\r");
        app.messages().SendNewMessage("W1AAA", "pending");
        app.messages().SendNewMessage("W3CCC", "answered");
        std::string sent;
        for (int i = 0; i < 8 && sent.find("answered") == std::string::npos; ++i)
            sent = net.server.ReadLine();
        ASSERT_NE(sent.find("answered"), std::string::npos);
        app.decoder().DecodeLine("W3CCC>APRS::N0CALL-9 :ack2", "NET>");
        before = Stores(app);
        app.Shutdown();
    }
    // A crash left half a record behind, and a stray line came in.
    std::ofstream(options.logFolder / LogFileName(kNoon), std::ios::app) << "stray\n#2026-12";

    FakeClock clock(CDateTime(2026, 12, 6, 15, 0, 0));  // three hours later
    testing::NetStation net(profile, clock, options);
    CPlovaneApp& app = net.app;
    app.WaitForReplay();
    app.SendMessagesNow();  // nothing old is due
    app.SendStatusNow();
    EXPECT_EQ(net.server.ReadLine().find("N0CALL-9>APQ102,TCPIP*:>"), 0u);
    EXPECT_EQ(Stores(app), before);
    EXPECT_EQ(app.stations().FindStation("W1AAA")->track.size(), 2u);
    const auto notices = net.host.notices();
    EXPECT_TRUE(std::any_of(notices.begin(), notices.end(), [](const std::string& text) {
        return text.find("2 damaged lines skipped") != std::string::npos;
    }));

    // A new message continues the numbers and goes out alone.
    app.messages().SendNewMessage("W1AAA", "new");
    EXPECT_EQ(net.server.ReadLine(), "N0CALL-9>APQ102,TCPIP*::W1AAA    :new{3\r");
    app.decoder().DecodeLine("W1AAA>APRS::N0CALL-9 :ack3", "NET>");

    // File > Replay Log... while on the air: a logged message to us is stored, not acked.
    const fs::path day = dir.path() / "day.log";
    std::ofstream(day) << Record(kNoon, "W4DDD>APRS::N0CALL-9 :old news{77", "NET");
    EXPECT_EQ(app.ReplayLogFile(day), 1);
    ASSERT_TRUE(app.messages().FindMessage("W4DDD", "N0CALL-9", "77", {}).has_value());
    app.SendMessagesNow();
    app.SendStatusNow();
    EXPECT_EQ(net.server.ReadLine().find("N0CALL-9>APQ102,TCPIP*:>"), 0u);
}

// A replayed message to us is waiting again only if the user had not seen it before the stop.
TEST(StationLog, ReplayedMessagesAreMarkedWaitingOnlyWhenNotSeenBeforeTheStop) {
    struct Case {
        const char* name;
        bool clearedBeforeStop;  // the user opened the messages window
        bool messageAfterStop;   // a later message reached the log (a crashed run)
        bool waitingAfterRestart;
    };
    const Case cases[] = {
        {"seen", true, false, false},
        {"not seen", false, false, true},
        {"seen, then a new one", true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        MemoryProfile profile;
        profile.WriteString("Station", "MyCall", "N0CALL");
        AppStartOptions options;
        options.logFolder = dir.path() / "log";
        fs::create_directories(options.logFolder);
        const auto logMessage = [&](int64_t utc, const std::string& number) {
            std::ofstream(options.logFolder / LogFileName(utc), std::ios::app)
                << Record(utc, "W1AAA>APRS::N0CALL   :Hello{" + number, "NET");
        };
        logMessage(kNoon - 3600, "1");
        NullHost host;
        {
            FakeClock clock(CDateTime(2026, 12, 6, 12, 0, 0));
            CPlovaneApp app(profile, host, clock);
            ASSERT_TRUE(app.Start(options));
            app.WaitForReplay();
            // A first start knows nothing of what was seen: the message is waiting, as live.
            ASSERT_TRUE(app.messages().MessageWaiting());
            if (c.clearedBeforeStop)
                app.messages().ClearMessageWaiting();
            app.Shutdown();
        }
        if (c.messageAfterStop)
            logMessage(kNoon + 60, "2");
        FakeClock clock(CDateTime(2026, 12, 6, 12, 5, 0));
        CPlovaneApp app(profile, host, clock);
        ASSERT_TRUE(app.Start(options));
        app.WaitForReplay();
        EXPECT_EQ(app.messages().MessageWaiting(), c.waitingAfterRestart);
        EXPECT_EQ(app.messages().Count(), c.messageAfterStop ? 2u : 1u);
    }
}

// A replay runs beside live traffic: each restored message is held (ours) or needs no more acks
// (to us) the moment it is stored, not when the replay ends, so the message slot cannot send it.
TEST(StationLog, RestoredMessagesAreHeldAsTheyAreRestored) {
    FakeClock clock(CDateTime(2026, 12, 6, 12, 0, 0));
    NullHost host;
    ReplayGate gate(clock, host);
    CStationSettings settings;
    settings.MyCall = "N0CALL";
    CStationList stations(settings, gate, gate, gate);
    CMessageList messages(settings, gate, gate, gate, [&] { return stations.OwnCall(); });
    stations.ApplySettings(settings, false);
    messages.ApplySettings(settings);
    messages.SetRestoring([&] { return gate.Replaying(); });
    CPacketIntake decoder(gate, PacketTargets{gate, stations, &messages});

    LogReplayer replayer(gate, decoder, stations, messages);
    const LogRecord records[] = {
        {kNoon, LogDirection::kSent, "NET", "N0CALL>APQ102,TCPIP*::W1AAA    :pending{5"},
        {kNoon + 1, LogDirection::kReceived, "NET", "W1AAA>APRS::N0CALL   :old{7"},
    };
    replayer.Replay(records);
    const auto own = messages.FindMessage("N0CALL", "W1AAA", "5", {});
    const auto toUs = messages.FindMessage("W1AAA", "N0CALL", "7", {});
    ASSERT_TRUE(own && toUs);
    EXPECT_TRUE(own->held);
    EXPECT_GE(toUs->ackCount, CMessageList::kMaxAcks);
    EXPECT_TRUE(toUs->restored);  // not announced on the desktop again
    replayer.Finish();

    // Heard live after the replay: acked as usual.
    decoder.DecodeLine("W1AAA>APRS::N0CALL   :new{8", "NET>");
    const auto live = messages.FindMessage("W1AAA", "N0CALL", "8", {});
    ASSERT_TRUE(live);
    EXPECT_LT(live->ackCount, CMessageList::kMaxAcks);
    EXPECT_FALSE(live->restored);
}

// The history holds what the log held at start and what arrives on the road after; a damaged
// database file is set aside with a notice and made again from the log.
TEST(StationLog, HistoryFillsFromTheRoadAndADamagedFileIsRebuiltFromTheLog) {
    ScratchDir dir;
    AppStartOptions options;
    options.logFolder = dir.path() / "log";
    options.historyPath = dir.path() / "history.sqlite";
    fs::create_directories(options.logFolder);
    std::ofstream(options.logFolder / LogFileName(kNoon - 60))
        << Record(kNoon - 60, "W1AAA>APRS:!4903.50N/07201.75W>logged");
    std::ofstream(options.historyPath) << std::string(4096, 'x');
    const fs::path simulation = dir.path() / "sim.txt";
    std::ofstream(simulation) << "W2BBB>APRS:!4803.50N/07101.75W>live\r\n";
    MemoryProfile profile;
    profile.WriteString("Station", "MyCall", "N0CALL");
    testing::RecordingHost host;
    FakeClock clock(CDateTime(2026, 12, 6, 12, 0, 0));
    CPlovaneApp app(profile, host, clock);
    ASSERT_TRUE(app.Start(options));
    app.WaitForHistory();
    ASSERT_EQ(app.PlaySimulation(simulation), 1);
    ASSERT_NE(app.historyWriter(), nullptr);
    app.historyWriter()->Flush();

    HistoryStore store;
    ASSERT_EQ(store.Open(options.historyPath, {}, true), HistoryStore::OpenState::kOpened);
    EXPECT_EQ(store.Positions("W1AAA", {}).size(), 1u);
    EXPECT_EQ(store.Positions("W2BBB", {}).size(), 1u);
    const auto notices = host.notices();
    EXPECT_TRUE(std::any_of(notices.begin(), notices.end(), [](const std::string& text) {
        return text.find("set aside") != std::string::npos;
    }));
    app.Shutdown();
}

}  // namespace
}  // namespace plovane
