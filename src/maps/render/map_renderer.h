// SPDX-License-Identifier: GPL-3.0-or-later
// Paints the map view with QPainter: the map's polylines and filled polygons, its labels,
// every station with its symbol icon, overlay, call, track, course/speed and wind marks, the
// header strip with the title and status icons, and the one-inch scale bar. The target is any
// QPainter (the map widget, or a QImage for tests and screenshots); with "UseOffScreenBitmaps"
// the renderer keeps a background and a picture copy, so a repaint is a single copy.
#pragma once

#include <QPainter>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/clock.h"
#include "maps/header_status.h"
#include "maps/label_placement.h"
#include "maps/map_data.h"
#include "maps/map_options.h"
#include "maps/map_reader.h"
#include "maps/map_view.h"
#include "maps/render/map_bitmaps.h"
#include "maps/render/render_resources.h"
#include "maps/render/speed_marks.h"
#include "maps/render/station_groups.h"
#include "maps/render/symbol_icons.h"
#include "stations/station.h"

namespace plovane {

class CStationList;
class CTileLayer;
struct StationStyle;

// Everything one drawing reads. Null pointers are reported as the drawing's check texts.
struct MapScene {
    CMapView* view = nullptr;
    CMapData* map = nullptr;
    const CMapOptions* options = nullptr;
    CStationList* stations = nullptr;  // null: no stations drawn
    int unitsOfMeasure = 0;            // 0 statute, 1 nautical, 2 metric
    HeaderStatus status;
    CTileLayer* tiles = nullptr;  // drawn under everything when the view is in Mercator
    std::string selectedCall;     // its call label is placed before the others'
};

// The check texts of a drawing that cannot run.
inline constexpr const char* kNoViewText = "CMapView::drawMap(): No view to draw into.";
inline constexpr const char* kInvalidParameterText =
    "Unable to draw map.  Invalid parameter passed to CMapView::drawMap().";
inline constexpr const char* kMissingPreferencesText =
    "Unable to draw map.  Missing map preferences data.";
inline constexpr const char* kRenderingProgressText = "Rendering map:";

// Progress is reported before every this many points, labels and stations.
inline constexpr int kProgressPointStep = 16384;
inline constexpr int kProgressItemStep = 512;

// What the map needs of one station record, copied out of the store before painting.
struct StationSprite {
    std::string call;
    TrackPoint position;
    std::vector<TrackFix> track;  // newest first; only copied when tracks are shown
    char symbolTable = '\\';
    char symbolCode = '0';
    bool hasPosition = false;
    bool killed = false;
    bool moving = false;
    int course = 0;  // degrees
    int speed = 0;   // knots
    bool hasWind = false;
    int windDirection = -1;  // degrees
    int windSpeed = -1;      // knots
    double rangeMiles = 0;   // the radio range, 0 unknown
    bool shownOnMap = false;
    bool own = false;  // the own station: its track stands out, it is never grouped
};
StationSprite SpriteOf(const CStation& station, bool withTrack);

// The station calls on the picture: where each went at which symbol position, and the layout
// that finds a free place for a station drawn alone. Made by every complete drawing.
struct CallLabels {
    struct Placed {
        PixelPoint anchor;  // the symbol's centre it was placed around
        LabelPlacement placement;
    };
    CLabelLayout layout;
    std::unordered_map<std::string, Placed> byCall;
    MapBox view;  // the view box (view units) and area the picture was drawn for
    int areaWidth = 0;
    int areaHeight = 0;
};

// Where a drawing reports: the progress indicator (as a map read does) and the text of a
// failed check, which the window shows. The defaults do nothing.
// Thread-compatible: called on the drawing thread only.
class RenderReport : public MapProgress {
  public:
    virtual void CheckFailed(std::string_view /*text*/) {}
};

// Thread-compatible: one renderer per map view, used on the user-interface thread only.
class CMapRenderer {
  public:
    // The report and the icons outlive the renderer (the station list window and pop-ups
    // share the icons).
    CMapRenderer(RenderReport& report, const Clock& clock, const CSymbolIcons& icons);

    // A complete redraw, or one copy of the picture when the background is still valid.
    // Returns false when a check failed (its text has been reported) or there is no map
    // area to draw in.
    bool DrawMap(QPainter* target, const MapScene& scene);

