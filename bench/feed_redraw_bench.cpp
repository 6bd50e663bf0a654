// SPDX-License-Identifier: GPL-3.0-or-later
// The map window while a busy feed arrives: 1 000 stations with tracks over cached tiles in a
// 1920 x 1080 map widget, and a thread applying 100 position reports a second to the store
// (moving stations, a new position each), as the program's decoding thread does. The changes
// reach the widget through the program's own host, and the widget draws as it does in the
// program. Three phases: the map left alone, panned with the middle button, and zoomed with
// the wheel; then five of the periodic ticks that draw every station again. For each it
// prints the time of every frame the widget painted (the paint and the change handling since
// the previous one), on the thread's CPU clock and the wall clock: median, 95th percentile
// and maximum. Run it from the release build; the argument is the seconds a phase lasts (10
// by default).
#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/clock.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "maps/mbtiles.h"
#include "maps/render/symbol_icons.h"
#include "maps/render/tile_layer.h"
#include "maps/web_mercator.h"
#include "stations/station_list.h"
#include "ui/logic/plovane_doc.h"
#include "ui/plovane_view.h"
#include "ui/qt_host.h"

namespace {

using namespace plovane;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kStations = 1000;
constexpr int kPacketsPerSecond = 100;
constexpr double kLat = 47.6, kLon = -122.3;

std::string Coord(double value, bool lat) {
    const char hemi = lat ? (value < 0 ? 'S' : 'N') : (value < 0 ? 'W' : 'E');
    value = std::abs(value);
    const int deg = static_cast<int>(value);
    char text[48];
    std::snprintf(text, sizeof text, lat ? "%02d%05.2f%c" : "%03d%05.2f%c", deg, (value - deg) * 60,
                  hemi);
    return text;
}

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Where station `i` is after `step` reports: a slow walk north-east from its place in a grid.
void Report(CStationList& stations, int i, int step) {
    const double lat = kLat - 0.12 + (i % 40) * 0.006 + step * 0.0004;
    const double lon = kLon - 0.3 + (i / 40) * 0.024 + step * 0.0006;
    stations.UpdatePosition("K" + std::to_string(i) + "XY", "/>", Coord(lat, true),
                            Coord(lon, false), "", "", -1);
}

// Work on the GUI thread between two paints, counted into the next frame.
struct FrameClock {
    double cpu = 0, wall = 0;
    std::vector<double> cpuFrames, wallFrames;
    std::vector<double> cpuComplete;  // the CPU time of frames that drew the whole map
    int deliveries = 0;
    int complete = 0;  // frames that drew the whole map
    template <typename Work>
    void Add(Work work) {
        QElapsedTimer wallTimer;
        wallTimer.start();
        const double cpu0 = ThreadCpuMs();
        work();
        cpu += ThreadCpuMs() - cpu0;
        wall += wallTimer.nsecsElapsed() / 1e6;
    }
    void EndFrame() {
        cpuFrames.push_back(cpu);
        wallFrames.push_back(wall);
        cpu = wall = 0;
    }
};

class TimedView : public CPlovaneView {
  public:
    TimedView(const Context& context, FrameClock& frames)
        : CPlovaneView(context), frames_(frames) {}

  protected:
    void paintEvent(QPaintEvent* event) override {
        const int64_t before = mapView().lastCompleteRedrawMs();
        frames_.Add([&] { CPlovaneView::paintEvent(event); });
        const bool complete = mapView().lastCompleteRedrawMs() != before;
        if (complete) {
            ++frames_.complete;
            frames_.cpuComplete.push_back(frames_.cpu);
        }
        frames_.EndFrame();
    }

  private:
    FrameClock& frames_;
};

double Percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t at =
        std::min(values.size() - 1, static_cast<size_t>(p * (values.size() - 1) + 0.5));
    return values[at];
}

void Print(const char* phase, FrameClock& frames) {
    std::printf("%-6s frames %4zu  complete redraws %3d  station deliveries %4d\n", phase,
                frames.cpuFrames.size(), frames.complete, frames.deliveries);
    std::printf("       cpu  ms: median %6.2f  p95 %6.2f  max %6.2f\n",
                Percentile(frames.cpuFrames, 0.5), Percentile(frames.cpuFrames, 0.95),
                Percentile(frames.cpuFrames, 1.0));
    std::printf("       wall ms: median %6.2f  p95 %6.2f  max %6.2f\n",
                Percentile(frames.wallFrames, 0.5), Percentile(frames.wallFrames, 0.95),
                Percentile(frames.wallFrames, 1.0));
    std::printf("       cpu  ms of complete redraws: median %6.2f  max %6.2f\n",
                Percentile(frames.cpuComplete, 0.5), Percentile(frames.cpuComplete, 1.0));
    std::fflush(stdout);
    frames.cpuComplete.clear();
    frames.cpuFrames.clear();
    frames.wallFrames.clear();
    frames.deliveries = 0;
    frames.complete = 0;
}

std::filesystem::path MakeTiles(const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / "feed-bench.mbtiles";
    MbtilesWriter writer;
    writer.Create(file, "bench", 12, 12, "");
    QImage tile(kTileSize, kTileSize, QImage::Format_RGB32);
    tile.fill(QColor(242, 239, 233));
    QPainter(&tile).drawLine(0, 0, 255, 255);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    tile.save(&buffer, "PNG");
    for (int x = 630; x < 690; ++x)
        for (int y = 1410; y < 1460; ++y)
            writer.Add({12, x, y}, png.toStdString());
    writer.Finish();
    return file;
}

