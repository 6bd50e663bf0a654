// SPDX-License-Identifier: GPL-3.0-or-later
// Where the station calls go on the map so that they never pile up: each label tries the
// places around its symbol in turn (right, left, above, below, then the corners) and takes
// the first that covers no label already placed and no other symbol; labels are placed in
// order of priority (own station, the selected one, moving ones, then the rest), and a
// label with no free place is not drawn, except the own and the selected station's, which
// may then cover a symbol. Pixel geometry only, no drawing.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "maps/map_projection.h"

namespace plovane {

// Higher goes first.
enum LabelPriority : int {
    kLabelPriorityOther = 0,
    kLabelPriorityMoving = 1,
    kLabelPrioritySelected = 2,
    kLabelPriorityOwn = 3,
};

struct LabelRequest {
    PixelPoint anchor;  // the symbol's centre
    int width = 0;      // the text's size, pixels
    int height = 0;
    int priority = kLabelPriorityOther;
};

// Half the side of the square a symbol covers, and the gap between a symbol and its label.
inline constexpr int kSymbolHalfSize = 8;
inline constexpr int kLabelGap = 1;

// One result per request, in request order: the label's box, or nothing when it could not
// be placed inside `area` without overlapping.
struct LabelPlacement {
    bool shown = false;
    PixelRect box;
};
std::vector<LabelPlacement> PlaceLabels(const std::vector<LabelRequest>& requests,
                                        const PixelRect& area);

// Boxes bucketed by 64-pixel cells, so a test looks only at its neighbours: 10 000
// stations place in a few milliseconds.
class LabelBoxGrid {
  public:
    void Add(const PixelRect& box);
    // True when `box` overlaps a stored box other than the one added as number `ignore`.
    bool Hits(const PixelRect& box, size_t ignore = SIZE_MAX) const;
    size_t size() const { return boxes_.size(); }

  private:
    std::vector<PixelRect> boxes_;
    std::unordered_map<int64_t, std::vector<size_t>> cells_;
};

// The labels of one picture, kept after placing them so that a station drawn again alone
// can find a free place for its call among those already on the picture.
// Thread-compatible value.
class CLabelLayout {
  public:
    // Places every label anew, as PlaceLabels does, forgetting the earlier ones; no label
    // covers a `reserved` box (something drawn over the labels).
    std::vector<LabelPlacement> PlaceAll(const std::vector<LabelRequest>& requests,
                                         const PixelRect& area,
                                         const std::vector<PixelRect>& reserved = {});
    // One more label, around a symbol that joins the obstacles, after all placed so far.
    LabelPlacement PlaceOne(const LabelRequest& request);

  private:
    // Takes the first free place around the symbol added as number `symbol`.
    LabelPlacement Place(const LabelRequest& request, size_t symbol);

    PixelRect area_;
    LabelBoxGrid symbols_;
    LabelBoxGrid labels_;
};

}  // namespace plovane
