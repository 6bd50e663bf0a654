// Web Mercator conversions and tile grid arithmetic.
#include "maps/web_mercator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace plovane {
namespace {

constexpr double kUnitsPerRadian = kUnitsPerDegree * 180.0 / std::numbers::pi;
constexpr int32_t kEquatorY = kMaxColatitude / 2;

}  // namespace

int32_t MercatorY(int32_t colatitude) {
    const double lat = std::clamp(90.0 - double(colatitude) / kUnitsPerDegree,
                                  -kMercatorMaxLatitude, kMercatorMaxLatitude);
    const double y = std::asinh(std::tan(lat * std::numbers::pi / 180.0)) * kUnitsPerRadian;
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
