// SPDX-License-Identifier: GPL-3.0-or-later
// The station store on the decoding hot path: position reports for a full list.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/clock.h"
#include "core/null_host.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "stations/station_list.h"

namespace {

using namespace plovane;

// "K1XY-9" and the like. Built by appending: gcc 12 inlines `"K" + std::to_string(i) + ...`
// and then warns (-Wrestrict) about a copy that cannot overlap.
std::string CallSign(char prefix, int number, const char* suffix) {
    std::string call(1, prefix);
    call += std::to_string(number);
    call += suffix;
    return call;
}

struct FullList {
    explicit FullList(int stations, bool tracks) {
        profile.WriteString("Station", "MyCall", "N0CALL");
        profile.WriteInt("Station", "LimitStations", stations);
        profile.WriteInt("Station", "bTrack", tracks);
        settings.Load(profile);
        list.ApplySettings(settings, false);
        for (int i = 1; i < stations; ++i)
            calls.push_back(CallSign('K', i, "XY-9"));
        for (const std::string& call : calls) {
            list.UpdatePosition(call, "/>", "4903.50N", "07201.75W", "", "", -1);
        }
    }
    MemoryProfile profile;
    CStationSettings settings;
    FakeClock clock;
    plovane::NullHost host;
    CStationList list{settings, clock, host, host};
    std::vector<std::string> calls;
};

// A full list (9 999 stations at the limit of 9 999, or 10 for comparison): every report
// finds its record, none is added.
void BM_UpdatePositionFullList(benchmark::State& state) {
    FullList f(static_cast<int>(state.range(0)), state.range(1) != 0);
    size_t next = 0;
    for (auto _ : state) {
        f.list.UpdatePosition(f.calls[next], "/>", "4903.50N", "07201.75W", "092345z",
                              "/A=001234 on the road", -1);
        if (++next == f.calls.size())
            next = 0;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(state.range(1) ? "tracks on" : "tracks off");
}
BENCHMARK(BM_UpdatePositionFullList)->Args({9999, 0})->Args({9999, 1})->Args({10, 0});

// A new call every time at the limit: each report creates a record and removes the oldest.
void BM_UpdatePositionNewCalls(benchmark::State& state) {
    FullList f(9999, false);
    std::vector<std::string> fresh;
    for (int i = 0; i < 100000; ++i)
        fresh.push_back(CallSign('W', i, "AB"));
    size_t next = 0;
    for (auto _ : state) {
        f.list.UpdatePosition(fresh[next], "/>", "4903.50N", "07201.75W", "", "", -1);
        if (++next == fresh.size())
            next = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UpdatePositionNewCalls);

// Look-up cost must not grow with the list.
void BM_FindStation(benchmark::State& state) {
    FullList f(static_cast<int>(state.range(0)), false);
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.list.Contains(f.calls[next]));
        if (++next == f.calls.size())
            next = 0;
    }
}
BENCHMARK(BM_FindStation)->Arg(10)->Arg(9999);

}  // namespace

BENCHMARK_MAIN();
