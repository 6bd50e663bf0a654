// SPDX-License-Identifier: GPL-3.0-or-later
// Stations on the map: icon and overlay, track, call, course/speed and wind marks.
#include <algorithm>
#include <cmath>

#include "core/geo.h"
#include "core/units.h"
#include "maps/render/clip.h"
#include "maps/render/render_internal.h"
#include "maps/render/track_style.h"
#include "maps/station_icon.h"
#include "stations/radio_range.h"

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

// Colatitude units (hundredths of an arc-second) per statute mile: a nautical mile is an arc
// minute.
constexpr double kUnitsPerStatuteMile = kUnitsPerMinute * kKnotsPerMph;
// Circles smaller than this (pixels) would hide under the icon.
constexpr double kMinRangeRadius = 10;

// A thin bluish-grey ring of the station's radio range round (sx, sy). Left out when it would hide
// under the icon, and when it is so much larger than the view that none of it could show.
void DrawRangeCircle(QPainter& painter, const StationSprite& sprite,
                     const MapProjection& projection, int sx, int sy) {
    const double units = sprite.rangeMiles * kUnitsPerStatuteMile;
    const double latitude =
        (90.0 - sprite.position.colatitude / double(kUnitsPerDegree)) * (3.14159265358979 / 180);
    // Degrees of longitude shrink toward the poles.
    const double rx = units / std::max(std::cos(latitude), 0.01) / projection.ux();
    // Mercator keeps small shapes true; the plain projection has its own vertical scale.
    const double ry = projection.mercator() ? rx : units / std::max(projection.uy(), 1);
    if (!std::isfinite(rx) || !std::isfinite(ry) || std::min(rx, ry) < kMinRangeRadius)
        return;
    const double reach = 16.0 * (projection.areaWidth() + projection.areaHeight());
    if (rx > reach || ry > reach)
        return;
    // A view wholly inside the ring shows none of it.
    const auto inside = [&](double x, double y) {
        const double dx = (x - sx) / rx, dy = (y - sy) / ry;
        return dx * dx + dy * dy < 1.0;
    };
    const double left = 0, right = projection.areaWidth();
    const double top = kHeaderStripHeight, bottom = top + projection.areaHeight();
    if (inside(left, top) && inside(right, top) && inside(left, bottom) && inside(right, bottom))
        return;
    const QRectF ring(sx - rx, sy - ry, 2 * rx, 2 * ry);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor(64, 64, 160, 150), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(ring);
    painter.restore();
}

// The track in the station's colour under its symbol: a line from the position through every
// point, a dot at each, fading with age; drawn as one polyline and one set of dots per fade
// step.
void DrawTrack(QPainter& painter, const StationSprite& sprite, const MapProjection& projection,
               int sx, int sy) {
    const size_t n = sprite.track.size();
    std::vector<int32_t> heard(n);
    std::vector<QPoint> at(n);
    for (size_t i = 0; i < n; ++i) {
        const TrackFix& t = sprite.track[i];
        heard[i] = t.heardSeconds;
        const PixelPoint p = projection.MapToScreen(t.longitude, t.colatitude);
        at[i] = QPoint(p.x, p.y);
    }
    const std::vector<uint8_t> steps = TrackFadeSteps(heard);
    const QColor colour = TrackColour(sprite.call, sprite.own);
    const int width = sprite.own ? kOwnTrackWidth : kTrackWidth;
    const QRect guard = ClipGuard(projection.areaWidth(), projection.areaHeight());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    const auto penFor = [&](int step, int w, Qt::PenCapStyle cap) {
        QColor c = colour;
        c.setAlpha(TrackAlpha(step));
        return QPen(c, w, Qt::SolidLine, cap, Qt::RoundJoin);
    };
    // A segment takes the step of its newer end, so the newest one is solid.
    std::vector<QPoint> run{QPoint(sx, sy)};
    int runStep = kTrackFadeSteps - 1;
    const auto flush = [&] {
        if (run.size() < 2)
            return;
        painter.setPen(penFor(runStep, width, Qt::FlatCap));
        for (const std::vector<QPoint>& part : ClipPolyline(run, guard))
            painter.drawPolyline(part.data(), static_cast<int>(part.size()));
    };
    for (size_t i = 0; i < n; ++i) {
        const int step = i == 0 ? kTrackFadeSteps - 1 : steps[i - 1];
        if (step != runStep) {
            flush();
            run.erase(run.begin(), run.end() - 1);  // the next run starts where this one ends
            runStep = step;
        }
        run.push_back(at[i]);
    }
    flush();
    // The dots, one call per step.
    std::vector<QPoint> dots;
    for (int step = 0; step < kTrackFadeSteps; ++step) {
        dots.clear();
        for (size_t i = 0; i < n; ++i) {
            if (steps[i] == step && guard.contains(at[i]))
                dots.push_back(at[i]);
        }
        if (dots.empty())
            continue;
        painter.setPen(penFor(step, sprite.own ? kOwnTrackDot : kTrackDot, Qt::RoundCap));
        painter.drawPoints(dots.data(), static_cast<int>(dots.size()));
    }
    painter.restore();
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
    s.rangeMiles = RadioRangeMiles(station);
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

    // Under everything else of the station.
    if (options.ShowRangeCircles && sprite.rangeMiles > 0)
        DrawRangeCircle(out.painter(), sprite, projection, sx, sy);

    if (options.ShowTracks && !sprite.track.empty())
        DrawTrack(out.painter(), sprite, projection, sx, sy);

    style.icons.Draw(out.painter(),
                     StationIconFor(sprite.symbolTable, sprite.symbolCode, sprite.killed), sx - 8,
                     sy - 8);

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
