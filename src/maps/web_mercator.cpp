// SPDX-License-Identifier: GPL-3.0-or-later
// Web Mercator conversions and tile grid arithmetic.
#include "maps/web_mercator.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace plovane {
namespace {

constexpr double kUnitsPerRadian = kUnitsPerDegree * 180.0 / std::numbers::pi;
constexpr int32_t kEquatorY = kMaxColatitude / 2;

double ExactMercator(double latDegrees) {
    return std::asinh(std::tan(latDegrees * std::numbers::pi / 180.0)) * kUnitsPerRadian;
}

// Every vector point of a map is projected on each redraw, so the curve is tabulated: the
// value and slope every 1/100 degree, joined by cubic Hermite pieces (error far below one
// map unit). Built once, never changed.
constexpr int kStepsPerDegree = 100;
constexpr int kSamples = 180 * kStepsPerDegree + 1;  // 90 S .. 90 N

struct MercatorTable {
    std::vector<double> y, slope;  // map units; map units per step
    MercatorTable() : y(kSamples), slope(kSamples) {
        for (int i = 0; i < kSamples; ++i) {
            const double lat = std::clamp(i / double(kStepsPerDegree) - 90.0, -89.999, 89.999);
            y[i] = ExactMercator(lat);
            // dy/dlat = sec(lat), in units per step.
            slope[i] = kUnitsPerRadian / std::cos(lat * std::numbers::pi / 180.0) *
                       (std::numbers::pi / 180.0) / kStepsPerDegree;
        }
    }
};

const MercatorTable& Table() {
    static const MercatorTable table;
    return table;
}

}  // namespace

int32_t MercatorY(int32_t colatitude) {
    const double lat = std::clamp(90.0 - double(colatitude) / kUnitsPerDegree,
                                  -kMercatorMaxLatitude, kMercatorMaxLatitude);
    const double at = (lat + 90.0) * kStepsPerDegree;
    const int i = std::clamp(static_cast<int>(at), 0, kSamples - 2);
    const double t = at - i;
    const MercatorTable& table = Table();
    const double t2 = t * t, t3 = t2 * t;
    const double y = (2 * t3 - 3 * t2 + 1) * table.y[i] + (t3 - 2 * t2 + t) * table.slope[i] +
                     (-2 * t3 + 3 * t2) * table.y[i + 1] + (t3 - t2) * table.slope[i + 1];
    return std::clamp(static_cast<int32_t>(std::lround(kEquatorY - y)), kMercatorTop,
                      kMercatorBottom);
}

int32_t ColatitudeOfMercatorY(int32_t y) {
    const double m = double(kEquatorY - std::clamp(y, kMercatorTop, kMercatorBottom));
    const double lat = std::atan(std::sinh(m / kUnitsPerRadian)) * 180.0 / std::numbers::pi;
    return static_cast<int32_t>(std::lround((90.0 - lat) * kUnitsPerDegree));
}

double TileSpanUnits(int z) {
    return double(kMaxLongitude) / double(int64_t{1} << std::clamp(z, 0, 62));
}

int TileZoomFor(double unitsPerPixel, int maxZoom) {
    const double pixelsPerTileAtZ0 = double(kMaxLongitude) / std::max(unitsPerPixel, 1e-9);
    const double z = std::log2(pixelsPerTileAtZ0 / kTileSize);
    return std::clamp(static_cast<int>(std::lround(z)), 0, std::clamp(maxZoom, 0, kMaxTileZoom));
}

bool IsValidTile(const TileId& tile) {
    if (tile.z < 0 || tile.z > kMaxTileZoom)
        return false;
    const int n = 1 << tile.z;
    return tile.x >= 0 && tile.x < n && tile.y >= 0 && tile.y < n;
}

TileRange TilesCovering(const MapBox& box, int z, int ring) {
    TileRange r;
    r.z = std::clamp(z, 0, kMaxTileZoom);
    const double span = TileSpanUnits(r.z);
    const int last = (1 << r.z) - 1;
    const auto index = [&](double units) {
        return static_cast<int>(std::clamp(std::floor(units / span), -1.0, double(last) + 1));
    };
    r.x0 = std::max(index(box.left) - ring, 0);
    r.x1 = std::min(index(std::nextafter(double(box.right), -1e300)) + ring, last);
    r.y0 = std::max(index(double(box.top) - kMercatorTop) - ring, 0);
    r.y1 = std::min(index(std::nextafter(double(box.bottom) - kMercatorTop, -1e300)) + ring, last);
    return r;
}

}  // namespace plovane
