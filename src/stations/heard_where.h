// SPDX-License-Identifier: GPL-3.0-or-later
// Where a station was heard: on which TNC ports, on the Internet, and through which
// digipeater its last RF packet came.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plovane {

// Thread-compatible value, kept in the station record.
struct HeardWhere {
    static constexpr int kMaxPort = 32;

    uint32_t rfPorts = 0;  // bit N-1: heard on TNC port N
    bool internet = false;
    std::string via;  // the first used hop of the last RF packet; empty when it came direct

    // Notes one packet: port 0 is the Internet, 1 ... a TNC port. False when nothing changed.
    bool Note(int port, std::string_view firstHop);
    bool operator==(const HeardWhere&) const = default;
};

// "RF port 1 via N0DIG-1, Internet", "RF ports 1, 2", "Internet"; empty when never heard.
std::string HeardText(const HeardWhere& heard);

// The first used hop of a monitor line's path ("SRC>DST,N0DIG-1,WIDE2*:..." gives "N0DIG-1");
// empty when no hop was used or the line has no path.
std::string_view FirstUsedHop(std::string_view monitorLine);

}  // namespace plovane
