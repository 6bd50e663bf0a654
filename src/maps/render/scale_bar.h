// SPDX-License-Identifier: GPL-3.0-or-later
// The one-inch scale bar: how far one inch of the map reaches at the centre of the view,
// and the text written over the bar.
#pragma once

#include <cstdint>
#include <string>

#include "maps/map_projection.h"

namespace plovane {

// Miles, nautical miles or kilometres (by units of measure 0, 1, 2) that one inch covers
// horizontally at the view's centre latitude; 0 or less when the centre is off the globe.
double ScaleInchDistance(const MapBox& view, int32_t unitsPerPixelX, double pixelsPerInch,
                         int unitsOfMeasure);

// "2640.0 ft", "0.25 mi", "3.5 km", "1,234 nmi" or "Off Edge of Globe".
std::string ScaleText(double distance, int unitsOfMeasure);

}  // namespace plovane
