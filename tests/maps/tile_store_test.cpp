// SPDX-License-Identifier: GPL-3.0-or-later
// Local tile stores (MBTiles rows bottom-up, folders z/x/y, damaged files refused) and the disk
// cache dropping the least recently used tiles under its limit, across a restart too.
#include <gtest/gtest.h>
#include <sqlite3.h>

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

void Sql(const fs::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.string().c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);
}

// Crafted files: an endless view where the tiles table belongs is refused at once, a tile
// larger than any real one is refused without being loaded, and a maxzoom that is not a
// number is ignored in favour of the deepest tile held.
TEST(Mbtiles, HostileFilesNeitherHangNorLoadHugeTilesNorHideTiles) {
    testing::ScratchDir scratch;
    const fs::path view = scratch.path() / "view.mbtiles";
    Sql(view,
        "CREATE TABLE metadata (name TEXT, value TEXT);"
        "INSERT INTO metadata VALUES ('maxzoom', '3');"
        "CREATE VIEW tiles AS WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r)"
        " SELECT 0 AS zoom_level, 0 AS tile_column, 0 AS tile_row, x'00' AS tile_data"
        " FROM r WHERE n < 0;");
    MbtilesStore endless(view);
    std::string bytes, error;
    EXPECT_EQ(endless.Read({0, 0, 0}, bytes, error), TileRead::kError);  // stopped, not endless

    // The deduplicating layout: `tiles` a view over `map` and `images`.
    const fs::path dedup = scratch.path() / "dedup.mbtiles";
    Sql(dedup,
        "CREATE TABLE metadata (name TEXT, value TEXT);"
        "CREATE TABLE map (zoom_level INTEGER, tile_column INTEGER, tile_row INTEGER, tile_id TEXT);"
        "CREATE TABLE images (tile_id TEXT, tile_data BLOB);"
        "INSERT INTO map VALUES (1, 0, 1, 'a'); INSERT INTO images VALUES ('a', 'dedup');"
        "CREATE VIEW tiles AS SELECT zoom_level, tile_column, tile_row, tile_data"
        " FROM map JOIN images ON images.tile_id = map.tile_id;");
    MbtilesStore shared(dedup);
    EXPECT_EQ(shared.MaxZoom(), 1);
    EXPECT_EQ(shared.Read({1, 0, 0}, bytes, error), TileRead::kFound) << error;
    EXPECT_EQ(bytes, "dedup");

    const fs::path file = scratch.path() / "big.mbtiles";
    MbtilesWriter writer;
    ASSERT_TRUE(writer.Create(file, "big", 0, 3, ""));
    ASSERT_TRUE(writer.Add({3, 1, 1}, "small"));
    ASSERT_TRUE(writer.Add({0, 0, 0}, std::string(8 * kMaxTileBytes, 'b')));
    ASSERT_TRUE(writer.Finish());
    for (const char* maxzoom : {"abc", "", "99", "-1", "3x"}) {
        SCOPED_TRACE(maxzoom);
        Sql(file, std::string("UPDATE metadata SET value='") + maxzoom + "' WHERE name='maxzoom'");
        MbtilesStore store(file);
        ASSERT_TRUE(store.IsOpen()) << store.error();
        EXPECT_EQ(store.MaxZoom(), 3);
        EXPECT_EQ(store.Read({3, 1, 1}, bytes, error), TileRead::kFound);
        sqlite3_int64 current = 0, peak = 0;
        sqlite3_status64(SQLITE_STATUS_MEMORY_USED, &current, &peak, 1);
        EXPECT_EQ(store.Read({0, 0, 0}, bytes, error), TileRead::kError);
        sqlite3_status64(SQLITE_STATUS_MEMORY_USED, &current, &peak, 0);
        EXPECT_LT(peak, static_cast<sqlite3_int64>(kMaxTileBytes));
    }
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

// What a folder takes on disk, and whether an emptied folder was left behind.
uint64_t DiskUsage(const fs::path& root, bool* emptyFolder = nullptr) {
    uint64_t total = DiskBytes(root);
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        total += DiskBytes(entry.path());
        if (emptyFolder && entry.is_directory() && fs::is_empty(entry.path()))
            *emptyFolder = true;
    }
    return total;
}

