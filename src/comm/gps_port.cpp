// SPDX-License-Identifier: GPL-3.0-or-later
// The GPS receiver's settings, port and sentence receiver.
#include "comm/gps_port.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "comm/gpsd_port.h"
#include "comm/nmea_parser.h"
#include "core/line_queue.h"
#include "core/latin1.h"
#include "stations/station_list.h"

namespace plovane {

void ApplySentence(CStationList& stations, std::string_view target, std::string_view destination,
                   std::string_view path, std::string_view line, bool handOn) {
    const std::string call = target.empty() ? stations.OwnCall() : std::string(target);
    const std::string cleaned = CleanNmeaLine(line);
    NmeaReport report;
    if (!ParseNmeaSentence(cleaned, report)) {
        if (!handOn)
            stations.SetDeviceAndPath(call, destination, path, cleaned);
        return;
    }
    ApplyNmeaReport(stations, call, report);
}

void ApplyNmeaReport(CStationList& stations, std::string_view target, const NmeaReport& report) {
    const std::string call = target.empty() ? stations.OwnCall() : std::string(target);
    if (report.hasPosition) {
        stations.UpdatePosition(call, "", report.latitude, report.longitude, report.time, "",
                                report.altitudeDm);
    }
    if (!report.hasSpeed && !report.hasCourse)
        return;
    int speed = report.speedKnots;
    int course = report.courseDegrees;
    if (!report.hasSpeed || !report.hasCourse) {
        // A missing value keeps what the record has.
        const std::optional<CStation> station = stations.FindStation(call);
        if (!report.hasSpeed)
            speed = station ? station->speed : 0;
        if (!report.hasCourse)
            course = station ? station->course : 0;
    }
    stations.SetCourseSpeed(call, speed, course);
}

CGpsPort::CGpsPort(ThreadPoster& poster, NoticeSink& notices)
    : CSerialPort(poster, notices, "GPS", "PLOVANE_GPS_MUTEX", "PLOVANE_GPS_EVENT") {}

void ApplyOwnFix(CStationList& stations, const HeardLine& line) {
    if (line.origin.kind == LineKind::kNmea) {
        ApplySentence(stations, "", "", "", line.bytes, true);
    } else if (NmeaReport report;
               line.origin.kind == LineKind::kGpsd && ParseGpsdReport(line.bytes, report)) {
        ApplyNmeaReport(stations, "", report);
    }
}

void CGpsPort::SetSettings(const CGpsSettings& settings) {
    SetParameters(
        SerialParametersOf(settings, settings.enabled && settings.source == kGpsSerialPort));
    gpsFromTnc_ = settings.enabled &&
                  (settings.source == kGpsFromTncMonitor || settings.source == kGpsFromTncPolled);
}

void CGpsPort::ParseSentence(std::string_view target, std::string_view destination,
                             std::string_view path, std::string_view line, bool handOn) {
    if (stations_ != nullptr)
        ApplySentence(*stations_, target, destination, path, line, handOn);
}

void CGpsPort::TakeTncLine(std::string_view line) {
    const std::string_view text = latin1::Trim(line);
    if (!text.empty() && text.front() == '$' && GpsFromTnc())
        ParseSentence("", "", "", text, true);
}

}  // namespace plovane
