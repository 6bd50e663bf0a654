// Where the station calls go on the map so that they never pile up: each label tries the
// places around its symbol in turn (right, left, above, below, then the corners) and takes
// the first that covers no label already placed and no other symbol; labels are placed in
// order of priority (own station, the selected one, moving ones, then the rest), and a
// label with no free place is not drawn, except the own and the selected station's, which
// may then cover a symbol. Pixel geometry only, no drawing.
#pragma once

#include <cstdint>
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

}  // namespace plovane
