// SPDX-License-Identifier: GPL-3.0-or-later
// The buttons of the "Stations" window, without the window: "Station &Info..." and
// "Send &Message..." on the selected station, with their prompts shown through the host.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/app_host.h"
#include "stations/station_list.h"

namespace plovane {

inline constexpr char kSelectForInfoText[] =
    "Please select a station that you would like information about.";
inline constexpr char kSelectForMessageText[] =
    "Please select a station that you would like to send a message to.";

// A message to an object or item goes to the station that sent it.
std::string MessageAddresseeFor(const CStation& station);
// A killed object or item is offered no "Send &Message...".
bool OffersMessage(const CStation& station);

// Thread-compatible: user-interface thread only (it may run modal dialogs).
class StationListActions {
  public:
    using ShowInfo = std::function<void(const CStation& station)>;
    using SendNew = std::function<void(const std::string& presetAddressee)>;

    StationListActions(const CStationList& stations, AppHost& host, ShowInfo showInfo,
                       SendNew sendNew);

    // The selected row is given by its call. A call the store no longer holds counts as no
    // selection (the window drops that row). True when the pages or the dialog were opened.
    bool Info(const std::optional<std::string>& selectedCall);
    bool SendMessage(const std::optional<std::string>& selectedCall);

  private:
    std::optional<CStation> Selected(const std::optional<std::string>& call,
                                     const char* noSelectionText);

    const CStationList& stations_;
    AppHost& host_;
    ShowInfo showInfo_;
    SendNew sendNew_;
};

}  // namespace plovane
