// Stations on the map: icon and overlay, track, call, course/speed and wind marks.
#include <algorithm>

#include "maps/render/clip.h"
#include "maps/render/render_internal.h"
#include "maps/station_icon.h"

namespace plovane {

namespace {

void DrawMark(MapPainter& out, const MarkShape& shape, int pen, int brush) {
    out.SelectPen(pen);
    out.SelectBrush(brush);
    out.SetOpaque(true);
    out.SetBackgroundColour(PaletteColour(pen));
    for (const MarkLine& l : shape.lines)
        out.Line(l.from.x, l.from.y, l.to.x, l.to.y);
    for (const MarkTriangle& t : shape.outlines) {
        const QPoint outline[4] = {{t.points[0].x, t.points[0].y},
                                   {t.points[1].x, t.points[1].y},
                                   {t.points[2].x, t.points[2].y},
                                   {t.points[0].x, t.points[0].y}};
        out.Polyline(outline, 4);
    }
    for (const MarkTriangle& t : shape.filled) {
        const QPoint triangle[3] = {{t.points[0].x, t.points[0].y},
                                    {t.points[1].x, t.points[1].y},
                                    {t.points[2].x, t.points[2].y}};
        out.Polygon(triangle, 3);
    }
}

// Back to the state every station starts from.
void RestoreStationState(MapPainter& out, const CMapOptions& options) {
    out.SelectPen(kRedPen);
    out.SelectBrush(kRedBrush);
    out.SetBackgroundColour(Qt::white);
    out.SetOpaque(options.OpaqueLabels);
}

}  // namespace

StationSprite SpriteOf(const CStation& station, bool withTrack) {
    StationSprite s;
    s.call = station.call;
    s.position = station.position;
    if (withTrack)
        s.track.assign(station.track.begin(), station.track.end());
    s.symbolTable = station.symbolTable;
    s.symbolCode = station.symbolCode;
    s.hasPosition = station.hasPosition;
    s.killed = station.killed;
    s.moving = station.moving;
    s.course = station.course;
    s.speed = station.speed;
    s.hasWind = station.hasWeather && station.weather.windSpeed >= 0;
    s.windDirection = station.weather.windDirection;
    s.windSpeed = station.weather.windSpeed;
    s.shownOnMap = station.shownOnMap;
    return s;
}

void BeginStations(MapPainter& out, const CMapOptions& options) {
    out.SelectFont(MapFont::kBold12);
    out.SetTextColour(Qt::black);
    RestoreStationState(out, options);
}

bool StationVisible(const StationSprite& sprite, const MapBox& cullBox, bool showTracks,
                    bool forced) {
    if (!sprite.hasPosition || (sprite.killed && !forced))
        return false;
    int32_t left = sprite.position.longitude, right = left;
    int32_t top = sprite.position.colatitude, bottom = top;
    if (showTracks) {
        for (const TrackPoint& t : sprite.track) {
            left = std::min(left, t.longitude);
            right = std::max(right, t.longitude);
            top = std::min(top, t.colatitude);
            bottom = std::max(bottom, t.colatitude);
        }
    }
    return right >= cullBox.left && left <= cullBox.right && bottom >= cullBox.top &&
           top <= cullBox.bottom;
}

void DrawStationSprite(MapPainter& out, const StationSprite& sprite,
                       const MapProjection& projection, const StationStyle& style) {
    const CMapOptions& options = style.options;
    const PixelPoint at =
        projection.MapToScreen(sprite.position.longitude, sprite.position.colatitude);
    const int sx = at.x;
    const int sy = at.y;

    style.icons.Draw(out.painter(),
                     StationIconFor(sprite.symbolTable, sprite.symbolCode, sprite.killed), sx - 8,
                     sy - 8);

    if (options.ShowTracks && !sprite.track.empty()) {
        std::vector<QPoint> line;
        line.reserve(sprite.track.size() + 1);
        line.emplace_back(sx, sy);
        for (const TrackPoint& t : sprite.track) {
            const PixelPoint p = projection.MapToScreen(t.longitude, t.colatitude);
            line.emplace_back(p.x, p.y);
        }
        out.SelectPen(kRedPen);
        const QRect guard = ClipGuard(projection.areaWidth(), projection.areaHeight());
        for (const std::vector<QPoint>& run : ClipPolyline(line, guard))
            out.Polyline(run.data(), static_cast<int>(run.size()));
    }

    if (options.IconLabels && style.callBesideIcon) {
        const QRect box(sx + 9, sy - 8, 50, 10);
        DrawCallText(out, box, DisplayText(sprite.call), options.OpaqueLabels);
    }

    if (options.ShowCourseSpeed && sprite.moving && sprite.speed > 0) {
        DrawMark(
            out,
            CourseSpeedMark(style.trig, sx, sy, sprite.course, sprite.speed, style.unitsOfMeasure),
            kRedPen, kRedBrush);
        RestoreStationState(out, options);
    }

    // A report without a direction has nothing to point the shaft at.
    if (options.ShowWX && sprite.hasWind && sprite.windDirection >= 0) {
        DrawMark(out,
                 WindMark(style.trig, sx, sy, sprite.windDirection, sprite.windSpeed,
                          style.unitsOfMeasure),
                 kBluePen, kBlueBrush);
        RestoreStationState(out, options);
    }
}

}  // namespace plovane
