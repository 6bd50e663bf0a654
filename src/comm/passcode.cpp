// SPDX-License-Identifier: GPL-3.0-or-later
// The APRS-IS passcode hash.
#include "comm/passcode.h"

#include <cstdint>

namespace plovane {

int AprsPasscode(std::string_view call) {
    constexpr size_t kMaxBaseChars = 9;
    const size_t dash = call.find('-');
    std::string_view base = call.substr(0, dash);
    if (base.size() > kMaxBaseChars)
        base = base.substr(0, kMaxBaseChars);

    // Characters pair up: the first of each pair goes into the high byte, the second into
    // the low byte. Upper-casing is ASCII only, as the servers do it.
    uint32_t hash = 0x73E2;
    for (size_t i = 0; i < base.size(); ++i) {
        uint32_t c = static_cast<unsigned char>(base[i]);
        if (c >= 'a' && c <= 'z')
            c -= 'a' - 'A';
        hash ^= (i % 2 == 0) ? (c << 8) : c;
    }
    return static_cast<int>(hash & 0x7FFF);
}

}  // namespace plovane
