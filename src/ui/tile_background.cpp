// SPDX-License-Identifier: GPL-3.0-or-later
// Setting up the tile background.
#include "ui/tile_background.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

#include "maps/map_file.h"
#include "maps/mbtiles.h"
#include "maps/tile_disk_cache.h"
#include "maps/tile_source.h"
#include "ui/data_paths.h"

namespace plovane {
namespace {

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdString());
}

// The land vectors, read once for every tile background the program makes; null when the
// bundled files are missing or unreadable (the base layer is then scaled up, as before).
std::shared_ptr<CLandLayer> SharedLandLayer(const CTileLayer::NoticeSink& notice) {
    static std::shared_ptr<CLandLayer> layer;
    static bool tried = false;
    if (tried)
        return layer;
    tried = true;
    const QString land = LandMapPath(), world = WorldMapPath();
    if (land.isEmpty() || world.isEmpty())
        return layer;
    MapProgress quiet;
    const MapReadResult landRead = ReadMapFile(ToPath(land), quiet);
    const MapReadResult worldRead = ReadMapFile(ToPath(world), quiet);
    if (!landRead.ok() || !worldRead.ok()) {
        if (notice)
            notice("The offline land map cannot be read: " +
                   (landRead.ok() ? worldRead.error : landRead.error));
        return layer;
    }
    layer = std::make_shared<CLandLayer>(landRead.map, worldRead.map);
    return layer;
}

}  // namespace

QString LandMapPath() {
    const QString dir = BundledDataDir();
    const QString path = dir + "/maps/land.bin";
    return !dir.isEmpty() && QFileInfo::exists(path) ? path : QString();
}

QString TileCacheRoot() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           "/plovane/tiles";
}

QString BaseLayerPath() {
    const QString data = BundledDataDir();
    if (!data.isEmpty()) {
        const QString installed = data + "/maps/" + kBaseLayerFile;
        if (QFileInfo::exists(installed))
            return installed;
    }
#ifdef PLOVANE_BUILT_BASE_LAYER
    // A program run from its build tree uses the file the build made.
    if (QFileInfo::exists(QStringLiteral(PLOVANE_BUILT_BASE_LAYER)))
        return QStringLiteral(PLOVANE_BUILT_BASE_LAYER);
#endif
    return {};
}

TileBackground MakeTileBackground(const CMapOptions& options, const Clock& clock,
                                  const CTileLayer::NoticeSink& notice) {
    TileBackground out;
    TileSourceChoice choice;
    std::string error;
    if (!ParseTileSource(options.TileSource, choice, error)) {
        if (notice)
            notice(error);
        return out;
    }
    if (choice.kind == TileSourceKind::kNone)
        return out;

    TileLayerSetup setup;
    setup.attribution = TileAttribution(choice, options.TileAttribution);
    setup.land = SharedLandLayer(notice);
    const QString base = BaseLayerPath();
    if (!base.isEmpty()) {
        auto store = std::make_unique<MbtilesStore>(ToPath(base));
        if (store->IsOpen())
            setup.base = std::move(store);
    }
    switch (choice.kind) {
        case TileSourceKind::kUrl: {
            const uint64_t limit = uint64_t(std::max(options.TileCacheMB, 1)) << 20;
            setup.cache = std::make_unique<TileDiskCache>(
                TileDiskCache::FolderFor(ToPath(TileCacheRoot()), choice.location), limit);
            out.fetcher = std::make_unique<CTileFetcher>(choice.location, clock);
            setup.fetcher = out.fetcher.get();
            setup.maxZoom = kOnlineMaxZoom;
            break;
        }
        case TileSourceKind::kMbtiles: {
            // The base layer chosen as the source is drawn as the base layer: with the land
            // vectors beyond its last zoom rather than its tiles scaled up.
            if (setup.base && choice.location == base.toStdString())
                break;
            auto store = std::make_unique<MbtilesStore>(choice.location);
            if (store->IsOpen())
                setup.local = std::move(store);
            else if (notice)
                notice(store->error());
            break;
        }
        case TileSourceKind::kFolder:
            setup.local = std::make_unique<FolderTileStore>(choice.location);
            break;
        case TileSourceKind::kNone:
            break;
    }
    out.layer = std::make_unique<CTileLayer>(std::move(setup), clock, notice);
    if (out.fetcher)
        out.fetcher->SetLayer(out.layer.get());
    return out;
}

}  // namespace plovane
