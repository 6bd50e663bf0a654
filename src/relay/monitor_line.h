// SPDX-License-Identifier: GPL-3.0-or-later
// A received monitor line split for relaying, "SOURCE>DESTINATION,HOP,HOP*,...:information",
// with the information bytes kept exactly (any byte, UTF-8 or not) and the header kept as it
// was heard, so that a gated packet leaves with the bytes it came with.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plovane {

// The relay logic keeps only intervals, so any monotonic clock will do (the consumer passes
// its tick count). Whether a line came from a radio port or APRS-IS is said by the function
// it is handed to.
using RelayTime = std::chrono::steady_clock::time_point;

// One digipeater field of the path; `used` for the fields up to the last "*".
struct PathHop {
    std::string call;
    bool used = false;
    bool operator==(const PathHop&) const = default;
};

struct MonitorLine {
    static constexpr size_t kMaxHeaderBytes = 200;
    static constexpr size_t kMaxHops = 16;  // APRS-IS paths carry a q construct beyond RF's 8

    std::string source;
    std::string destination;
    std::vector<PathHop> path;
    std::string_view header;  // the bytes before the first ':' as heard (a view into the line)
    std::string_view info;    // every byte after it (a view into the line)

    // The hop after the last used one, or path.size() when every hop is used.
    size_t FirstUnused() const;
    // Whether a hop (with or without "*") is `name`.
    bool HasHop(std::string_view name) const;
};

// The line without its line end (LF, CR or CR LF).
std::string_view TrimLineEnd(std::string_view line);

// Splits a line as it is (no line end expected). Nothing for a line
// without ':' or '>', an empty or over-long call, a blank or control byte in the header, or
// more than kMaxHops hops. The views point into `line`.
std::optional<MonitorLine> SplitMonitorLine(std::string_view line);

// "SOURCE>DESTINATION,HOP,...:info" with "*" after the last used hop.
std::string MonitorLineText(const MonitorLine& line, std::string_view info);

// A call as AX.25 carries it: 1-6 upper-case letters or digits, then "-1".."-15" or nothing.
bool IsAx25Call(std::string_view call);

// The same station: equal calls, "-0" and no SSID alike.
bool SameCall(std::string_view a, std::string_view b);

}  // namespace plovane
