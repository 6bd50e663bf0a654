// SPDX-License-Identifier: GPL-3.0-or-later
// The Setup menu: each command opens its sheet or dialog over `parent` and says whether it
// was accepted; the caller then makes the application take the new settings without a
// restart.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/station_settings.h"

class QWidget;

namespace plovane {

class CPlovaneApp;
class QSettingsProfile;

// "&Station...": the accepted settings on OK (the caller hands the units to the map view and
// posts the station-setup follow-up: the stores reload and trim, a changed call reaches the
// TNC); nothing on Cancel.
std::optional<CStationSettings> RunStationSetup(QSettingsProfile& profile, QWidget* parent);
// "&Communications...": true on OK (the caller redraws and posts the restart of the TNC,
// the GPS and the network client). `notice` shows the TNC-file search's notices.
bool RunCommSetup(QSettingsProfile& profile, CPlovaneApp& app, QWidget* parent,
                  const std::function<void(const std::string&)>& notice);
// "S&ound...": true on OK (the caller makes the stores play the new sounds).
bool RunSoundSetup(QSettingsProfile& profile, QWidget* parent);
// "&IGate and Digipeater...": true on OK (the caller hands the new settings to the relay).
bool RunRelaySetup(QSettingsProfile& profile, QWidget* parent);

}  // namespace plovane
