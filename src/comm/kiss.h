// SPDX-License-Identifier: GPL-3.0-or-later
// KISS framing between a host and a TNC: frames between FEND bytes, FEND and FESC inside a
// frame escaped as FESC TFEND and FESC TFESC, and a leading command byte whose high nibble
// is the TNC port and low nibble the command (0 data; 1-6 set parameters).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace plovane {

namespace kiss {
constexpr uint8_t kFend = 0xC0;
constexpr uint8_t kFesc = 0xDB;
constexpr uint8_t kTfend = 0xDC;
constexpr uint8_t kTfesc = 0xDD;

enum Command : uint8_t {
    kData = 0,
    kTxDelay = 1,      // units of 10 ms
    kPersistence = 2,  // p = (value + 1) / 256
    kSlotTime = 3,     // units of 10 ms
    kTxTail = 4,
    kFullDuplex = 5,  // 0 half, else full
    kReturn = 0xFF,   // leave KISS mode (the whole byte, no port nibble)
};
}  // namespace kiss

// One KISS frame: FEND, the command byte, the escaped payload, FEND.
std::vector<uint8_t> KissFrame(uint8_t port, uint8_t command, const uint8_t* data, size_t length);
inline std::vector<uint8_t> KissDataFrame(uint8_t port, const std::vector<uint8_t>& data) {
    return KissFrame(port, kiss::kData, data.data(), data.size());
}

// Cuts a byte stream into data frames. The stream may be cut anywhere between Feed calls;
// bytes before the first FEND, empty frames, non-data commands, frames longer than
// kMaxFrameBytes and frames with a bad escape are skipped (and counted).
// Thread-compatible: one reading thread feeds it.
class KissDeframer {
  public:
    static constexpr size_t kMaxFrameBytes = 1024;  // payload bytes after unescaping

    // port: the high nibble of the command byte; frame: the unescaped payload.
    using FrameHandler = std::function<void(uint8_t port, const uint8_t* frame, size_t length)>;

    void Feed(const uint8_t* data, size_t length, const FrameHandler& handler);
    // Forgets a partly received frame (a new connection starts clean).
    void Reset();

    size_t framesDropped() const { return dropped_; }

  private:
    void EndFrame(const FrameHandler& handler);

    std::vector<uint8_t> frame_;  // command byte and payload so far
    bool inFrame_ = false;        // a FEND has been seen
    bool escape_ = false;
    bool bad_ = false;  // overlong or a bad escape: dropped at the next FEND
    size_t dropped_ = 0;
};

}  // namespace plovane
