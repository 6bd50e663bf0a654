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

TEST(Mbtiles, ReadsTheXyzTileFromItsTmsRow) {
    testing::ScratchDir scratch;
    const fs::path& dir = scratch.path();
    const fs::path file = dir / "town.mbtiles";
    MbtilesWriter writer;
    ASSERT_TRUE(writer.Create(file, "town", 0, 3, "test")) << writer.error();
    for (const TileId& t : {TileId{0, 0, 0}, TileId{3, 1, 0}, TileId{3, 1, 7}, TileId{3, 6, 2}})
        ASSERT_TRUE(writer.Add(t, Bytes(t)));
    ASSERT_TRUE(writer.Finish()) << writer.error();

    MbtilesStore store(file);
    ASSERT_TRUE(store.IsOpen()) << store.error();
    EXPECT_EQ(store.MaxZoom(), 3);
    for (const TileId& t : {TileId{0, 0, 0}, TileId{3, 1, 0}, TileId{3, 1, 7}, TileId{3, 6, 2}}) {
        std::string bytes, error;
        ASSERT_EQ(store.Read(t, bytes, error), TileRead::kFound);
        EXPECT_EQ(bytes, Bytes(t));
    }
    std::string bytes, error;
    EXPECT_EQ(store.Read({3, 6, 5}, bytes, error), TileRead::kMissing);  // row 2 is y 5's TMS twin
    EXPECT_EQ(store.Read({3, 8, 0}, bytes, error), TileRead::kMissing);  // outside the grid
}

TEST(Mbtiles, DamagedFilesAreRefusedWithAReason) {
    testing::ScratchDir scratch;
    const fs::path& dir = scratch.path();
    const fs::path good = dir / "good.mbtiles";
    {
        MbtilesWriter writer;
        ASSERT_TRUE(writer.Create(good, "x", 0, 0, ""));
        ASSERT_TRUE(writer.Finish());
    }
    std::string whole;
    std::string error;
    ASSERT_TRUE(ReadSmallFile(good, 1 << 20, whole, error));
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"text.mbtiles", "not a database at all\n"},
        {"half.mbtiles", whole.substr(0, whole.size() / 2)},
        {"empty.mbtiles", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(dir / c.name, std::ios::binary) << c.bytes;
        MbtilesStore store(dir / c.name);
        std::string bytes, readError;
        if (store.IsOpen())  // SQLite may open a short file and fail on the first read
            EXPECT_NE(store.Read({0, 0, 0}, bytes, readError), TileRead::kFound);
        else
            EXPECT_FALSE(store.error().empty());
    }
    MbtilesStore missing(dir / "none.mbtiles");
    EXPECT_FALSE(missing.IsOpen());
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
