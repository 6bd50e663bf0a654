// SPDX-License-Identifier: GPL-3.0-or-later
// KISS framing and de-framing.
#include "comm/kiss.h"

namespace plovane {

std::vector<uint8_t> KissFrame(uint8_t port, uint8_t command, const uint8_t* data, size_t length) {
    std::vector<uint8_t> out;
    out.reserve(length + length / 8 + 4);
    out.push_back(kiss::kFend);
    out.push_back(command == kiss::kReturn ? command
                                           : static_cast<uint8_t>((port << 4) | (command & 0x0F)));
    for (size_t i = 0; i < length; ++i) {
        if (data[i] == kiss::kFend) {
            out.push_back(kiss::kFesc);
            out.push_back(kiss::kTfend);
        } else if (data[i] == kiss::kFesc) {
            out.push_back(kiss::kFesc);
            out.push_back(kiss::kTfesc);
        } else {
            out.push_back(data[i]);
        }
    }
    out.push_back(kiss::kFend);
    return out;
}

void KissDeframer::Reset() {
    frame_.clear();
    inFrame_ = false;
    escape_ = false;
    bad_ = false;
}

void KissDeframer::EndFrame(const FrameHandler& handler) {
    if (!frame_.empty()) {
        const uint8_t command = frame_[0];
        if (bad_ || escape_) {
            ++dropped_;
        } else if ((command & 0x0F) == kiss::kData && frame_.size() > 1) {
            if (handler)
                handler(static_cast<uint8_t>(command >> 4), frame_.data() + 1, frame_.size() - 1);
        }
        // Other commands (a TNC echoing parameters) carry nothing for us.
    }
    frame_.clear();
    escape_ = false;
    bad_ = false;
}

void KissDeframer::Feed(const uint8_t* data, size_t length, const FrameHandler& handler) {
    for (size_t i = 0; i < length; ++i) {
        const uint8_t b = data[i];
        if (b == kiss::kFend) {
            if (inFrame_)
                EndFrame(handler);
            inFrame_ = true;
            continue;
        }
        if (!inFrame_ || bad_)
            continue;  // noise before the first FEND, or the rest of a dropped frame
        uint8_t value = b;
        if (escape_) {
            escape_ = false;
            if (b == kiss::kTfend) {
                value = kiss::kFend;
            } else if (b == kiss::kTfesc) {
                value = kiss::kFesc;
            } else {
                bad_ = true;
                continue;
            }
        } else if (b == kiss::kFesc) {
            escape_ = true;
            continue;
        }
        // The command byte plus the payload.
        if (frame_.size() >= kMaxFrameBytes + 1) {
            bad_ = true;
            frame_.clear();
            frame_.push_back(0);  // keeps EndFrame counting it
            continue;
        }
        frame_.push_back(value);
    }
}

}  // namespace plovane
