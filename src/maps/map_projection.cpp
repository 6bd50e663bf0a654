// SPDX-License-Identifier: GPL-3.0-or-later
// Projection arithmetic of the map view.
#include "maps/map_projection.h"

#include <algorithm>
#include <utility>

#include "maps/web_mercator.h"

namespace plovane {
namespace {

int64_t CeilDiv(int64_t value, int64_t divisor) {
    return value <= 0 ? 0 : (value + divisor - 1) / divisor;
}

}  // namespace

PixelRect PixelRect::Normalized() const {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
}

MapBox NormalizedBox(const MapBox& box) {
    MapBox out = box;
    if (out.left > out.right)
        std::swap(out.left, out.right);
    if (out.top > out.bottom)
        std::swap(out.top, out.bottom);
    return out;
}

void StoreSpan(int64_t low, int64_t high, int32_t& outLow, int32_t& outHigh) {
    constexpr int64_t kLowest = std::numeric_limits<int32_t>::min();
    constexpr int64_t kHighest = std::numeric_limits<int32_t>::max();
    if (high > kHighest) {
        low -= high - kHighest;
        high = kHighest;
    }
    if (low < kLowest) {
        high = std::min(high + (kLowest - low), kHighest);
        low = kLowest;
    }
    outLow = static_cast<int32_t>(low);
    outHigh = static_cast<int32_t>(high);
}

void WidenEvenly(int32_t& low, int32_t& high, int64_t minSpan) {
    const int64_t span = int64_t{high} - low;
    if (span >= minSpan)
        return;
    const int64_t extra = minSpan - span;
    StoreSpan(low - extra / 2, high + (extra - extra / 2), low, high);
}

int32_t UnitsPerPixel(int64_t span, int pixels) {
    const int64_t perPixel = span / std::max(pixels, 1);
    return ClampToInt32(std::max<int64_t>(perPixel, 1));
}

MapBox FitBoxToArea(const MapBox& box, int areaWidth, int areaHeight) {
    const int64_t w = std::max(areaWidth, 1);
    const int64_t h = std::max(areaHeight, 1);
    MapBox out = NormalizedBox(box);
    // Rounding the units per pixel up keeps the whole box in view; the truncating ratio
    // could crop up to one pixel's worth of units per pixel column, or collapse a box
    // narrower than the window.
    const int64_t r =
        std::max<int64_t>({CeilDiv(out.Width(), w), CeilDiv(out.Height(), h), int64_t{1}});
    WidenEvenly(out.left, out.right, r * w);
    WidenEvenly(out.top, out.bottom, r * h);
    return out;
}

int32_t DetailThreshold(const MapBox& view, int areaWidth, int areaHeight) {
    const int64_t kx = std::clamp(std::max(areaWidth, 1) / 320 + 1, 1, 3);
    const int64_t ky = std::clamp(std::max(areaHeight, 1) / 320 + 1, 1, 3);
    const int64_t tx = (view.Width() / kDetailUnit) * (4 - kx);
    const int64_t ty = (view.Height() / kDetailUnit) * (4 - ky);
    return ClampToInt32(std::max<int64_t>(std::min(tx, ty), 0));
}

MapProjection::MapProjection(const MapBox& view, int areaWidth, int areaHeight, bool mercator)
    : view_(view),
      data_(view),
      areaWidth_(std::max(areaWidth, 1)),
      areaHeight_(std::max(areaHeight, 1)),
      ux_(UnitsPerPixel(view.Width(), areaWidth_)),
      uy_(UnitsPerPixel(view.Height(), areaHeight_)),
      uyData_(uy_),
      mercator_(mercator) {
    if (mercator_) {
        data_.top = ColatitudeOfMercatorY(view.top);
        data_.bottom = ColatitudeOfMercatorY(view.bottom);
        uyData_ = UnitsPerPixel(data_.Height(), areaHeight_);
    }
}

PixelPoint MapProjection::MapToScreen(int32_t x, int32_t y) const {
    const int32_t vy = mercator_ ? MercatorY(y) : y;
    return {ClampToInt32((int64_t{x} - view_.left) / ux_),
            ClampToInt32(kHeaderStripHeight + (int64_t{vy} - view_.top) / uy_)};
}

MapPoint MapProjection::ScreenToView(int32_t px, int32_t py) const {
    return {ClampToInt32(view_.left + int64_t{px} * ux_),
            ClampToInt32(view_.top + (int64_t{py} - kHeaderStripHeight) * uy_)};
}

MapPoint MapProjection::ScreenToMap(int32_t px, int32_t py) const {
    MapPoint p = ScreenToView(px, py);
    if (mercator_)
        p.y = ColatitudeOfMercatorY(p.y);
    return p;
}

}  // namespace plovane
