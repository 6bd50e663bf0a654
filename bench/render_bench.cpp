// SPDX-License-Identifier: GPL-3.0-or-later
// A complete redraw of a 1920 x 1080 map over tiles: 1 000 stations with tracks on cached
// tiles, and the same with a 1 000 000-point vector map drawn over them; 10 000 stations round
// a city grouped into count bubbles. Run from the
// release build; the view is Web Mercator at tile zoom 12 around Seattle.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/clock.h"
#include "core/null_host.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "maps/map_file.h"
#include "maps/mbtiles.h"
#include "maps/render/map_renderer.h"
#include "maps/render/station_groups.h"
#include "maps/render/symbol_icons.h"
#include "maps/render/tile_layer.h"
#include "maps/web_mercator.h"
#include "stations/station_list.h"

namespace {

using namespace plovane;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr double kLat = 47.6, kLon = -122.3;

std::string Coord(double value, bool lat) {
    const char hemi = lat ? (value < 0 ? 'S' : 'N') : (value < 0 ? 'W' : 'E');
    value = std::abs(value);
    const int deg = static_cast<int>(value);
    char text[48];  // room for any double gcc can imagine here
    std::snprintf(text, sizeof text, lat ? "%02d%05.2f%c" : "%03d%05.2f%c", deg, (value - deg) * 60,
                  hemi);
    return text;
}

struct Scene {
    explicit Scene(int64_t vectorPoints, bool withTiles = true) {
        profile.WriteInt("Station", "LimitStations", 2000);
        profile.WriteInt("Station", "bTrack", 1);
        settings.Load(profile);
        stations.ApplySettings(settings, false);
        // 1 000 stations over the view, each reporting 20 positions: a track of some length.
        for (int i = 0; i < 1000; ++i) {
            const std::string call = "K" + std::to_string(i) + "XY";
            for (int step = 0; step < 20; ++step) {
                const double lat = kLat - 0.12 + (i % 40) * 0.006 + step * 0.0004;
                const double lon = kLon - 0.3 + (i / 40) * 0.024 + step * 0.0006;
                clock.AdvanceSeconds(30);
                stations.UpdatePosition(call, "/>", Coord(lat, true), Coord(lon, false), "", "",
                                        -1);
            }
        }
        // The vector map: streets as polylines of 100 points, each a walk of short steps
        // (a few pixels) from a point spread over the view.
        map.loaded = true;
        map.name = "bench";
        map.points.reserve(static_cast<size_t>(vectorPoints));
        const int32_t x0 = static_cast<int32_t>((kLon + 180 - 0.4) * kUnitsPerDegree);
        const int32_t y0 = static_cast<int32_t>((90 - kLat - 0.2) * kUnitsPerDegree);
        int32_t x = x0, y = y0;
        uint32_t seed = 12345;
        const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
        for (int64_t i = 0; i < vectorPoints; ++i) {
            const bool move = i % 100 == 0;
            if (move) {
                x = x0 + static_cast<int32_t>(next() % 288000);
                y = y0 + static_cast<int32_t>(next() % 144000);
            } else {
                x += static_cast<int32_t>(next() % 1201) - 600;
                y += static_cast<int32_t>(next() % 1201) - 600;
            }
            map.points.push_back({move ? kMoveCode : uint8_t(1 + i / 100 % 20), 0, 0, x, y});
        }
        map.points.push_back({kMoveCode, 0, 0, x0, y0});
        map.left = x0;
        map.right = x0 + 288000;
        map.top = y0;
        map.bottom = y0 + 144000;
        map.fitted = true;

        // Tiles: one MBTiles file at zoom 12 over the view, read into memory by a first draw.
        file = std::filesystem::temp_directory_path() / "plovane-render-bench.mbtiles";
        MbtilesWriter writer;
        writer.Create(file, "bench", 12, 12, "");
        QImage tile(kTileSize, kTileSize, QImage::Format_RGB32);
        tile.fill(QColor(242, 239, 233));
        QPainter(&tile).drawLine(0, 0, 255, 255);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        tile.save(&buffer, "PNG");
        for (int x = 640; x < 680; ++x)
            for (int y = 1420; y < 1450; ++y)
                writer.Add({12, x, y}, png.toStdString());
        writer.Finish();
        TileLayerSetup setup;
        setup.local = std::make_unique<MbtilesStore>(file);
        tiles = std::make_unique<CTileLayer>(std::move(setup), clock, nullptr);

        options.ShowTracks = true;
        options.IconLabels = true;
        view.Resize(kWidth, kHeight + kHeaderStripHeight);
        view.SetMercator(withTiles);
        // About 38 m per pixel: tile zoom 12.
        const int32_t cx = static_cast<int32_t>((kLon + 180) * kUnitsPerDegree);
        const int32_t colat = static_cast<int32_t>((90 - kLat) * kUnitsPerDegree);
        const int32_t cy = withTiles ? MercatorY(colat) : colat;
        const int32_t halfW = kWidth / 2 * 124, halfH = kHeight / 2 * 124;
        CMapData box;
        box.left = cx - halfW;
        box.right = cx + halfW;
        box.top = withTiles ? ColatitudeOfMercatorY(cy - halfH) : cy - halfH;
        box.bottom = withTiles ? ColatitudeOfMercatorY(cy + halfH) : cy + halfH;
        view.FitToMap(box);
        image = QImage(kWidth, kHeight + kHeaderStripHeight, QImage::Format_RGB32);
        Draw();  // the tiles are read on the layer's thread, then drawn from memory
        tiles->WaitRead();
        Draw();
    }
    ~Scene() { std::filesystem::remove(file); }

