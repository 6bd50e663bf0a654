// SPDX-License-Identifier: GPL-3.0-or-later
// Station Info's path, distance and age lines.
#include "ui/logic/station_context.h"

#include "core/geo.h"
#include "ui/logic/display_utf8.h"

namespace plovane {

StationContextText FormatStationContext(const CStation& station, const std::optional<GeoPoint>& own,
                                        const CDateTime& now, int unitsOfMeasure) {
    StationContextText text;
    text.path = station.path.empty() ? "-" : DisplayUtf8(station.path);
    const bool placed = station.hasPosition;
    text.fromUs =
        placed && own
            ? DistanceBearingText(*own, {station.position.colatitude, station.position.longitude},
                                  unitsOfMeasure)
            : "-";
    text.lastHeard = AgeText((now - station.lastHeard).TotalSeconds());
    return text;
}

}  // namespace plovane
