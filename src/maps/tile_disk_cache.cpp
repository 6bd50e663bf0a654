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

TileDiskCache::TileDiskCache(fs::path root, uint64_t limitBytes)
    : root_(std::move(root)), limit_(limitBytes) {
    Scan();
    Evict();
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
    for (auto it = fs::recursive_directory_iterator(root_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const fs::path& p = it->path();
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
        found.push_back({t, it->file_size(ec), it->last_write_time(ec)});
    }
    // Oldest first, so each Remember puts the newer ones in front.
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return a.used < b.used; });
    for (const Found& f : found)
        Remember(f.tile, f.bytes);
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

void TileDiskCache::MarkUsed(Entry& entry, int64_t nowUtc) {
    use_.splice(use_.begin(), use_, entry.use);
    std::error_code ec;
    fs::last_write_time(DataPath(entry.tile), FileTimeOf(nowUtc), ec);
}

void TileDiskCache::Evict() {
    while (total_ > limit_ && !use_.empty()) {
        const uint64_t key = use_.back();
        use_.pop_back();
        const auto it = index_.find(key);
        if (it == index_.end())
            continue;
        std::error_code ec;
        fs::remove(DataPath(it->second.tile), ec);
        fs::remove(MetaPath(it->second.tile), ec);
        total_ -= it->second.bytes;
        index_.erase(it);
    }
}

void TileDiskCache::SetLimit(uint64_t limitBytes) {
    limit_ = limitBytes;
    Evict();
}

bool TileDiskCache::Lookup(const TileId& tile, std::string& bytes, TileValidators& validators,
                           int64_t nowUtc) {
    const auto it = index_.find(tile.Key());
    if (it == index_.end())
        return false;
    std::string error, meta;
    if (!ReadSmallFile(DataPath(tile), kMaxTileBytes, bytes, error)) {
        total_ -= it->second.bytes;
        use_.erase(it->second.use);
        index_.erase(it);
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
    MarkUsed(it->second, nowUtc);
    return true;
}

bool TileDiskCache::Store(const TileId& tile, const std::string& bytes,
                          const TileValidators& validators, int64_t nowUtc) {
    if (!IsValidTile(tile) || bytes.size() > kMaxTileBytes)
        return false;
    std::error_code ec;
    fs::create_directories(DataPath(tile).parent_path(), ec);
    {
        std::ofstream out(DataPath(tile), std::ios::binary | std::ios::trunc);
        if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
            return false;
    }
    Remember(tile, bytes.size());
    const bool ok = Revalidate(tile, validators, nowUtc);
    Evict();
    return ok;
}

bool TileDiskCache::Revalidate(const TileId& tile, const TileValidators& validators,
                               int64_t nowUtc) {
    const auto it = index_.find(tile.Key());
    if (it == index_.end())
        return false;
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
    MarkUsed(it->second, nowUtc);
    return static_cast<bool>(out);
}

}  // namespace plovane
