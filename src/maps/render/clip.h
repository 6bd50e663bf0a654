// SPDX-License-Identifier: GPL-3.0-or-later
// Clipping of projected shapes to a guard rectangle far outside the window, so that the
// painter never sees coordinates beyond what its fixed-point rasteriser holds (a deep zoom
// into a world map puts vertices a hundred million pixels away).
#pragma once

#include <QPoint>
#include <QRect>
#include <vector>

namespace plovane {

// Half the guard rectangle's side beyond the window, pixels.
inline constexpr int kClipGuard = 1 << 20;

// The guard rectangle around a client of this size.
QRect ClipGuard(int clientWidth, int clientHeight);

// The parts of a polyline inside the rectangle, as runs of connected vertices; the polyline
// itself when it lies inside.
std::vector<std::vector<QPoint>> ClipPolyline(const std::vector<QPoint>& points, const QRect& rect);

// A polygon cut to the rectangle (Sutherland-Hodgman); the fill inside is unchanged.
std::vector<QPoint> ClipPolygon(const std::vector<QPoint>& points, const QRect& rect);

}  // namespace plovane
