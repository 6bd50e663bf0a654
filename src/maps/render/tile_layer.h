// The tile background under the map: picks the tile zoom for the view, draws the tiles it
// has (scaled for a fractional zoom), stands in for a missing tile with a lower-zoom tile
// scaled up or with the bundled base layer, and asks the fetcher for what is missing (the
// view and one ring around it, nothing more). Decoded tiles are kept in memory, least
// recently used dropped first. A tile that cannot be decoded is drawn blank, with one notice.
#pragma once

#include <QImage>
#include <QPainter>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/clock.h"
#include "maps/map_projection.h"
#include "maps/tile_disk_cache.h"
#include "maps/tile_source.h"

namespace plovane {

// Fetches tiles from the network; implemented by the window system's network code.
class TileFetcher {
  public:
    virtual ~TileFetcher() = default;
    // What the view needs now, most wanted first; replaces the earlier wish. Stale tiles come
    // with the validators to revalidate them.
    struct Wish {
        TileId tile;
        TileValidators validators;  // empty: not cached
    };
    virtual void Want(const std::vector<Wish>& wishes) = 0;
    // Fetches in progress or queued.
    virtual bool Busy() const = 0;
};

struct TileLayerSetup {
    std::unique_ptr<TileStore> local;      // an MBTiles file or folder
    std::unique_ptr<TileDiskCache> cache;  // online: what was fetched before
    TileFetcher* fetcher = nullptr;        // online: the network (outlives the layer)
    std::unique_ptr<TileStore> base;       // the bundled base layer, drawn while tiles are missing
    int maxZoom = kOnlineMaxZoom;
    std::string attribution;  // drawn in the map's bottom-right corner when not empty
};

// Thread-compatible: the user-interface thread only.
class CTileLayer {
  public:
    using NoticeSink = std::function<void(const std::string&)>;
    // Decoded tiles kept in memory (256 x 256 x 4 bytes each).
    static constexpr size_t kMemoryTiles = 384;

    CTileLayer(TileLayerSetup setup, const Clock& clock, NoticeSink notice);

    // Draws the tiles under a Mercator projection onto the map area and the attribution.
    void Draw(QPainter& painter, const MapProjection& projection);
    void DrawAttribution(QPainter& painter, int clientWidth, int clientHeight) const;

    // The network's answers: new bytes (stored in the disk cache), the cached bytes still
    // good (a 304), or no tile (an error or 404: the placeholder stays).
    void Deliver(const TileId& tile, const std::string& bytes, const TileValidators& validators);
    void Confirm(const TileId& tile, const TileValidators& validators);

    int TileZoom(const MapProjection& projection) const;
    bool online() const { return setup_.fetcher != nullptr; }
    const std::string& attribution() const { return setup_.attribution; }
    TileDiskCache* diskCache() { return setup_.cache.get(); }
    // Tiles decoded so far (the tests' and benchmark's view of the memory cache).
    size_t decodedCount() const { return memory_.size(); }

  private:
    enum class State { kImage, kBlank, kMissing };
    struct Slot {
        State state = State::kMissing;
        QImage image;
        TileValidators validators;  // online tiles: when to ask again, and how
        std::list<uint64_t>::iterator use;
    };
    // The tile from memory, the local store or the disk cache; null when there is none now.
    // `wishes` collects what the network should fetch.
    const Slot* Find(const TileId& tile, std::vector<TileFetcher::Wish>* wishes);
    const Slot* FindBase(const TileId& tile);
    Slot& Put(uint64_t key, State state, QImage image, const TileValidators& validators = {});
    QImage Decode(const std::string& bytes, const TileId& tile);
    static void DrawTile(QPainter& painter, const QRectF& target, const QImage& image);
    // Draws `tile`'s area from the nearest ancestor this layer has; false if none.
    bool DrawPlaceholder(QPainter& painter, const TileId& tile, const QRectF& target);
    int64_t NowUtc() const;
    static constexpr uint64_t kBaseKey = uint64_t{1} << 63;

    TileLayerSetup setup_;
    const Clock& clock_;
    NoticeSink notice_;
    bool noticed_ = false;  // one notice per layer: a broken source would flood the status
    std::unordered_map<uint64_t, Slot> memory_;  // base layer tiles under kBaseKey
    std::list<uint64_t> use_;
};

}  // namespace plovane
