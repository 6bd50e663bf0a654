// SPDX-License-Identifier: GPL-3.0-or-later
// Decode throughput: 1 000 000 monitor lines from 12 000 stations made by the traffic
// generator (tools/gen-traffic), cut by the simulation line reader and decoded with the tag
// "FILE>" into a station store limited to 9 999 records (and a message store), as simulation
// playback does. Target: 2 000 000 lines/s on one core in a release build.
//
// Then, as a baseline, the same lines go through decode_aprs (Debian package direwolf) when
// it is installed: it reads a file of monitor lines and prints a description of each; its
// output goes to /dev/null. Both rates are printed by wall clock and by CPU time (the machine
// may be shared), then their ratios. Without decode_aprs the baseline is skipped with a note.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_host.h"
#include "core/clock.h"
#include "core/line_reader.h"
#include "core/null_host.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "intake/headless_stores.h"
#include "traffic.h"

extern char** environ;

namespace {

using namespace plovane;

constexpr size_t kDefaultLines = 1'000'000;
constexpr int kStations = 12'000;
constexpr int kStationLimit = 9'999;

// --- Traffic ---

// The traffic generator's mix (gen-traffic --lines 1000000 --stations 12000): moving and fixed
// stations, weather, objects and items, messages with acks, status, telemetry, relayed
// Internet packets; every position format.
std::string MakeTraffic(size_t lines) {
    traffic::Options options;
    options.lines = static_cast<long>(lines);
    options.stations = kStations;
    traffic::Generator generator(options);
    std::string text;
    text.reserve(lines * 72);
    for (size_t i = 0; i < lines; ++i) {
        text += generator.NextLine();
        text += "\r\n";
    }
    return text;
}

// --- Our decoder ---

// The station limit of a busy installation, over the defaults.
void LimitStations(MemoryProfile& profile) {
    profile.WriteString(CStationSettings::kSection, "MyCall", "N0CALL");
    profile.WriteInt(CStationSettings::kSection, "bLimitStations", 1);
    profile.WriteInt(CStationSettings::kSection, "LimitStations", kStationLimit);
}

struct Results {
    size_t lines = 0;             // lines per pass
    double bestSeconds = 0.0;     // fastest pass over all lines, wall clock
    double bestCpuSeconds = 0.0;  // least CPU time of the decoding thread for a pass
    size_t stationsStored = 0;
};

double ThreadCpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void KeepLeast(double& best, double value) {
    if (best == 0.0 || value < best)
        best = value;
}

void BM_DecodeLines(benchmark::State& state, const std::string& traffic, Results& results) {
    FakeClock clock(CDateTime(2026, 3, 15, 12, 0, 0));
    NullHost host;
    for (auto _ : state) {
        HeadlessStores stores(clock, host, LimitStations);
        const std::string myCall = stores.stations.OwnCall();
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ThreadCpuSeconds();
        LineReader reader{std::string_view(traffic)};
        std::string line;
        while (reader.Next(line))
            stores.intake.DecodeLineAs(line, "FILE>", myCall);
        const double cpuSeconds = ThreadCpuSeconds() - cpuStart;
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        KeepLeast(results.bestSeconds, seconds);
        KeepLeast(results.bestCpuSeconds, cpuSeconds);
        results.stationsStored = stores.stations.Count();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(results.lines));
    state.counters["stations"] = static_cast<double>(results.stationsStored);
}

// --- The baseline ---

std::optional<std::string> FindOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        const size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = folders.substr(start, end - start) + "/" + program;
        if (end > start && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

struct ProgramTime {
    bool ok = false;
    double wallSeconds = 0.0;
    double cpuSeconds = 0.0;  // user + system time of the program
};

// Runs program with one argument, its input, output and errors on /dev/null.
ProgramTime TimeProgram(const std::string& program, const std::string& argument) {
    ProgramTime result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    std::vector<char*> argv = {const_cast<char*>(program.c_str()),
                               const_cast<char*>(argument.c_str()), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return result;
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid)
        return result;
    result.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    result.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

void PrintRate(const char* who, size_t lines, double wallSeconds, double cpuSeconds) {
    const auto n = static_cast<double>(lines);
    std::printf("%-16s %zu lines: wall %.3f s = %9.0f lines/s, CPU %.3f s = %9.0f lines/s\n", who,
                lines, wallSeconds, n / wallSeconds, cpuSeconds, n / cpuSeconds);
}

void RunBaseline(const std::string& traffic, const Results& ours) {
    std::printf("\n%zu records kept (limit %d)\n", ours.stationsStored, kStationLimit);
    PrintRate("plovane decode:", ours.lines, ours.bestSeconds, ours.bestCpuSeconds);
    const std::optional<std::string> program = FindOnPath("decode_aprs");
    if (!program) {
        std::printf("decode_aprs is not installed (Debian package direwolf): baseline skipped\n");
        return;
    }
    // decode_aprs reads monitor lines from a text file, one per line.
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("plovane_decode_bench_" + std::to_string(::getpid()) + ".txt");
    {
        std::ofstream out(file, std::ios::binary);
        LineReader reader{std::string_view(traffic)};
        std::string line;
        while (reader.Next(line))
            out << line << '\n';
        if (!out) {
            std::printf("cannot write %s: baseline skipped\n", file.c_str());
            return;
        }
    }
    const ProgramTime base = TimeProgram(*program, file.string());
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    if (!base.ok || base.wallSeconds <= 0 || base.cpuSeconds <= 0) {
        std::printf("%s failed: baseline skipped\n", program->c_str());
        return;
    }
    PrintRate("decode_aprs:", ours.lines, base.wallSeconds, base.cpuSeconds);
    std::printf("ratio plovane / decode_aprs: %.2f by wall clock, %.2f by CPU time\n",
                base.wallSeconds / ours.bestSeconds, base.cpuSeconds / ours.bestCpuSeconds);
}

}  // namespace

int main(int argc, char** argv) {
    // --lines N, given first, decodes N lines instead (a profiler run: callgrind per line).
    size_t lines = kDefaultLines;
    if (argc >= 3 && std::string_view(argv[1]) == "--lines") {
        const long count = std::atol(argv[2]);
        if (count <= 0) {
            std::fprintf(stderr, "--lines needs a positive count\n");
            return 1;
        }
        lines = static_cast<size_t>(count);
        argv[2] = argv[0];
        argv += 2;
        argc -= 2;
    }
    // --print-traffic prints the generated lines instead of timing them.
    if (argc == 2 && std::string_view(argv[1]) == "--print-traffic") {
        const std::string traffic = MakeTraffic(lines);
        std::fwrite(traffic.data(), 1, traffic.size(), stdout);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    const std::string traffic = MakeTraffic(lines);
    Results results;
    results.lines = lines;
    benchmark::RegisterBenchmark(
        "DecodeLines/1M_lines/12k_stations/limit_9999",
        [&](benchmark::State& state) { BM_DecodeLines(state, traffic, results); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (results.bestSeconds > 0)
        RunBaseline(traffic, results);
    return 0;
}
