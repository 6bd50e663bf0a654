// Tiles drawn at nearly their own size meet without a white seam between them, whichever
// way the tile edges round to pixels.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QBuffer>
#include <filesystem>

#include "maps/mbtiles.h"
#include "maps/render/tile_layer.h"
#include "maps/web_mercator.h"
#include "render/render_rig.h"

namespace plovane {
namespace {

namespace fs = std::filesystem;

TEST(TileSeam, NearlyOwnSizeTilesCoverTheWholeArea) {
    testing::EnsureGuiApplication();
    const fs::path dir =
        fs::temp_directory_path() / ("plovane-tile-seam-" + std::to_string(getpid()));
    fs::create_directories(dir);
    QImage tile(kTileSize, kTileSize, QImage::Format_RGB32);
    tile.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    tile.save(&buffer, "PNG");
    MbtilesWriter writer;
    ASSERT_TRUE(writer.Create(dir / "blue.mbtiles", "blue", 0, 2, ""));
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 4; ++y)
            ASSERT_TRUE(writer.Add({2, x, y}, png.toStdString()));
    }
    ASSERT_TRUE(writer.Finish());

    // 126 562 units per pixel: zoom-2 tiles are 256.0009 pixels wide, so their edges round
    // to 256 or 257 pixels apart depending on where the view starts.
    struct Case {
        int32_t left, top;
    };
    for (const Case& c : {Case{256, kMercatorTop + 256}, Case{0, kMercatorTop}, Case{60000, 777}}) {
        SCOPED_TRACE(::testing::Message() << c.left << ", " << c.top);
        TileLayerSetup setup;
        setup.local = std::make_unique<MbtilesStore>(dir / "blue.mbtiles");
        FakeClock clock;
        CTileLayer layer(std::move(setup), clock, [](const std::string&) {});
        const int size = 700;
        const MapBox view{c.left, c.left + size * 126562, c.top, c.top + size * 126562};
        QImage image(size, size + kHeaderStripHeight, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        layer.Draw(painter, MapProjection(view, size, size, true));
        painter.end();
        EXPECT_EQ(testing::CountColour(image, QRect(0, kHeaderStripHeight, size, size),
                                       QColor(Qt::white)),
                  0);
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace plovane
