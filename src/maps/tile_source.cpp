// SPDX-License-Identifier: GPL-3.0-or-later
// Tile source texts and the folder store.
#include "maps/tile_source.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <system_error>

namespace plovane {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

}  // namespace

bool ParseTileSource(std::string_view text, TileSourceChoice& choice, std::string& error) {
    text = Trim(text);
    choice = {};
    if (text.empty() || EqualsNoCase(text, "none"))
        return true;
    if (EqualsNoCase(text, "osm")) {
        choice = {TileSourceKind::kUrl, kOsmTileUrl};
        return true;
    }
    if (StartsWithNoCase(text, "http://") || StartsWithNoCase(text, "https://")) {
        for (const char* field : {"{z}", "{x}", "{y}"}) {
            if (text.find(field) == std::string_view::npos) {
                error = "The tile URL has no " + std::string(field) + ": " + std::string(text);
                return false;
            }
        }
        choice = {TileSourceKind::kUrl, std::string(text)};
        return true;
    }
    choice = {EndsWithNoCase(text, ".mbtiles") ? TileSourceKind::kMbtiles : TileSourceKind::kFolder,
              std::string(text)};
    return true;
}

std::string ExpandTileUrl(std::string_view urlTemplate, const TileId& tile) {
    std::string out;
    out.reserve(urlTemplate.size() + 16);
    for (size_t i = 0; i < urlTemplate.size(); ++i) {
        const std::string_view rest = urlTemplate.substr(i);
        int value = -1;
        if (rest.starts_with("{z}"))
            value = tile.z;
        else if (rest.starts_with("{x}"))
            value = tile.x;
        else if (rest.starts_with("{y}"))
            value = tile.y;
        if (value >= 0) {
            out += std::to_string(value);
            i += 2;
        } else {
            out += urlTemplate[i];
        }
    }
    return out;
}

bool IsOsmTileUrl(std::string_view url) {
    const size_t scheme = url.find("://");
    if (scheme == std::string_view::npos)
        return false;
    std::string_view host = url.substr(scheme + 3);
    host = host.substr(0, host.find_first_of("/:"));
    return EqualsNoCase(host, "openstreetmap.org") || EndsWithNoCase(host, ".openstreetmap.org");
}

std::string TileAttribution(const TileSourceChoice& choice, const std::string& configured) {
    if (choice.kind == TileSourceKind::kUrl && IsOsmTileUrl(choice.location))
        return kOsmAttribution;
    return configured;
}

bool ReadSmallFile(const std::filesystem::path& path, size_t limit, std::string& bytes,
                   std::string& error) {
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) {
        error = "Cannot read " + path.string() + ": " + ec.message();
        return false;
    }
    if (size > limit) {
        error = "Tile file too large: " + path.string();
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    bytes.assign(static_cast<size_t>(size), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(size))) {
        error = "Cannot read " + path.string();
        return false;
    }
    return true;
}

FolderTileStore::FolderTileStore(std::filesystem::path root, int maxZoom)
    : root_(std::move(root)), maxZoom_(maxZoom) {}

TileRead FolderTileStore::Read(const TileId& tile, std::string& bytes, std::string& error) {
    if (!IsValidTile(tile))
        return TileRead::kMissing;
    const std::filesystem::path dir = root_ / std::to_string(tile.z) / std::to_string(tile.x);
    for (const char* ext : {".png", ".jpg", ".webp"}) {
        const std::filesystem::path file = dir / (std::to_string(tile.y) + ext);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file, ec))
            continue;
        return ReadSmallFile(file, kMaxTileBytes, bytes, error) ? TileRead::kFound
                                                                : TileRead::kError;
    }
    return TileRead::kMissing;
}

}  // namespace plovane
