// SPDX-License-Identifier: GPL-3.0-or-later
// Station pick pop-ups of the map view.
#include "maps/map_station_pick.h"

#include <algorithm>

#include "maps/map_view.h"
#include "stations/station_list.h"

namespace plovane {
namespace {

PickMenuItem Separator() {
    return {PickMenuItem::Kind::kSeparator, 0, {}, false, {}};
}

PickMenuItem StationItem(const CStation& station, int command, bool greyed) {
    return {PickMenuItem::Kind::kStation, command, station.call, greyed, StationIconFor(station)};
}

}  // namespace

PickItemSize MeasurePickItem(int textWidth, int textHeight) {
    return {std::max(textWidth + 23, 18), std::max(textHeight, 18)};
}

PickMenu CStationPick::Tap(const CMapView& view, PixelPoint p, const CStationList& stations) {
    return TapBox(view, p, {p.x, p.y, p.x, p.y}, stations);
}

PickMenu CStationPick::TapBox(const CMapView& view, PixelPoint p, const PixelRect& box,
                              const CStationList& stations) {
    const MapProjection projection = view.Projection();
    const PixelRect b = box.Normalized();
    const int32_t cx = static_cast<int32_t>((int64_t{b.left} + b.right) / 2);
    const int32_t cy = static_cast<int32_t>((int64_t{b.top} + b.bottom) / 2);
    const int64_t halfX = (b.Width() + 1) / 2 + kPickHalfSizePixels;
    const int64_t halfY = (b.Height() + 1) / 2 + kPickHalfSizePixels;
    centre_ = projection.ScreenToMap(cx, cy);
    halfWidth_ = ClampToInt32(halfX * projection.ux());
    // Measured through the projection: in Mercator a pixel's height in colatitude depends on
    // the latitude.
    const int64_t above = projection.ScreenToMap(cx, ClampToInt32(cy - halfY)).y;
    const int64_t below = projection.ScreenToMap(cx, ClampToInt32(cy + halfY)).y;
    halfHeight_ = ClampToInt32(std::max<int64_t>((below - above) / 2, 0));
    point_ = p;
    offset_ = 0;
    return Search(stations, true);
}

PickMenu CStationPick::Choose(int command, const CStationList& stations) {
    const int index = command - kPickFirstStationCommand;
    if (index >= 0 && index < kPickPageSize && static_cast<size_t>(index) < page_.size()) {
        chosen_ = page_[index];
        return StationPopup(*chosen_);
    }
    if (command == kPickMoreCommand && more_) {
        offset_ += kPickPageSize;
        return Search(stations, false);
    }
    return {};
}

PickMenu CStationPick::Search(const CStationList& stations, bool firstPage) {
    const StationBoxResult found =
        stations.StationsInBox(centre_.y, centre_.x, halfWidth_, halfHeight_, page_, kPickPageSize,
                               static_cast<size_t>(offset_));
    total_ = found.total;
    more_ = found.more;
    if (page_.empty())
        return {};
    if (firstPage && page_.size() == 1) {
        chosen_ = page_.front();
        return StationPopup(*chosen_);
    }
    PickMenu menu;
    menu.kind = PickMenu::Kind::kStationList;
    menu.point = point_;
    const std::string title = "Which station? (" + std::to_string(offset_ + 1) + "-" +
                              std::to_string(offset_ + static_cast<int>(page_.size())) + " of " +
                              std::to_string(total_) + ")";
    menu.items.push_back({PickMenuItem::Kind::kTitle, 0, title, true, {}});
    menu.items.push_back(Separator());
    for (size_t i = 0; i < page_.size(); ++i)
        menu.items.push_back(
            StationItem(page_[i], kPickFirstStationCommand + static_cast<int>(i), false));
    if (more_) {
        menu.items.push_back(Separator());
        menu.items.push_back(
            {PickMenuItem::Kind::kCommand, kPickMoreCommand, "&More...", false, {}});
    }
    return menu;
}

PickMenu CStationPick::StationPopup(const CStation& station) const {
    PickMenu menu;
    menu.kind = PickMenu::Kind::kStationPopup;
    menu.point = point_;
    menu.items.push_back(StationItem(station, 0, true));
    menu.items.push_back(Separator());
    menu.items.push_back(
        {PickMenuItem::Kind::kCommand, kStationInfoCommand, "Station &Info...", false, {}});
    menu.items.push_back({PickMenuItem::Kind::kCommand,
                          kSendMessageCommand,
                          "Send &Message...",
                          station.killed,
                          {}});
    return menu;
}

}  // namespace plovane
