// SPDX-License-Identifier: GPL-3.0-or-later
// The map view kept across starts: the box shown and the map it was shown on, in the
// "Maps" section ("ViewLeft", "ViewRight", "ViewTop", "ViewBottom" in map units, "ViewMap"
// the map file's path). The box comes back only on the same map.
#pragma once

#include <optional>
#include <string>

#include "core/profile.h"
#include "maps/map_projection.h"

namespace plovane {

struct ViewState {
    MapBox box;
    std::string mapPath;
};

void SaveViewState(Profile& profile, const ViewState& state);
// Nothing when no view was saved, or the saved box is empty or reversed (a hand-edited or
// damaged file).
std::optional<ViewState> LoadViewState(const Profile& profile);

}  // namespace plovane
