// SPDX-License-Identifier: GPL-3.0-or-later
// The help viewer's topics and the About box's text.
#pragma once

#include <string>
#include <string_view>

namespace plovane {

// The help page's section for a window, by its class name as Qt reports it
// ("plovane::CStationListWindow" -> "stations"); "window" (the main window's) for any other.
std::string HelpTopicFor(std::string_view className);

// The About box below the program name and version: the warning line, the licence and the
// credits of the map data. `tilesShown`: the map shows OpenStreetMap tiles, whose
// attribution is then required.
std::string AboutDetails(bool tilesShown);

}  // namespace plovane
