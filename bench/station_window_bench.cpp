// SPDX-License-Identifier: GPL-3.0-or-later
// The "Stations" window with 10 000 stations: opening it until every row is listed, and one
// keystroke in the call mask until the filtered rows are listed. Offscreen, no timers waited
// for: the work the user waits on.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/null_host.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "stations/station_list.h"
#include "ui/station_list_window.h"

namespace {

using namespace plovane;

struct TenThousand {
    TenThousand() {
        profile.WriteString("Station", "MyCall", "N0CALL");
        profile.WriteInt("Station", "LimitStations", 10001);
        settings.Load(profile);
        list.ApplySettings(settings, false);
        for (int i = 0; i < 10000; ++i) {
            std::string call = i % 2 ? "KK" : "W";
            call += std::to_string(i);
            call += "-9";
            list.UpdatePosition(call, "/>", "4903.50N", "07201.75W", "",
                                "on the road with a comment", -1);
        }
    }
    MemoryProfile profile;
    CStationSettings settings;
    FakeClock clock;
    NullHost host;
    CStationList list{settings, clock, host, host};
};

CStationListWindow* OpenWindow(TenThousand& store) {
    auto* window = new CStationListWindow(
        store.list, store.host, nullptr, [](const CStation&) {}, [](const std::string&) {});
    window->ShowStationList();
    window->FinishFill();
    QApplication::processEvents();  // the rows painted once
    return window;
}

void BM_OpenAndFill(benchmark::State& state) {
    TenThousand store;
    for (auto _ : state) {
        CStationListWindow* window = OpenWindow(store);
        state.PauseTiming();
        if (window->model().rowCount({}) != 10001)
            state.SkipWithError("not every station listed");
        delete window;
        state.ResumeTiming();
    }
    state.SetLabel("10 000 stations");
}
BENCHMARK(BM_OpenAndFill)->Unit(benchmark::kMillisecond);

// One keystroke: the refill the mask starts once typing pauses, with its repaint.
void BM_MaskKeystroke(benchmark::State& state) {
    TenThousand store;
    CStationListWindow* window = OpenWindow(store);
    bool narrow = false;
    for (auto _ : state) {
        narrow = !narrow;
        window->callMask()->setText(narrow ? "KK1" : "KK");
        window->RefillStationList();
        window->FinishFill();
        QApplication::processEvents();
    }
    delete window;
    state.SetLabel("10 000 stations, mask KK / KK1");
}
BENCHMARK(BM_MaskKeystroke)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
