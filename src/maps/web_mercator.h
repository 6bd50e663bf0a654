// SPDX-License-Identifier: GPL-3.0-or-later
// Web Mercator in map units, and the tile grid over it. With tiles on, the map view's y axis
// holds Mercator y instead of colatitude, in the same units as longitude (1/360000 degree), so
// the navigation arithmetic stays linear and one unit is as wide as it is high:
//   y = 32 400 000 - asinh(tan(lat)) * 180/pi * 360 000,
// which runs from -32 400 000 at 85.0511 N to 97 200 000 at 85.0511 S: the world is a square
// of 129 600 000 units, exactly the tile pyramid's square.
#pragma once

#include <cstdint>

#include "maps/map_projection.h"

namespace plovane {

inline constexpr int32_t kMercatorTop = -32400000;    // 85.0511 N
inline constexpr int32_t kMercatorBottom = 97200000;  // 85.0511 S
inline constexpr MapBox kMercatorWorldBox{0, kMaxLongitude, kMercatorTop, kMercatorBottom};
// The latitude where the square world ends, degrees.
inline constexpr double kMercatorMaxLatitude = 85.05112877980659;

// Colatitude (map units) to Mercator y (map units); latitudes beyond the square are clamped
// to its edges.
int32_t MercatorY(int32_t colatitude);
// Mercator y back to colatitude; y beyond the square is clamped to its edges.
int32_t ColatitudeOfMercatorY(int32_t y);

// --- The tile pyramid (XYZ numbering: x east from 180 W, y south from 85.0511 N) ---
inline constexpr int kTileSize = 256;  // pixels
inline constexpr int kMaxTileZoom = 22;

struct TileId {
    int z = 0;
    int x = 0;
    int y = 0;
    bool operator==(const TileId&) const = default;
    // One number per tile, for hash keys (z < 32, x and y < 2^29).
    uint64_t Key() const {
        return (uint64_t(z) << 58) | (uint64_t(uint32_t(x)) << 29) | uint64_t(uint32_t(y));
    }
};

// The tile's edge, map units (129 600 000 / 2^z; not a whole number above zoom 9).
double TileSpanUnits(int z);
// The tile zoom for a view of this many map units per pixel: the nearest level whose tiles
// are drawn at 0.71..1.41 times their size, within [0, maxZoom].
int TileZoomFor(double unitsPerPixel, int maxZoom);
// MBTiles store rows bottom-up (TMS): row = 2^z - 1 - y.
inline int TmsRow(int z, int y) {
    return (1 << z) - 1 - y;
}
bool IsValidTile(const TileId& tile);

// Inclusive tile ranges at one zoom covering a Mercator box, clamped to the pyramid.
struct TileRange {
    int z = 0;
    int x0 = 0, x1 = -1, y0 = 0, y1 = -1;  // empty when x1 < x0
    int Count() const { return x1 < x0 || y1 < y0 ? 0 : (x1 - x0 + 1) * (y1 - y0 + 1); }
    bool Contains(const TileId& t) const {
        return t.z == z && t.x >= x0 && t.x <= x1 && t.y >= y0 && t.y <= y1;
    }
};
// `ring` more tiles on every side (the one ring fetched ahead of panning).
TileRange TilesCovering(const MapBox& mercatorBox, int z, int ring = 0);

}  // namespace plovane
