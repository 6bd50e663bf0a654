// SPDX-License-Identifier: GPL-3.0-or-later
// The history database: filled from a station log it agrees with the log record for record;
// a damaged file is set aside and made again; queries select by period, call pattern and
// area; the writer takes packets from several threads; typed times read as meant.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>
#include <tuple>

#include "app/history_rebuild.h"
#include "app/plovane_app.h"
#include "app/station_log.h"
#include "aprs/packet_decoder.h"
#include "core/geo.h"
#include "core/null_host.h"
#include "history/history_settings.h"
#include "history/history_time.h"
#include "history/history_writer.h"
#include "support/scratch_dir.h"
#include "traffic.h"

namespace plovane {
namespace {

constexpr int64_t kDay = 1796515200;  // 2026-12-06T00:00:00Z
constexpr double kUnixEpochDays = 25569.0;

// Writes `lines` through the station log, the first heard at `firstUtc`, one every `stepS`.
void WriteLog(const std::filesystem::path& folder, const std::vector<std::string>& lines,
              int64_t firstUtc, int64_t stepS) {
    int64_t utc = firstUtc - stepS;
    CStationLog log(
        folder, [&] { return utc += stepS; }, [](const std::string&) {}, 0);
    for (const std::string& line : lines)
        log.Append(LogDirection::kReceived, "NET", line);
    ASSERT_TRUE(log.Flush());
    log.Close();
}

std::vector<std::string> GeneratedLines(long count) {
    traffic::Options options;
    options.lines = count;
    options.stations = 150;
    traffic::Generator generator(options);
    std::vector<std::string> lines;
    for (long i = 0; i < count; ++i)
        lines.push_back(generator.NextLine());
    return lines;
}

using Fix = std::tuple<int64_t, int32_t, int32_t, int32_t>;  // utc, colatitude, longitude, alt

// What the log says, read back and decoded line by line: each call's positions and
// temperatures, and the number of weather and telemetry reports.
struct Expected {
    std::map<std::string, std::vector<Fix>> fixes;
    std::map<std::string, std::vector<int32_t>> temperatures;
    size_t positions = 0, weather = 0, telemetry = 0;
};

Expected ReadLog(const std::filesystem::path& folder) {
    Expected e;
    LogReplaySet set(INT64_MAX);
    set.AddFolder(folder, INT64_MIN);  // every day file
    set.Sort();
    for (const LogRecord& r : set.records()) {
        const CDateTime heard(kUnixEpochDays + static_cast<double>(r.utcSeconds) / 86400.0);
        const DecodedPacket packet = Decode(r.line, heard, 0, "");
        if (packet.isOwn)
            continue;
        for (const StationReport& report : packet.reports()) {
            const std::string call(report.call);
            if (report.hasPositionReport && report.hasPoint) {
                e.fixes[call].emplace_back(r.utcSeconds, report.colatitude, report.longitude,
                                           report.altitudeDm);
                ++e.positions;
            }
            if (report.weather != nullptr) {
                e.temperatures[call].push_back(report.weather->temperature);
                ++e.weather;
            }
            e.telemetry += report.telemetry != nullptr;
        }
    }
    return e;
}

TEST(HistoryLog, DatabaseAgreesWithTheLogRecordForRecord) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        int64_t stepS;
    };
    std::vector<Case> cases{{"generated day", GeneratedLines(20000), 4}};
    if (const char* vectors = std::getenv("PLOVANE_PEER_VECTORS")) {
        std::ifstream in(std::filesystem::path(vectors).parent_path() / "traffic.txt",
                         std::ios::binary);
        std::vector<std::string> capture;
        for (std::string line; std::getline(in, line);)
            capture.push_back(line);
        EXPECT_GT(capture.size(), 1000u);
        cases.push_back({"real traffic capture", capture, 7});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScratchDir dir;
        WriteLog(dir.path() / "log", c.lines, kDay, c.stepS);
        HistoryStore store;
        const auto state = store.Open(dir.path() / "history.sqlite");
        ASSERT_EQ(state, HistoryStore::OpenState::kCreated);
        HistoryFill fill;
        ASSERT_TRUE(BringHistoryUpToDate(store, state, dir.path() / "log", "", fill));
        EXPECT_EQ(fill.lines, c.lines.size());

        const Expected e = ReadLog(dir.path() / "log");
        ASSERT_GT(e.positions, c.lines.size() / 4);
        const HistoryStore::Counts counts = store.Count();
        EXPECT_EQ(counts.positions, e.positions);
        EXPECT_EQ(counts.weather, e.weather);
        EXPECT_EQ(counts.telemetry, e.telemetry);
        for (const auto& [call, fixes] : e.fixes) {
            std::vector<Fix> stored;
            for (const PositionSample& p : store.Positions(call, {}))
                stored.emplace_back(p.utc, p.colatitude, p.longitude, p.altitudeDm);
            EXPECT_EQ(stored, fixes) << call;
        }
        for (const auto& [call, temperatures] : e.temperatures) {
            std::vector<int32_t> stored;
            for (const WeatherSample& w : store.Weather(call, {}))
                stored.push_back(w.values.temperature);
            EXPECT_EQ(stored, temperatures) << call;
        }
        // Opened again, an up-to-date database takes nothing twice.
        store.Close();
        ASSERT_EQ(store.Open(dir.path() / "history.sqlite"), HistoryStore::OpenState::kOpened);
        HistoryFill again;
        ASSERT_TRUE(BringHistoryUpToDate(store, HistoryStore::OpenState::kOpened,
                                         dir.path() / "log", "", again));
        EXPECT_EQ(again.lines, 0u);
        EXPECT_EQ(store.Count().total(), counts.total());
    }
}

