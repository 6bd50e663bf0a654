// The station log's read limit: a replay reads at most so many bytes of day files, the
// newest first, and says how much it left out.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/log_replay.h"
#include "app/station_log.h"

namespace plovane {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kNoon = 1796558400;  // 2026-12-06T12:00:00Z

struct TempDir {
    fs::path path;
    TempDir() {
        char name[] = "/tmp/plovane-limit-XXXXXX";
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

}  // namespace
}  // namespace plovane
