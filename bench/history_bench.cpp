// SPDX-License-Identifier: GPL-3.0-or-later
// The history database under load. Targets:
//  - Insert: a full feed of 200 packets/s, written a second's batch per transaction as the
//    writer does, costs under 5 % of one core (counter core_pct_at_200pps; the decoding is
//    the intake's and not counted).
//  - Graph: 7 days of one station out of 30 days of 20 packets/s (about 5.2e7 rows: 1000
//    stations, one in ten a weather station) in at most 100 ms. The database is built once
//    in a temporary folder (PLOVANE_BENCH_HISTORY_DB names one to keep and reuse); the build
//    time is printed.
//  - Rebuild: one day of full feed, 8.6 M lines, in at most 60 s; PLOVANE_BENCH_REBUILD_LINES
//    sets the number of lines (default 1 M; the rate scales to a day).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "app/history_rebuild.h"
#include "app/station_log.h"
#include "aprs/packet_decoder.h"
#include "core/geo.h"
#include "history/history_rows.h"
#include "history/history_store.h"
#include "traffic.h"

namespace {

using namespace plovane;

constexpr int64_t kStart = 1796515200 - 30 * 86400;  // 30 days before 2026-12-06

std::filesystem::path TempFolder(const char* stem) {
    std::string name = std::string("/tmp/plovane-") + stem + "-XXXXXX";
    return ::mkdtemp(name.data());
}

std::vector<std::string> Lines(long count, int stations) {
    traffic::Options options;
    options.lines = count;
    options.stations = stations;
    traffic::Generator generator(options);
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(count));
    for (long i = 0; i < count; ++i)
        lines.push_back(generator.NextLine());
    return lines;
}

