// SPDX-License-Identifier: GPL-3.0-or-later
// The "Stations" window's buttons.
#include "ui/logic/station_actions.h"

#include "ui/logic/selected_record.h"

namespace plovane {

std::string MessageAddresseeFor(const CStation& station) {
    return station.hasOwner ? station.owner : station.call;
}

bool OffersMessage(const CStation& station) {
    return !station.killed;
}

StationListActions::StationListActions(const CStationList& stations, AppHost& host,
                                       ShowInfo showInfo, SendNew sendNew)
    : stations_(stations),
      host_(host),
      showInfo_(std::move(showInfo)),
      sendNew_(std::move(sendNew)) {}

std::optional<CStation> StationListActions::Selected(const std::optional<std::string>& call,
                                                     const char* noSelectionText) {
    return FindSelected(
        call, [this](const std::string& c) { return stations_.FindStation(c); }, host_,
        noSelectionText);
}

bool StationListActions::Info(const std::optional<std::string>& selectedCall) {
    const auto station = Selected(selectedCall, kSelectForInfoText);
    if (!station)
        return false;
    if (showInfo_)
        showInfo_(*station);
    return true;
}

bool StationListActions::SendMessage(const std::optional<std::string>& selectedCall) {
    const auto station = Selected(selectedCall, kSelectForMessageText);
    if (!station)
        return false;
    if (!OffersMessage(*station))
        return true;  // nobody to write to; the window has the button greyed
    if (sendNew_)
        sendNew_(MessageAddresseeFor(*station));
    return true;
}

}  // namespace plovane
