// SPDX-License-Identifier: GPL-3.0-or-later
// Grouping of overlapping station symbols into count bubbles.
#include "maps/render/station_groups.h"

#include <algorithm>

#include "maps/web_mercator.h"

namespace plovane {

namespace {

// Symbols are 16 pixels square: two overlap when they are closer than that both ways.
constexpr int kSymbolPixels = 16;

int64_t FloorDiv(int64_t a, int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

void CStationGroups::Reset(const MapProjection& projection, bool on) {
    projection_ = projection;
    on_ = on;
    cellWidth_ = std::max<int64_t>(1, int64_t{kGroupCellPixels} * projection.ux());
    cellHeight_ = std::max<int64_t>(1, int64_t{kGroupCellPixels} * projection.viewUy());
    cells_.clear();
}

uint64_t CStationGroups::CellOf(MapPoint at) const {
    const bool mercator = projection_ && projection_->mercator();
    const int64_t y = mercator ? MercatorY(at.y) : at.y;
    const auto column = static_cast<uint32_t>(FloorDiv(at.x, cellWidth_));
    const auto row = static_cast<uint32_t>(FloorDiv(y, cellHeight_));
    return (uint64_t{column} << 32) | row;
}

uint64_t CStationGroups::Add(size_t index, MapPoint at) {
    const uint64_t cell = CellOf(at);
    cells_[cell].members.push_back({index, at});
    return cell;
}

void CStationGroups::Remove(size_t index, uint64_t cell) {
    const auto found = cells_.find(cell);
    if (found == cells_.end())
        return;
    std::vector<StationGroup::Member>& members = found->second.members;
    members.erase(
        std::remove_if(members.begin(), members.end(),
                       [index](const StationGroup::Member& m) { return m.index == index; }),
        members.end());
    if (members.empty())
        cells_.erase(found);
}

void CStationGroups::Settle(uint64_t cell) {
    const auto found = cells_.find(cell);
    if (found == cells_.end() || !projection_)
        return;
    StationGroup& group = found->second;
    const size_t n = group.members.size();
    group.grouped = false;
    if (n > 9) {
        // Ten symbols in a cell of 40 x 40 pixels: two share one of its nine parts (under 14
        // pixels square), so they overlap.
        group.grouped = true;
    } else if (n >= 2) {
        std::vector<PixelPoint> at;
        for (const StationGroup::Member& m : group.members)
            at.push_back(projection_->MapToScreen(m.at));
        for (size_t i = 0; i < n && !group.grouped; ++i) {
            for (size_t j = i + 1; j < n && !group.grouped; ++j) {
                group.grouped = std::abs(at[i].x - at[j].x) < kSymbolPixels &&
                                std::abs(at[i].y - at[j].y) < kSymbolPixels;
            }
        }
    }
    if (!group.grouped)
        return;
    int64_t x = 0, y = 0;
    for (const StationGroup::Member& m : group.members) {
        x += m.at.x;
        y += m.at.y;
    }
    const auto count = static_cast<int64_t>(n);
    group.mean = {static_cast<int32_t>(x / count), static_cast<int32_t>(y / count)};
    group.bubble = GroupBubbleRect(projection_->MapToScreen(group.mean), n);
}

void CStationGroups::SettleAll() {
    for (auto& [cell, group] : cells_)
        Settle(cell);
}

const StationGroup* CStationGroups::Find(uint64_t cell) const {
    const auto found = cells_.find(cell);
    return found == cells_.end() ? nullptr : &found->second;
}

bool CStationGroups::InBubble(uint64_t cell) const {
    const StationGroup* group = Find(cell);
    return group && group->grouped;
}

const StationGroup* CStationGroups::BubbleAt(PixelPoint p) const {
    const StationGroup* best = nullptr;
    int64_t bestDistance = 0;
    for (const auto& [cell, group] : cells_) {
        if (!group.grouped)
            continue;
        const QPoint c = group.bubble.center();
        const int64_t dx = p.x - c.x(), dy = p.y - c.y();
        const int64_t r = group.bubble.width() / 2 + 1;
        const int64_t d = dx * dx + dy * dy;
        if (d <= r * r && (!best || d < bestDistance)) {
            best = &group;
            bestDistance = d;
        }
    }
    return best;
}

QRect GroupBubbleRect(PixelPoint centre, size_t count) {
    const int radius = count < 10 ? 11 : count < 100 ? 13 : count < 1000 ? 15 : 17;
    return QRect(centre.x - radius, centre.y - radius, 2 * radius + 1, 2 * radius + 1);
}

void DrawGroupBubble(QPainter& painter, const RenderResources& resources,
                     const StationGroup& group) {
    const size_t n = group.members.size();
    // Blue for a few, orange for tens, red for hundreds: readable on day and night maps.
    const QColor fill = n < 10    ? QColor(30, 110, 210)
                        : n < 100 ? QColor(230, 120, 0)
                                  : QColor(210, 30, 30);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(fill);
    const QRectF circle = QRectF(group.bubble).adjusted(1.5, 1.5, -1.5, -1.5);
    painter.drawEllipse(circle);
    painter.setFont(resources.Font(MapFont::kBold12));
    painter.setPen(Qt::white);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(group.bubble, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip,
                     QString::number(static_cast<qulonglong>(n)));
    painter.restore();
}

}  // namespace plovane
