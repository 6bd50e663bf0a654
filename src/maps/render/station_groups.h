// SPDX-License-Identifier: GPL-3.0-or-later
// Dense areas of the map: where station symbols would overlap, the stations are shown as one
// count bubble at their mean position. The map is cut into square cells of kGroupCellPixels at
// the view's scale, counted from the world's corner rather than the view's, so the groups stay
// as they are while the view pans, and split as it zooms in (the cells shrink on the map). A
// cell's stations form a group when two of their symbols would overlap. One station changing
// touches its old and new cell only, so it can be drawn again alone.
#pragma once

#include <QPainter>
#include <QRect>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "maps/map_projection.h"
#include "maps/render/render_resources.h"

namespace plovane {

inline constexpr int kGroupCellPixels = 40;

struct StationGroup {
    struct Member {
        size_t index;  // the caller's number for the station
        MapPoint at;   // its position, map units
    };
    std::vector<Member> members;  // in the order they were added
    bool grouped = false;         // drawn as a bubble, the members not drawn
    MapPoint mean;                // the members' mean position, map units
    QRect bubble;                 // where the bubble is drawn, pixels
};

// Thread-compatible value: made by a complete drawing and kept beside its picture.
class CStationGroups {
  public:
    // Starts anew for a view; with `on` false nothing groups (Add is not to be called).
    void Reset(const MapProjection& projection, bool on);
    bool on() const { return on_; }
    bool mercator() const { return projection_ && projection_->mercator(); }

    // The cell a position falls in.
    uint64_t CellOf(MapPoint at) const;
    // A station into its cell; the cell is settled by Settle or SettleAll.
    uint64_t Add(size_t index, MapPoint at);
    void Remove(size_t index, uint64_t cell);
    // Works out whether a cell's stations group, their mean and the bubble.
    void Settle(uint64_t cell);
    void SettleAll();

    const StationGroup* Find(uint64_t cell) const;
    // Whether the station in this cell is drawn in a bubble rather than alone.
    bool InBubble(uint64_t cell) const;
    // The group whose bubble is under a pixel.
    const StationGroup* BubbleAt(PixelPoint p) const;
    const std::unordered_map<uint64_t, StationGroup>& cells() const { return cells_; }

  private:
    std::optional<MapProjection> projection_;
    bool on_ = false;
    int64_t cellWidth_ = 1;   // map units
    int64_t cellHeight_ = 1;  // view units (Mercator y with tiles on)
    std::unordered_map<uint64_t, StationGroup> cells_;
};

// The bubble for `count` stations centred on a pixel: wider for more digits.
QRect GroupBubbleRect(PixelPoint centre, size_t count);
// A filled circle with a white rim and the count in white.
void DrawGroupBubble(QPainter& painter, const RenderResources& resources,
                     const StationGroup& group);

}  // namespace plovane
