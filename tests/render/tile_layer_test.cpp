// SPDX-License-Identifier: GPL-3.0-or-later
// The tile layer drawing real MBTiles and cache files: placement, stand-ins for missing and
// broken tiles, what an online layer asks for, and no seams.
#include <gtest/gtest.h>

#include <atomic>

#include "core/geo.h"
#include "maps/map_file.h"
#include "maps/mbtiles.h"
#include "maps/render/tile_layer.h"
#include "maps/web_mercator.h"
#include "render/render_rig.h"
#include "support/scratch_dir.h"
#include "support/solid_tile.h"

namespace plovane {
namespace {

std::string Png(QColor colour) {
    return testing::SolidTilePng(colour).toStdString();
}

struct TileRig {
    TileRig() { testing::EnsureGuiApplication(); }
    std::unique_ptr<MbtilesStore> Mbtiles(
        const char* name, int maxZoom, const std::vector<std::pair<TileId, std::string>>& tiles) {
        MbtilesWriter writer;
        EXPECT_TRUE(writer.Create(scratch.path() / name, name, 0, maxZoom, ""));
        for (const auto& [tile, bytes] : tiles)
            EXPECT_TRUE(writer.Add(tile, bytes));
        EXPECT_TRUE(writer.Finish());
        auto store = std::make_unique<MbtilesStore>(scratch.path() / name);
        EXPECT_TRUE(store->IsOpen()) << store->error();
        return store;
    }
    // The view drawn on size x size pixels (the whole Mercator world unless told).
    // Local tiles are read on the layer's thread: drawn again once read, as the map is.
    QImage Draw(CTileLayer& layer, int size, const MapBox& view = kMercatorWorldBox,
                bool waitForReads = true) {
        QImage image(size, size + kHeaderStripHeight, QImage::Format_RGB32);
        for (int round = 0; round < (waitForReads ? 2 : 1); ++round) {
            layer.WaitRead();
            image.fill(Qt::white);
            QPainter painter(&image);
            layer.Draw(painter, MapProjection(view, size, size, true));
            layer.DrawAttribution(painter, size, size + kHeaderStripHeight);
        }
        return image;
    }
    static QColor At(const QImage& image, int x, int y) {
        return testing::Pixel(image, x, kHeaderStripHeight + y);
    }

