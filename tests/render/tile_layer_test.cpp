// The tile layer drawing real MBTiles and cache files: each tile lands on its own quarter of
// the world (rows flipped from TMS), a missing tile is stood in for by a lower zoom or the
// base layer, a tile that is not a picture is a notice and a blank, and an online layer asks
// for the view and one ring around it, nothing more.
#include <gtest/gtest.h>

#include <QBuffer>
#include <filesystem>

#include "maps/mbtiles.h"
#include "maps/render/tile_layer.h"
#include "maps/web_mercator.h"
#include "render/render_rig.h"

namespace plovane {
namespace {

namespace fs = std::filesystem;

std::string Png(QColor colour) {
    QImage image(kTileSize, kTileSize, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

struct TileRig {
    TileRig() {
        testing::EnsureGuiApplication();
        dir = fs::temp_directory_path() /
              ("plovane-tile-layer-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~TileRig() { fs::remove_all(dir); }

    std::unique_ptr<MbtilesStore> Mbtiles(
        const char* name, int maxZoom, const std::vector<std::pair<TileId, std::string>>& tiles) {
        MbtilesWriter writer;
        EXPECT_TRUE(writer.Create(dir / name, name, 0, maxZoom, ""));
        for (const auto& [tile, bytes] : tiles)
            EXPECT_TRUE(writer.Add(tile, bytes));
        EXPECT_TRUE(writer.Finish());
        auto store = std::make_unique<MbtilesStore>(dir / name);
        EXPECT_TRUE(store->IsOpen()) << store->error();
        return store;
    }
    // The whole Mercator world on 512 x 512 pixels: tile zoom 1, each tile a quarter.
    QImage Draw(CTileLayer& layer, int size = 512) {
        QImage image(size, size + kHeaderStripHeight, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        layer.Draw(painter, MapProjection(kMercatorWorldBox, size, size, true));
        return image;
    }
    static QColor At(const QImage& image, int x, int y) {
        return testing::Pixel(image, x, kHeaderStripHeight + y);
    }

    fs::path dir;
    FakeClock clock;
    std::vector<std::string> notices;
    CTileLayer::NoticeSink sink = [this](const std::string& text) { notices.push_back(text); };
};

TEST(TileLayer, EachTileOnItsQuarterAndABrokenTileIsABlankWithOneNotice) {
    TileRig rig;
    TileLayerSetup setup;
    setup.local = rig.Mbtiles("world.mbtiles", 1,
                              {{{1, 0, 0}, Png(Qt::blue)},
                               {{1, 1, 0}, Png(Qt::green)},
                               {{1, 0, 1}, "\x89PNG\r\n\x1a\n but not really"},
                               {{1, 1, 1}, Png(Qt::red)}});
    CTileLayer layer(std::move(setup), rig.clock, rig.sink);
    const QImage image = rig.Draw(layer);
    EXPECT_EQ(TileRig::At(image, 128, 128), QColor(Qt::blue));   // north-west
    EXPECT_EQ(TileRig::At(image, 384, 128), QColor(Qt::green));  // north-east
    EXPECT_EQ(TileRig::At(image, 128, 384), QColor(Qt::white));  // the broken one
    EXPECT_EQ(TileRig::At(image, 384, 384), QColor(Qt::red));
    ASSERT_EQ(rig.notices.size(), 1u);
    EXPECT_NE(rig.notices[0].find("1/0/1"), std::string::npos);
    rig.Draw(layer);
    EXPECT_EQ(rig.notices.size(), 1u);  // drawn again: no second notice
}

TEST(TileLayer, MissingTilesAreStoodInForByALowerZoom) {
    TileRig rig;
    TileLayerSetup setup;
    // Zoom 2 is promised but only zoom 0 is there: its quarter is scaled up.
    setup.local = rig.Mbtiles("sparse.mbtiles", 2, {{{0, 0, 0}, Png(Qt::magenta)}});
    CTileLayer layer(std::move(setup), rig.clock, rig.sink);
    const QImage image = rig.Draw(layer, 1024);
    EXPECT_EQ(TileRig::At(image, 100, 900), QColor(Qt::magenta));
    EXPECT_TRUE(rig.notices.empty());
}

// An online layer with nothing cached: the bundled base layer shows, and the fetcher is
// asked for the view's tiles first and then the ring around them, no further.
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
    setup.cache = std::make_unique<TileDiskCache>(rig.dir / "cache", 1 << 20);
    setup.fetcher = &fetcher;
    setup.base = rig.Mbtiles("base.mbtiles", 0, {{{0, 0, 0}, Png(Qt::cyan)}});
    setup.attribution = kOsmAttribution;
    CTileLayer layer(std::move(setup), rig.clock, rig.sink);

    // A 512-pixel view of two zoom 4 tiles each way (6 and 7), the ring 5..8.
    const double span = TileSpanUnits(4);
    const MapBox view{ClampToInt32(int64_t(6 * span)), ClampToInt32(int64_t(8 * span)),
                      ClampToInt32(int64_t(kMercatorTop + 6 * span)),
                      ClampToInt32(int64_t(kMercatorTop + 8 * span))};
    QImage image(512, 512 + kHeaderStripHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const MapProjection projection(view, 512, 512, true);
    ASSERT_EQ(layer.TileZoom(projection), 4);
    layer.Draw(painter, projection);
    layer.DrawAttribution(painter, 512, 512 + kHeaderStripHeight);
    painter.end();

    EXPECT_EQ(TileRig::At(image, 256, 256), QColor(Qt::cyan));
    ASSERT_EQ(fetcher.last.size(), 16u);
    for (size_t i = 0; i < fetcher.last.size(); ++i) {
        const TileId& t = fetcher.last[i].tile;
        SCOPED_TRACE(::testing::Message() << t.z << "/" << t.x << "/" << t.y);
        EXPECT_EQ(t.z, 4);
        const bool inView = t.x >= 6 && t.x <= 7 && t.y >= 6 && t.y <= 7;
        EXPECT_EQ(inView, i < 4);  // the view first, then the ring
        EXPECT_TRUE(t.x >= 5 && t.x <= 8 && t.y >= 5 && t.y <= 8);
    }
    // The credit sits in the bottom-right corner over the map.
    EXPECT_NE(testing::Pixel(image, 505, 512 + kHeaderStripHeight - 6), QColor(Qt::cyan));

    // A delivered tile is drawn from then on and kept in the disk cache.
    layer.Deliver({4, 7, 7}, Png(Qt::darkGreen), {"\"v1\"", "", 1'900'000'000});
    EXPECT_TRUE(layer.diskCache()->Contains({4, 7, 7}));
    QImage close(512, 512 + kHeaderStripHeight, QImage::Format_RGB32);
    QPainter closePainter(&close);
    layer.Draw(closePainter, projection);
    closePainter.end();
    EXPECT_EQ(TileRig::At(close, 384, 384), QColor(Qt::darkGreen));
    EXPECT_EQ(TileRig::At(close, 128, 128), QColor(Qt::cyan));
}

}  // namespace
}  // namespace plovane
