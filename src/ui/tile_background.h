// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the map's tile background from the map preferences: the tile layer over the chosen
// source, the network fetcher and disk cache for an online source, and the bundled base
// layer underneath. Where the cache and the base layer live on this system.
#pragma once

#include <QString>
#include <memory>
#include <string>

#include "core/clock.h"
#include "maps/map_options.h"
#include "maps/render/tile_layer.h"
#include "ui/tile_fetcher.h"

namespace plovane {

struct TileBackground {
    std::unique_ptr<CTileFetcher> fetcher;  // online sources only
    std::unique_ptr<CTileLayer> layer;      // null: no tiles, the plain map
};

// The tile cache root: $XDG_CACHE_HOME/plovane/tiles (default ~/.cache/plovane/tiles).
QString TileCacheRoot();
// The bundled base layer file, or empty when it is not installed or built.
QString BaseLayerPath();
// The bundled land polygons (maps/land.bin), or empty when not installed.
QString LandMapPath();

// A source that cannot be used (a bad URL, an MBTiles file that does not open) is reported
// through `notice`; the map then shows the base layer alone.
TileBackground MakeTileBackground(const CMapOptions& options, const Clock& clock,
                                  const CTileLayer::NoticeSink& notice);

}  // namespace plovane
