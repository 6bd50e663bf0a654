// SPDX-License-Identifier: GPL-3.0-or-later
// The map view's navigation state without any window: the visible box of the world, the
// limits it may be moved within, fitting to a map and to the window's proportions, the View
// menu commands (zoom in/out, home, refresh, drag to zoom, drag to move), the tap-versus-drag
// rule, centring on a position and keeping the own station in view. The Qt widget owns one,
// forwards its size and mouse events to it, and repaints when an operation returns true; the
// renderer calls PrepareForDrawing first and projects with MapToScreen.
#pragma once

#include <cstdint>
#include <optional>

#include "maps/map_data.h"
#include "maps/map_options.h"
#include "maps/map_projection.h"

namespace plovane {

enum class DragMode { kZoom, kMove };

// A drag shorter than this (pixels) is a tap.
inline constexpr int kTapThresholdPixels = 10;

// What a pointer move asks the window to show while dragging.
struct DragFeedback {
    bool erasePrevious = false;  // a rectangle was shown before and must be removed
    PixelRect previous;
    PixelRect current;  // the rectangle to show now
};

enum class DragResult {
    kNone,    // no drag was in progress
    kZoomed,  // the view box changed: repaint
    kMoved,   // the view box changed: repaint
    kTap,     // pick the stations under `point`
};

struct DragOutcome {
    DragResult result = DragResult::kNone;
    PixelPoint point;        // the release point
    bool eraseRect = false;  // a rectangle is shown and must be removed
    PixelRect rect;          // that rectangle
};

// Thread-compatible: used on the user-interface thread only.
class CMapView {
  public:
    // nowMs: the tick count, taken as the last complete redraw.
    explicit CMapView(int64_t nowMs = 0);

    // --- Window ---
    // The client size in pixels, header strip included. A new size shows the box last asked
    // for (by fitting or a navigation command) fitted anew to the window's proportions, and
    // works the limits out again for them.
    void Resize(int clientWidth, int clientHeight);
    int clientWidth() const { return clientWidth_; }
    int clientHeight() const { return clientHeight_; }
    // True when the map area below the header strip is at least one pixel each way.
    bool HasWindow() const;
    int AreaWidth() const;   // W: client width, at least 1
    int AreaHeight() const;  // H: client height less the header strip, at least 1

    // --- State ---
    const MapBox& viewBox() const { return view_; }
    // The world the view moves in (the grid's or the Mercator square), once the first
    // drawing has set it.
    const MapBox& limitsBox() const { return limits_; }
    bool limitsSet() const { return limitsSet_; }
    bool aspectFixed() const { return aspectFixed_; }
    // The off-screen copy matches the view box; the renderer sets it after a complete
    // redraw with a picture bitmap.
    bool backgroundValid() const { return backgroundValid_; }
    void SetBackgroundValid(bool valid) { backgroundValid_ = valid; }
    DragMode dragMode() const { return dragMode_; }
    void SetDragMode(DragMode mode) { dragMode_ = mode; }

    // --- Projection of the current view box ---
    // Web Mercator (tiles on) or the plain latitude/longitude grid. Switching keeps the
    // centre and the scale along the parallel through it.
    void SetMercator(bool on);
    bool mercator() const { return mercator_; }
    MapProjection Projection() const;
    PixelPoint MapToScreen(int32_t x, int32_t y) const { return Projection().MapToScreen(x, y); }
    MapPoint ScreenToMap(int32_t px, int32_t py) const { return Projection().ScreenToMap(px, py); }
    int32_t ux() const { return Projection().ux(); }
    int32_t uy() const { return Projection().uy(); }
    // Points and labels with a non-zero level below this are not drawn.
    int32_t DetailThreshold() const;

    // --- Drawing ---
    // Run at the start of every drawing: sets the limits on the first one, fits the view to
    // a map not yet fitted (and marks it fitted), widens the view box to the window's
    // proportions when needed and keeps it on the world (see KeepOnWorld), and empties the
    // tables of a map that is not loaded. Returns false (doing nothing) while there is no
    // map area.
    bool PrepareForDrawing(CMapData& map);
    // The renderer calls this when it starts a complete redraw.
    void MarkCompleteRedraw(int64_t nowMs) { lastCompleteRedrawMs_ = nowMs; }
    int64_t lastCompleteRedrawMs() const { return lastCompleteRedrawMs_; }
    // The periodic complete redraw is on and its period has passed since the last one.
    bool IsCompleteRedrawDue(const CMapOptions& options, int64_t nowMs) const;

