// SPDX-License-Identifier: GPL-3.0-or-later
// What the map's header strip shows about the links: plain values, so the window logic that
// fills them needs no drawing code.
#pragma once

namespace plovane {

// The state a port or the network client shows in the header strip.
enum class LinkState { kOff, kOpen, kPending, kError };

// What the header strip's status icons show; the main window fills it from the ports, the
// network client and the message store (MessageWaiting).
struct HeaderStatus {
    bool gpsConfigured = false;  // a fourth icon, and a narrower title area
    LinkState tnc = LinkState::kOff;
    LinkState gps = LinkState::kOff;
    LinkState net = LinkState::kOff;
    bool messageWaiting = false;
    int unreadMessages = 0;  // shown on the envelope when above zero
};

}  // namespace plovane