TEST(TileDiskCache, EvictsLeastRecentlyUsedUnderItsLimitAcrossRestarts) {
    testing::ScratchDir scratch;
    const fs::path dir = scratch.path() / "cache";
    const std::string tile(1000, 'p');
    int64_t now = 1'800'000'000;
    uint64_t threeTiles = 0;
    {
        TileDiskCache cache(dir, 1 << 20);
        for (int x = 0; x < 3; ++x) {
            ASSERT_TRUE(cache.Store({5, x, 1}, tile, {"\"e\"", "", 1'800'000'100}, now));
            ++now;
        }
        cache.WaitIdle();
        // Tiles, their .meta files and folders: all of it counts.
        threeTiles = DiskUsage(dir);
        EXPECT_EQ(cache.totalBytes(), threeTiles);
        EXPECT_GT(threeTiles, 3 * tile.size());
        cache.SetLimit(threeTiles);
        std::string bytes;
        TileValidators v;
        ASSERT_TRUE(cache.Lookup({5, 0, 1}, bytes, v, now++));  // 0 is now the most recent
        EXPECT_EQ(v.etag, "\"e\"");
        EXPECT_EQ(v.expiresUtc, 1'800'000'100);
        ASSERT_TRUE(cache.Store({5, 3, 1}, tile, {}, now++));  // over the limit: 1 goes
        cache.WaitIdle();
        EXPECT_EQ(cache.count(), 3u);
        EXPECT_FALSE(cache.Contains({5, 1, 1}));
        EXPECT_TRUE(cache.Contains({5, 0, 1}));
        EXPECT_FALSE(fs::exists(dir / "5" / "1"));  // its folder went with it
        EXPECT_EQ(DiskUsage(dir), threeTiles);
    }
    // A new start finds the same tiles, oldest use first: a smaller limit drops 2, then 0.
    TileDiskCache again(dir, threeTiles);
    again.WaitIdle();
    EXPECT_EQ(again.count(), 3u);
    EXPECT_EQ(again.totalBytes(), threeTiles);
    again.SetLimit(threeTiles / 2);
    again.WaitIdle();
    EXPECT_EQ(again.count(), 1u);
    EXPECT_TRUE(again.Contains({5, 3, 1}));
}

// A full cache met at the start is read and cut down by the cache's worker while the window
// goes on using it: what stays on disk is within the limit, with no empty folders left.
TEST(Threads, TileDiskCacheScansAndEvictsOnItsOwnThread) {
    testing::ScratchDir scratch;
    const fs::path dir = scratch.path() / "cache";
    const std::string tile(3000, 't');
    {
        TileDiskCache fill(dir, uint64_t{1} << 30);
        for (int i = 0; i < 300; ++i)
            ASSERT_TRUE(fill.Store({9, i % 40, i / 40}, tile, {}, 1'800'000'000 + i));
    }
    const uint64_t limit = 64 * 1024;
    TileDiskCache cache(dir, limit);
    std::string bytes;
    TileValidators v;
    for (int i = 0; i < 50; ++i) {
        cache.Lookup({9, i % 40, i / 40}, bytes, v, 1'900'000'000);
        ASSERT_TRUE(cache.Store({10, i, 0}, tile, {}, 1'900'000'000 + i));
    }
    cache.WaitIdle();
    bool emptyFolder = false;
    const uint64_t used = DiskUsage(dir, &emptyFolder);
    EXPECT_LE(used, limit);
    EXPECT_EQ(cache.totalBytes(), used);
    EXPECT_FALSE(emptyFolder);
    EXPECT_TRUE(cache.Contains({10, 49, 0}));  // the newest stays
}

}  // namespace
}  // namespace plovane