// Quitting while the history is made from the log ends the work at once, after a whole
// second of the log; the next start goes on from there and the database agrees with the log.
TEST(HistoryLog, AQuitStopsTheFillAndTheNextStartFinishesIt) {
    testing::ScratchDir dir;
    WriteLog(dir.path() / "log", GeneratedLines(100000), kDay, 1);
    MemoryProfile profile;
    profile.WriteInt("Station", "LogReplayHours", 0);  // the history alone
    AppStartOptions options;
    options.logFolder = dir.path() / "log";
    options.historyPath = dir.path() / "history.sqlite";
    NullHost host;
    FakeClock clock(CDateTime(2026, 12, 9, 0, 0, 0));
    const auto counts = [&](bool quitAtOnce) {
        CPlovaneApp app(profile, host, clock);
        EXPECT_TRUE(app.Start(options));
        if (!quitAtOnce)
            app.WaitForHistory();
        app.Shutdown();
        HistoryStore store;
        EXPECT_EQ(store.Open(options.historyPath), HistoryStore::OpenState::kOpened);
        return store.Count();
    };
    const HistoryStore::Counts stopped = counts(true);
    const HistoryStore::Counts finished = counts(false);
    const Expected e = ReadLog(options.logFolder);
    EXPECT_LT(stopped.positions, e.positions);
    EXPECT_EQ(finished.positions, e.positions);
    EXPECT_EQ(finished.weather, e.weather);
    EXPECT_EQ(finished.telemetry, e.telemetry);
}

TEST(HistoryLog, GeneratedStationsEndWhereTheGeneratorLastPutThem) {
    testing::ScratchDir dir;
    traffic::Options options;
    options.lines = 6000;
    traffic::Generator generator(options);
    std::vector<std::string> lines;
    for (long i = 0; i < options.lines; ++i)
        lines.push_back(generator.NextLine());
    WriteLog(dir.path() / "log", lines, kDay, 10);
    HistoryStore store;
    store.Open(dir.path() / "h.sqlite");
    HistoryFill fill;
    ASSERT_TRUE(RebuildHistory(store, dir.path() / "log", "", fill));
    size_t checked = 0;
    for (const traffic::StationTruth& truth : generator.Stations()) {
        const std::vector<PositionSample> track = store.Positions(truth.call, {});
        if (!truth.reported || track.empty())
            continue;
        SCOPED_TRACE(truth.call);
        const double lon = track.back().longitude / double{kUnitsPerDegree} - 180.0;
        EXPECT_NEAR(LatitudeDegrees(track.back().colatitude), truth.lat, truth.toleranceDeg + 1e-4);
        EXPECT_NEAR(lon, truth.lon, truth.toleranceDeg + 1e-4);
        ++checked;
    }
    EXPECT_GT(checked, options.stations / 2u);
}

