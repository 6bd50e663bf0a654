// SPDX-License-Identifier: GPL-3.0-or-later
// Web Mercator: conversions, the tile grid, tile sources, the station pick in both projections.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "maps/map_view.h"
#include "maps/tile_source.h"
#include "maps/web_mercator.h"

namespace plovane {
namespace {

int32_t Colat(double lat) {
    return static_cast<int32_t>(std::lround((90 - lat) * kUnitsPerDegree));
}
int32_t Lon(double lon) {
    return static_cast<int32_t>(std::lround((lon + 180) * kUnitsPerDegree));
}
TEST(WebMercator, TileGrid) {
    // 256 pixels per tile at zoom 0: the whole world in 256 pixels; then halving per level.
    EXPECT_EQ(TileZoomFor(kMaxLongitude / 256.0, 19), 0);
    EXPECT_EQ(TileZoomFor(kMaxLongitude / 256.0 / 1024 * 1.3, 19), 10);  // tiles drawn smaller
    EXPECT_EQ(TileZoomFor(1, 14), 14);
    EXPECT_EQ(TmsRow(3, 0), 7);
    // 60 N: asinh(tan 60) = 1.3170 rad = 75.4561 degrees above the equator; the poles clamp.
    EXPECT_NEAR(MercatorY(Colat(60)), kMaxColatitude / 2 - 75.456129 * kUnitsPerDegree, 2);
    EXPECT_EQ(MercatorY(0), kMercatorTop);

    // The view from 0 E to 90 E and the equator to 66.51 N at zoom 2 is the tile (2, 2, 1).
    const MapBox box{Lon(0), Lon(90) - 1, MercatorY(Colat(66.5133)) + 100, MercatorY(Colat(0)) - 1};
    const TileRange one = TilesCovering(box, 2);
    EXPECT_EQ(one.Count(), 1);
    EXPECT_TRUE(one.Contains({2, 2, 1}));
    const TileRange ring = TilesCovering(box, 2, 1);
    EXPECT_EQ(std::vector({ring.x0, ring.x1, ring.y0, ring.y1}), std::vector({1, 3, 0, 2}));
    // Beyond the world the range is clamped, never negative or past the last tile.
    const TileRange world = TilesCovering(
        {-1000000, kMaxLongitude + 1000000, kMercatorTop - 5, kMercatorBottom + 5}, 1, 1);
    EXPECT_EQ(world.Count(), 4);
}

TEST(TileSource, TextsAndUrls) {
    struct Case {
        const char* text;
        bool ok;
        TileSourceKind kind;
    };
    const Case cases[] = {
        {"", true, TileSourceKind::kNone},
        {" None ", true, TileSourceKind::kNone},
        {"osm", true, TileSourceKind::kUrl},
        {"http://127.0.0.1:8080/{z}/{x}/{y}.png", true, TileSourceKind::kUrl},
        {"https://host/{z}/{x}.png", false, TileSourceKind::kNone},
        {"/maps/town.MBTILES", true, TileSourceKind::kMbtiles},
        {"/maps/tiles", true, TileSourceKind::kFolder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TileSourceChoice choice;
        std::string error;
        EXPECT_EQ(ParseTileSource(c.text, choice, error), c.ok);
        EXPECT_EQ(choice.kind, c.kind);
        EXPECT_EQ(error.empty(), c.ok);
    }
    EXPECT_EQ(ExpandTileUrl("https://a/{z}/{x}/{y}.png?k={z}", {12, 2048, 1361}),
              "https://a/12/2048/1361.png?k=12");
    EXPECT_EQ(TileAttribution({TileSourceKind::kUrl, kOsmTileUrl}, "mine"), kOsmAttribution);
    EXPECT_EQ(TileAttribution({TileSourceKind::kUrl, "https://openstreetmap.org.evil/{z}/{x}/{y}"},
                              "mine"),
              "mine");
}

}  // namespace
}  // namespace plovane