    // The station-changed path: only that station is drawn, over the picture copy when there
    // is one and onto the target when one is given (either may be absent; a widget that
    // cannot paint outside its paint event passes no target and repaints from the copy).
    // A killed object is drawn, with the "." icon. Returns false when nothing could be drawn.
    bool DrawStation(QPainter* target, const MapScene& scene, std::string_view call);

    // The stations of the bubble under a pixel of the picture drawn last: their calls and the
    // pixel box they lie in. Nothing when no bubble is there.
    struct GroupHit {
        std::vector<std::string> calls;
        QRect box;
        bool samePlace = true;  // every one at one position: zooming in cannot part them
    };
    std::optional<GroupHit> GroupAt(PixelPoint p) const;

    // The off-screen copies; the widget releases them when the preference is switched off.
    CMapBitmaps& bitmaps() { return bitmaps_; }
    const CSymbolIcons& icons() const { return icons_; }
    const RenderResources& resources() const { return resources_; }
    const DegreeTable& trig() const { return trig_; }

  private:
    // A station as the picture shows it, and the pixels its drawing and its call cover
    // (found when first needed, for the view it was drawn in).
    struct DrawnStation {
        StationSprite sprite;
        std::optional<QRect> bounds;
        std::optional<uint64_t> cell;  // its grouping cell; none when it is never grouped

        std::optional<QRect> reach;  // a cheap box that holds `bounds`
    };

    bool Check(bool haveTarget, const MapScene& scene);
    // Where a station's drawing went: symbol, overlay, course line, track and its call.
    QRect CoveredBy(DrawnStation& station, const MapProjection& projection,
                    const StationStyle& style);
    // A box sure to hold CoveredBy, found without drawing: the station and its track with
    // room for its symbol and marks, and its call. Wiping tests it first, so that a station
    // drawn alone after a complete drawing does not record every other station's drawing.
    QRect ReachOf(DrawnStation& station, const MapProjection& projection,
                  const StationStyle& style);
    // Puts the map back under `dirty` (within `clip`) and draws again the other stations
    // that reach into it, so the station at `self` can be drawn anew without a ghost.
    // `skip` says which stations are drawn by the caller afterwards (and which cells' bubbles).
    void Wipe(QPainter& painter, const QImage& background, const QRegion& clip, const QRect& dirty,
              const std::vector<size_t>& skip, const std::vector<uint64_t>& skipCells,
              const MapProjection& projection, const StationStyle& style);
    // Whether a station may go into a bubble: not the own or the selected one, and placed
    // inside the cull box.
    bool Groupable(const StationSprite& sprite, const MapBox& cull) const;
    // A station drawn again alone while groups are shown: the cells it left and entered are
    // drawn again, bubbles or stations.
    void RedrawCells(QPainter* target, const QImage* background, const QRegion& clip,
                     const StationSprite& sprite, bool visible, const MapScene& scene,
                     const MapProjection& projection, const StationStyle& style);
    void DrawCellsAfter(QPainter& painter, const std::vector<uint64_t>& cells,
                        const std::vector<size_t>& loose, const QRegion& clip,
                        const MapScene& scene, const MapProjection& projection,
                        const StationStyle& style,
                        std::unordered_map<size_t, std::optional<QRect>>& labels);

    RenderReport& report_;
    const Clock& clock_;
    const CSymbolIcons& icons_;
    RenderResources resources_;
    RenderResources nightResources_{true};  // the map's own layers on the night map
    DegreeTable trig_;
    CMapBitmaps bitmaps_;
    CallLabels callLabels_;
    QRect scaleBarPanel_;
    // The stations on the picture in list order (and each call's index), for wiping a
    // station drawn again alone; valid for the view box and area noted beside them.
    std::vector<DrawnStation> drawn_;
    std::unordered_map<std::string, size_t> drawnIndex_;
    CStationGroups groups_;  // the grouping of drawn_ (its indices)
    std::string groupsOwn_;  // the own and selected calls the grouping left out
    std::string groupsSelected_;
    MapBox drawnView_;
    int drawnWidth_ = 0;
    int drawnHeight_ = 0;
    // The map without stations when there are no off-screen copies.
    QImage stationFree_;  // where the last complete drawing put the scale bar
};

}  // namespace plovane