    void Draw() {
        view.SetBackgroundValid(false);
        QPainter painter(&image);
        MapScene scene;
        scene.view = &view;
        scene.map = &map;
        scene.options = &options;
        scene.stations = &stations;
        scene.tiles = view.mercator() ? tiles.get() : nullptr;
        renderer.DrawMap(&painter, scene);
    }

    MemoryProfile profile;
    CStationSettings settings;
    FakeClock clock;
    NullHost host;
    CStationList stations{settings, clock, host, host};
    CMapData map;
    CMapView view;
    CMapOptions options;
    CSymbolIcons icons;
    RenderReport report;
    CMapRenderer renderer{report, clock, icons};
    std::filesystem::path file;
    std::unique_ptr<CTileLayer> tiles;
    QImage image;
};

void BM_RedrawTilesAndStations(benchmark::State& state) {
    Scene scene(0);
    for (auto _ : state)
        scene.Draw();
    state.counters["tile_zoom"] = scene.tiles->TileZoom(scene.view.Projection());
}
BENCHMARK(BM_RedrawTilesAndStations)->Unit(benchmark::kMillisecond);

void BM_RedrawMillionPointMapOverTiles(benchmark::State& state) {
    Scene scene(1'000'000);
    for (auto _ : state)
        scene.Draw();
}
BENCHMARK(BM_RedrawMillionPointMapOverTiles)->Unit(benchmark::kMillisecond);

// For comparison: the same map on the plain grid without tiles, as before tiles existed.
void BM_RedrawMillionPointMapPlain(benchmark::State& state) {
    Scene scene(1'000'000, false);
    for (auto _ : state)
        scene.Draw();
}
BENCHMARK(BM_RedrawMillionPointMapPlain)->Unit(benchmark::kMillisecond);

// Land and sea from the bundled vectors over a 1920 x 1080 view of Europe at tile zoom
// range(0) (the level's thinning done before the timing, as the first drawing does it).
void BM_LandVectors(benchmark::State& state) {
    MapProgress quiet;
    const std::string maps = std::string(PLOVANE_SOURCE_DIR) + "/data/maps/";
    CLandLayer land(ReadMapFile(maps + "land.bin", quiet).map,
                    ReadMapFile(maps + "world.map", quiet).map);
    const double upp = TileSpanUnits(static_cast<int>(state.range(0))) / kTileSize;
    const int32_t cx = 190 * kUnitsPerDegree, cy = MercatorY(40 * kUnitsPerDegree);
    const auto w = static_cast<int32_t>(upp * 960), h = static_cast<int32_t>(upp * 540);
    const MapProjection projection({cx - w, cx + w, cy - h, cy + h}, 1920, 1080, true);
    QImage image(1920, 1080 + kHeaderStripHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    land.Draw(painter, projection, kDayLand);
    for (auto _ : state)
        land.Draw(painter, projection, kDayLand);
}
BENCHMARK(BM_LandVectors)->Arg(2)->Arg(6)->Arg(10)->Arg(14)->Unit(benchmark::kMillisecond);

// 10 000 stations round one city, 1 920 x 1 080 at about 100 km across.
struct Crowd {
    Crowd() {
        profile.WriteInt("Station", "LimitStations", 20000);
        settings.Load(profile);
        stations.ApplySettings(settings, false);
        uint32_t seed = 777;
        const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
        for (int i = 0; i < 10000; ++i) {
            // Denser toward the centre, as a city's stations are.
            const double r = 0.6 * (next() % 1000) / 1000.0 * (next() % 1000) / 1000.0;
            const double a = (next() % 6283) / 1000.0;
            stations.UpdatePosition("C" + std::to_string(i), "/-",
                                    Coord(kLat + r * std::sin(a), true),
                                    Coord(kLon + 1.5 * r * std::cos(a), false), "", "", -1);
        }
        view.Resize(kWidth, kHeight + kHeaderStripHeight);
        const int32_t cx = static_cast<int32_t>((kLon + 180) * kUnitsPerDegree);
        const int32_t cy = static_cast<int32_t>((90 - kLat) * kUnitsPerDegree);
        CMapData box;
        box.left = cx - kWidth / 2 * 240;
        box.right = cx + kWidth / 2 * 240;
        box.top = cy - kHeight / 2 * 240;
        box.bottom = cy + kHeight / 2 * 240;
        view.FitToMap(box);
        map.loaded = map.fitted = true;  // an empty map over the box: the stations alone
        map.name = "crowd";
        map.left = box.left;
        map.right = box.right;
        map.top = box.top;
        map.bottom = box.bottom;
        options.IconLabels = true;
        image = QImage(kWidth, kHeight + kHeaderStripHeight, QImage::Format_RGB32);
    }
    void Draw() {
        view.SetBackgroundValid(false);
        QPainter painter(&image);
        MapScene scene;
        scene.view = &view;
        scene.map = &map;
        scene.options = &options;
        scene.stations = &stations;
        renderer.DrawMap(&painter, scene);
    }

    MemoryProfile profile;
    CStationSettings settings;
    FakeClock clock;
    NullHost host;
    CStationList stations{settings, clock, host, host};
    CMapData map;
    CMapView view;
    CMapOptions options;
    CSymbolIcons icons;
    RenderReport report;
    CMapRenderer renderer{report, clock, icons};
    QImage image;
};

// The grouping alone, as each complete redraw does it: 10 000 positions into cells, settled.
void BM_GroupTenThousandStations(benchmark::State& state) {
    Crowd crowd;
    crowd.Draw();  // fits the view
    std::vector<MapPoint> at;
    crowd.stations.ForEach([&at](const CStation& s) {
        at.push_back({s.position.longitude, s.position.colatitude});
    });
    const MapProjection projection = crowd.view.Projection();
    CStationGroups groups;
    for (auto _ : state) {
        groups.Reset(projection, true);
        for (size_t i = 0; i < at.size(); ++i)
            groups.Add(i, at[i]);
        groups.SettleAll();
        benchmark::DoNotOptimize(groups.cells().size());
    }
    size_t bubbles = 0;
    for (const auto& [cell, group] : groups.cells())
        bubbles += group.grouped ? 1 : 0;
    state.counters["stations"] = static_cast<double>(at.size());
    state.counters["bubbles"] = static_cast<double>(bubbles);
}
BENCHMARK(BM_GroupTenThousandStations)->Unit(benchmark::kMillisecond);

// A complete redraw of the 10 000 stations with calls, grouped (1) or not (0).
void BM_RedrawTenThousandStations(benchmark::State& state) {
    Crowd crowd;
    crowd.options.GroupStations = state.range(0) != 0;
    for (auto _ : state)
        crowd.Draw();
}
BENCHMARK(BM_RedrawTenThousandStations)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The projection alone: a million colatitudes to Mercator y.
void BM_MercatorY(benchmark::State& state) {
    for (auto _ : state) {
        int64_t sum = 0;
        for (int32_t i = 0; i < 1'000'000; ++i)
            sum += MercatorY(14'000'000 + i * 37);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_MercatorY)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);  // fonts for the labels
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
