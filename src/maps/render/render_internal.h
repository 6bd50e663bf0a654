// SPDX-License-Identifier: GPL-3.0-or-later
// Pieces of the map drawing shared by the renderer's source files: a painter that keeps the
// map's pen, brush, background and text selections (changing each only when it differs),
// progress reporting, and the layers (vectors, labels, stations, header strip, scale bar).
#pragma once

#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <optional>
#include <string_view>

#include "maps/map_data.h"
#include "maps/map_options.h"
#include "maps/map_projection.h"
#include "maps/render/display_text.h"
#include "maps/render/map_renderer.h"
#include "maps/render/render_resources.h"
#include "maps/render/speed_marks.h"
#include "maps/render/symbol_icons.h"

namespace plovane {

// Where the white copies of a haloed text go: one pixel up-left and one down-right, enough to
// lift a call off lines and tiles at a third of the cost of a ring of eight.
inline constexpr QPoint kHaloOffsets[] = {{-1, -1}, {1, 1}};

class MapPainter {
  public:
    MapPainter(QPainter& painter, const RenderResources& resources);

    QPainter& painter() { return painter_; }
    const RenderResources& resources() const { return resources_; }

    void SelectPen(int index) { pen_ = index; }
    void SelectBrush(int index) { brush_ = index; }
    void SelectWhiteBrush() { brush_ = kWhiteBrush; }
    void SelectFont(MapFont font);
    void SetBackgroundColour(const QColor& colour);
    void SetOpaque(bool opaque);
    void SetTextColour(const QColor& colour) { text_ = colour; }

    void Line(int x1, int y1, int x2, int y2);
    void Polyline(const QPoint* points, int count);
    void Polygon(const QPoint* points, int count);
    // Text in the current font and text colour, top-left aligned in (or, with flags,
    // aligned within) the rectangle, one line, never clipped.
    void Text(const QRect& box, int alignment, const QString& text);
    // One line of text top-left in the box, black over white copies (kHaloOffsets), which keep a
    // call readable over lines, fills and tiles; laid out once for all. Leaves the colour black.
    void HaloText(const QRect& box, const QString& text);
    // Text turned counter-clockwise by `degrees` about its top-left corner at (x, y).
    void RotatedText(int x, int y, int degrees, const QString& text);

  private:
    static constexpr int kWhiteBrush = -1;
    static constexpr int kTextPen = -2;
    void ApplyPen();
    void ApplyTextPen();
    void ApplyBrush();

    QPainter& painter_;
    const RenderResources& resources_;
    int pen_ = 0;
    int brush_ = kWhiteBrush;
    QColor text_{Qt::black};
    // What the QPainter holds now.
    int appliedPen_ = -3;
    QColor appliedTextColour_;
    int appliedBrush_ = -3;
};

// Counts work done and tells the progress indicator every so often.
class ProgressMeter {
  public:
    ProgressMeter(MapProgress& progress, int64_t total)
        : progress_(progress), total_(total > 0 ? total : 1) {}
    void Report(int64_t done);

  private:
    MapProgress& progress_;
    int64_t total_;
    int lastPercent_ = -1;
};

// The view box widened by a margin on every side and by 2 pixels right and 25 down, the
// region the off-screen copies cover.
MapBox CullBox(const MapProjection& projection, int64_t margin);
// Half the larger of the view's width and height: labels and stations this far outside are
// still considered.
int64_t CullMargin(const MapBox& view);

// The rotated font (0..71, 5 degrees each) for a label angle in degrees.
int RotatedLabelFont(int angle);

// outlineOnly: filled polygons are drawn as their outlines.
void DrawVectors(MapPainter& out, const CMapData& map, const MapProjection& projection,
                 int32_t threshold, ProgressMeter& progress, int64_t& done,
                 bool outlineOnly = false);
void DrawLabels(MapPainter& out, const CMapData& map, const MapProjection& projection,
                int32_t threshold, const CSymbolIcons& icons, ProgressMeter& progress,
                int64_t& done);

struct StationStyle {
    const CMapOptions& options;
    const CSymbolIcons& icons;
    const DegreeTable& trig;
    int unitsOfMeasure = 0;
    // The call beside the icon at its usual place; a complete drawing places the calls
    // together afterwards (DrawStationLabels) and turns this off.
    bool callBesideIcon = true;
};
// Selects the station drawing state: background, font, text colour, pen 12, brush 8.
void BeginStations(MapPainter& out, const CMapOptions& options);
// Whether the sprite is on the map: placed, not killed (unless `forced`), its box (with its
// track when shown) meeting the cull box.
bool StationVisible(const StationSprite& sprite, const MapBox& cullBox, bool showTracks,
                    bool forced);
void DrawStationSprite(MapPainter& out, const StationSprite& sprite,
                       const MapProjection& projection, const StationStyle& style);

// The calls of the stations drawn (`drawn[i]` set), placed so that none overlaps another
// or a symbol, nor the `reserved` box; the own station, the selected one and moving ones
// are placed first. Where they went is kept in `labels`, made anew.
void DrawStationLabels(MapPainter& out, const std::vector<StationSprite>& sprites,
                       const std::vector<char>& drawn, const MapProjection& projection,
                       const CMapOptions& options, const std::string& ownCall,
                       const std::string& selectedCall, const QRect& reserved, CallLabels& labels);
// The box for the call of a station drawn alone over the picture: where the complete drawing
// put it while the symbol has not moved, else a free place among the calls on the picture
// (then kept). Nothing when the call is not shown or the picture was drawn for another view.
std::optional<QRect> StationLabelBox(const QFontMetrics& metrics, const StationSprite& sprite,
                                     const MapProjection& projection, int priority,
                                     CallLabels& labels);
// The placing order of a station's call.
int CallPriority(const StationSprite& sprite, const std::string& ownCall,
                 const std::string& selectedCall);
// The text box of a call a drawing placed and showed; nothing for any other.
std::optional<QRect> PlacedCallBox(const CallLabels& labels, const std::string& call);
// A call with a white halo (transparent labels) or on the white box (opaque ones).
void DrawCallText(MapPainter& out, const QRect& box, const QString& call, bool opaque);

// The title: the program's name with ": " and the map's name, or " v" and the version.
std::string HeaderTitle(const CMapData& map);
void DrawHeaderStrip(QPainter& painter, const RenderResources& resources, int clientWidth,
                     const std::string& title, const HeaderStatus& status);
void DrawScaleBar(QPainter& painter, const RenderResources& resources, int clientWidth,
                  const MapProjection& projection, double pixelsPerInch, int unitsOfMeasure);
// The white panel DrawScaleBar paints over the map: no station call is placed under it.
QRect ScaleBarPanel(QPainter& painter, const RenderResources& resources, int clientWidth,
                    const MapProjection& projection, double pixelsPerInch, int unitsOfMeasure);
// A 16 x 16 status icon: kind 0 TNC, 1 GPS, 2 network; the message icon has its own.
void DrawLinkIcon(QPainter& painter, int x, int y, int kind, LinkState state);
void DrawMessageIcon(QPainter& painter, int x, int y, bool waiting, int unread = 0);

}  // namespace plovane
