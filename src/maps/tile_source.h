// SPDX-License-Identifier: GPL-3.0-or-later
// Where map tiles come from: an XYZ URL template (online), an MBTiles file or a folder of
// z/x/y.png (offline), or none (the plain map). The text form is what the settings and
// --tiles hold; the local stores read one tile's bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "maps/web_mercator.h"

namespace plovane {

inline constexpr const char* kOsmTileUrl = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";
inline constexpr const char* kOsmAttribution = "\u00a9 OpenStreetMap contributors";
// The bundled base layer's file name in the data folder's maps/.
inline constexpr const char* kBaseLayerFile = "base-layer.mbtiles";
// Tiles larger than this are refused as corrupt (a PNG tile is some tens of KB).
inline constexpr size_t kMaxTileBytes = 2 * 1024 * 1024;
// The deepest zoom online sources are asked for.
inline constexpr int kOnlineMaxZoom = 19;

enum class TileSourceKind { kNone, kUrl, kMbtiles, kFolder };

struct TileSourceChoice {
    TileSourceKind kind = TileSourceKind::kNone;
    std::string location;  // the URL template, file or folder
    bool operator==(const TileSourceChoice&) const = default;
};

// "" or "none" (any case): none; "osm": OpenStreetMap's standard tiles; http:// or https://
// with {z}, {x} and {y}: a URL template; a name ending in .mbtiles: that file; anything else
// a folder. False with a reason for a URL without its three fields.
bool ParseTileSource(std::string_view text, TileSourceChoice& choice, std::string& error);
// The URL of one tile.
std::string ExpandTileUrl(std::string_view urlTemplate, const TileId& tile);
// Tiles served by openstreetmap.org, which must be credited on the map.
bool IsOsmTileUrl(std::string_view url);
// The text drawn on the map: OpenStreetMap's credit for its tiles, else the setting's text.
std::string TileAttribution(const TileSourceChoice& choice, const std::string& configured);

enum class TileRead { kFound, kMissing, kError };

// A local tile store. Thread-compatible: one thread at a time.
class TileStore {
  public:
    virtual ~TileStore() = default;
    // kFound with the tile's bytes; kMissing when the store has no such tile; kError with
    // a reason in `error` for a store or tile that cannot be read.
    virtual TileRead Read(const TileId& tile, std::string& bytes, std::string& error) = 0;
    // The deepest zoom the store holds (tiles deeper are drawn from this one, scaled).
    virtual int MaxZoom() const = 0;
};

// z/x/y.png under a folder (.jpg and .webp names are tried too).
class FolderTileStore : public TileStore {
  public:
    explicit FolderTileStore(std::filesystem::path root, int maxZoom = kOnlineMaxZoom);
    TileRead Read(const TileId& tile, std::string& bytes, std::string& error) override;
    int MaxZoom() const override { return maxZoom_; }

  private:
    std::filesystem::path root_;
    int maxZoom_;
};

// Reads a whole file of at most `limit` bytes; false with a reason otherwise.
bool ReadSmallFile(const std::filesystem::path& path, size_t limit, std::string& bytes,
                   std::string& error);

}  // namespace plovane
