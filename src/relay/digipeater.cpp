// SPDX-License-Identifier: GPL-3.0-or-later
// Digipeating: which packets we relay and how their path changes.
#include "relay/digipeater.h"

namespace plovane {

bool ParseWideHop(std::string_view hop, int& n, int& hopsLeft) {
    if (hop.size() != 7 || hop.substr(0, 4) != "WIDE" || hop[5] != '-')
        return false;
    n = hop[4] - '0';
    hopsLeft = hop[6] - '0';
    return n >= 1 && n <= 7 && hopsLeft >= 1 && hopsLeft <= n;
}

Digipeater::Digipeater(const DigipeaterSettings& settings, std::string myCall)
    : settings_(settings), myCall_(std::move(myCall)), aliases_(settings.AliasList()) {}

size_t Digipeater::Remembered() const {
    size_t total = 0;
    for (const auto& [port, history] : relayedPerPort_)
        total += history.size();
    return total;
}

bool Digipeater::RewritePath(MonitorLine& packet) const {
    std::vector<PathHop>& path = packet.path;
    const size_t first = packet.FirstUnused();
    if (first == path.size())
        return false;
    // Our call anywhere among the unused hops: every hop up to it counts as used
    // (e.g. N0CALL>APRS,WIDE1-1,MYCALL,WIDE2-1 -> N0CALL>APRS,WIDE1-1,MYCALL*,WIDE2-1).
    for (size_t i = first; i < path.size(); ++i) {
        if (SameCall(path[i].call, myCall_)) {
            for (size_t j = 0; j <= i; ++j)
                path[j].used = true;
            return true;
        }
    }
    PathHop& hop = path[first];
    // An alias answers for us: our call takes its place (N0CALL>APRS,HOME -> ...,MYCALL*).
    for (const std::string& alias : aliases_) {
        if (hop.call == alias) {
            hop = {myCall_, true};
            return true;
        }
    }
    int n = 0;
    int hopsLeft = 0;
    if (!ParseWideHop(hop.call, n, hopsLeft))
        return false;
    // A fill-in digipeater helps a station out of its valley and no further: the packet's
    // first hop only, and only WIDE1-1.
    if (settings_.FillIn && (first != 0 || n != 1))
        return false;
    --hopsLeft;
    hop.call.resize(5);  // "WIDEn"
    if (hopsLeft > 0) {
        hop.call += '-';
        hop.call += static_cast<char>('0' + hopsLeft);
    }
    hop.used = hopsLeft == 0;
    // Our call before the hop, marked used, while the path has room for it
    // (WIDE2-2 -> MYCALL*,WIDE2-1; WIDE2-1 -> MYCALL,WIDE2*).
    if (path.size() < 8)
        path.insert(path.begin() + static_cast<std::ptrdiff_t>(first), PathHop{myCall_, true});
    return true;
}

std::optional<std::string> Digipeater::HeardOnRf(int port, std::string_view line, RelayTime now) {
    if (!settings_.Enabled || !IsAx25Call(myCall_))
        return std::nullopt;
    std::optional<MonitorLine> packet = SplitMonitorLine(TrimLineEnd(line));
    // What goes out must fit an AX.25 frame: real calls, at most eight hops.
    if (!packet || packet->path.size() > 8 || !IsAx25Call(packet->source) ||
        !IsAx25Call(packet->destination))
        return std::nullopt;
    for (const PathHop& hop : packet->path) {
        if (!IsAx25Call(hop.call))
            return std::nullopt;
        // Our own call already used: we sent this one before.
        if (hop.used && SameCall(hop.call, myCall_))
            return std::nullopt;
    }
    if (SameCall(packet->source, myCall_) || !RewritePath(*packet))
        return std::nullopt;
    auto history = relayedPerPort_.try_emplace(port, kDuplicateWindow, kMaxRemembered).first;
    if (history->second.SeenElseRecord(packet->source, packet->destination, packet->info, now))
        return std::nullopt;
    ++relayed_;
    return MonitorLineText(*packet, packet->info);
}

}  // namespace plovane
