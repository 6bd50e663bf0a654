// SPDX-License-Identifier: GPL-3.0-or-later
// What the header strip's status icons show for the TNC port, the GPS receiver and the
// APRS-IS client: off while not enabled, an error while enabled but not working, pending
// while the network client connects, open while working. The GPS icon (and its place in
// the strip) appears only when a GPS is configured; a GPS read through the TNC shows the
// TNC's state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "maps/header_status.h"

namespace plovane {

class CPlovaneApp;

struct LinkFacts {
    bool enabled = false;
    bool open = false;
    bool pending = false;
    bool error = false;
};

LinkState LinkStateOf(const LinkFacts& facts);

// The states of the core's ports, the network client and the message-waiting mark.
HeaderStatus ReadHeaderStatus(CPlovaneApp& app);

// A TNC port's mark in the status bar: "TNC 2", its state and a tooltip saying what it is.
struct PortIcon {
    std::string text;
    std::string tooltip;
    LinkState state = LinkState::kOff;
};
std::vector<PortIcon> ReadPortIcons(CPlovaneApp& app);

// The status bar's station-log mark: whether the log writes, and what it lost on the way.
struct LogState {
    std::string text;
    std::string tooltip;
    bool trouble = false;  // shown so it is seen: the log does not write now
};

// `folder` empty: the log is off.
LogState LogStateOf(const std::string& folder, bool writing, uint64_t dropped);
LogState ReadLogState(const CPlovaneApp& app);

}  // namespace plovane
