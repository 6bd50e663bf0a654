// SPDX-License-Identifier: GPL-3.0-or-later
// The tile background under the map: picks the tile zoom for the view, draws the tiles it
// has (scaled for a fractional zoom), stands in for a missing tile with a lower-zoom tile
// scaled up or with the bundled base layer, and asks the fetcher for what is missing (the
// view and one ring around it, nothing more). Decoded tiles are kept in memory, least
// recently used dropped first. A tile that cannot be decoded is drawn blank, with one notice.
// Local stores (an MBTiles file, a folder, the base layer) are read and decoded on a thread of
// the layer's own, so a slow or crafted file never holds the window up: a tile not read yet
// is drawn from its stand-ins and the layer says when more can be drawn. Beyond the base
// layer's last zoom, and at night, land and sea are drawn from vectors where no tile is.
#pragma once

#include <QImage>
#include <QPainter>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/clock.h"
#include "maps/map_projection.h"
#include "maps/render/land_layer.h"
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
    std::shared_ptr<CLandLayer> land;      // under missing tiles beyond the base layer's zoom
    int maxZoom = kOnlineMaxZoom;
    std::string attribution;  // drawn in the map's bottom-right corner when not empty
};

// Thread-compatible: the user-interface thread only (its reader thread is its own business).
class CTileLayer {
  public:
    using NoticeSink = std::function<void(const std::string&)>;
    // Decoded tiles kept in memory (256 x 256 x 4 bytes each).
    static constexpr size_t kMemoryTiles = 384;

    CTileLayer(TileLayerSetup setup, const Clock& clock, NoticeSink notice);
    ~CTileLayer();
    CTileLayer(const CTileLayer&) = delete;
    CTileLayer& operator=(const CTileLayer&) = delete;

    // Called on the reader thread when tiles it read can be drawn: the map should be drawn
    // again (the callee must pass this on to its own thread). Set before the first Draw.
    void SetTilesRead(std::function<void()> tilesRead);
    // Local tiles asked for are still being read (those read are drawn by the next Draw).
    bool Reading() const;
    // Waits until the tiles asked for so far are read (the screenshot and the tests).
    void WaitRead();

    // Draws the tiles under a Mercator projection onto the map area and the attribution.
    void Draw(QPainter& painter, const MapProjection& projection);
    void DrawAttribution(QPainter& painter, int clientWidth, int clientHeight) const;
    // Night: land and sea from vectors in the night colours wherever no real tile is (the
    // base layer's day pictures are not used), and tile pictures dimmed.
    void SetNight(bool night) { night_ = night; }

    // The network's answers: new bytes (stored in the disk cache when they are a picture;
    // false when not), the cached bytes still good (a 304), or no tile (an error or 404: the
    // placeholder stays).
    bool Deliver(const TileId& tile, const std::string& bytes, const TileValidators& validators);
    // The source cannot be reached: said once on the status line, until a tile arrives again.
    void Unavailable(const std::string& reason);
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
    // `withBase`: the base layer may stand in (not where the land vectors are drawn).
    bool DrawPlaceholder(QPainter& painter, const TileId& tile, const QRectF& target,
                         bool withBase);
    // A missing tile: the placeholder, then any finer tiles of its area held in memory.
    void DrawStandIns(QPainter& painter, const TileId& tile, const QRectF& target, bool withBase);
    // At night a tile picture just drawn at `target` is darkened.
    void Dim(QPainter& painter, const QRectF& target) const;
    int64_t NowUtc() const;
    static constexpr uint64_t kBaseKey = uint64_t{1} << 63;

    // --- Reading local stores on the reader thread ---
    struct ReadJob {
        uint64_t key;
        TileId tile;
        bool base;  // from the base layer, else the local store
    };
    struct ReadDone {
        uint64_t key;
        TileId tile;
        TileRead read;
        QImage image;  // decoded; null when the bytes are not a picture
        std::string error;
    };
    void Request(uint64_t key, const TileId& tile, bool base);
    // Takes what the reader has finished into memory; drops the jobs not started (the view
    // has moved on; this drawing asks again for what it still needs).
    void TakeRead(bool dropQueued);
    void RunReader();
    static QImage DecodeBytes(const std::string& bytes);

    TileLayerSetup setup_;
    const Clock& clock_;
    NoticeSink notice_;
    bool noticed_ = false;  // one notice per layer: a broken source would flood the status
    bool unavailableSaid_ = false;
    bool night_ = false;
    std::unordered_map<uint64_t, Slot> memory_;  // base layer tiles under kBaseKey
    std::list<uint64_t> use_;
    int baseMaxZoom_ = 0;
    std::unordered_set<uint64_t> asked_;  // jobs sent to the reader and not yet taken back

    mutable std::mutex readMutex_;
    std::condition_variable readWake_;  // a job for the reader, or stop
    std::condition_variable readIdle_;  // the reader has nothing left to do
    std::deque<ReadJob> readQueue_;
    std::vector<ReadDone> readDone_;
    int reading_ = 0;  // jobs the reader is working on
    bool readStop_ = false;
    std::function<void()> tilesRead_;
    std::thread reader_;  // only with a local store or base layer
};

}  // namespace plovane
