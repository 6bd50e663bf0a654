// SPDX-License-Identifier: GPL-3.0-or-later
// The tile disk cache and its freshness rules.
#include "maps/tile_disk_cache.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include <sys/stat.h>

#include "maps/tile_source.h"

namespace plovane {
namespace fs = std::filesystem;
namespace {

constexpr size_t kMaxMetaBytes = 4096;

// Parses the digits of `text` after `directive=`; -1 when absent.
int64_t DirectiveSeconds(std::string_view text, std::string_view directive) {
    size_t at = 0;
    while ((at = text.find(directive, at)) != std::string_view::npos) {
        const bool startsWord = at == 0 || text[at - 1] == ' ' || text[at - 1] == ',';
        size_t i = at + directive.size();
        at = i;
        if (!startsWord || i >= text.size() || text[i] != '=')
            continue;
        int64_t value = 0;
        bool any = false;
        for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
            value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t{1} << 40);
            any = true;
        }
        if (any)
            return value;
    }
    return -1;
}

fs::file_time_type FileTimeOf(int64_t utcSeconds) {
    const auto system = std::chrono::system_clock::time_point(std::chrono::seconds(utcSeconds));
    return std::chrono::time_point_cast<fs::file_time_type::duration>(
        std::chrono::file_clock::from_sys(system));
}

}  // namespace

int64_t ParseHttpDate(std::string_view text) {
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char weekday[4] = {}, month[4] = {}, zone[4] = {};
    int day = 0, year = 0, hour = 0, minute = 0, second = 0;
    const std::string s(text.substr(0, 64));
    if (std::sscanf(s.c_str(), "%3s, %d %3s %d %d:%d:%d %3s", weekday, &day, month, &year, &hour,
                    &minute, &second, zone) != 8 ||
        std::string_view(zone) != "GMT") {
        return -1;
    }
    int m = -1;
    for (int i = 0; i < 12; ++i) {
        if (std::string_view(month) == kMonths[i])
            m = i;
    }
    if (m < 0 || day < 1 || day > 31 || year < 1970 || year > 9999 || hour > 23 || minute > 59 ||
        second > 60 || hour < 0 || minute < 0 || second < 0) {
        return -1;
    }
    const std::chrono::year_month_day ymd{std::chrono::year(year),
                                          std::chrono::month(static_cast<unsigned>(m + 1)),
                                          std::chrono::day(static_cast<unsigned>(day))};
    if (!ymd.ok())
        return -1;
    const int64_t days = std::chrono::sys_days(ymd).time_since_epoch().count();
    return days * 86400 + hour * 3600 + minute * 60 + second;
}

int64_t TileExpiry(int64_t nowUtc, std::string_view cacheControl, std::string_view expires) {
    int64_t expiry = -1;
    int64_t maxAge = DirectiveSeconds(cacheControl, "s-maxage");
    if (maxAge < 0)
        maxAge = DirectiveSeconds(cacheControl, "max-age");
    if (maxAge >= 0)
        expiry = nowUtc + maxAge;
    else if (!expires.empty())
        expiry = ParseHttpDate(expires);
    return std::max(expiry, nowUtc + kMinTileLifetimeSeconds);
}

uint64_t DiskBytes(const fs::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return 0;
    return static_cast<uint64_t>(info.st_blocks) * 512;
}

TileDiskCache::TileDiskCache(fs::path root, uint64_t limitBytes)
    : root_(std::move(root)), limit_(limitBytes), worker_([this] { Run(); }) {}

TileDiskCache::~TileDiskCache() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

fs::path TileDiskCache::FolderFor(const fs::path& cacheRoot, std::string_view urlTemplate) {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a: stable across runs and builds
    for (const char c : urlTemplate) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char name[17];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(hash));
    return cacheRoot / name;
}

fs::path TileDiskCache::DataPath(const TileId& t) const {
    return root_ / std::to_string(t.z) / std::to_string(t.x) / (std::to_string(t.y) + ".tile");
}

fs::path TileDiskCache::MetaPath(const TileId& t) const {
    return root_ / std::to_string(t.z) / std::to_string(t.x) / (std::to_string(t.y) + ".meta");
}

