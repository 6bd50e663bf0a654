// The map renderer as the GUI uses it. Until the renderer library is part of the build the
// GUI draws a white map with the same navigation, through the stand-ins below.
#pragma once

#ifdef PLOVANE_HAVE_RENDER
#include "maps/render/map_renderer.h"
#include "maps/render/symbol_icons.h"
#else
#include <QPainter>
#include <filesystem>
#include <string_view>

#include "core/app_host.h"
#include "core/clock.h"
#include "maps/map_data.h"
#include "maps/map_options.h"
#include "maps/map_view.h"
#include "maps/station_icon.h"

namespace plovane {

class CStationList;

enum class LinkState { kOff, kOpen, kPending, kError };

struct HeaderStatus {
    bool gpsConfigured = false;
    LinkState tnc = LinkState::kOff;
    LinkState gps = LinkState::kOff;
    LinkState net = LinkState::kOff;
    bool messageWaiting = false;
};

struct MapScene {
    CMapView* view = nullptr;
    CMapData* map = nullptr;
    const CMapOptions* options = nullptr;
    CStationList* stations = nullptr;
    int unitsOfMeasure = 0;
    HeaderStatus status;
};

class CSymbolIcons {
public:
    CSymbolIcons() = default;
    explicit CSymbolIcons(const std::filesystem::path&) {}
    void Draw(QPainter&, const StationIcon&, int, int) const {}
};

class CMapRenderer {
public:
    CMapRenderer(AppHost&, const Clock&, const CSymbolIcons&) {}
    bool DrawMap(QPainter* target, const MapScene& scene) {
        if (target == nullptr || scene.view == nullptr || scene.map == nullptr) return false;
        return scene.view->PrepareForDrawing(*scene.map);
    }
    bool DrawStation(QPainter*, const MapScene&, std::string_view) { return false; }
};

}  // namespace plovane
#endif
