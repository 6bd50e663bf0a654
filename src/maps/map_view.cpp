// SPDX-License-Identifier: GPL-3.0-or-later
// Navigation of the map view.
#include "maps/map_view.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "maps/web_mercator.h"

namespace plovane {
namespace {

// Moves [low, high] by delta units without changing its span; the move stops where an edge
// would leave the 32-bit range.
void Shift(int32_t& low, int32_t& high, int64_t delta) {
    delta = std::clamp(delta, int64_t{std::numeric_limits<int32_t>::min()} - low,
                       int64_t{std::numeric_limits<int32_t>::max()} - high);
    low = static_cast<int32_t>(low + delta);
    high = static_cast<int32_t>(high + delta);
}

// Brings [low, high] back inside [limitLow, limitHigh] without changing its span. A span
// wider than the limits cannot fit: it is centred on them instead of being pushed to one side.
void KeepInside(int32_t& low, int32_t& high, int32_t limitLow, int32_t limitHigh) {
    const int64_t span = int64_t{high} - low;
    const int64_t limitSpan = int64_t{limitHigh} - limitLow;
    if (span > limitSpan) {
        const int64_t newLow = limitLow - (span - limitSpan) / 2;
        Shift(low, high, newLow - low);
        return;
    }
    if (low < limitLow)
        Shift(low, high, int64_t{limitLow} - low);
    if (high > limitHigh)
        Shift(low, high, int64_t{limitHigh} - high);
}

// A span narrower than the area is widened evenly to one more than the area's pixels.
void WidenZoomSpan(int32_t& low, int32_t& high, int pixels) {
    const int64_t span = int64_t{high} - low;
    if (span >= pixels)
        return;
    const int64_t d = (span - pixels - 1) / 2;  // negative: moves the edges outward
    StoreSpan(low + d, high - d, low, high);
}

// Centre of [low, high] as the view computes it.
int64_t Centre(int32_t low, int32_t high) {
    return low + (int64_t{high} - low) / 2;
}

}  // namespace

CMapView::CMapView(int64_t nowMs) : lastCompleteRedrawMs_(nowMs) {}

// --- Window ---

bool CMapView::HasWindow() const {
    return clientWidth_ > 0 && clientHeight_ > kHeaderStripHeight;
}

int CMapView::AreaWidth() const {
    return std::max(clientWidth_, 1);
}

int CMapView::AreaHeight() const {
    return std::max(clientHeight_ - kHeaderStripHeight, 1);
}

void CMapView::Resize(int clientWidth, int clientHeight) {
    clientWidth = std::max(clientWidth, 0);
    clientHeight = std::max(clientHeight, 0);
    if (clientWidth == clientWidth_ && clientHeight == clientHeight_)
        return;
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    backgroundValid_ = false;
    limitsSet_ = false;  // the limits carry the window's proportions
    // The next drawing fits the box last asked for to the new proportions; starting from it
    // rather than from the widened box keeps back-and-forth resizing from zooming out.
    view_ = requested_;
    aspectFixed_ = false;
}

// --- Projection ---

MapProjection CMapView::Projection() const {
    return MapProjection(view_, AreaWidth(), AreaHeight(), mercator_);
}

int32_t CMapView::DetailThreshold() const {
    return plovane::DetailThreshold(Projection().view(), AreaWidth(), AreaHeight());
}

int32_t CMapView::ViewY(int32_t colatitude) const {
    return mercator_ ? MercatorY(colatitude) : colatitude;
}

void CMapView::SetMercator(bool on) {
    if (on == mercator_)
        return;
    // The centre moves to the other grid; the spans stay, so one unit per pixel each way
    // stays one unit per pixel: the same scale along the centre's parallel.
    const auto convert = [on](MapBox& box) {
        const int64_t centre = Centre(box.top, box.bottom);
        const int64_t moved =
            on ? MercatorY(ClampToInt32(centre)) : ColatitudeOfMercatorY(ClampToInt32(centre));
        Shift(box.top, box.bottom, moved - centre);
    };
    convert(view_);
    convert(requested_);
    mercator_ = on;
    limitsSet_ = false;
    aspectFixed_ = false;
    backgroundValid_ = false;
}

// --- Drawing ---

bool CMapView::PrepareForDrawing(CMapData& map) {
    if (!HasWindow())
        return false;
    if (!map.loaded) {
        map.points.clear();
        map.labels.clear();
    }
    if (!limitsSet_) {
        limits_ = mercator_ ? kMercatorWorldBox : kWorldBox;
        limitsSet_ = true;
    }
    if (!map.fitted) {
        FitToMap(map);
        map.fitted = true;
    }
    if (!aspectFixed_) {
        view_ = FitBoxToArea(view_, AreaWidth(), AreaHeight());
        KeepOnWorld();
        aspectFixed_ = true;
    }
    return true;
}

int64_t CMapView::MaxUnitsPerPixel() const {
    return std::max<int64_t>(
        1, std::min(limits_.Width() / AreaWidth(), limits_.Height() / AreaHeight()));
}

void CMapView::KeepOnWorld() {
    if (!limitsSet_)
        return;
    // Zoomed out further than the world fills the window: the widest view that still shows
    // nothing but the world, about the same centre.
    const int64_t r = MaxUnitsPerPixel();
    if (view_.Width() > r * AreaWidth() || view_.Height() > r * AreaHeight()) {
        const int64_t w = r * AreaWidth();
        const int64_t h = r * AreaHeight();
        const int64_t left = Centre(view_.left, view_.right) - w / 2;
        const int64_t top = Centre(view_.top, view_.bottom) - h / 2;
        StoreSpan(left, left + w, view_.left, view_.right);
        StoreSpan(top, top + h, view_.top, view_.bottom);
    }
    KeepInside(view_.left, view_.right, limits_.left, limits_.right);
    KeepInside(view_.top, view_.bottom, limits_.top, limits_.bottom);
}

bool CMapView::IsCompleteRedrawDue(const CMapOptions& options, int64_t nowMs) const {
    return options.bRedrawScreenEvery &&
           nowMs - lastCompleteRedrawMs_ > int64_t{options.RedrawScreenEvery} * 60000;
}

// --- Commands ---

void CMapView::ViewChanged() {
    requested_ = view_;
    aspectFixed_ = false;
    backgroundValid_ = false;
}

void CMapView::FitToMap(const CMapData& map) {
    view_ = NormalizedBox({map.left, map.right, ViewY(map.top), ViewY(map.bottom)});
    ViewChanged();
}

void CMapView::ShowBox(const MapBox& box) {
    view_ = NormalizedBox(box);
    ViewChanged();
}

bool CMapView::Home(const CMapData& map) {
    FitToMap(map);
    return true;
}

bool CMapView::ZoomIn() {
    if (!HasWindow())
        return false;
    const int64_t quarterX = view_.Width() / 4;
    const int64_t quarterY = view_.Height() / 4;
    view_.left = ClampToInt32(view_.left + quarterX);
    view_.right = ClampToInt32(view_.right - quarterX);
    view_.top = ClampToInt32(view_.top + quarterY);
    view_.bottom = ClampToInt32(view_.bottom - quarterY);
    WidenEvenly(view_.left, view_.right, AreaWidth());
    WidenEvenly(view_.top, view_.bottom, AreaHeight());
    ViewChanged();
    return true;
}

bool CMapView::ZoomOut() {
    if (!HasWindow() || !limitsSet_)
        return false;
    const int64_t halfX = view_.Width() / 2;
    const int64_t halfY = view_.Height() / 2;
    StoreSpan(view_.left - halfX, view_.right + halfX, view_.left, view_.right);
    StoreSpan(view_.top - halfY, view_.bottom + halfY, view_.top, view_.bottom);
    // Fitted to the window at once: the widest view is where the world fills it.
    view_ = FitBoxToArea(view_, AreaWidth(), AreaHeight());
    KeepOnWorld();
    requested_ = view_;
    aspectFixed_ = true;
    backgroundValid_ = false;
    return true;
}

bool CMapView::ZoomAbout(PixelPoint p, bool in) {
    if (!HasWindow())
        return false;
    // In the view's own units: in Mercator y is not colatitude, and shifting the box by a
    // colatitude difference would slide the latitude under the pointer.
    const MapPoint anchor = Projection().ScreenToView(p.x, p.y);
    if (!(in ? ZoomIn() : ZoomOut()))
        return false;
    view_ = FitBoxToArea(view_, AreaWidth(), AreaHeight());
    const MapPoint moved = Projection().ScreenToView(p.x, p.y);
    Shift(view_.left, view_.right, int64_t{anchor.x} - moved.x);
    Shift(view_.top, view_.bottom, int64_t{anchor.y} - moved.y);
    KeepOnWorld();
    requested_ = view_;
    aspectFixed_ = true;
    backgroundValid_ = false;
    return true;
}

bool CMapView::Refresh() {
    backgroundValid_ = false;
    return true;
}

bool CMapView::ZoomToRect(const PixelRect& rect) {
    const PixelRect r = rect.Normalized();
    if (!HasWindow() || r.Width() < kTapThresholdPixels || r.Height() < kTapThresholdPixels)
        return false;
    const MapProjection projection = Projection();
    const MapPoint topLeft = projection.ScreenToView(r.left, r.top);
    const MapPoint bottomRight = projection.ScreenToView(r.right, r.bottom);
    MapBox box{topLeft.x, bottomRight.x, topLeft.y, bottomRight.y};
    WidenZoomSpan(box.left, box.right, AreaWidth());
    WidenZoomSpan(box.top, box.bottom, AreaHeight());
    view_ = box;
    ViewChanged();
    return true;
}

bool CMapView::Pan(int32_t dx, int32_t dy) {
    if (!HasWindow())
        return false;
    const MapProjection projection = Projection();
    Shift(view_.left, view_.right, -int64_t{dx} * projection.ux());
    Shift(view_.top, view_.bottom, -int64_t{dy} * projection.viewUy());
    if (limitsSet_) {
        KeepInside(view_.left, view_.right, limits_.left, limits_.right);
        KeepInside(view_.top, view_.bottom, limits_.top, limits_.bottom);
    }
    ViewChanged();
    return true;
}

PixelPoint CMapView::PanAllowed(int32_t dx, int32_t dy) const {
    if (!HasWindow() || !limitsSet_)
        return {dx, dy};
    const MapProjection projection = Projection();
    // A drag of d pixels moves the view by -d pixels' worth of units; it may go as far as
    // the world's edges, whole pixels only.
    const auto axis = [](int32_t d, int32_t low, int32_t high, int32_t limitLow, int32_t limitHigh,
                         int64_t unit) {
        const int64_t towardLow = std::max<int64_t>(0, (int64_t{low} - limitLow) / unit);
        const int64_t towardHigh = std::max<int64_t>(0, (int64_t{limitHigh} - high) / unit);
        return static_cast<int32_t>(std::clamp<int64_t>(d, -towardHigh, towardLow));
    };
    return {axis(dx, view_.left, view_.right, limits_.left, limits_.right, projection.ux()),
            axis(dy, view_.top, view_.bottom, limits_.top, limits_.bottom, projection.viewUy())};
}

bool CMapView::CenterOn(int32_t colatitude, int32_t longitude) {
    if (colatitude < 0 || colatitude > kMaxColatitude || longitude < 0 ||
        longitude > kMaxLongitude) {
        return false;
    }
    const MapBox before = view_;
    Shift(view_.left, view_.right, longitude - Centre(view_.left, view_.right));
    Shift(view_.top, view_.bottom, ViewY(colatitude) - Centre(view_.top, view_.bottom));
    if (limitsSet_) {
        KeepInside(view_.left, view_.right, limits_.left, limits_.right);
        KeepInside(view_.top, view_.bottom, limits_.top, limits_.bottom);
    }
    if (view_ == before)
        return false;  // already as near as the world's edge allows
    requested_ = view_;
    backgroundValid_ = false;
    return true;
}

bool CMapView::IsWellInView(int32_t colatitude, int32_t longitude) const {
    const int64_t marginX = view_.Width() * 3 / 8;
    const int64_t marginY = view_.Height() * 3 / 8;
    const int64_t cx = Centre(view_.left, view_.right);
    const int64_t cy = Centre(view_.top, view_.bottom);
    const int32_t y = ViewY(colatitude);
    return longitude >= cx - marginX && longitude <= cx + marginX && y >= cy - marginY &&
           y <= cy + marginY;
}

bool CMapView::TrackMe(const CMapOptions& options, bool hasPosition, int32_t colatitude,
                       int32_t longitude) {
    // An own station without a position would otherwise pull the view to 0 N 0 E.
    if (!options.TrackMe || !hasPosition)
        return false;
    if (IsWellInView(colatitude, longitude))
        return false;
    return CenterOn(colatitude, longitude);
}

// --- Dragging ---

void CMapView::OnLButtonDown(PixelPoint p) {
    if (!HasWindow())
        return;
    tracking_ = true;
    start_ = p;
    dragRect_ = {p.x, p.y, p.x, p.y};
    rectNotYetDrawn_ = true;
}

DragFeedback CMapView::OnMouseMove(PixelPoint p) {
    DragFeedback feedback;
    if (!tracking_)
        return feedback;
    feedback.erasePrevious = !rectNotYetDrawn_;
    feedback.previous = dragRect_;
    if (dragMode_ == DragMode::kZoom) {
        dragRect_ = PixelRect{start_.x, start_.y, p.x, p.y}.Normalized();
    } else {
        const int64_t dx = int64_t{p.x} - start_.x;
        const int64_t dy = int64_t{p.y} - start_.y;
        dragRect_ = {ClampToInt32(dx), ClampToInt32(dy), ClampToInt32(clientWidth_ + dx),
                     ClampToInt32(clientHeight_ + dy)};
    }
    rectNotYetDrawn_ = false;
    feedback.current = dragRect_;
    return feedback;
}

DragOutcome CMapView::OnLButtonUp(PixelPoint p) {
    DragOutcome outcome;
    if (!tracking_)
        return outcome;
    tracking_ = false;
    outcome.eraseRect = !rectNotYetDrawn_;
    outcome.rect = dragRect_;
    rectNotYetDrawn_ = true;
    outcome.point = p;
    if (dragMode_ == DragMode::kZoom) {
        outcome.result =
            ZoomToRect({start_.x, start_.y, p.x, p.y}) ? DragResult::kZoomed : DragResult::kTap;
        return outcome;
    }
    const int64_t dx = int64_t{p.x} - start_.x;
    const int64_t dy = int64_t{p.y} - start_.y;
    if (std::llabs(dx) < kTapThresholdPixels && std::llabs(dy) < kTapThresholdPixels) {
        outcome.result = DragResult::kTap;
        return outcome;
    }
    Pan(ClampToInt32(dx), ClampToInt32(dy));
    outcome.result = DragResult::kMoved;
    return outcome;
}

std::optional<PixelRect> CMapView::DragRectangle() const {
    if (!tracking_ || rectNotYetDrawn_)
        return std::nullopt;
    return dragRect_;
}

}  // namespace plovane
