// SPDX-License-Identifier: GPL-3.0-or-later
// The report writer: turns what the decoders read into the station reports of a packet.
#include "aprs/decoders.h"

namespace plovane::aprs {
namespace {

bool CopySymbol(std::string_view symbol, std::array<char, 2>& to) {
    if (symbol.size() < 2)
        return false;
    to = {symbol[0], symbol[1]};
    return true;
}

}  // namespace

void ReportWriter::UpdatePosition(std::string_view call, std::string_view symbol,
                                  std::string_view latitude, std::string_view longitude,
                                  std::string_view time, std::string_view comment,
                                  int32_t altitudeDm) {
    StationReport* r = packet_.ReportFor(call);
    if (r == nullptr)
        return;
    // Telemetry first: its base-91 characters may themselves look like a DAO extension.
    TelemetryValues& telemetry = packet_.telemetry();
    if (comment.find('|') != std::string_view::npos &&
        TakeBase91Telemetry(comment, packet_, telemetry)) {
        r->telemetry = &telemetry;
    }
    DaoExtension dao;
    if (comment.find('!') != std::string_view::npos)
        TakeDao(comment, packet_, dao);
    if (altitudeDm == -1 && comment.find("/A=") != std::string_view::npos)
        TakeAltitude(comment, packet_, altitudeDm);
    FillPositionReport(*r, symbol, latitude, longitude, time, comment, altitudeDm, localNow_,
                       biasMinutes_);
    // The DAO digits refine a full-precision position only (not an ambiguous one).
    if (dao.found && r->hasPoint && latitude.find(' ') == std::string_view::npos &&
        longitude.find(' ') == std::string_view::npos) {
        const bool south = latitude[7] == 'S' || latitude[7] == 's';
        const bool east = longitude[8] == 'E' || longitude[8] == 'e';
        r->colatitude += south ? dao.latitudeUnits : -dao.latitudeUnits;
        r->longitude += east ? dao.longitudeUnits : -dao.longitudeUnits;
    }
}

void ReportWriter::StoreTelemetry(std::string_view call, const TelemetryValues& values) {
    if (StationReport* r = packet_.ReportFor(call)) {
        packet_.telemetry() = values;
        r->telemetry = &packet_.telemetry();
    }
}

void ReportWriter::SetMicEMessage(std::string_view call, std::string_view message) {
    if (StationReport* r = packet_.ReportFor(call))
        r->micEMessage = message;
}

void ReportWriter::SetCourseSpeed(std::string_view call, int speedKnots, int courseDegrees) {
    if (StationReport* r = packet_.ReportFor(call)) {
        r->hasCourseSpeed = true;
        r->speedKnots = speedKnots;
        r->courseDegrees = courseDegrees;
    }
}

void ReportWriter::SetPhg(std::string_view call, int powerWatts, int heightFeet, int gainDb,
                          int directivityDegrees) {
    if (StationReport* r = packet_.ReportFor(call)) {
        r->hasPhg = true;
        r->phg = {powerWatts, heightFeet, gainDb, directivityDegrees};
    }
}

void ReportWriter::SetDfs(std::string_view call, int strength, int heightFeet, int gainDb,
                          int directivityDegrees) {
    if (StationReport* r = packet_.ReportFor(call)) {
        r->hasDfs = true;
        r->dfs = {strength, heightFeet, gainDb, directivityDegrees};
    }
}

void ReportWriter::SetRange(std::string_view call, double miles) {
    if (StationReport* r = packet_.ReportFor(call)) {
        r->hasRange = true;
        r->rangeMiles = miles;
    }
}

void ReportWriter::SetBearing(std::string_view call, int bearingDegrees, int nrq) {
    if (StationReport* r = packet_.ReportFor(call)) {
        r->hasBearing = true;
        r->dfBearing = bearingDegrees;
        r->dfNrq = nrq;
    }
}

// The first symbol a packet implies for a call stands, as a later one would find it set.
void ReportWriter::SetImpliedSymbol(std::string_view call, std::string_view symbol) {
    StationReport* r = packet_.ReportFor(call);
    if (r != nullptr && !r->hasImpliedSymbol)
        r->hasImpliedSymbol = CopySymbol(symbol, r->impliedSymbol);
}

void ReportWriter::SetObjectOwner(std::string_view name, std::string_view senderCall, bool killed) {
    if (StationReport* r = packet_.ReportFor(name)) {
        r->hasOwner = true;
        r->owner = senderCall;
        r->killed = killed;
    }
}

void ReportWriter::SetDeviceAndPath(std::string_view call, std::string_view destination,
                                    std::string_view path, std::string_view information) {
    StationReport* r = packet_.ReportFor(call);
    if (r == nullptr)
        return;
    r->hasDevicePath = true;
    if (!destination.empty() || r->destination.empty())
        r->destination = destination;
    if (!path.empty() || r->path.empty())
        r->path = path;
    if (!information.empty() || r->information.empty())
        r->information = information;
}

void ReportWriter::StoreWeather(std::string_view call, std::string_view comment,
                                const WeatherValues& values) {
    if (StationReport* r = packet_.ReportFor(call)) {
        packet_.weather() = values;
        r->weather = &packet_.weather();
        r->weatherComment = comment;
    }
}

}  // namespace plovane::aprs
