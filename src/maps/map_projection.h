// SPDX-License-Identifier: GPL-3.0-or-later
// The map view's projection: map units (core/geo.h) to client pixels and back, with one
// offset and one divisor per axis. Map x and y grow right and down like pixels, so no flip is
// needed. The top 19 pixels of the client are the header strip; the map area lies below it.
//
// All arithmetic runs in 64 bits and results saturate to 32 bits, so a far-away point, an
// extreme zoom or a degenerate box never overflows.
#pragma once

#include <cstdint>
#include <limits>

#include "core/geo.h"

namespace plovane {

// Height of the header strip at the top of the client, pixels.
inline constexpr int kHeaderStripHeight = 19;
// One arc-minute in map units; the detail threshold counts view spans in these.
inline constexpr int32_t kDetailUnit = 6000;

inline int32_t ClampToInt32(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

// A box in map units; left/right are x (longitude units), top/bottom y (colatitude units).
struct MapBox {
    int32_t left = 0;
    int32_t right = kMaxLongitude;
    int32_t top = 0;
    int32_t bottom = kMaxColatitude;

    int64_t Width() const { return int64_t{right} - left; }
    int64_t Height() const { return int64_t{bottom} - top; }
    bool operator==(const MapBox&) const = default;
};

// The whole world: 180 W .. 180 E by north pole .. south pole.
inline constexpr MapBox kWorldBox{0, kMaxLongitude, 0, kMaxColatitude};

struct MapPoint {
    int32_t x = 0;  // longitude units
    int32_t y = 0;  // colatitude units
    bool operator==(const MapPoint&) const = default;
};

// Client pixel coordinates (origin at the client's top-left corner, header strip included).
struct PixelPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// A pixel rectangle, right and bottom exclusive as on the platform.
struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int64_t Width() const { return int64_t{right} - left; }
    int64_t Height() const { return int64_t{bottom} - top; }
    // The same rectangle with left <= right and top <= bottom.
    PixelRect Normalized() const;
    bool operator==(const PixelRect&) const = default;
};

// The box with reversed edges swapped, so its width and height are never negative.
MapBox NormalizedBox(const MapBox& box);

// Stores the span [low, high] (64-bit) in 32-bit edges: a span crossing the end of the range
// slides back inside it whole, and only a span longer than the range itself is cut.
void StoreSpan(int64_t low, int64_t high, int32_t& outLow, int32_t& outHigh);

// Widens [low, high] evenly (the odd unit to the high side) until it spans at least
// minSpan units. A span already as wide is left alone.
void WidenEvenly(int32_t& low, int32_t& high, int64_t minSpan);

// Whole map units per pixel for a span over a number of pixels: truncated, at least 1.
int32_t UnitsPerPixel(int64_t span, int pixels);

// The smallest box with the area's proportions that holds the whole given box (reversed
// edges swapped), centred on it, with the same whole number of map units per pixel on both
// axes and at least one.
MapBox FitBoxToArea(const MapBox& box, int areaWidth, int areaHeight);

// The detail threshold for a view: points and labels whose level is non-zero and below it
// are not drawn. Larger windows (320-pixel steps, up to 3) lower it, so more detail shows.
int32_t DetailThreshold(const MapBox& view, int areaWidth, int areaHeight);

// Whether a map point or label of this detail level is drawn under the threshold.
inline bool IsDetailShown(uint16_t level, int32_t threshold) {
    return level == 0 || level >= threshold;
}

// Converts between map units and client pixels for one view box and map area. In Mercator
// mode (tiles on) the view box's y edges are Mercator y (maps/web_mercator.h) and points'
// colatitudes are converted on the way; otherwise y is colatitude as it is.
// Thread-compatible value.
class MapProjection {
  public:
    // areaWidth and areaHeight are the map area below the header strip (values below 1
    // count as 1).
    MapProjection(const MapBox& view, int areaWidth, int areaHeight, bool mercator = false);

    // px = (x - left) / ux, py = 19 + (y - top) / uy, truncating toward zero.
    PixelPoint MapToScreen(int32_t x, int32_t y) const;
    PixelPoint MapToScreen(MapPoint p) const { return MapToScreen(p.x, p.y); }
    // x = left + px * ux, y = top + (py - 19) * uy.
    MapPoint ScreenToMap(int32_t px, int32_t py) const;
    MapPoint ScreenToMap(PixelPoint p) const { return ScreenToMap(p.x, p.y); }
    // The pixel in view units (Mercator y in Mercator mode, else the same as ScreenToMap).
    MapPoint ScreenToView(int32_t px, int32_t py) const;

    int32_t ux() const { return ux_; }  // map units per pixel, at least 1
    // Colatitude units per pixel (in Mercator mode the mean over the view's height).
    int32_t uy() const { return uyData_; }
    // The view box in map units (colatitude); viewUnits() is the box the view navigates.
    const MapBox& view() const { return data_; }
    const MapBox& viewUnits() const { return view_; }
    int32_t viewUy() const { return uy_; }
    bool mercator() const { return mercator_; }
    int areaWidth() const { return areaWidth_; }
    int areaHeight() const { return areaHeight_; }

  private:
    MapBox view_;
    MapBox data_;
    int areaWidth_;
    int areaHeight_;
    int32_t ux_;
    int32_t uy_;
    int32_t uyData_;
    bool mercator_;
};

}  // namespace plovane