TEST(HistoryStore, DamagedForeignOrOlderFileIsSetAsideOrReplacedAndRebuilt) {
    struct Case {
        const char* name;
        std::string bytes;  // of the file found at start; empty: a database of `version`
        int version;
        HistoryStore::OpenState state;
        const char* notice;
    };
    using State = HistoryStore::OpenState;
    const Case cases[] = {
        {"not a database", std::string(5000, 'x'), 0, State::kSetAside,
         "set aside as history.sqlite.damaged-"},
        {"database header, garbage pages",
         std::string("SQLite format 3\0", 16) + std::string(8192, '\x5a'), 0, State::kSetAside,
         "set aside as history.sqlite.damaged-"},
        {"a later version", "", 99, State::kSetAside, "set aside as history.sqlite.damaged-"},
        // The first layout, rows in arrival order: only an index, so it is replaced.
        {"an earlier version", "", 1, State::kCreated, "made by an earlier version"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScratchDir dir;
        const auto path = dir.path() / "history.sqlite";
        WriteLog(dir.path() / "log", GeneratedLines(500), kDay, 60);
        if (c.bytes.empty()) {
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
            const std::string sql = "CREATE TABLE positions(station, utc); PRAGMA user_version=" +
                                    std::to_string(c.version);
            EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(db);
        } else {
            std::ofstream(path, std::ios::binary) << c.bytes;
        }
        std::string notice;
        HistoryStore store;
        const auto state = store.Open(path, [&](const std::string& text) { notice += text; });
        ASSERT_EQ(state, c.state);
        EXPECT_NE(notice.find(c.notice), std::string::npos) << notice;
        size_t asideFiles = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            asideFiles += entry.path().filename().string().rfind("history.sqlite.damaged-", 0) == 0;
        EXPECT_EQ(asideFiles, state == State::kSetAside ? 1u : 0u);
        HistoryFill fill;
        ASSERT_TRUE(BringHistoryUpToDate(store, state, dir.path() / "log", "", fill));
        EXPECT_EQ(store.Count().positions, ReadLog(dir.path() / "log").positions);
    }
}

PositionSample At(int64_t utc, double lat, double lon) {
    PositionSample p;
    p.utc = utc;
    p.colatitude = static_cast<int32_t>(std::lround((90.0 - lat) * kUnitsPerDegree));
    p.longitude = static_cast<int32_t>(std::lround((lon + 180.0) * kUnitsPerDegree));
    return p;
}

TEST(HistoryStore, FindSelectsByPeriodCallPatternAndArea) {
    testing::ScratchDir dir;
    HistoryStore store;
    store.Open(dir.path() / "h.sqlite");
    std::vector<HistoryRows> batch(1);
    batch[0].positions = {
        {"W1AW", At(100, 41.7, -72.7)},    {"W1AW", At(200, 42.4, -71.1)},
        {"W1ABC-9", At(150, 41.8, -72.6)}, {"K1XYZ", At(160, 41.75, -72.65)},
        {"ZL1AA", At(170, -36.8, 179.9)},  {"KH6ZZ", At(180, 21.3, -179.95)},
        {"w1low", At(190, 41.7, -72.7)},   {"W1AW", At(200, 42.5, -71.0)},  // same second
    };
    batch[0].definitions = {{"W1AW", 50, "PARM.Volts,Temp"}, {"W1AW", 300, "PARM.Battery"}};
    batch[0].texts = {{120, HistoryTextKind::kMessage, "K1XYZ", "W1AW", "hello"},
                      {130, HistoryTextKind::kStatus, "W1AW", "", "On the air"}};
    ASSERT_TRUE(store.Insert(batch));

    const auto calls = [](const std::vector<HistoryHit>& hits) {
        std::string text;
        for (const HistoryHit& h : hits)
            text += h.call + ":" + std::to_string(h.positions) + " ";
        return text;
    };
    HistoryArea connecticut{At(0, 42.0, -73.0).colatitude, At(0, 41.5, 0).colatitude,
                            At(0, 0, -73.0).longitude, At(0, 0, -72.0).longitude};
    HistoryArea dateLine{At(0, 25.0, 0).colatitude, At(0, -40.0, 0).colatitude,
                         At(0, 0, 179.0).longitude, At(0, 0, -179.0).longitude};
    struct Case {
        std::string pattern;
        HistoryPeriod period;
        std::optional<HistoryArea> area;
        std::string expected;
    };
    const Case cases[] = {
        {"", {}, std::nullopt, "K1XYZ:1 KH6ZZ:1 W1ABC-9:1 W1AW:3 ZL1AA:1 w1low:1 "},
        {"W1*", {}, std::nullopt, "W1ABC-9:1 W1AW:3 w1low:1 "},
        {"w1a?", {}, std::nullopt, "W1AW:3 "},
        {"*", {150, 170}, std::nullopt, "K1XYZ:1 W1ABC-9:1 ZL1AA:1 "},
        {"", {}, connecticut, "K1XYZ:1 W1ABC-9:1 W1AW:1 w1low:1 "},
        {"", {0, 160}, connecticut, "K1XYZ:1 W1ABC-9:1 W1AW:1 "},
        {"", {}, dateLine, "KH6ZZ:1 ZL1AA:1 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern + " " + std::to_string(c.period.fromUtc));
        EXPECT_EQ(calls(store.Find(c.pattern, c.period, c.area)), c.expected);
    }
    EXPECT_EQ(store.Positions("W1AW", {100, 199}).size(), 1u);
    const std::vector<PositionSample> sameSecond = store.Positions("W1AW", {200, 200});
    ASSERT_EQ(sameSecond.size(), 2u);  // both kept, in the order heard
    EXPECT_EQ(sameSecond[0].colatitude, At(0, 42.4, 0).colatitude);
    EXPECT_EQ(sameSecond[1].colatitude, At(0, 42.5, 0).colatitude);
    EXPECT_EQ(store.TelemetryDefinitions("W1AW", 299).names[1], "Temp");
    EXPECT_EQ(store.TelemetryDefinitions("W1AW").names[0], "Battery");
    const std::vector<TextSample> texts = store.Texts("W1AW", {});
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], batch[0].texts[0]);
    EXPECT_EQ(texts[1], batch[0].texts[1]);
    // W1AW@100, W1ABC-9@150, the message, the status and the older PARM.
    EXPECT_EQ(store.PurgeBefore(160), 5u);
    EXPECT_EQ(store.Count().definitions, 1u);  // the newest PARM. stays
}

