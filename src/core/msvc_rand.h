// SPDX-License-Identifier: GPL-3.0-or-later
// The pseudo-random generator whose sequence the transmit jitter is defined by:
// state = state * 214013 + 2531011, result = bits 16..30 (0..32767).
#pragma once

#include <cstdint>

namespace plovane {

// Thread-compatible: guard it where several threads draw from one generator.
class MsvcRand {
public:
    static constexpr int kMax = 32767;

    explicit MsvcRand(uint32_t seed = 1) : state_(seed) {}
    void Seed(uint32_t seed) { state_ = seed; }
    int Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

private:
    uint32_t state_;
};

}  // namespace plovane
