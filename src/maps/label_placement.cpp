// Label placement without overlaps.
#include "maps/label_placement.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

namespace plovane {
namespace {

bool Overlap(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Boxes bucketed by 64-pixel cells, so a test looks only at its neighbours: 10 000
// stations place in a few milliseconds.
class BoxGrid {
  public:
    void Add(const PixelRect& box) {
        const size_t index = boxes_.size();
        boxes_.push_back(box);
        ForCells(box, [this, index](int64_t cell) { cells_[cell].push_back(index); });
    }
    // True when `box` overlaps a stored box other than `ignore`.
    bool Hits(const PixelRect& box, size_t ignore = SIZE_MAX) const {
        bool hit = false;
        ForCells(box, [&](int64_t cell) {
            if (hit)
                return;
            const auto found = cells_.find(cell);
            if (found == cells_.end())
                return;
            for (const size_t i : found->second) {
                if (i != ignore && Overlap(boxes_[i], box)) {
                    hit = true;
                    return;
                }
            }
        });
        return hit;
    }

  private:
    static constexpr int kCellShift = 6;
    template <typename F>
    static void ForCells(const PixelRect& box, F f) {
        const int64_t x0 = box.left >> kCellShift, x1 = (box.right - 1) >> kCellShift;
        const int64_t y0 = box.top >> kCellShift, y1 = (box.bottom - 1) >> kCellShift;
        for (int64_t y = y0; y <= y1; ++y) {
            for (int64_t x = x0; x <= x1; ++x)
                f((y << 32) ^ (x & 0xffffffff));
        }
    }
    std::vector<PixelRect> boxes_;
    std::unordered_map<int64_t, std::vector<size_t>> cells_;
};

PixelRect SymbolBox(PixelPoint p) {
    return {p.x - kSymbolHalfSize, p.y - kSymbolHalfSize, p.x + kSymbolHalfSize,
            p.y + kSymbolHalfSize};
}

// The places around a symbol, best first: right, left, above, below, then the corners.
std::vector<PixelRect> Candidates(const LabelRequest& r) {
    const int32_t x = r.anchor.x, y = r.anchor.y, w = r.width, h = r.height;
    const int32_t near = kSymbolHalfSize + kLabelGap;
    const int32_t midTop = y - h / 2;
    const int32_t centreLeft = x - w / 2;
    const auto box = [w, h](int32_t left, int32_t top) {
        return PixelRect{left, top, left + w, top + h};
    };
    return {
        box(x + near, midTop),
        box(x - near - w, midTop),
        box(centreLeft, y - near - h),
        box(centreLeft, y + near),
        box(x + near, y - near - h + 4),
        box(x + near, y + near - 4),
        box(x - near - w, y - near - h + 4),
        box(x - near - w, y + near - 4),
    };
}

bool Inside(const PixelRect& box, const PixelRect& area) {
    return box.left >= area.left && box.top >= area.top && box.right <= area.right &&
           box.bottom <= area.bottom;
}

}  // namespace

std::vector<LabelPlacement> PlaceLabels(const std::vector<LabelRequest>& requests,
                                        const PixelRect& area) {
    std::vector<LabelPlacement> result(requests.size());
    // Every symbol is an obstacle to every label but its own.
    BoxGrid symbols;
    for (const LabelRequest& r : requests)
        symbols.Add(SymbolBox(r.anchor));
    std::vector<size_t> order(requests.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&requests](size_t a, size_t b) {
        return requests[a].priority > requests[b].priority;
    });
    BoxGrid labels;
    for (const size_t i : order) {
        const LabelRequest& r = requests[i];
        if (r.width <= 0 || r.height <= 0)
            continue;
        // The own and the selected station's calls always show: they may cover a symbol
        // when nothing else is free.
        const bool mustShow = r.priority >= kLabelPrioritySelected;
        for (const bool avoidSymbols : {true, false}) {
            if (result[i].shown || (!avoidSymbols && !mustShow))
                break;
            for (const PixelRect& candidate : Candidates(r)) {
                if (!Inside(candidate, area) || labels.Hits(candidate) ||
                    (avoidSymbols && symbols.Hits(candidate, i))) {
                    continue;
                }
                result[i] = {true, candidate};
                labels.Add(candidate);
                break;
            }
        }
    }
    return result;
}

}  // namespace plovane
