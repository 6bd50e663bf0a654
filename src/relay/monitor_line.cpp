// SPDX-License-Identifier: GPL-3.0-or-later
// Splitting and writing monitor lines for the relay logic.
#include "relay/monitor_line.h"

namespace plovane {
namespace {

// APRS-IS logins and object-like sources run to nine characters.
constexpr size_t kMaxCallBytes = 9;

bool HeaderByte(char c) {
    return c > ' ' && c < 0x7F;
}

std::string_view StripSsidZero(std::string_view call) {
    if (call.size() > 2 && call.substr(call.size() - 2) == "-0")
        call.remove_suffix(2);
    return call;
}

}  // namespace

size_t MonitorLine::FirstUnused() const {
    size_t next = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i].used)
            next = i + 1;
    }
    return next;
}

bool MonitorLine::HasHop(std::string_view name) const {
    for (const PathHop& hop : path) {
        if (hop.call == name)
            return true;
    }
    return false;
}

std::string_view TrimLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

std::optional<MonitorLine> SplitMonitorLine(std::string_view line) {
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon > MonitorLine::kMaxHeaderBytes)
        return std::nullopt;
    MonitorLine split;
    split.header = line.substr(0, colon);
    split.info = line.substr(colon + 1);
    for (const char c : split.header) {
        if (!HeaderByte(c))
            return std::nullopt;
    }
    const size_t gt = split.header.find('>');
    if (gt == std::string_view::npos)
        return std::nullopt;
    split.source = std::string(split.header.substr(0, gt));
    std::string_view rest = split.header.substr(gt + 1);
    // Fields: the destination, then the hops; the last "*" marks every hop before it used.
    size_t lastStar = std::string_view::npos;
    for (size_t field = 0;; ++field) {
        const size_t comma = rest.find(',');
        std::string_view entry = rest.substr(0, comma);
        bool star = false;
        if (field > 0 && !entry.empty() && entry.back() == '*') {
            star = true;
            entry.remove_suffix(1);
        }
        if (entry.empty() || entry.size() > kMaxCallBytes ||
            entry.find_first_of(">*") != std::string_view::npos)
            return std::nullopt;
        if (field == 0) {
            split.destination = std::string(entry);
        } else {
            if (split.path.size() == MonitorLine::kMaxHops)
                return std::nullopt;
            split.path.push_back({std::string(entry), false});
            if (star)
                lastStar = split.path.size() - 1;
        }
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    if (split.source.empty() || split.source.size() > kMaxCallBytes ||
        split.source.find('*') != std::string::npos)
        return std::nullopt;
    if (lastStar != std::string_view::npos) {
        for (size_t i = 0; i <= lastStar; ++i)
            split.path[i].used = true;
    }
    return split;
}

std::string MonitorLineText(const MonitorLine& line, std::string_view info) {
    std::string text = line.source + ">" + line.destination;
    const size_t firstUnused = line.FirstUnused();
    for (size_t i = 0; i < line.path.size(); ++i) {
        text += ',';
        text += line.path[i].call;
        if (i + 1 == firstUnused)
            text += '*';
    }
    text += ':';
    text += info;
    return text;
}

bool IsAx25Call(std::string_view call) {
    const size_t dash = call.find('-');
    const std::string_view base = call.substr(0, dash);
    if (base.empty() || base.size() > 6)
        return false;
    for (const char c : base) {
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    if (dash == std::string_view::npos)
        return true;
    const std::string_view ssid = call.substr(dash + 1);
    if (ssid.empty() || ssid.size() > 2 || ssid[0] == '0')
        return false;
    int value = 0;
    for (const char c : ssid) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return value >= 1 && value <= 15;
}

bool SameCall(std::string_view a, std::string_view b) {
    return StripSsidZero(a) == StripSsidZero(b);
}

}  // namespace plovane