    testing::ScratchDir scratch;
    FakeClock clock;
    std::vector<std::string> notices;
    CTileLayer::NoticeSink sink = [this](const std::string& text) { notices.push_back(text); };
};

TEST(TileLayer, TilesOnTheirQuarterABrokenOneBlankAndMissingOnesFromALowerZoom) {
    TileRig rig;
    TileLayerSetup setup;
    setup.local = rig.Mbtiles("world.mbtiles", 1,
                              {{{1, 0, 0}, Png(Qt::blue)},
                               {{1, 1, 0}, Png(Qt::green)},
                               {{1, 0, 1}, "\x89PNG\r\n\x1a\n but not really"},
                               {{1, 1, 1}, Png(Qt::red)}});
    CTileLayer layer(std::move(setup), rig.clock, rig.sink);
    const QImage image = rig.Draw(layer, 512);                   // tile zoom 1: each tile a quarter
    EXPECT_EQ(TileRig::At(image, 128, 128), QColor(Qt::blue));   // north-west
    EXPECT_EQ(TileRig::At(image, 384, 128), QColor(Qt::green));  // north-east
    EXPECT_EQ(TileRig::At(image, 128, 384), QColor(Qt::white));  // the broken one
    EXPECT_EQ(TileRig::At(image, 384, 384), QColor(Qt::red));
    ASSERT_EQ(rig.notices.size(), 1u);
    EXPECT_NE(rig.notices[0].find("1/0/1"), std::string::npos);
    rig.Draw(layer, 512);
    EXPECT_EQ(rig.notices.size(), 1u);  // drawn again: no second notice

    // Zoom 2 is promised but only zoom 0 is there: its quarter is scaled up.
    TileLayerSetup sparse;
    sparse.local = rig.Mbtiles("sparse.mbtiles", 2, {{{0, 0, 0}, Png(Qt::magenta)}});
    CTileLayer sparseLayer(std::move(sparse), rig.clock, rig.sink);
    EXPECT_EQ(TileRig::At(rig.Draw(sparseLayer, 1024), 100, 900), QColor(Qt::magenta));
    EXPECT_EQ(rig.notices.size(), 1u);
}

// A local store is read on the layer's own thread: the drawing does not wait for it, and the
// layer says when the tiles can be drawn.
TEST(Threads, TileLayerReadsLocalTilesOffTheDrawingThread) {
    TileRig rig;
    TileLayerSetup setup;
    setup.local = rig.Mbtiles("one.mbtiles", 0, {{{0, 0, 0}, Png(Qt::blue)}});
    CTileLayer layer(std::move(setup), rig.clock, rig.sink);
    std::atomic<int> told{0};
    layer.SetTilesRead([&told] { ++told; });
    EXPECT_EQ(TileRig::At(rig.Draw(layer, 256, kMercatorWorldBox, false), 128, 128),
              QColor(Qt::white));
    layer.WaitRead();
    EXPECT_GE(told, 1);
    EXPECT_EQ(TileRig::At(rig.Draw(layer, 256, kMercatorWorldBox, false), 128, 128),
              QColor(Qt::blue));
}

class RecordingFetcher : public TileFetcher {
  public:
    void Want(const std::vector<Wish>& wishes) override { last = wishes; }
    bool Busy() const override { return false; }
    std::vector<Wish> last;
};

TEST(TileLayer, OnlineAsksForTheViewAndOneRingAndShowsTheBaseLayerMeanwhile) {
    TileRig rig;
    RecordingFetcher fetcher;
    TileLayerSetup setup;
    setup.cache = std::make_unique<TileDiskCache>(rig.scratch.path() / "cache", 1 << 20);
    setup.fetcher = &fetcher;
    setup.base = rig.Mbtiles("base.mbtiles", 0, {{{0, 0, 0}, Png(Qt::cyan)}});
    setup.attribution = kOsmAttribution;
    CTileLayer layer(std::move(setup), rig.clock, rig.sink);

    // A 512-pixel view of two zoom 4 tiles each way (6 and 7), the ring 5..8.
    const double span = TileSpanUnits(4);
    const MapBox view{ClampToInt32(int64_t(6 * span)), ClampToInt32(int64_t(8 * span)),
                      ClampToInt32(int64_t(kMercatorTop + 6 * span)),
                      ClampToInt32(int64_t(kMercatorTop + 8 * span))};
    ASSERT_EQ(layer.TileZoom(MapProjection(view, 512, 512, true)), 4);
    const QImage image = rig.Draw(layer, 512, view);
    EXPECT_EQ(TileRig::At(image, 256, 256), QColor(Qt::cyan));
    // The credit sits in the bottom-right corner over the map.
    EXPECT_NE(TileRig::At(image, 505, 512 - 6), QColor(Qt::cyan));
    ASSERT_EQ(fetcher.last.size(), 16u);
    for (size_t i = 0; i < fetcher.last.size(); ++i) {
        const TileId& t = fetcher.last[i].tile;
        SCOPED_TRACE(::testing::Message() << t.z << "/" << t.x << "/" << t.y);
        EXPECT_EQ(t.z, 4);
        const bool inView = t.x >= 6 && t.x <= 7 && t.y >= 6 && t.y <= 7;
        EXPECT_EQ(inView, i < 4);  // the view first, then the ring
        EXPECT_TRUE(t.x >= 5 && t.x <= 8 && t.y >= 5 && t.y <= 8);
    }

    // A delivered tile is drawn from then on and kept in the disk cache.
    layer.Deliver({4, 7, 7}, Png(Qt::darkGreen), {"\"v1\"", "", 1'900'000'000});
    EXPECT_TRUE(layer.diskCache()->Contains({4, 7, 7}));
    const QImage close = rig.Draw(layer, 512, view);
    EXPECT_EQ(TileRig::At(close, 384, 384), QColor(Qt::darkGreen));
    EXPECT_EQ(TileRig::At(close, 128, 128), QColor(Qt::cyan));
    // Zoomed out, the zoom 3 tile is not there yet: the finer tile in memory still shows in
    // its corner over the base layer.
    const MapBox wider{ClampToInt32(int64_t(4 * span)), ClampToInt32(int64_t(8 * span)),
                       ClampToInt32(int64_t(kMercatorTop + 4 * span)),
                       ClampToInt32(int64_t(kMercatorTop + 8 * span))};
    const QImage out = rig.Draw(layer, 512, wider);
    EXPECT_EQ(TileRig::At(out, 448, 448), QColor(Qt::darkGreen));
    EXPECT_EQ(TileRig::At(out, 300, 300), QColor(Qt::cyan));
}

// Tiles drawn at nearly their own size meet without a white seam, whichever way their edges
// round to pixels: at 126 562 units per pixel zoom-2 tiles are 256.0009 pixels wide.
TEST(TileLayer, NearlyOwnSizeTilesLeaveNoSeam) {
    TileRig rig;
    std::vector<std::pair<TileId, std::string>> tiles;
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 4; ++y)
            tiles.push_back({{2, x, y}, Png(Qt::blue)});
    }
    rig.Mbtiles("blue.mbtiles", 2, tiles);
    for (const auto& [left, top] :
         {std::pair{256, kMercatorTop + 256}, {0, kMercatorTop}, {60000, 777}}) {
        SCOPED_TRACE(::testing::Message() << left << ", " << top);
        TileLayerSetup setup;
        setup.local = std::make_unique<MbtilesStore>(rig.scratch.path() / "blue.mbtiles");
        CTileLayer layer(std::move(setup), rig.clock, rig.sink);
        const QImage image =
            rig.Draw(layer, 700, {left, left + 700 * 126562, top, top + 700 * 126562});
        EXPECT_EQ(testing::CountColour(image, QRect(0, kHeaderStripHeight, 700, 700), Qt::white),
                  0);
    }
}

// The bundled land and world maps, read once.
std::shared_ptr<CLandLayer> BundledLand() {
    static const std::shared_ptr<CLandLayer> land = [] {
        MapProgress quiet;
        const std::string maps = std::string(PLOVANE_SOURCE_DIR) + "/data/maps/";
        const MapReadResult polygons = ReadMapFile(maps + "land.bin", quiet);
        const MapReadResult lines = ReadMapFile(maps + "world.map", quiet);
        EXPECT_TRUE(polygons.ok() && lines.ok());
        return std::make_shared<CLandLayer>(polygons.map, lines.map);
    }();
    return land;
}

// A view of size x size pixels at tile zoom z, and where (lat, lon) is in it.
struct ZoomView {
    ZoomView(int z, double lat, double lon, int size = 512) : upp(TileSpanUnits(z) / kTileSize) {
        const int32_t cx = static_cast<int32_t>((lon + 180) * kUnitsPerDegree);
        const int32_t cy = MercatorY(static_cast<int32_t>((90 - lat) * kUnitsPerDegree));
        const auto half = static_cast<int32_t>(upp * size / 2);
        box = {cx - half, cx + half, cy - half, cy + half};
    }
    QPoint At(double lat, double lon) const {
        const double y = MercatorY(static_cast<int32_t>((90 - lat) * kUnitsPerDegree));
        return {int(((lon + 180) * kUnitsPerDegree - box.left) / upp), int((y - box.top) / upp)};
    }
    double upp;
    MapBox box;
};

// Beyond the base layer's last zoom, land and sea come from the vectors: the land colour on
// land and the sea's at sea, at every scale, with no sea-coloured seam inside the land and no
// colour but the style's own (a picture scaled up would blend its pixels).
TEST(TileLayer, LandAndSeaFromVectorsBeyondTheBaseLayerCrispAndWithoutSeams) {
    TileRig rig;
    TileLayerSetup setup;
    setup.base = rig.Mbtiles("base.mbtiles", 0, {{{0, 0, 0}, Png(Qt::cyan)}});
    setup.land = BundledLand();
    CTileLayer layer(std::move(setup), rig.clock, rig.sink);
    const QRect area(0, kHeaderStripHeight, 512, 512);
    for (const int z : {3, 8, 14}) {
        SCOPED_TRACE(z);
        const QImage inland = rig.Draw(layer, 512, ZoomView(z, 47.5, 2.5).box);  // France
        EXPECT_EQ(TileRig::At(inland, 256, 256), kDayLand.land);
        if (z >= 8) {  // the whole view is land: tile edges included, no sea pixel
            EXPECT_EQ(testing::CountColour(inland, area, kDayLand.sea), 0);
        }
        EXPECT_EQ(TileRig::At(rig.Draw(layer, 512, ZoomView(z, 40, -40).box), 256, 256),
                  kDayLand.sea);  // the Atlantic
    }
    // The coast of Brittany at zoom 9: land, sea and lines, and nothing in between.
    const QImage coast = rig.Draw(layer, 512, ZoomView(9, 48.3, -4.2).box);
    int styled = 0;
    for (const QColor& c : {kDayLand.land, kDayLand.sea, kDayLand.coast, kDayLand.border}) {
        EXPECT_GT(testing::CountColour(coast, area, c), c == kDayLand.border ? -1 : 0);
        styled += testing::CountColour(coast, area, c);
    }
    EXPECT_EQ(styled, 512 * 512);
}

// At night the vectors are drawn in the night colours wherever no tile is (the base layer's
// day pictures too), and tile pictures are dimmed.
TEST(TileLayer, NightDrawsVectorsInNightColoursAndDimsTiles) {
    TileRig rig;
    TileLayerSetup setup;
    setup.local = rig.Mbtiles("white.mbtiles", 1, {{{1, 0, 0}, Png(Qt::white)}});
    setup.base = rig.Mbtiles("base.mbtiles", 1, {{{0, 0, 0}, Png(Qt::cyan)}});
    setup.land = BundledLand();
    CTileLayer layer(std::move(setup), rig.clock, rig.sink);
    layer.SetNight(true);
    const ZoomView world(1, 0, 0);
    const QImage image = rig.Draw(layer, 512, world.box);
    EXPECT_EQ(TileRig::At(image, 100, 100), QColor(84, 88, 104));  // the north-west tile
    const QPoint australia = world.At(-25, 135), indian = world.At(-35, 80);
    EXPECT_EQ(TileRig::At(image, australia.x(), australia.y()), kNightLand.land);
    EXPECT_EQ(TileRig::At(image, indian.x(), indian.y()), kNightLand.sea);
    EXPECT_EQ(testing::CountColour(image, QRect(0, kHeaderStripHeight, 512, 512), Qt::cyan), 0);
}

// Damaged shapes (a lone point, a two-point polygon, coordinates off the world) are left out
// or held to the world's edges: the drawing is sea, with no crash.
TEST(LandLayer, DamagedShapesAreLeftOutOrHeldToTheWorld) {
    testing::EnsureGuiApplication();
    CMapData bad;
    const auto add = [&bad](std::initializer_list<std::pair<int32_t, int32_t>> ring) {
        bad.points.push_back({kMoveCode, 0, 0, ring.begin()->first, ring.begin()->second});
        for (auto it = ring.begin() + 1; it != ring.end(); ++it)
            bad.points.push_back({22, 129, 0, it->first, it->second});
    };
    add({{1000, 1000}});
    add({{1000, 1000}, {2000, 2000}});
    add({{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MIN}, {INT32_MAX, -5}});
    CLandLayer layer(bad, bad);
    EXPECT_EQ(layer.landShapes(), 1u);
    QImage image(256, 256 + kHeaderStripHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    layer.Draw(painter, MapProjection(ZoomView(0, 0, 0, 256).box, 256, 256, true), kDayLand);
    EXPECT_EQ(TileRig::At(image, 128, 128), kDayLand.sea);
}

}  // namespace
}  // namespace plovane
