// SPDX-License-Identifier: GPL-3.0-or-later
// IGate rules, as the APRS-IS pages "IGate Design" and "IGate Details" (aprs-is.net) give them.
#include "relay/igate.h"

namespace plovane {
namespace {

// A third-party packet may wrap another; more than this is noise.
constexpr int kMaxNesting = 3;

bool IsQConstruct(std::string_view hop) {
    return hop.size() == 3 && hop[0] == 'q' && hop[1] == 'A';
}

// Paths whose packets never go to APRS-IS: they came from it, or the sender says so.
bool StaysOffInternet(const MonitorLine& packet) {
    for (const PathHop& hop : packet.path) {
        if (hop.call == "TCPIP" || hop.call == "TCPXX" || hop.call == "NOGATE" ||
            hop.call == "RFONLY" || IsQConstruct(hop.call))
            return true;
    }
    return false;
}

// Sent straight from an APRS-IS client: "TCPIP*" or "TCPXX*", or a server's mark for a
// client's own packet (qAC, qAX, qAU).
bool FromInternetClient(const MonitorLine& packet) {
    for (const PathHop& hop : packet.path) {
        if (((hop.call == "TCPIP" || hop.call == "TCPXX") && hop.used) || hop.call == "qAC" ||
            hop.call == "qAX" || hop.call == "qAU")
            return true;
    }
    return false;
}

// ":ADDRESSEE:text" with the addressee padded to nine characters; empty when not a message.
std::string_view MessageAddressee(std::string_view info) {
    if (info.size() < 11 || info[0] != ':' || info[10] != ':')
        return {};
    std::string_view addressee = info.substr(1, 9);
    while (!addressee.empty() && addressee.back() == ' ')
        addressee.remove_suffix(1);
    return addressee;
}

bool IsPosition(std::string_view info) {
    return !info.empty() && std::string_view("!=/@'`").find(info[0]) != std::string_view::npos;
}

bool UsedNoDigipeater(const MonitorLine& packet) {
    return packet.FirstUnused() == 0;
}

}  // namespace

IGate::IGate(const IGateSettings& settings, std::string myCall, std::string tocall)
    : settings_(settings),
      myCall_(std::move(myCall)),
      tocall_(std::move(tocall)),
      rfPathValid_(ParseRelayPath(settings.IsToRfPath, rfPath_)),
      rateLimit_(settings.MaxPerMinute) {}

std::string IGate::NotGatingReason() const {
    if (!settings_.Enabled)
        return "IGate: off";
    if (!IsAx25Call(myCall_) || myCall_ == "NOCALL")
        return "IGate: not gating, the station has no call sign set up";
    if (!loginVerified_)
        return "IGate: not gating, the APRS-IS login is not verified";
    if (!settings_.RfToIs)
        return "IGate: not gating radio packets to APRS-IS (turned off)";
    return {};
}

bool IGate::IsToRfOn() const {
    return settings_.Enabled && settings_.IsToRf && IsAx25Call(myCall_) && myCall_ != "NOCALL" &&
           IsAx25Call(tocall_) && rfPathValid_;
}

std::string IGate::StatusText() const {
    std::string text = NotGatingReason();
    if (!text.empty() && !settings_.Enabled)
        return text;
    if (text.empty())
        text = "IGate";
    text += "; " + std::to_string(counts_.toInternet) + " to APRS-IS, " +
            std::to_string(counts_.toRf) + " to the radio";
    if (settings_.IsToRf && !rfPathValid_)
        text += " (the radio path is not valid)";
    if (counts_.heldByRateLimit > 0)
        text += ", " + std::to_string(counts_.heldByRateLimit) + " held back by the rate limit";
    return text;
}

size_t IGate::Remembered() const {
    return toInternetSent_.size() + toRfSent_.size() + heardDirect_.size() + heardOnRf_.size() +
           heardOnInternet_.size() + positionOwed_.size() + positionSent_.size() +
           rateLimit_.size();
}

std::optional<std::string> IGate::HeardOnRf(int port, std::string_view line, RelayTime now) {
    std::optional<MonitorLine> packet = SplitMonitorLine(TrimLineEnd(line));
    if (!packet || SameCall(packet->source, myCall_))
        return std::nullopt;
    // Who is local: a station heard without a digipeater may get messages gated to it;
    // a station heard at all needs none (its partner hears it on the radio).
    if (!StaysOffInternet(*packet)) {
        heardOnRf_.Note(packet->source, port, now);
        if (UsedNoDigipeater(*packet))
            heardDirect_.Note(packet->source, port, now);
    }
    const bool gating = NotGatingReason().empty();
    // Third-party packets: the radio header and "}" go, and the packet inside is judged again.
    // One that came from APRS-IS (TCPIP/TCPXX inside) marks its sender, and the IGate that
    // sent it, as heard on APRS-IS; it never goes back there.
    for (int depth = 0;; ++depth) {
        if (packet->info.empty() || packet->info[0] != '}')
            break;
        const std::string outer = packet->source;
        std::optional<MonitorLine> inner = SplitMonitorLine(packet->info.substr(1));
        if (!inner || depth == kMaxNesting)
            return std::nullopt;
        if (inner->HasHop("TCPIP") || inner->HasHop("TCPXX")) {
            heardOnInternet_.Note(outer, port, now);
            heardOnInternet_.Note(inner->source, port, now);
            return std::nullopt;
        }
        packet = std::move(inner);
    }
    // More than eight hops is no header a radio carried.
    if (!gating || SameCall(packet->source, myCall_) || StaysOffInternet(*packet) ||
        packet->path.size() > 8)
        return std::nullopt;
    // Generic queries ("?APRS?") would draw answers from everywhere; a line break would cut the
    // line on APRS-IS, so such a packet cannot go as it is.
    if (packet->info.empty() || packet->info[0] == '?' ||
        packet->info.find_first_of("\r\n") != std::string_view::npos)
        return std::nullopt;
    if (toInternetSent_.SeenElseRecord(packet->source, packet->destination, packet->info, now))
        return std::nullopt;
    ++counts_.toInternet;
    // The path stays as heard; ",qAO," says a receive-only IGate.
    std::string gated(packet->header);
    gated += settings_.IsToRf ? ",qAR," : ",qAO,";
    gated += myCall_;
    gated += ':';
    gated += packet->info;
    return gated;
}

std::optional<RfTransmit> IGate::ToRf(int port, const MonitorLine& packet, RelayTime now) {
    if (!rateLimit_.Take(port, now)) {
        ++counts_.heldByRateLimit;
        return std::nullopt;
    }
    ++counts_.toRf;
    // MYCALL>TOCALL,PATH:}SRC>DST,TCPIP,MYCALL*:info
    std::string line = myCall_ + ">" + tocall_;
    for (const std::string& hop : rfPath_)
        line += "," + hop;
    line += ":}" + packet.source + ">" + packet.destination + ",TCPIP," + myCall_ + "*:";
    line += packet.info;
    return RfTransmit{port, std::move(line)};
}

std::vector<RfTransmit> IGate::HeardOnInternet(std::string_view line, RelayTime now) {
    line = TrimLineEnd(line);
    if (line.empty() || line[0] == '#')  // server comments
        return {};
    std::optional<MonitorLine> packet = SplitMonitorLine(line);
    if (!packet)
        return {};
    if (FromInternetClient(*packet))
        heardOnInternet_.Note(packet->source, 0, now);
    if (!IsToRfOn() || SameCall(packet->source, myCall_) || packet->HasHop("TCPXX") ||
        packet->HasHop("NOGATE") || packet->HasHop("RFONLY"))
        return {};
    // A sender heard on the radio reaches its partner there itself.
    if (heardOnRf_.Find(packet->source, now))
        return {};
    const auto allowed = [&](std::optional<int> port) {
        return port && transmitPorts_.count(*port) != 0;
    };
    // Messages and acks for a station heard directly on a radio port and not on APRS-IS, sent
    // on that port.
    const std::string_view addressee = MessageAddressee(packet->info);
    if (!addressee.empty()) {
        const std::optional<int> port = heardDirect_.Find(addressee, now);
        if (SameCall(addressee, myCall_) || !allowed(port) ||
            heardOnInternet_.Find(addressee, now) ||
            toRfSent_.SeenElseRecord(packet->source, packet->destination, packet->info, now))
            return {};
        std::optional<RfTransmit> sent = ToRf(*port, *packet, now);
        if (!sent)
            return {};
        // Its sender's next position follows, so the station can see who wrote
        // (at most one every ten minutes).
        if (!positionSent_.Find(packet->source, now))
            positionOwed_.Note(packet->source, *port, now);
        return {*sent};
    }
    const std::optional<int> owed = positionOwed_.Find(packet->source, now);
    if (IsPosition(packet->info) && allowed(owed) &&
        !toRfSent_.SeenElseRecord(packet->source, packet->destination, packet->info, now)) {
        positionOwed_.Forget(packet->source);
        positionSent_.Note(packet->source, *owed, now);
        if (std::optional<RfTransmit> sent = ToRf(*owed, *packet, now))
            return {*sent};
    }
    return {};
}

}  // namespace plovane
