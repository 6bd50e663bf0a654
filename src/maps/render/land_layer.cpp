// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing land and sea from vectors.
#include "maps/render/land_layer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "maps/render/clip.h"
#include "maps/web_mercator.h"

namespace plovane {
namespace {

// Pixels the shapes are cut beyond the map area, so that cut edges never show.
constexpr int kCutMargin = 8;

QRect BoundsOf(const std::vector<QPoint>& points) {
    int left = points.front().x(), right = left, top = points.front().y(), bottom = top;
    for (const QPoint& p : points) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// The polylines of a map, split at its move records, in map units with Mercator y.
template <typename Take>
void ForEachPolyline(const CMapData& map, Take take) {
    std::vector<QPoint> line;
    int colour = -1;
    const auto flush = [&] {
        if (line.size() >= 2)
            take(std::move(line), colour);
        line = {};
        colour = -1;
    };
    for (const MapVectorPoint& p : map.points) {
        if (p.code == kMoveCode)
            flush();
        else if (colour < 0)
            colour = p.code;
        // Points off the world (a damaged file) are held to its edges.
        line.emplace_back(std::clamp(p.x, 0, kMaxLongitude), MercatorY(p.y));
    }
    flush();
}

// Drops the points closer than `tolerance` to the last one kept; the last point stays.
std::vector<QPoint> Thin(const std::vector<QPoint>& points, int tolerance) {
    std::vector<QPoint> out;
    out.reserve(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        const QPoint& p = points[i];
        if (out.empty() || i + 1 == points.size() ||
            std::max(std::abs(p.x() - out.back().x()), std::abs(p.y() - out.back().y())) >=
                tolerance)
            out.push_back(p);
    }
    return out;
}

}  // namespace

CLandLayer::CLandLayer(const CMapData& land, const CMapData& lines) {
    ForEachPolyline(land, [this](std::vector<QPoint> points, int) {
        if (points.size() >= 3) {
            const QRect bounds = BoundsOf(points);
            land_.push_back({std::move(points), bounds, false});
        }
    });
    ForEachPolyline(lines, [this](std::vector<QPoint> points, int colour) {
        const QRect bounds = BoundsOf(points);
        lines_.push_back({std::move(points), bounds, colour == kCoastColour});
    });
}

const CLandLayer::Level& CLandLayer::LevelFor(double unitsPerPixel) {
    const double zoom = std::log2(double(kMaxLongitude) / kTileSize / std::max(unitsPerPixel, 1.0));
    const int z = std::clamp(static_cast<int>(std::floor(zoom)), 0, kFinestLevel);
    Level& level = levels_[z];
    if (level.made)
        return level;
    // Half a pixel of the level's own scale: what the level drops cannot be seen.
    const int tolerance = std::max(1, static_cast<int>(TileSpanUnits(z) / kTileSize / 2));
    const auto thin = [tolerance](const std::vector<Shape>& from, std::vector<Shape>& to,
                                  size_t least) {
        for (const Shape& shape : from) {
            if (std::max(shape.bounds.width(), shape.bounds.height()) < tolerance)
                continue;  // smaller than half a pixel
            std::vector<QPoint> points = Thin(shape.points, tolerance);
            if (points.size() >= least)
                to.push_back({std::move(points), shape.bounds, shape.coast});
        }
    };
    thin(land_, level.land, 3);
    thin(lines_, level.lines, 2);
    level.made = true;
    return level;
}

void CLandLayer::Draw(QPainter& painter, const MapProjection& projection, const LandStyle& style) {
    const int width = projection.areaWidth(), height = projection.areaHeight();
    const MapBox& view = projection.viewUnits();
    const double ux = projection.ux(), uy = projection.viewUy();
    const Level& level = LevelFor(ux);
    // The area in map units, and the rectangle shapes are cut to, in pixels.
    const auto units = [](double u) { return ClampToInt32(static_cast<int64_t>(u)); };
    const QRect shown(QPoint(units(view.left - kCutMargin * ux), units(view.top - kCutMargin * uy)),
                      QPoint(units(view.left + (width + kCutMargin) * ux),
                             units(view.top + (height + kCutMargin) * uy)));
    const QRect cut(-kCutMargin, kHeaderStripHeight - kCutMargin, width + 2 * kCutMargin,
                    height + 2 * kCutMargin);
    std::vector<QPoint> pixels;
    const auto project = [&](const Shape& shape) {
        pixels.clear();
        for (const QPoint& p : shape.points) {
            pixels.emplace_back(
                static_cast<int>(std::lround(std::clamp((p.x() - view.left) / ux, -1e8, 1e8))),
                kHeaderStripHeight +
                    static_cast<int>(std::lround(std::clamp((p.y() - view.top) / uy, -1e8, 1e8))));
        }
    };

    painter.save();
    painter.setClipRect(0, kHeaderStripHeight, width, height);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(0, kHeaderStripHeight, width, height, style.sea);
    // Each shape filled and outlined in the land colour: neighbours thinned apart cannot open
    // a sea-coloured crack between them.
    painter.setPen(QPen(style.land, 1));
    painter.setBrush(style.land);
    for (const Shape& shape : level.land) {
        if (!shape.bounds.intersects(shown))
            continue;
        project(shape);
        const std::vector<QPoint> inside = ClipPolygon(pixels, cut);
        if (inside.size() >= 3)
            painter.drawPolygon(inside.data(), static_cast<int>(inside.size()), Qt::WindingFill);
    }
    painter.setBrush(Qt::NoBrush);
    for (const bool coast : {false, true}) {
        painter.setPen(QPen(coast ? style.coast : style.border, 1));
        for (const Shape& shape : level.lines) {
            if (shape.coast != coast || !shape.bounds.intersects(shown))
                continue;
            project(shape);
            for (const std::vector<QPoint>& run : ClipPolyline(pixels, cut))
                painter.drawPolyline(run.data(), static_cast<int>(run.size()));
        }
    }
    painter.restore();
}

}  // namespace plovane
