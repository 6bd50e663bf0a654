// SPDX-License-Identifier: GPL-3.0-or-later
// What the status line says after Send Position, Send Status and Send Messages: where the
// packet went, or why nothing was sent. The commands themselves are the scheduler's and
// the message store's; these texts only read the facts they depend on.
#pragma once

#include <optional>
#include <string>

namespace plovane {

struct SendFacts {
    std::string myCall;         // the own call as set up
    bool hasPosition = false;   // the own record has a position
    bool hasStatus = false;     // the own record has a status text
    bool tncOpen = false;       // the TNC port is open
    bool netConnected = false;  // the APRS-IS client is connected
};

enum class SendKind { kPosition, kStatus, kMessages };

// The reason nothing can be sent, or nothing when the command may go ahead.
std::optional<std::string> SendBlocked(SendKind kind, const SendFacts& facts);

// The status line after the command: the reason nothing was sent, or
// "Position sent to TNC and APRS-IS".
std::string SendFeedback(SendKind kind, const SendFacts& facts);

// The warning of the Message dialog while the own call is not set; empty otherwise.
std::string NoCallMessageWarning(const std::string& myCall);

// "NOCALL" (any case, blanks around) or empty: the station is not set up.
bool IsNoCall(const std::string& myCall);

}  // namespace plovane
