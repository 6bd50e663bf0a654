// Local tile stores (MBTiles rows bottom-up, folders z/x/y, damaged files refused) and the disk
// cache dropping the least recently used tiles under its limit, across a restart too.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "maps/mbtiles.h"
#include "maps/tile_disk_cache.h"
#include "maps/tile_source.h"
#include "support/scratch_dir.h"

namespace plovane {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const TileId& t) {
    return "tile " + std::to_string(t.z) + "/" + std::to_string(t.x) + "/" + std::to_string(t.y);
}

TEST(Mbtiles, ReadsTheXyzTileFromItsTmsRowAndRefusesDamagedFiles) {
    testing::ScratchDir scratch;
    const fs::path& dir = scratch.path();
    const fs::path file = dir / "town.mbtiles";
    const TileId tiles[] = {{0, 0, 0}, {3, 1, 0}, {3, 1, 7}, {3, 6, 2}};
    MbtilesWriter writer;
    ASSERT_TRUE(writer.Create(file, "town", 0, 3, "test")) << writer.error();
    for (const TileId& t : tiles)
        ASSERT_TRUE(writer.Add(t, Bytes(t)));
    ASSERT_TRUE(writer.Finish()) << writer.error();

    MbtilesStore store(file);
    ASSERT_TRUE(store.IsOpen()) << store.error();
    EXPECT_EQ(store.MaxZoom(), 3);
    std::string bytes, error;
    for (const TileId& t : tiles) {
        ASSERT_EQ(store.Read(t, bytes, error), TileRead::kFound);
        EXPECT_EQ(bytes, Bytes(t));
    }
    EXPECT_EQ(store.Read({3, 6, 5}, bytes, error), TileRead::kMissing);  // row 2 is y 5's TMS twin
    EXPECT_EQ(store.Read({3, 8, 0}, bytes, error), TileRead::kMissing);  // outside the grid

    std::string whole;
    ASSERT_TRUE(ReadSmallFile(file, 1 << 20, whole, error));
    const std::pair<const char*, std::string> damaged[] = {
        {"text.mbtiles", "not a database at all\n"},
        {"half.mbtiles", whole.substr(0, whole.size() / 2)},
        {"empty.mbtiles", ""},
    };
    for (const auto& [name, content] : damaged) {
        SCOPED_TRACE(name);
        std::ofstream(dir / name, std::ios::binary) << content;
        MbtilesStore broken(dir / name);
        if (broken.IsOpen())  // SQLite may open a short file and fail on the first read
            EXPECT_NE(broken.Read({0, 0, 0}, bytes, error), TileRead::kFound);
        else
            EXPECT_FALSE(broken.error().empty());
    }
    EXPECT_FALSE(MbtilesStore(dir / "none.mbtiles").IsOpen());
}

TEST(FolderTiles, ReadsZxyFilesAndRefusesHugeOnes) {
    testing::ScratchDir scratch;
    const fs::path& dir = scratch.path();
    fs::create_directories(dir / "4" / "8");
    std::ofstream(dir / "4" / "8" / "5.png", std::ios::binary) << "png bytes";
    std::ofstream(dir / "4" / "8" / "6.png", std::ios::binary)
        << std::string(kMaxTileBytes + 1, 'x');
    FolderTileStore store(dir);
    std::string bytes, error;
    EXPECT_EQ(store.Read({4, 8, 5}, bytes, error), TileRead::kFound);
    EXPECT_EQ(bytes, "png bytes");
    EXPECT_EQ(store.Read({4, 8, 7}, bytes, error), TileRead::kMissing);
    EXPECT_EQ(store.Read({4, 8, 6}, bytes, error), TileRead::kError);
    EXPECT_EQ(store.Read({4, 16, 5}, bytes, error), TileRead::kMissing);
}

TEST(TileCacheRules, ExpiryIsTheServersButAtLeastSevenDays) {
    const int64_t now = 1'800'000'000;
    const int64_t week = kMinTileLifetimeSeconds;
    struct Case {
        const char* cacheControl;
        const char* expires;
        int64_t expected;
    };
    const Case cases[] = {
        {"", "", now + week},
        {"max-age=2592000", "", now + 2592000},
        {"public, max-age=60", "", now + week},
        {"max-age=2592000, s-maxage=864000", "", now + 864000},
        {"", "Wed, 21 Oct 2026 07:28:00 GMT", now + week},  // already past
        {"", "Thu, 01 Jan 2032 00:00:00 GMT", 1956528000},  // years ahead
        {"no-max-age=9", "not a date", now + week},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.cacheControl) + " | " + c.expires);
        EXPECT_EQ(TileExpiry(now, c.cacheControl, c.expires), c.expected);
    }
    EXPECT_EQ(ParseHttpDate("Sun, 06 Nov 1994 08:49:37 GMT"), 784111777);
    EXPECT_EQ(ParseHttpDate("Sun, 31 Feb 1994 08:49:37 GMT"), -1);
}

TEST(TileDiskCache, EvictsLeastRecentlyUsedUnderItsLimitAcrossRestarts) {
    testing::ScratchDir scratch;
    const fs::path& dir = scratch.path();
    const std::string tile(1000, 'p');
    int64_t now = 1'800'000'000;
    {
        TileDiskCache cache(dir, 3500);
        for (int x = 0; x < 3; ++x) {
            ASSERT_TRUE(cache.Store({5, x, 1}, tile, {"\"e\"", "", 1'800'000'100}, now));
            ++now;
        }
        std::string bytes;
        TileValidators v;
        ASSERT_TRUE(cache.Lookup({5, 0, 1}, bytes, v, now++));  // 0 is now the most recent
        EXPECT_EQ(v.etag, "\"e\"");
        EXPECT_EQ(v.expiresUtc, 1'800'000'100);
        ASSERT_TRUE(cache.Store({5, 3, 1}, tile, {}, now++));  // over the limit: 1 goes
        EXPECT_EQ(cache.count(), 3u);
        EXPECT_FALSE(cache.Contains({5, 1, 1}));
        EXPECT_TRUE(cache.Contains({5, 0, 1}));
        EXPECT_FALSE(fs::exists(dir / "5" / "1" / "1.tile"));
    }
    // A new start finds the same tiles, oldest use first: a smaller limit drops 2, then 0.
    TileDiskCache again(dir, 3500);
    EXPECT_EQ(again.count(), 3u);
    EXPECT_EQ(again.totalBytes(), 3000u);
    again.SetLimit(1500);
    EXPECT_EQ(again.count(), 1u);
    EXPECT_TRUE(again.Contains({5, 3, 1}));
}

}  // namespace
}  // namespace plovane
