// SPDX-License-Identifier: GPL-3.0-or-later
// The gpsd client: reports holding a fix go on the road.
#include "comm/gpsd_port.h"

#include <cmath>
#include <cstdio>

#include <nlohmann/json.hpp>

#include "comm/kiss_port.h"
#include "core/latin1.h"

namespace plovane {
namespace {

constexpr double kKnotsPerMetrePerSecond = 1.943844;

// gpsd prints degrees to 9 decimals, speed to 1 mm/s and the track to 4 decimals.
constexpr double kDegreeStep = 1e-9;
constexpr double kSpeedStep = 0.001;
constexpr double kTrackStep = 0.0001;

bool Number(const nlohmann::json& report, const char* key, double& value) {
    const auto it = report.find(key);
    if (it == report.end() || !it->is_number())
        return false;
    value = it->get<double>();
    return std::isfinite(value);
}

}  // namespace

bool ParseGpsdReport(std::string_view json, NmeaReport& report) {
    report = NmeaReport();
    const nlohmann::json parsed = nlohmann::json::parse(json, nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object())
        return false;
    const auto cls = parsed.find("class");
    if (cls == parsed.end() || !cls->is_string() || cls->get<std::string>() != "TPV")
        return false;
    double mode = 0, lat = 0, lon = 0;
    if (!Number(parsed, "mode", mode) || mode < 2 || !Number(parsed, "lat", lat) ||
        !Number(parsed, "lon", lon) || std::fabs(lat) > 90 || std::fabs(lon) > 180)
        return false;
    report.hasPosition = true;
    report.latitude = NmeaCoordinate(lat, 2, 'N', 'S', kDegreeStep);
    report.longitude = NmeaCoordinate(lon, 3, 'E', 'W', kDegreeStep);
    double altitude = 0;
    if (mode >= 3 && (Number(parsed, "altMSL", altitude) || Number(parsed, "alt", altitude)) &&
        std::fabs(altitude) < 1e6) {
        const long dm = static_cast<long>(std::trunc(altitude * 10.0));
        report.altitudeDm = dm == -1 ? 0 : static_cast<int32_t>(dm);
    }
    double speed = 0, track = 0;
    if (Number(parsed, "speed", speed) && speed >= 0 && speed < 1e6) {
        report.hasSpeed = true;
        report.speedKnots = static_cast<int>(
            RoundNmeaValue(speed * kKnotsPerMetrePerSecond, kSpeedStep * kKnotsPerMetrePerSecond));
    }
    if (Number(parsed, "track", track) && track >= 0 && track < 360) {
        report.hasCourse = true;
        // 359.5 and above is due north, 360 in a position report.
        report.courseDegrees = static_cast<int>(RoundNmeaValue(track, kTrackStep));
    }
    // "2026-12-06T16:52:22.000Z": the time of day, as a sentence gives it.
    const auto time = parsed.find("time");
    if (time != parsed.end() && time->is_string()) {
        const std::string text = time->get<std::string>();
        if (text.size() >= 19 && text[10] == 'T' && text[13] == ':' && text[16] == ':')
            report.time = text.substr(11, 2) + text.substr(14, 2) + text.substr(17, 2) + "h";
    }
    return true;
}

OpenResult CGpsdPort::Open(const std::string& hostText, const std::string& portText) {
    link_.Stop();
    const std::string host(latin1::Trim(hostText));
    const std::string port = ValidTcpPort(portText);
    if (host.empty() || port.empty())
        return {false, "GPS: Invalid gpsd host or port."};
    line_.clear();
    skipping_ = false;
    PortHandlers handlers;
    handlers.opened = [this] {
        line_.clear();
        skipping_ = false;
        link_.Send(std::string(kGpsdWatch));
        poster_.Post(ThreadMessage::kPortStatus);
    };
    handlers.received = [this](const uint8_t* data, size_t length) { Received(data, length); };
    handlers.lost = [this](const std::string&) { poster_.Post(ThreadMessage::kPortStatus); };
    const auto opener = [host, port](int wakeFd, std::string& error) {
        return ConnectTcp(host, port, wakeFd, std::chrono::milliseconds(10000), error);
    };
    if (!link_.Start(opener, std::move(handlers), timings_))
        return {false, "GPS: Unable to start the gpsd thread."};
    return {true, {}};
}

void CGpsdPort::Close() {
    if (!link_.IsRunning())
        return;
    link_.Stop();
    poster_.Post(ThreadMessage::kPortStatus);
}

void CGpsdPort::Received(const uint8_t* data, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c != '\n') {
            if (skipping_)
                continue;
            if (line_.size() >= kMaxLineBytes) {
                line_.clear();
                skipping_ = true;
                continue;
            }
            line_.push_back(c);
            continue;
        }
        const bool whole = !skipping_;
        skipping_ = false;
        NmeaReport report;
        if (whole && ParseGpsdReport(line_, report) && sink_.Put(line_, link_.FeedToken()))
            ++fixes_;
        line_.clear();
    }
}

}  // namespace plovane
