// Map files on disk: the bundled world map reads and its coasts lie where they belong;
// folders and missing files give the usual failure text, never an exception.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "core/geo.h"
#include "maps/map_data.h"
#include "maps/map_file.h"
#include "support/scratch_dir.h"

namespace plovane {
namespace {

const std::filesystem::path kWorldMap =
    std::filesystem::path(PLOVANE_SOURCE_DIR) / "data" / "maps" / "world.map";

TEST(WorldMap, IsRecognisedByItsTitle) {
    const MapProbe probe = ProbeMapFile(kWorldMap);
    EXPECT_TRUE(probe.isMap);
    EXPECT_EQ(probe.title, "World (Natural Earth 1:50m)");
}

TEST(WorldMap, CoastsAndBordersLieWhereTheyBelong) {
    MapProgress silent;
    const MapReadResult read = ReadMapFile(kWorldMap, silent);
    ASSERT_TRUE(read.ok()) << read.error;
    const CMapData& map = read.map;
    EXPECT_EQ((std::vector<int32_t>{map.left, map.right, map.top, map.bottom}),
              (std::vector<int32_t>{0, kMaxLongitude, 0, kMaxColatitude}));
    ASSERT_GT(map.points.size(), 50000u);
    EXPECT_EQ(map.points.front().code, kMoveCode);
    EXPECT_EQ(map.points.back(), kEndMarker);

    size_t coast = 0, border = 0;
    for (const MapVectorPoint& p : map.points) {
        ASSERT_TRUE(p.x >= 0 && p.x <= kMaxLongitude && p.y >= 0 && p.y <= kMaxColatitude);
        coast += p.code == 1;
        border += p.code == 20;
        ASSERT_TRUE(p.code == kMoveCode || p.code == 1 || p.code == 20);
    }
    EXPECT_GT(coast, border);
    EXPECT_GT(border, 5000u);

    // Landmarks (lat, lon) that a vertex must lie within a quarter degree of.
    struct Landmark {
        const char* name;
        double lat, lon;
    } landmarks[] = {
        {"Cape of Good Hope", -34.36, 18.47},
        {"Cape Horn", -55.98, -67.27},
        {"Tarifa", 36.01, -5.61},
        {"Cape York", -10.69, 142.53},
        {"Land's End", 50.07, -5.71},
        {"Cape Chelyuskin", 77.72, 104.25},
    };
    for (const auto& l : landmarks) {
        SCOPED_TRACE(l.name);
        bool near = false;
        for (const MapVectorPoint& p : map.points) {
            if (std::abs(LatitudeDegrees(p.y) - l.lat) < 0.25 &&
                std::abs(LongitudeDegrees(p.x) - l.lon) < 0.25) {
                near = true;
                break;
            }
        }
        EXPECT_TRUE(near);
    }
}

TEST(MapFile, FoldersAndMissingFilesAreRefusedWithTheirText) {
    const testing::ScratchDir scratch;
    const std::filesystem::path& dir = scratch.path();
    MapProgress silent;

    EXPECT_FALSE(ProbeMapFile(dir).isMap);
    const MapReadResult folder = ReadMapFile(dir, silent);
    EXPECT_EQ(folder.error, kMapUnsupportedText);
    EXPECT_FALSE(folder.map.loaded);
    // The same through a stream the caller opened (the buffer throws on reading).
    std::ifstream stream(dir, std::ios::binary);
    EXPECT_FALSE(ProbeMapFile(stream, dir.string()).isMap);
    EXPECT_EQ(ReadMapFile(stream, dir.string(), silent).error, kMapUnsupportedText);

    EXPECT_EQ(ReadMapFile(dir / "missing.map", silent).error, kMapOpenText);
    EXPECT_EQ(MapFailureText(kMapUnsupportedText, "/tmp"), "Unsupported map format.\nFile: /tmp");
}

}  // namespace
}  // namespace plovane
