// SPDX-License-Identifier: GPL-3.0-or-later
// The map widget's tile background.
#include "maps/render/tile_layer.h"
#include "ui/night_palette.h"
#include "ui/plovane_view.h"
#include "ui/tile_background.h"

namespace plovane {

CTileLayer* CPlovaneView::tileLayer() const {
    return tiles_ ? tiles_->layer.get() : nullptr;
}

bool CPlovaneView::TilesBusy() const {
    return tiles_ && ((tiles_->fetcher && tiles_->fetcher->Busy()) ||
                      (tiles_->layer && tiles_->layer->Reading()));
}

void CPlovaneView::ApplyTileSource() {
    const CMapOptions& options = context_.options;
    // The windows' colours go with the map's style (applied here as the tiles are: at start
    // and whenever the map options change).
    ApplyWindowPalette(options.NightMap);
    const std::string wanted = options.TileSource + '\n' + options.TileAttribution + '\n' +
                               std::to_string(options.TileCacheMB);
    if (tiles_ && wanted == tilesApplied_)
        return;
    tilesApplied_ = wanted;
    if (tiles_ && tiles_->fetcher)
        tiles_->fetcher->SetLayer(nullptr);
    tiles_ = std::make_unique<TileBackground>(
        MakeTileBackground(options, context_.clock,
                           [this](const std::string& text) { context_.host.ShowNotice(text); }));
    const auto repaintSoon = [this] {
        if (!tileRepaint_.isActive())
            tileRepaint_.start();
    };
    if (tiles_->fetcher)
        connect(tiles_->fetcher.get(), &CTileFetcher::tilesArrived, this, repaintSoon);
    if (tiles_->layer) {
        // Told on the layer's reader thread; the redraw belongs to this one.
        tiles_->layer->SetTilesRead([this, repaintSoon] {
            QMetaObject::invokeMethod(this, repaintSoon, Qt::QueuedConnection);
        });
    }
    view_.SetMercator(tiles_->layer != nullptr);
    RefreshView(true);
}

void CPlovaneView::SetNightMap(bool on) {
    context_.options.NightMap = on;
    CMapOptions stored;
    stored.Load(context_.profile);
    stored.NightMap = on;
    stored.Save(context_.profile);
    ApplyWindowPalette(on);
    RefreshView(true);
}

void CPlovaneView::SetTileSource(const std::string& source) {
    context_.options.TileSource = source == "none" ? std::string() : source;
    CMapOptions stored;
    stored.Load(context_.profile);
    stored.TileSource = context_.options.TileSource;
    stored.Save(context_.profile);
    ApplyTileSource();
}

}  // namespace plovane