    // --- Commands: each returns true when the view changed and the window must repaint ---
    // View box = the map's box (reversed edges swapped); proportions are restored by the
    // next drawing.
    void FitToMap(const CMapData& map);
    // Shows a box kept from an earlier run (reversed edges swapped); the next drawing fits
    // it to the window's proportions.
    void ShowBox(const MapBox& box);
    bool Home(const CMapData& map);
    // Halves the span each way, keeping at least one map unit per pixel.
    bool ZoomIn();
    // Doubles the span each way, no further than the world fills the window, kept on the
    // world; nothing before the first drawing.
    bool ZoomOut();
    // ZoomIn or ZoomOut that keeps the map point under the client pixel `p` at `p` (the
    // wheel and the zoom keys zoom about the pointer). The new box is fitted to the window
    // at once, so the next drawing uses exactly the projection the point was kept with; a
    // zoom out is still kept inside the limits.
    bool ZoomAbout(PixelPoint p, bool in);
    // A complete redraw without moving.
    bool Refresh();
    // The view becomes the pixel rectangle (either corner order) in map units; false, and
    // nothing changes, when it is less than 10 pixels wide or high (that is a tap).
    bool ZoomToRect(const PixelRect& rect);
    // The picture follows a pointer moved by (dx, dy) pixels; the view is kept inside the
    // limits once they are set.
    bool Pan(int32_t dx, int32_t dy);
    // How far the picture may follow a drag of (dx, dy) pixels before the view would leave
    // the world: the offset to show while dragging.
    PixelPoint PanAllowed(int32_t dx, int32_t dy) const;
    // Moves the view, keeping its size, so that its centre is on the position, or as near
    // as the world's edges allow; positions outside the world, and a view already there,
    // give false.
    bool CenterOn(int32_t colatitude, int32_t longitude);
    // The position lies within the inner three quarters of the view, edges included.
    bool IsWellInView(int32_t colatitude, int32_t longitude) const;
    // "TrackMe": with the option set and the own station placed but not well in view, centre
    // on its position (map units). Returns true when the view moved.
    bool TrackMe(const CMapOptions& options, bool hasPosition, int32_t colatitude,
                 int32_t longitude);

    // --- Dragging (client pixel points) ---
    void OnLButtonDown(PixelPoint p);
    DragFeedback OnMouseMove(PixelPoint p);
    DragOutcome OnLButtonUp(PixelPoint p);
    bool tracking() const { return tracking_; }
    // The rubber band being shown, if any.
    std::optional<PixelRect> DragRectangle() const;

  private:
    void ViewChanged();  // the box moved or was resized: the proportions and copy are stale
    // The most map units per pixel that still fill the window with the world in its
    // narrower direction.
    int64_t MaxUnitsPerPixel() const;
    // The fitted view box, shrunk about its centre to that scale when it is wider, then
    // moved (not resized) onto the world: the picture never shows what lies beyond the poles
    // or the date line.
    void KeepOnWorld();
    // A colatitude in the units of the view box's y edges.
    int32_t ViewY(int32_t colatitude) const;

    int clientWidth_ = 0;
    int clientHeight_ = 0;
    MapBox view_ = kWorldBox;
    MapBox requested_ = kWorldBox;  // the view box before widening to the window's proportions
    MapBox limits_ = kWorldBox;
    bool limitsSet_ = false;
    bool aspectFixed_ = false;
    bool backgroundValid_ = false;
    bool mercator_ = false;
    DragMode dragMode_ = DragMode::kZoom;
    bool tracking_ = false;
    PixelPoint start_;
    PixelRect dragRect_;
    bool rectNotYetDrawn_ = true;
    int64_t lastCompleteRedrawMs_ = 0;
};

}  // namespace plovane
