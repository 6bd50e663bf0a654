// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds bytes to the tile read path: as an MBTiles file (SQLite) read for a few tiles, and as
// the HTTP caching headers and tile source text the disk cache and settings read.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "maps/mbtiles.h"
#include "maps/tile_disk_cache.h"
#include "maps/tile_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace plovane;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("plovane-fuzz-" + std::to_string(::getpid()) + ".mbtiles");
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    {
        MbtilesStore store(file);
        if (!store.IsOpen() && store.error().empty())
            __builtin_trap();  // a refusal always says why
        for (const TileId& tile : {TileId{0, 0, 0}, TileId{1, 1, 0}, TileId{5, 16, 10}}) {
            std::string out, error;
            const TileRead read = store.Read(tile, out, error);
            if (read == TileRead::kFound && out.size() > kMaxTileBytes)
                __builtin_trap();
            if (read == TileRead::kError && error.empty())
                __builtin_trap();
        }
        if (store.MaxZoom() < 0 || store.MaxZoom() > kMaxTileZoom)
            __builtin_trap();
    }
    std::filesystem::remove(file);

    const int64_t now = 1'800'000'000;
    if (TileExpiry(now, bytes, bytes) < now + kMinTileLifetimeSeconds)
        __builtin_trap();
    (void)ParseHttpDate(bytes);
    TileSourceChoice choice;
    std::string error;
    (void)ParseTileSource(bytes, choice, error);
    return 0;
}
