// SPDX-License-Identifier: GPL-3.0-or-later
// Port states for the header strip.
#include "ui/logic/status_icons.h"

#include "app/plovane_app.h"
#include "app/station_log.h"

namespace plovane {

LinkState LinkStateOf(const LinkFacts& facts) {
    if (!facts.enabled)
        return LinkState::kOff;
    if (facts.error)
        return LinkState::kError;
    if (facts.pending)
        return LinkState::kPending;
    return facts.open ? LinkState::kOpen : LinkState::kError;
}

HeaderStatus ReadHeaderStatus(CPlovaneApp& app) {
    HeaderStatus status;
    const LinkFacts tnc =
        app.tncSettings().IsKiss()
            ? LinkFacts{app.tncSettings().enabled, app.kiss().IsOpen(), app.kiss().IsPending(),
                        app.kiss().HasError()}
            : LinkFacts{app.tncSettings().enabled, app.tnc().IsOpen(), false, app.tnc().HasError()};
    // The header strip's one TNC icon stands for every port: the best state of any (each
    // port's own mark in the status bar shows the others).
    const auto rank = [](LinkState state) {
        return state == LinkState::kOpen      ? 3
               : state == LinkState::kPending ? 2
               : state == LinkState::kError   ? 1
                                              : 0;
    };
    status.tnc = LinkState::kOff;
    for (const PortIcon& port : ReadPortIcons(app)) {
        if (rank(port.state) > rank(status.tnc))
            status.tnc = port.state;
    }

    const CGpsSettings& gps = app.gpsSettings();
    status.gpsConfigured = gps.enabled;
    if (gps.source == kGpsSerialPort) {
        status.gps = LinkStateOf({gps.enabled, app.gps().IsOpen(), false, app.gps().HasError()});
    } else if (gps.source == kGpsGpsd) {
        status.gps = LinkStateOf(
            {gps.enabled, app.gpsd().IsOpen(), app.gpsd().IsPending(), app.gpsd().HasError()});
    } else {
        status.gps = gps.enabled ? LinkStateOf(tnc) : LinkState::kOff;
    }

    if (const CNetManager* net = app.net()) {
        status.net = LinkStateOf(
            {app.netSettings().enabled, net->IsOpen(), net->IsPending(), net->HasError()});
    }
    status.messageWaiting = app.messages().MessageWaiting();
    return status;
}

std::vector<PortIcon> ReadPortIcons(CPlovaneApp& app) {
    std::vector<PortIcon> icons;
    for (const RfPortState& port : app.rfPorts().States()) {
        icons.push_back({"TNC " + std::to_string(port.id), port.text,
                         LinkStateOf({port.enabled, port.open, port.pending, port.error})});
    }
    return icons;
}

LogState LogStateOf(const std::string& folder, bool writing, uint64_t dropped) {
    if (folder.empty())
        return {"Log off", "Station log: off (Setup Station, Log page)", false};
    const std::string lost = dropped == 0 ? std::string()
                                          : "; " + std::to_string(dropped) +
                                                (dropped == 1 ? " record" : " records") +
                                                " not written";
    if (!writing)
        return {"Log stopped", "Station log: cannot write to " + folder + lost, true};
    return {"Log", "Station log: writing to " + folder + lost, false};
}

LogState ReadLogState(const CPlovaneApp& app) {
    const CStationLog* log = app.stationLog();
    if (log == nullptr)
        return LogStateOf({}, false, 0);
    return LogStateOf(log->folder().string(), log->writing(), log->dropped());
}

}  // namespace plovane
