// SPDX-License-Identifier: GPL-3.0-or-later
// What Station Info shows beside the record's own pages: the path the last packet took,
// the distance and bearing from the own station, and how old the last report is.
#pragma once

#include <optional>
#include <string>

#include "core/date_time.h"
#include "stations/station.h"
#include "ui/logic/geo_text.h"

namespace plovane {

struct StationContextText {
    std::string path;       // as heard, "-" when none
    std::string fromUs;     // "12.3 mi at 123° SE", "-" without both positions
    std::string lastHeard;  // "7 min ago"
};

// `own`: the own station's position, if it has one; `now` and the record's lastHeard are
// both local time.
StationContextText FormatStationContext(const CStation& station, const std::optional<GeoPoint>& own,
                                        const CDateTime& now, int unitsOfMeasure);

}  // namespace plovane
