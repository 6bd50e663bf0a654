// SPDX-License-Identifier: GPL-3.0-or-later
// What the stores and the decoder ask of the output scheduler, kept narrow so that the
// libraries below the scheduler need not know it.
#pragma once

#include <string>

namespace plovane {

enum class QueryAnswer { kPosition, kStatus, kPositionAfterDelay };

// Thread-safe: called from the user-interface thread and from decoding threads.
class TransmitControl {
  public:
    virtual ~TransmitControl() = default;
    // The own record is complete: scheduled transmissions may go out.
    virtual void MarkReadyToTransmit() = 0;
    // Sends one status packet with the given text now.
    virtual void SendStatusText(const std::string& text) = 0;
    // Restarts the decaying schedule of the position and status slots.
    virtual void RearmPositionAndStatus() = 0;
    // Restarts the message slot (0.5 min, doubling, 30 min cap).
    virtual void ArmMessageSlot() = 0;
    // One of our own packets came back (the digipeat check).
    virtual void SetDigipeatHeard() = 0;
    // A station asked for our position ("?APRSP") or status ("?APRSS"): sent once now, as
    // the menu commands send them; a general "?APRS?" gets the position after a random delay.
    virtual void AnswerQuery(QueryAnswer answer) = 0;
};

}  // namespace plovane
