// SPDX-License-Identifier: GPL-3.0-or-later
// The note beside "Show Station Track History".
#include "ui/logic/track_note.h"

namespace plovane {

std::string TrackHistoryNote(bool showTracks, const CStationSettings& settings) {
    if (!showTracks)
        return {};
    const bool mine = settings.bMyTrack && settings.MyTrackMax > 0;
    const bool others = settings.bTrack && settings.TrackMax > 0;
    if (mine && others)
        return {};
    const char* missing = !mine && !others ? "No tracks are recorded"
                          : !others        ? "Other stations' tracks are not recorded"
                                           : "Your own track is not recorded";
    return std::string(missing) + ": turn recording on under Setup > Station..., Track page.";
}

}  // namespace plovane