// Runs the event loop for `ms`, with `tick` called every `everyMs` (0: never).
template <typename Tick>
void RunFor(int ms, int everyMs, Tick tick) {
    QElapsedTimer timer;
    timer.start();
    int64_t next = everyMs;
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        if (everyMs > 0 && timer.elapsed() >= next) {
            tick();
            next += everyMs;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int phaseMs = argc > 1 ? std::max(1000, std::atoi(argv[1]) * 1000) : 10000;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("plovane-feed-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);

    MemoryProfile profile;
    profile.WriteInt("Station", "LimitStations", 2000);
    profile.WriteInt("Station", "bTrack", 1);
    CStationSettings settings;
    settings.Load(profile);
    SystemClock clock;
    QtHost host;
    CStationList stations(settings, clock, host, host);
    stations.ApplySettings(settings, false);
    for (int i = 0; i < kStations; ++i)
        for (int step = 0; step < 20; ++step)
            Report(stations, i, step);

    FrameClock frames;
    CSymbolIcons icons;
    CPlovaneDoc doc(clock);
    CMapOptions options;
    options.ShowTracks = true;
    options.IconLabels = true;
    options.TileSource = MakeTiles(folder).string();
    TimedView view({doc, options, stations, profile, host, clock, icons}, frames);
    QtHost::Receivers receivers;
    receivers.stationsChanged = [&](const std::vector<std::string>& calls, bool all) {
        ++frames.deliveries;
        frames.Add([&] { view.StationsChanged(calls, all); });
    };
    host.SetReceivers(std::move(receivers));

    view.resize(kWidth, kHeight + kHeaderStripHeight);
    view.ApplyTileSource();
    CMapView& map = view.mapView();
    map.Resize(kWidth, kHeight + kHeaderStripHeight);
    // About 38 m a pixel: tile zoom 12 round Seattle.
    const int32_t cx = static_cast<int32_t>((kLon + 180) * kUnitsPerDegree);
    const int32_t cy = MercatorY(static_cast<int32_t>((90 - kLat) * kUnitsPerDegree));
    const int32_t halfW = kWidth / 2 * 124, halfH = kHeight / 2 * 124;
    CMapData box;
    box.left = cx - halfW;
    box.right = cx + halfW;
    box.top = ColatitudeOfMercatorY(cy - halfH);
    box.bottom = ColatitudeOfMercatorY(cy + halfH);
    map.FitToMap(box);
    view.show();
    QElapsedTimer settle;
    settle.start();
    while ((view.TilesBusy() || settle.elapsed() < 1000) && settle.elapsed() < 20000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    view.RefreshView(true);
    RunFor(300, 0, [] {});
    Print("start", frames);

    // The feed: 100 reports a second, each moving one station a step on.
    std::atomic<bool> feeding{true};
    std::atomic<int> applied{0};
    std::thread feed([&] {
        std::vector<int> steps(kStations, 20);
        uint32_t seed = 2026;
        auto next = std::chrono::steady_clock::now();
        while (feeding.load()) {
            seed = seed * 1103515245u + 12345u;
            const int i = static_cast<int>((seed >> 16) % kStations);
            Report(stations, i, steps[static_cast<size_t>(i)]++);
            applied.fetch_add(1);
            next += std::chrono::microseconds(1000000 / kPacketsPerSecond);
            std::this_thread::sleep_until(next);
        }
    });

    std::printf("%d stations, %dx%d over cached tiles, %d reports/s, %d s a phase\n", kStations,
                kWidth, kHeight, kPacketsPerSecond, phaseMs / 1000);
    RunFor(phaseMs, 0, [] {});
    Print("still", frames);

    // Middle-button drags: 20 moves 16 ms apart, then the release, over and over.
    const QPoint centre(kWidth / 2, kHeight / 2);
    int move = 0;
    RunFor(phaseMs, 16, [&] {
        const QPoint at = centre + QPoint((move % 21) * 6, (move % 21) * 3);
        if (move % 21 == 0) {
            QMouseEvent press(QEvent::MouseButtonPress, at, view.mapToGlobal(at), Qt::MiddleButton,
                              Qt::MiddleButton, {});
            frames.Add([&] { QApplication::sendEvent(&view, &press); });
        } else if (move % 21 == 20) {
            QMouseEvent release(QEvent::MouseButtonRelease, at, view.mapToGlobal(at),
                                Qt::MiddleButton, Qt::NoButton, {});
            frames.Add([&] { QApplication::sendEvent(&view, &release); });
        } else {
            QMouseEvent moved(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton,
                              Qt::MiddleButton, {});
            frames.Add([&] { QApplication::sendEvent(&view, &moved); });
        }
        ++move;
    });
    Print("pan", frames);

    // Wheel notches 250 ms apart, in and out in turn, about the centre.
    int notch = 0;
    RunFor(phaseMs, 250, [&] {
        QWheelEvent wheel(centre, view.mapToGlobal(centre), {}, QPoint(0, notch++ % 2 ? -120 : 120),
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        frames.Add([&] { QApplication::sendEvent(&view, &wheel); });
    });
    Print("zoom", frames);

    // The 25-second tick between complete redraws: every station drawn again.
    for (int i = 0; i < 5; ++i) {
        frames.Add([&] { view.TimerTick(); });
        view.repaint();
        RunFor(200, 0, [] {});
    }
    Print("tick", frames);

    feeding.store(false);
    feed.join();
    std::printf("reports applied: %d\n", applied.load());
    view.hide();
    std::filesystem::remove_all(folder);
    return 0;
}
