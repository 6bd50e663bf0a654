// SPDX-License-Identifier: GPL-3.0-or-later
// The GPS receiver's settings, port and sentence receiver.
#include "comm/gps_port.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "comm/nmea_parser.h"
#include "core/latin1.h"
#include "stations/station_list.h"

namespace plovane {

void CGpsSettings::Load(const Profile& p) {
    enabled = p.GetInt(kSection, "GPSEnabled", 0) != 0;
    source = p.GetInt(kSection, "GPSType", kGpsFromTncMonitor);
    port = p.GetString(kSection, "GPSCommPort", "COM1:");
    baudRate = p.GetInt(kSection, "GPSBaudRate", 4800);
    dataBits = p.GetInt(kSection, "GPSDataBits", 8);
    parity = p.GetString(kSection, "GPSParity", "N");
    stopBits = p.GetString(kSection, "GPSStopBits", "1");
    gpsdHost = p.GetString(kSection, "GPSDHost", "localhost");
    gpsdPort = p.GetString(kSection, "GPSDPort", "2947");
}

void CGpsSettings::Save(Profile& p) const {
    p.WriteInt(kSection, "GPSEnabled", enabled ? 1 : 0);
    p.WriteInt(kSection, "GPSType", source);
    p.WriteString(kSection, "GPSCommPort", port);
    p.WriteInt(kSection, "GPSBaudRate", baudRate);
    p.WriteInt(kSection, "GPSDataBits", dataBits);
    p.WriteString(kSection, "GPSParity", parity);
    p.WriteString(kSection, "GPSStopBits", stopBits);
    p.WriteString(kSection, "GPSDHost", gpsdHost);
    p.WriteString(kSection, "GPSDPort", gpsdPort);
}

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
    : CSerialPort(poster, notices, "GPS", "PLOVANE_GPS_MUTEX", "PLOVANE_GPS_EVENT") {
    SetInputHandler([this] { ProcessInput(); });
}

void CGpsPort::ProcessInput() {
    DrainLines(Buffer(), [this](std::string_view line) {
        if (stations_ != nullptr)
            ApplySentence(*stations_, "", "", "", line, true);
    });
}

void CGpsPort::LoadSettings(const Profile& profile) {
    if (settings_ == nullptr)
        return;
    settings_->Load(profile);
    SetParameters(
        SerialParametersOf(*settings_, settings_->enabled && settings_->source == kGpsSerialPort));
    gpsFromTnc_ = settings_->enabled && (settings_->source == kGpsFromTncMonitor ||
                                         settings_->source == kGpsFromTncPolled);
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