void BM_HistoryInsertFeed(benchmark::State& state) {
    constexpr size_t kPerSecond = 200;
    const std::vector<std::string> lines = Lines(20000, 2000);
    std::deque<DecodedPacket> packets;
    for (const std::string& line : lines)
        packets.emplace_back(line, CDateTime(46000.0), 0, "");
    const std::filesystem::path folder = TempFolder("history-insert");
    HistoryStore store;
    store.Open(folder / "history.sqlite");
    size_t next = 0;
    int64_t utc = kStart;
    std::vector<HistoryRows> batch;
    for (auto _ : state) {
        batch.clear();
        for (size_t i = 0; i < kPerSecond; ++i, next = (next + 1) % packets.size())
            batch.push_back(HistoryRowsFrom(packets[next], utc, lines[next]));
        if (!store.Insert(batch))
            state.SkipWithError("insert failed");
        ++utc;
    }
    // CPU seconds per second of feed, as a share of one core.
    state.counters["core_pct_at_200pps"] =
        benchmark::Counter(static_cast<double>(state.iterations()) / 100.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    store.Close();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_HistoryInsertFeed)->Unit(benchmark::kMillisecond)->MinTime(5.0);

// 30 days of 20 reports/s from 1000 stations, one report per station every 50 s.
class GraphDatabase {
  public:
    static constexpr int kStations = 1000;
    GraphDatabase() {
        if (const char* keep = std::getenv("PLOVANE_BENCH_HISTORY_DB")) {
            path_ = keep;
        } else {
            folder_ = TempFolder("history-graph");
            path_ = folder_ / "history.sqlite";
        }
        const auto state = store_.Open(path_);
        if (state == HistoryStore::OpenState::kOpened && store_.Count().total() > 0)
            return;
        const auto start = std::chrono::steady_clock::now();
        store_.SetBulkMode(true);
        std::vector<HistoryRows> batch(1);
        for (int64_t s = 0; s < 30 * 86400; s += 50) {
            HistoryRows& rows = batch.front();
            for (int i = 0; i < kStations; ++i) {
                const int64_t utc = kStart + s + i % 50;
                const std::string call = "ST" + std::to_string(i);
                if (i % 10 == 0) {
                    WeatherSample w{utc, {}};
                    w.values.temperature = static_cast<int32_t>((s / 60) % 300);
                    w.values.barometer = 10130;
                    rows.weather.push_back({call, w});
                } else {
                    PositionSample p;
                    p.utc = utc;
                    p.colatitude = kEquatorColatitude - 47 * kUnitsPerDegree + i * 100;
                    p.longitude = kGreenwichLongitude - 122 * kUnitsPerDegree +
                                  static_cast<int32_t>(s % 100000);
                    rows.positions.push_back({call, p});
                }
            }
            if (s % 5000 == 0 || s + 50 >= 30 * 86400) {
                store_.Insert(batch);
                rows = HistoryRows();
            }
        }
        store_.SetBulkMode(false);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::fprintf(stderr, "graph database: %zu rows built in %.0f s, %.2f GB\n",
                     store_.Count().total(), seconds,
                     static_cast<double>(std::filesystem::file_size(path_)) / 1e9);
    }
    ~GraphDatabase() {
        store_.Close();
        if (!folder_.empty())
            std::filesystem::remove_all(folder_);
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path folder_, path_;
    HistoryStore store_;
};

GraphDatabase& Graph() {
    static GraphDatabase database;
    return database;
}

// Drops the file's pages from the kernel's page cache, so the next read comes from the disk.
void Evict(const std::filesystem::path& path) {
    for (const char* suffix : {"", "-wal"}) {
        const std::string name = path.string() + suffix;
        const int fd = ::open(name.c_str(), O_RDONLY);
        if (fd >= 0) {
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            ::close(fd);
        }
    }
}

// Arg 0: positions (a track) or weather; arg 1: warm (pages cached) or cold (each query
// opens the file afresh with none of it in memory, as a graph opened after a while would).
void BM_HistoryGraph7Days(benchmark::State& state) {
    GraphDatabase& database = Graph();
    const bool weather = state.range(0) != 0;
    const bool cold = state.range(1) != 0;
    const HistoryPeriod week{kStart + 20 * 86400, kStart + 27 * 86400};
    size_t rows = 0, station = 1;
    HistoryStore reader;
    reader.Open(database.path(), {}, true);
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            reader.Close();
            Evict(database.path());
            reader.Open(database.path(), {}, true);
            state.ResumeTiming();
        }
        // A different station each time: no page stays warm from the one before.
        station = (station + 37) % GraphDatabase::kStations;
        const std::string call = "ST" + std::to_string(weather ? station / 10 * 10 : station | 1);
        rows = weather ? reader.Weather(call, week).size() : reader.Positions(call, week).size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_HistoryGraph7Days)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"weather", "cold"})
    ->Unit(benchmark::kMillisecond);

void BM_HistoryRebuildDay(benchmark::State& state) {
    const char* wanted = std::getenv("PLOVANE_BENCH_REBUILD_LINES");
    const long count = wanted != nullptr ? std::atol(wanted) : 1'000'000;
    const std::filesystem::path folder = TempFolder("history-rebuild");
    {
        traffic::Options options;
        options.lines = count;
        options.stations = 12'000;
        traffic::Generator generator(options);
        std::filesystem::create_directories(folder / "log");
        std::ofstream out(folder / "log" / LogFileName(kStart), std::ios::binary);
        for (long i = 0; i < count; ++i) {
            out << StampLine(kStart + i * 86400 / count, LogDirection::kReceived, "NET") << '\n'
                << generator.NextLine() << '\n';
        }
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        HistoryStore store;
        std::filesystem::remove(folder / "history.sqlite");
        store.Open(folder / "history.sqlite");
        HistoryFill fill;
        RebuildHistory(store, folder / "log", "", fill);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.counters["lines"] = static_cast<double>(fill.lines);
        state.counters["wall_s_per_8.6M_lines"] = seconds * 8.6e6 / static_cast<double>(count);
    }
    // CPU seconds of the whole process for 8.6 M lines.
    state.counters["cpu_s_per_8.6M_lines"] = benchmark::Counter(
        static_cast<double>(count) / 8.6e6 * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_HistoryRebuildDay)->Unit(benchmark::kSecond)->Iterations(1)->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
