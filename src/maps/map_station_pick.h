// SPDX-License-Identifier: GPL-3.0-or-later
// Picking stations with a tap on the map: the stations within 8 pixels of the tap, offered
// in pages of ten in a list pop-up ("Which station? ..." with "&More..." when more follow),
// then the pop-up for the chosen station ("Station &Info...", "Send &Message..."). The
// window shows the menus this builds and hands the chosen command back.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "maps/map_projection.h"
#include "maps/station_icon.h"
#include "stations/station.h"

namespace plovane {

class CMapView;
class CStationList;

inline constexpr int kPickPageSize = 10;
// Half the pick box, pixels each way from the tap.
inline constexpr int kPickHalfSizePixels = 8;
// Command ids: a station of the list page (first + index), the next page, and the commands
// of the station pop-up.
inline constexpr int kPickFirstStationCommand = 11000;
inline constexpr int kPickMoreCommand = 11010;
inline constexpr int kStationInfoCommand = 32805;
inline constexpr int kSendMessageCommand = 32806;
inline constexpr int kCenterOnStationCommand = 32807;  // added to the pop-up by the window
inline constexpr int kConversationCommand = 32808;     // likewise

// Station items are drawn by the window: the icon one pixel in from the item's top-left
// corner, the call from 18 pixels, in bold "Tahoma" of height 15.
inline constexpr int kPickItemIconOffset = 1;
inline constexpr int kPickItemTextLeft = 18;
inline constexpr int kPickItemFontHeight = 15;
inline constexpr const char* kPickItemFontFace = "Tahoma";

struct PickItemSize {
    int width = 0;
    int height = 0;
    bool operator==(const PickItemSize&) const = default;
};

// The size of a station item whose call measures textWidth x textHeight pixels.
PickItemSize MeasurePickItem(int textWidth, int textHeight);

struct PickMenuItem {
    enum class Kind {
        kTitle,  // greyed text
        kSeparator,
        kStation,  // drawn by the window: icon and call
        kCommand,  // plain text item
    };
    Kind kind = Kind::kSeparator;
    int command = 0;   // 0 for titles and separators
    std::string text;  // the title, the command text ("&" marks the mnemonic), or the call
    bool greyed = false;
    StationIcon icon;  // station items only

    bool operator==(const PickMenuItem&) const = default;
};

struct PickMenu {
    enum class Kind {
        kNone,          // nothing to show
        kStationList,   // "Which station? ..."
        kStationPopup,  // the chosen station's commands
    };
    Kind kind = Kind::kNone;
    PixelPoint point;  // where the tap was, client pixels
    std::vector<PickMenuItem> items;
};

// Thread-compatible: used on the user-interface thread; keeps copies of the stations found,
// so nothing dangles if the list drops a record meanwhile.
class CStationPick {
  public:
    // A tap at a client pixel point: looks up the first page of stations under it. One
    // station alone gives its pop-up at once; several give the list pop-up; none, kNone.
    PickMenu Tap(const CMapView& view, PixelPoint p, const CStationList& stations);
    // A tap on a group's bubble: the stations inside the pixel box its members lie in (and
    // kPickHalfSizePixels round it), as Tap offers them.
    PickMenu TapBox(const CMapView& view, PixelPoint p, const PixelRect& box,
                    const CStationList& stations);
    // A command chosen from the last menu: a station of the page gives that station's
    // pop-up, "&More..." the next page of the list. Anything else gives kNone (the station
    // pop-up's commands are the window's; it reads chosen()).
    PickMenu Choose(int command, const CStationList& stations);

    // The station picked last, for "Station &Info..." and "Send &Message...".
    const std::optional<CStation>& chosen() const { return chosen_; }

    // The search box of the last tap: centre in map units and half-sizes.
    MapPoint centre() const { return centre_; }
    int32_t halfWidth() const { return halfWidth_; }
    int32_t halfHeight() const { return halfHeight_; }
    int offset() const { return offset_; }
    int total() const { return total_; }
    const std::vector<CStation>& page() const { return page_; }

  private:
    // Looks up the page at offset_ and builds its menu.
    PickMenu Search(const CStationList& stations, bool firstPage);
    PickMenu StationPopup(const CStation& station) const;

    MapPoint centre_;
    int32_t halfWidth_ = 0;
    int32_t halfHeight_ = 0;
    int offset_ = 0;
    int total_ = 0;
    bool more_ = false;
    std::vector<CStation> page_;
    PixelPoint point_;
    std::optional<CStation> chosen_;
};

}  // namespace plovane
