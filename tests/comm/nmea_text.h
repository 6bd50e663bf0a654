// SPDX-License-Identifier: GPL-3.0-or-later
// Builds NMEA sentences with their checksum for the GPS tests.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace plovane::testing {

// "$" + body + "*" + the XOR of the body's bytes in two hexadecimal digits.
inline std::string WithChecksum(std::string_view body, bool lowerCase = false) {
    unsigned sum = 0;
    for (char c : body)
        sum ^= static_cast<unsigned char>(c);
    char digits[8];
    std::snprintf(digits, sizeof digits, lowerCase ? "%02x" : "%02X", sum);
    return "$" + std::string(body) + "*" + digits;
}

}  // namespace plovane::testing
