// SPDX-License-Identifier: GPL-3.0-or-later
// Where outgoing texts are queued: the TNC port (bare information fields; the TNC adds the
// header) and the network client (whole lines with our own header). Implemented by the
// serial ports and the network client; the stores and the scheduler see only this.
#pragma once

#include <string>

namespace plovane {

// Thread-safe: QueueText may be called from any thread, also while the caller holds the
// message store's lock (lock order: message store, then port queue).
class OutputPort {
  public:
    virtual ~OutputPort() = default;
    // Open (serial) or connected (network).
    virtual bool IsOpen() const = 0;
    // Open, or making a connection that a text queued now waits for.
    virtual bool TakesText() const { return IsOpen(); }
    // Queues the text as given (the caller adds the line end; the network client sends it as
    // CR LF) with optional delays in milliseconds before and after it is written.
    virtual void QueueText(const std::string& text, int delayBeforeMs = 0,
                           int delayAfterMs = 0) = 0;
};

// The network header of our own packets: MyCall + ">" + destination + ",TCPIP*:".
inline std::string NetworkHeader(const std::string& myCall, const std::string& destination) {
    return myCall + ">" + destination + ",TCPIP*:";
}

}  // namespace plovane
