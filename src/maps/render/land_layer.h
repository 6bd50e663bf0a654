// SPDX-License-Identifier: GPL-3.0-or-later
// Land and sea drawn from vectors in Web Mercator: the world's land polygons filled over the
// sea colour, the coastlines and country borders on top. It stands in for map tiles wherever
// no tile picture is there (beyond the bundled base layer's last zoom, or at night), crisp at
// any scale and without tile edges. The shapes are thinned once per zoom level (points closer
// than half a pixel dropped) and cut to the view before they are drawn.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <array>
#include <memory>
#include <vector>

#include "maps/map_data.h"
#include "maps/map_projection.h"

namespace plovane {

struct LandStyle {
    QColor sea;
    QColor land;
    QColor coast;
    QColor border;
};
// The day colours are the base layer's, so the switch between the two does not show.
inline const LandStyle kDayLand{QColor(170, 211, 223), QColor(242, 239, 233), QColor(80, 120, 150),
                                QColor(170, 150, 170)};
inline const LandStyle kNightLand{QColor(17, 27, 43), QColor(46, 50, 56), QColor(96, 140, 176),
                                  QColor(112, 100, 124)};

// Thread-compatible: drawn on the user-interface thread only (the levels fill in as drawn).
class CLandLayer {
  public:
    // `land`: filled polygons, one per polyline; `lines`: the coastlines (colour kCoastColour)
    // and borders (any other colour). Both in map units, as a map file holds them.
    CLandLayer(const CMapData& land, const CMapData& lines);

    // Fills the map area (below the header strip) with sea, then land, then the lines.
    void Draw(QPainter& painter, const MapProjection& projection, const LandStyle& style);

    size_t landShapes() const { return land_.size(); }

    static constexpr int kCoastColour = 1;
    // The finest level kept: 1:50m vertices are further apart than half a pixel there.
    static constexpr int kFinestLevel = 12;

  private:
    struct Shape {
        std::vector<QPoint> points;  // x: map units, y: Mercator map units
        QRect bounds;
        bool coast = false;
    };
    struct Level {
        bool made = false;
        std::vector<Shape> land;
        std::vector<Shape> lines;
    };
    const Level& LevelFor(double unitsPerPixel);

    std::vector<Shape> land_;
    std::vector<Shape> lines_;
    std::array<Level, kFinestLevel + 1> levels_;
};

}  // namespace plovane
