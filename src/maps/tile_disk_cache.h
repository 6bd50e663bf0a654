// SPDX-License-Identifier: GPL-3.0-or-later
// The disk cache of tiles fetched online, one folder per source under the XDG cache folder:
// <root>/<source hash>/<z>/<x>/<y>.tile holds the bytes and <y>.meta the validators
// (ETag, Last-Modified) and the expiry. The bookkeeping keeps what the folder takes on disk
// under a limit, evicting the least recently used tiles first (and the folders they empty); a file's modification time is its last use,
// so the order survives a restart. HTTP caching rules (how long a tile stays fresh) are
// here too, apart from the network code.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <list>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>

#include "maps/web_mercator.h"

namespace plovane {

// Tiles stay fresh at least this long, whatever the server says.
inline constexpr int64_t kMinTileLifetimeSeconds = 7 * 24 * 3600;

struct TileValidators {
    std::string etag;
    std::string lastModified;  // the server's text, sent back as If-Modified-Since
    int64_t expiresUtc = 0;    // seconds since 1970
};

// When a response fetched at `nowUtc` goes stale: Cache-Control max-age (s-maxage, then
// max-age), else Expires (an HTTP date), and never sooner than seven days.
int64_t TileExpiry(int64_t nowUtc, std::string_view cacheControl, std::string_view expires);
// An HTTP date (RFC 7231 IMF-fixdate, e.g. "Sun, 06 Nov 1994 08:49:37 GMT") in seconds since
// 1970; -1 when it cannot be read.
int64_t ParseHttpDate(std::string_view text);

// What a file or folder takes on disk (its allocated blocks), 0 when it cannot be read.
uint64_t DiskBytes(const std::filesystem::path& path);

// Thread-safe. The public calls belong to the user-interface thread; a worker thread of the
// cache's own reads what is on disk at the start and evicts, so neither holds the window up.
// The size counted is what the cache takes on disk: tiles, their .meta files and folders.
class TileDiskCache {
  public:
    // root: this source's folder (created on the first Store). The worker scans what is there
    // and evicts down to the limit.
    TileDiskCache(std::filesystem::path root, uint64_t limitBytes);
    ~TileDiskCache();
    TileDiskCache(const TileDiskCache&) = delete;
    TileDiskCache& operator=(const TileDiskCache&) = delete;

    // The folder for a source under the cache root: a stable hash of its URL template.
    static std::filesystem::path FolderFor(const std::filesystem::path& cacheRoot,
                                           std::string_view urlTemplate);

    // The tile's bytes and validators; marks it used. False when not cached.
    bool Lookup(const TileId& tile, std::string& bytes, TileValidators& validators, int64_t nowUtc);
    // Stores (replacing) a tile; the worker evicts down to the limit. False when it cannot write.
    bool Store(const TileId& tile, const std::string& bytes, const TileValidators& validators,
               int64_t nowUtc);
    // A 304 answer: new validators for the bytes already held.
    bool Revalidate(const TileId& tile, const TileValidators& validators, int64_t nowUtc);

    void SetLimit(uint64_t limitBytes);
    // Waits until the first scan and the evictions due so far are done.
    void WaitIdle();
    uint64_t limit() const;
    uint64_t totalBytes() const;
    size_t count() const;
    bool Contains(const TileId& tile) const;

  private:
    struct Entry {
        TileId tile;
        uint64_t bytes = 0;
        std::list<uint64_t>::iterator use;  // position in use_ (front: most recent)
    };
    std::filesystem::path DataPath(const TileId& tile) const;
    std::filesystem::path MetaPath(const TileId& tile) const;
    bool WriteMeta(const TileId& tile, const TileValidators& validators);
    void MarkUsed(const TileId& tile, int64_t nowUtc);
    void Remember(const TileId& tile, uint64_t bytes);  // mutex_ held
    bool Due() const { return total_ > limit_ && !use_.empty(); }  // mutex_ held
    void Run();
    void Scan();
    void RemoveFolderIfEmpty(const std::filesystem::path& folder);

    const std::filesystem::path root_;
    mutable std::mutex mutex_;
    std::mutex treeMutex_;  // folders made and filled, or emptied and removed; before mutex_
    std::condition_variable wake_;  // work for the worker, or stop
    std::condition_variable idle_;  // the worker is waiting
    uint64_t limit_;
    uint64_t total_ = 0;
    bool scanned_ = false;
    bool evicting_ = false;
    bool stop_ = false;
    std::unordered_map<uint64_t, Entry> index_;
    std::list<uint64_t> use_;
    std::unordered_map<std::string, uint64_t> folders_;  // the folders counted, by path
    std::thread worker_;                                 // last: starts when the rest is ready
};

}  // namespace plovane