void TileDiskCache::Run() {
    Scan();
    std::unique_lock lock(mutex_);
    scanned_ = true;
    while (!stop_) {
        if (!Due()) {
            idle_.notify_all();
            wake_.wait(lock, [this] { return stop_ || Due(); });
            continue;
        }
        // The least recently used tile goes; its files are removed without the lock held.
        const uint64_t key = use_.back();
        use_.pop_back();
        const auto it = index_.find(key);
        if (it == index_.end())
            continue;
        const TileId tile = it->second.tile;
        total_ -= it->second.bytes;
        index_.erase(it);
        evicting_ = true;
        lock.unlock();
        {
            // Not while a store is making folders and writing into them.
            std::lock_guard tree(treeMutex_);
            std::error_code ec;
            fs::remove(DataPath(tile), ec);
            fs::remove(MetaPath(tile), ec);
            const fs::path column = DataPath(tile).parent_path();
            RemoveFolderIfEmpty(column);
            RemoveFolderIfEmpty(column.parent_path());
        }
        lock.lock();
        evicting_ = false;
    }
    idle_.notify_all();
}

void TileDiskCache::RemoveFolderIfEmpty(const fs::path& folder) {
    std::error_code ec;
    if (!fs::remove(folder, ec))  // fails, as it should, while anything is left inside
        return;
    std::lock_guard lock(mutex_);
    if (const auto it = folders_.find(folder.string()); it != folders_.end()) {
        total_ -= it->second;
        folders_.erase(it);
    }
}

void TileDiskCache::Scan() {
    std::error_code ec;
    if (!fs::is_directory(root_, ec))
        return;
    struct Found {
        TileId tile;
        uint64_t bytes;
        fs::file_time_type used;
    };
    std::vector<Found> found;
    std::unordered_map<std::string, uint64_t> folders{{root_.string(), DiskBytes(root_)}};
    for (auto it = fs::recursive_directory_iterator(root_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (found.size() % 256 == 0) {
            std::lock_guard lock(mutex_);
            if (stop_)
                return;
        }
        const fs::path& p = it->path();
        if (it->is_directory(ec)) {
            folders.emplace(p.string(), DiskBytes(p));
            continue;
        }
        if (p.extension() != ".tile" || !it->is_regular_file(ec))
            continue;
        TileId t;
        try {
            t.y = std::stoi(p.stem().string());
            t.x = std::stoi(p.parent_path().filename().string());
            t.z = std::stoi(p.parent_path().parent_path().filename().string());
        } catch (...) {
            continue;  // not one of ours
        }
        if (!IsValidTile(t))
            continue;
        fs::path meta = p;
        meta.replace_extension(".meta");
        found.push_back({t, DiskBytes(p) + DiskBytes(meta), it->last_write_time(ec)});
    }
    // Newest first, each behind the ones before; tiles stored meanwhile stay in front.
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return a.used > b.used; });
    std::lock_guard lock(mutex_);
    for (const Found& f : found) {
        if (index_.count(f.tile.Key()))
            continue;
        use_.push_back(f.tile.Key());
        index_[f.tile.Key()] = Entry{f.tile, f.bytes, std::prev(use_.end())};
        total_ += f.bytes;
    }
    for (const auto& [path, bytes] : folders) {
        if (folders_.emplace(path, bytes).second)
            total_ += bytes;
    }
}

void TileDiskCache::Remember(const TileId& tile, uint64_t bytes) {
    auto it = index_.find(tile.Key());
    if (it != index_.end()) {
        total_ -= it->second.bytes;
        use_.erase(it->second.use);
        index_.erase(it);
    }
    use_.push_front(tile.Key());
    index_[tile.Key()] = Entry{tile, bytes, use_.begin()};
    total_ += bytes;
}

void TileDiskCache::MarkUsed(const TileId& tile, int64_t nowUtc) {
    std::error_code ec;
    fs::last_write_time(DataPath(tile), FileTimeOf(nowUtc), ec);
    std::lock_guard lock(mutex_);
    if (const auto it = index_.find(tile.Key()); it != index_.end())
        use_.splice(use_.begin(), use_, it->second.use);
}

void TileDiskCache::SetLimit(uint64_t limitBytes) {
    {
        std::lock_guard lock(mutex_);
        limit_ = limitBytes;
    }
    wake_.notify_all();
}

void TileDiskCache::WaitIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return stop_ || (scanned_ && !evicting_ && !Due()); });
}

uint64_t TileDiskCache::limit() const {
    std::lock_guard lock(mutex_);
    return limit_;
}

