// SPDX-License-Identifier: GPL-3.0-or-later
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

constexpr int kCellShift = 6;

template <typename F>
void ForCells(const PixelRect& box, F f) {
    const int64_t x0 = box.left >> kCellShift, x1 = (box.right - 1) >> kCellShift;
    const int64_t y0 = box.top >> kCellShift, y1 = (box.bottom - 1) >> kCellShift;
    for (int64_t y = y0; y <= y1; ++y) {
        for (int64_t x = x0; x <= x1; ++x)
            f((y << 32) ^ (x & 0xffffffff));
    }
}

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

void LabelBoxGrid::Add(const PixelRect& box) {
    const size_t index = boxes_.size();
    boxes_.push_back(box);
    ForCells(box, [this, index](int64_t cell) { cells_[cell].push_back(index); });
}

bool LabelBoxGrid::Hits(const PixelRect& box, size_t ignore) const {
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

std::vector<LabelPlacement> PlaceLabels(const std::vector<LabelRequest>& requests,
                                        const PixelRect& area) {
    return CLabelLayout().PlaceAll(requests, area);
}

std::vector<LabelPlacement> CLabelLayout::PlaceAll(const std::vector<LabelRequest>& requests,
                                                   const PixelRect& area,
                                                   const std::vector<PixelRect>& reserved) {
    *this = CLabelLayout();
    area_ = area;
    for (const PixelRect& box : reserved)
        labels_.Add(box);
    std::vector<LabelPlacement> result(requests.size());
    // Every symbol is an obstacle to every label but its own.
    for (const LabelRequest& r : requests)
        symbols_.Add(SymbolBox(r.anchor));
    std::vector<size_t> order(requests.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&requests](size_t a, size_t b) {
        return requests[a].priority > requests[b].priority;
    });
    for (const size_t i : order)
        result[i] = Place(requests[i], i);
    return result;
}

LabelPlacement CLabelLayout::PlaceOne(const LabelRequest& request) {
    const size_t symbol = symbols_.size();
    symbols_.Add(SymbolBox(request.anchor));
    return Place(request, symbol);
}

LabelPlacement CLabelLayout::Place(const LabelRequest& r, size_t symbol) {
    if (r.width <= 0 || r.height <= 0)
        return {};
    // The own and the selected station's calls always show: they may cover a symbol when
    // nothing else is free.
    const bool mustShow = r.priority >= kLabelPrioritySelected;
    for (const bool avoidSymbols : {true, false}) {
        if (!avoidSymbols && !mustShow)
            break;
        for (const PixelRect& candidate : Candidates(r)) {
            if (!Inside(candidate, area_) || labels_.Hits(candidate) ||
                (avoidSymbols && symbols_.Hits(candidate, symbol))) {
                continue;
            }
            labels_.Add(candidate);
            return {true, candidate};
        }
    }
    return {};
}

}  // namespace plovane
