// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_rows.h"

namespace plovane {
namespace {

// The information field of a line that is no relayed packet: after the first ':' of
// "SOURCE>DEST,PATH:info". Empty for a relayed one ("}" in front), which says nothing
// about its sender's own status.
std::string_view InformationOf(std::string_view line, std::string_view& source) {
    const size_t arrow = line.find('>');
    const size_t colon = line.find(':');
    if (arrow == std::string_view::npos || colon == std::string_view::npos || arrow > colon)
        return {};
    source = line.substr(0, arrow);
    return line.substr(colon + 1);
}

}  // namespace

HistoryRows HistoryRowsFrom(const DecodedPacket& packet, int64_t utcHeard, std::string_view line) {
    HistoryRows rows;
    if (packet.isOwn)
        return rows;
    std::string_view source;
    const std::string_view information = InformationOf(line, source);
    // e.g. N0CALL>APRS:>Net control tonight
    const bool isStatus = !information.empty() && information.front() == '>';
    for (const StationReport& r : packet.reports()) {
        const std::string call(r.call);
        if (r.hasPositionReport && r.hasPoint) {
            PositionSample p;
            p.utc = utcHeard;
            p.colatitude = r.colatitude;
            p.longitude = r.longitude;
            p.altitudeDm = r.altitudeDm;
            if (r.hasCourseSpeed) {
                p.courseDegrees = r.courseDegrees;
                p.speedKnots = r.speedKnots;
            }
            if (r.hasSymbol)
                p.symbol = r.symbol;
            rows.positions.push_back({call, p});
        }
        if (r.weather != nullptr)
            rows.weather.push_back({call, {utcHeard, *r.weather}});
        if (r.telemetry != nullptr)
            rows.telemetry.push_back({call, {utcHeard, *r.telemetry}});
        if (!r.telemetryDefinition.empty())
            rows.definitions.push_back({call, utcHeard, std::string(r.telemetryDefinition)});
        if (isStatus && r.call == source && r.hasDevicePath && !r.information.empty()) {
            rows.texts.push_back(
                {utcHeard, HistoryTextKind::kStatus, call, {}, std::string(r.information)});
        }
    }
    if (packet.hasMessage && !packet.messageSource.empty()) {
        rows.texts.push_back(
            {utcHeard, HistoryTextKind::kMessage, std::string(packet.messageSource),
             std::string(packet.messageAddressee), std::string(packet.messageText)});
    }
    return rows;
}

}  // namespace plovane
