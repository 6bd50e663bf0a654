// SPDX-License-Identifier: GPL-3.0-or-later
// The saved map view.
#include "ui/logic/view_state.h"

namespace plovane {
namespace {

constexpr const char* kSection = "Maps";

}  // namespace

void SaveViewState(Profile& profile, const ViewState& state) {
    profile.WriteInt(kSection, "ViewLeft", state.box.left);
    profile.WriteInt(kSection, "ViewRight", state.box.right);
    profile.WriteInt(kSection, "ViewTop", state.box.top);
    profile.WriteInt(kSection, "ViewBottom", state.box.bottom);
    profile.WriteString(kSection, "ViewMap", state.mapPath);
}

std::optional<ViewState> LoadViewState(const Profile& profile) {
    ViewState state;
    state.mapPath = profile.GetString(kSection, "ViewMap", "");
    state.box.left = profile.GetInt(kSection, "ViewLeft", 0);
    state.box.right = profile.GetInt(kSection, "ViewRight", 0);
    state.box.top = profile.GetInt(kSection, "ViewTop", 0);
    state.box.bottom = profile.GetInt(kSection, "ViewBottom", 0);
    if (state.mapPath.empty() || state.box.Width() <= 0 || state.box.Height() <= 0)
        return std::nullopt;
    return state;
}

}  // namespace plovane