uint64_t TileDiskCache::totalBytes() const {
    std::lock_guard lock(mutex_);
    return total_;
}

size_t TileDiskCache::count() const {
    std::lock_guard lock(mutex_);
    return index_.size();
}

bool TileDiskCache::Contains(const TileId& tile) const {
    {
        std::lock_guard lock(mutex_);
        if (index_.count(tile.Key()))
            return true;
        if (scanned_)
            return false;
    }
    std::error_code ec;
    return fs::is_regular_file(DataPath(tile), ec);  // the scan has not reached it yet
}

bool TileDiskCache::Lookup(const TileId& tile, std::string& bytes, TileValidators& validators,
                           int64_t nowUtc) {
    std::string error, meta;
    if (!ReadSmallFile(DataPath(tile), kMaxTileBytes, bytes, error)) {
        std::lock_guard lock(mutex_);
        if (const auto it = index_.find(tile.Key()); it != index_.end()) {
            total_ -= it->second.bytes;
            use_.erase(it->second.use);
            index_.erase(it);
        }
        return false;
    }
    validators = {};
    if (ReadSmallFile(MetaPath(tile), kMaxMetaBytes, meta, error)) {
        std::istringstream in(meta);
        std::string expires;
        std::getline(in, expires);
        std::getline(in, validators.etag);
        std::getline(in, validators.lastModified);
        validators.expiresUtc = std::strtoll(expires.c_str(), nullptr, 10);
    }
    MarkUsed(tile, nowUtc);
    return true;
}

bool TileDiskCache::Store(const TileId& tile, const std::string& bytes,
                          const TileValidators& validators, int64_t nowUtc) {
    if (!IsValidTile(tile) || bytes.size() > kMaxTileBytes)
        return false;
    // The folders made here count as well as the files.
    std::vector<std::string> made;
    bool ok = false;
    {
        // The worker removes folders it empties; none may go between making and filling.
        std::lock_guard tree(treeMutex_);
        std::error_code ec;
        fs::create_directories(root_.parent_path(), ec);
        for (const fs::path& folder :
             {root_, root_ / std::to_string(tile.z), DataPath(tile).parent_path()}) {
            if (fs::create_directory(folder, ec))
                made.push_back(folder.string());
        }
        {
            std::ofstream out(DataPath(tile), std::ios::binary | std::ios::trunc);
            ok = static_cast<bool>(
                out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
        }
        ok = ok && WriteMeta(tile, validators);
    }
    {
        std::lock_guard lock(mutex_);
        for (const std::string& folder : made) {
            const uint64_t size = DiskBytes(folder);
            if (folders_.emplace(folder, size).second)
                total_ += size;
        }
        if (ok)
            Remember(tile, DiskBytes(DataPath(tile)) + DiskBytes(MetaPath(tile)));
    }
    wake_.notify_all();
    if (ok)
        MarkUsed(tile, nowUtc);
    return ok;
}

bool TileDiskCache::WriteMeta(const TileId& tile, const TileValidators& validators) {
    // Header texts with line breaks would break the file's lines; they are not valid anyway.
    const auto oneLine = [](std::string s) {
        s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == '\r' || c == '\n'; }),
                s.end());
        return s.substr(0, 1000);
    };
    std::ofstream out(MetaPath(tile), std::ios::trunc);
    out << validators.expiresUtc << '\n'
        << oneLine(validators.etag) << '\n'
        << oneLine(validators.lastModified) << '\n';
    return static_cast<bool>(out);
}

bool TileDiskCache::Revalidate(const TileId& tile, const TileValidators& validators,
                               int64_t nowUtc) {
    bool ok = false;
    {
        // An evicted tile stays gone: no lone .meta written into a folder being removed.
        std::lock_guard tree(treeMutex_);
        std::error_code ec;
        if (!fs::is_regular_file(DataPath(tile), ec))
            return false;
        ok = WriteMeta(tile, validators);
    }
    {
        std::lock_guard lock(mutex_);
        if (const auto it = index_.find(tile.Key()); it != index_.end()) {
            const uint64_t bytes = DiskBytes(DataPath(tile)) + DiskBytes(MetaPath(tile));
            total_ = total_ - it->second.bytes + bytes;
            it->second.bytes = bytes;
        }
    }
    wake_.notify_all();
    MarkUsed(tile, nowUtc);
    return ok;
}

}  // namespace plovane
