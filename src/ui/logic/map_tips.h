// SPDX-License-Identifier: GPL-3.0-or-later
// The map's tooltips: which status icon of the header strip lies under the pointer, what
// it says about its port, and what a station's tooltip shows.
#pragma once

#include <cstdint>
#include <string>

#include "maps/header_status.h"

namespace plovane {

enum class HeaderIcon { kNone, kMessages, kNet, kTnc, kGps };

// The status icon at a client point of a window `clientWidth` wide; the GPS icon is there
// only when a GPS is configured. The icons are 16 pixels square, one pixel below the top,
// their left edges 17, 35, 53 and 71 pixels before the right edge.
HeaderIcon HeaderIconAt(int clientWidth, bool gpsConfigured, int x, int y);

// "TNC: open", "APRS-IS: error - Connection refused", "Messages: none waiting".
// `detail` (the port's last error) is added to a state other than off or open.
std::string HeaderIconTip(HeaderIcon icon, const HeaderStatus& status, const std::string& detail);

struct StationTip {
    std::string call;
    char symbolTable = '/';
    char symbolCode = '-';
    int64_t ageSeconds = -1;  // since the last report; negative when unknown
    std::string comment;      // as received
};
// Lines: the call, the symbol's name, "Last report 7 min ago", the comment (UTF-8 for
// display; a comment is cut to 120 characters).
std::string StationTipText(const StationTip& tip);

}  // namespace plovane