TEST(HistoryWriterConcurrent, PacketsFromSeveralThreadsAreAllWritten) {
    testing::ScratchDir dir;
    HistoryStore store;
    store.Open(dir.path() / "h.sqlite");
    HistoryWriter writer(store);
    writer.Start();
    const std::vector<std::string> lines = GeneratedLines(4000);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (size_t i = t; i < lines.size(); i += 4) {
                const DecodedPacket packet = Decode(lines[i], CDateTime(46000.0), 0, "");
                writer.Add(packet, kDay + static_cast<int64_t>(i), lines[i]);
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    writer.Flush();
    EXPECT_EQ(writer.dropped(), 0u);
    writer.Stop();
    EXPECT_GT(writer.written(), 3000u);
    EXPECT_EQ(store.FilledUntil(), kDay + 3999);
}

TEST(HistoryWriter, FullQueueDropsAndCountsTheNewest) {
    testing::ScratchDir dir;
    HistoryStore store;
    store.Open(dir.path() / "h.sqlite");
    HistoryWriter writer(store);  // not started: nothing leaves the queue
    const std::string line = "W1AW>APRS:!4140.00N/07240.00W-";
    const DecodedPacket packet = Decode(line, CDateTime(46000.0), 0, "");
    for (size_t i = 0; i < HistoryWriter::kMaxQueued; ++i)
        ASSERT_TRUE(writer.Add(packet, kDay, line));
    EXPECT_FALSE(writer.Add(packet, kDay, line));
    EXPECT_EQ(writer.dropped(), 1u);
    writer.Start();
    writer.Flush();
    EXPECT_EQ(store.Count().positions, HistoryWriter::kMaxQueued);
}

TEST(HistoryTime, TypedTimesReadAsMeant) {
    const int64_t now = kDay + 12 * 3600;
    struct Case {
        const char* text;
        bool ok;
        int64_t utc;
    };
    const Case cases[] = {
        {"2026-12-06", true, kDay},
        {"2026-12-06T13:58", true, kDay + 13 * 3600 + 58 * 60},
        {"2026-12-06 13:58:21Z", true, kDay + 13 * 3600 + 58 * 60 + 21},
        {"2024-02-29", true, 1709164800},
        {"1969-12-31T23:59:59Z", true, -1},
        {"now", true, now},
        {"-24h", true, now - 86400},
        {"-7d", true, now - 7 * 86400},
        {"-90m", true, now - 5400},
        {"@1796565501", true, 1796565501},
        {"2026-02-29", false, 0},
        {"2026-13-01", false, 0},
        {"2026-12-06T24:00", false, 0},
        {"2026-12-06T1:00", false, 0},
        {"2026-12-06X", false, 0},
        {"-24", false, 0},
        {"-h", false, 0},
        {"@", false, 0},
        {"@1234567890123", false, 0},
        {"", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        int64_t utc = 0;
        EXPECT_EQ(ParseHistoryTime(c.text, now, utc), c.ok);
        if (c.ok) {
            EXPECT_EQ(utc, c.utc);
        }
    }
}

TEST(HistorySettings, DefaultsClampingAndRoundTrip) {
    MemoryProfile profile;
    CHistorySettings settings;
    settings.Load(profile);
    EXPECT_EQ(settings.bHistory, 1);
    EXPECT_EQ(settings.HistoryMaxMiB, 2048);
    profile.WriteInt("History", "HistoryMaxMiB", -5);
    profile.WriteInt("History", "bHistory", 0);
    settings.Load(profile);
    EXPECT_EQ(settings.HistoryMaxMiB, 0);
    EXPECT_EQ(settings.bHistory, 0);
    settings.HistoryMaxMiB = 300;
    settings.Save(profile);
    EXPECT_EQ(profile.GetInt("History", "HistoryMaxMiB", 0), 300);
}

}  // namespace
}  // namespace plovane
