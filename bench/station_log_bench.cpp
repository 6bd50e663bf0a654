// SPDX-License-Identifier: GPL-3.0-or-later
// Replay of the station log at start: a day of 1 000 000 logged lines from 12 000 stations
// (the traffic generator's mix, each with its stamp line, spread over the last 23 hours) is
// read, put in stamp order and replayed by a starting station (CPlovaneApp::Start with no
// port to open) into a station store limited to 9 999 records. The replay runs behind the
// window: BM_StartReturns times Start alone (what keeps the window from being drawn; target
// at most 1 s), BM_ReplayAtStart the start and the whole replay.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "app/plovane_app.h"
#include "app/station_log.h"
#include "core/clock.h"
#include "core/null_host.h"
#include "core/profile.h"
#include "traffic.h"

namespace {

using namespace plovane;

constexpr long kLines = 1'000'000;

// Writes the day files once per run; removed at exit.
class LogFolder {
  public:
    LogFolder() {
        char name[] = "/tmp/plovane-log-bench-XXXXXX";
        path_ = ::mkdtemp(name);
        traffic::Options options;
        options.lines = kLines;
        options.stations = 12'000;
        traffic::Generator generator(options);
        const int64_t end = std::time(nullptr) - 60;
        const int64_t span = 23 * 3600;
        std::map<std::string, std::ofstream> files;
        for (long i = 0; i < kLines; ++i) {
            const int64_t stamp = end - span + span * i / kLines;
            std::ofstream& out = files[LogFileName(stamp)];
            if (!out.is_open())
                out.open(path_ / LogFileName(stamp), std::ios::binary);
            out << StampLine(stamp, LogDirection::kReceived, "NET") << '\n'
                << generator.NextLine() << '\n';
        }
    }
    ~LogFolder() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

const LogFolder& Folder() {
    static const LogFolder folder;
    return folder;
}

void BM_ReplayAtStart(benchmark::State& state) {
    const LogFolder& folder = Folder();
    MemoryProfile profile;
    profile.WriteString("Station", "MyCall", "N0CALL");
    profile.WriteInt("History", "bHistory", 0);  // the replay alone
    profile.WriteInt("Station", "bLimitStations", 1);
    profile.WriteInt("Station", "LimitStations", 9'999);
    NullHost host;
    SystemClock clock;
    AppStartOptions options;
    options.logFolder = folder.path();
    for (auto _ : state) {
        CPlovaneApp app(profile, host, clock);
        app.Start(options);
        app.WaitForReplay();
        state.PauseTiming();
        benchmark::DoNotOptimize(app.stations().Count());
        app.Shutdown();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_ReplayAtStart)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_StartReturns(benchmark::State& state) {
    const LogFolder& folder = Folder();
    MemoryProfile profile;
    profile.WriteString("Station", "MyCall", "N0CALL");
    profile.WriteInt("History", "bHistory", 0);  // the replay alone
    NullHost host;
    SystemClock clock;
    AppStartOptions options;
    options.logFolder = folder.path();
    for (auto _ : state) {
        CPlovaneApp app(profile, host, clock);
        app.Start(options);
        state.PauseTiming();
        app.Shutdown();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartReturns)->Unit(benchmark::kMillisecond)->Iterations(3);

// The log's own share of it: reading the day files and putting the records in order.
void BM_ReadDayFiles(benchmark::State& state) {
    const LogFolder& folder = Folder();
    for (auto _ : state) {
        LogReplaySet set;
        set.AddFolder(folder.path(), std::time(nullptr) - 24 * 3600);
        set.Sort();
        benchmark::DoNotOptimize(set.records().size());
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_ReadDayFiles)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
