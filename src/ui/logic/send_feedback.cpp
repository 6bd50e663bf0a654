// SPDX-License-Identifier: GPL-3.0-or-later
// Status-line texts of the send commands.
#include "ui/logic/send_feedback.h"

#include <cctype>

namespace plovane {
namespace {

const char* WhatOf(SendKind kind) {
    switch (kind) {
        case SendKind::kPosition:
            return "Position";
        case SendKind::kStatus:
            return "Status";
        case SendKind::kMessages:
            return "Pending messages";
    }
    return "Packet";
}

}  // namespace

bool IsNoCall(const std::string& myCall) {
    std::string call;
    for (const char c : myCall) {
        if (c != ' ')
            call += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return call.empty() || call == "NOCALL";
}

std::optional<std::string> SendBlocked(SendKind kind, const SendFacts& facts) {
    const std::string nothing = std::string(WhatOf(kind)) + " not sent: ";
    if (IsNoCall(facts.myCall))
        return nothing + "no call sign is set (Setup > Station...).";
    if (kind == SendKind::kPosition && !facts.hasPosition)
        return nothing + "your station has no position (Setup > Station... or a GPS).";
    if (kind == SendKind::kStatus && !facts.hasStatus)
        return nothing + "no status text is set (Setup > Station...).";
    if (!facts.tncOpen && !facts.netConnected)
        return nothing + "no TNC port is open and APRS-IS is not connected.";
    return std::nullopt;
}

std::string SendFeedback(SendKind kind, const SendFacts& facts) {
    if (const std::optional<std::string> blocked = SendBlocked(kind, facts))
        return *blocked;
    std::string where;
    if (facts.tncOpen)
        where = "TNC";
    if (facts.netConnected)
        where += where.empty() ? "APRS-IS" : " and APRS-IS";
    return std::string(WhatOf(kind)) + " sent to " + where;
}

std::string NoCallMessageWarning(const std::string& myCall) {
    if (!IsNoCall(myCall))
        return {};
    return "Your call sign is not set (NOCALL): this message will be stored but never sent. "
           "Set your call in Setup > Station... first.";
}

}  // namespace plovane
