// Replaying the station log at start: the read limit (at most so many bytes of day files,
// the newest first, with a word on what was left out) and the message-waiting mark, which a
// message comes back with only when the user had not seen it before the station stopped.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/log_replay.h"
#include "app/plovane_app.h"
#include "app/station_log.h"
#include "core/null_host.h"

namespace plovane {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kNoon = 1796558400;  // 2026-12-06T12:00:00Z

struct TempDir {
    fs::path path;
    TempDir() {
        char name[] = "/tmp/plovane-replay-XXXXXX";
        path = ::mkdtemp(name);
    }
    ~TempDir() { fs::remove_all(path); }
};

// A record of a fixed size: the stamp line (29 bytes with its LF) and "W1AAA>APRS:>nn\n".
std::string Record(int64_t utc, int n) {
    const std::string number = (n < 10 ? "0" : "") + std::to_string(n);
    return StampLine(utc, LogDirection::kReceived, "NET") + "\nW1AAA>APRS:>" + number + "\n";
}

constexpr size_t kRecordBytes = 29 + 15;

std::vector<std::string> Lines(const LogReplaySet& set) {
    std::vector<std::string> lines;
    for (const LogRecord& r : set.records())
        lines.emplace_back(r.line.substr(11));
    return lines;
}

TEST(StationLogLimit, NewestRecordsHaveTheFirstClaimAndTheRestIsReported) {
    TempDir dir;
    {
        std::ofstream yesterday(dir.path / LogFileName(kNoon - 86400));
        std::ofstream today(dir.path / LogFileName(kNoon));
        for (int i = 0; i < 4; ++i) {
            yesterday << Record(kNoon - 86400 + i, i);
            today << Record(kNoon + i, 10 + i);
        }
    }
    struct Case {
        size_t limitRecords;  // the read limit, in records (plus a part record)
        std::vector<std::string> lines;
        size_t damaged;
    };
    const Case cases[] = {
        {8, {">00", ">01", ">02", ">03", ">10", ">11", ">12", ">13"}, 0},  // all fit
        {6, {">02", ">03", ">10", ">11", ">12", ">13"}, 0},  // yesterday's newest half
        {3, {">11", ">12", ">13"}, 0},                       // today's newest only
        {0, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limitRecords);
        // A part record more: the cut lands inside a record, which is not counted as damaged.
        const int64_t limit = static_cast<int64_t>(c.limitRecords * kRecordBytes + 20);
        LogReplaySet set(limit);
        set.AddFolder(dir.path, kNoon - 2 * 86400);
        set.Sort();
        EXPECT_EQ(Lines(set), c.lines);
        EXPECT_EQ(set.damaged(), c.damaged);
        const int64_t total = static_cast<int64_t>(8 * kRecordBytes);
        EXPECT_EQ(set.leftOutBytes(), std::max<int64_t>(0, total - limit));
        const std::string notice = ReplayNotice({c.lines.size(), 0}, set);
        EXPECT_EQ(notice.find("left out") != std::string::npos, limit < total) << notice;
    }

    // One file read on its own (File > Replay Log...) keeps the same limit.
    LogReplaySet single(static_cast<int64_t>(2 * kRecordBytes));
    ASSERT_TRUE(single.AddFile(dir.path / LogFileName(kNoon)));
    EXPECT_EQ(Lines(single), (std::vector<std::string>{">12", ">13"}));
    EXPECT_EQ(single.leftOutBytes(), static_cast<int64_t>(2 * kRecordBytes));
}

void LogMessageToUs(const fs::path& folder, int64_t utc, const std::string& number) {
    fs::create_directories(folder);
    std::ofstream(folder / LogFileName(utc), std::ios::app)
        << StampLine(utc, LogDirection::kReceived, "NET") << "\nW1AAA>APRS::N0CALL   :Hello{"
        << number << "\n";
}

TEST(StationLogMessageWaiting, ReplayedMessagesAreMarkedOnlyWhenNotSeenBeforeTheStop) {
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
        TempDir dir;
        MemoryProfile profile;
        profile.WriteString("Station", "MyCall", "N0CALL");
        AppStartOptions options;
        options.logFolder = dir.path / "log";
        LogMessageToUs(options.logFolder, kNoon - 3600, "1");
        NullHost host;
        {
            FakeClock clock(CDateTime(2026, 12, 6, 12, 0, 0));
            CPlovaneApp app(profile, host, clock);
            ASSERT_TRUE(app.Start(options));
            // A first start knows nothing of what was seen: the message is waiting, as live.
            ASSERT_TRUE(app.messages().MessageWaiting());
            if (c.clearedBeforeStop)
                app.messages().ClearMessageWaiting();
            app.Shutdown();
        }
        if (c.messageAfterStop)
            LogMessageToUs(options.logFolder, kNoon + 60, "2");
        FakeClock clock(CDateTime(2026, 12, 6, 12, 5, 0));
        CPlovaneApp app(profile, host, clock);
        ASSERT_TRUE(app.Start(options));
        EXPECT_EQ(app.messages().MessageWaiting(), c.waitingAfterRestart);
        EXPECT_EQ(app.messages().Count(), c.messageAfterStop ? 2u : 1u);
    }
}

}  // namespace
}  // namespace plovane
