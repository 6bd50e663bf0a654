// SPDX-License-Identifier: GPL-3.0-or-later
// "Show Station Track History" draws the tracks the station store records; what the store
// records is set on the Track page of the station setup. The note beside the check box
// says what is missing, so a checked box that shows nothing is never a mystery.
#pragma once

#include <string>

#include "core/station_settings.h"

namespace plovane {

// Empty when the box is unchecked or tracks are recorded for everyone.
std::string TrackHistoryNote(bool showTracks, const CStationSettings& settings);

}  // namespace plovane
