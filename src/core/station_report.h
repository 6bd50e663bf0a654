// SPDX-License-Identifier: GPL-3.0-or-later
// What one received packet says about one station, object or item: the decoder fills it in,
// the station store applies it whole. Texts are views into the packet's line (or the decoded
// packet's own buffers) and live as long as the packet does.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/date_time.h"

namespace plovane {

// Decoded weather values; -1 when not reported (temperature -1000).
struct WeatherValues {
    int32_t month = -1, day = -1, hour = -1, minute = -1;       // the report's own date, if any
    int32_t windDirection = -1, windSpeed = -1, windGust = -1;  // degrees, knots, knots
    int32_t temperature = -1000;                                // tenths of a degree Celsius
    int32_t humidity = -1, barometer = -1;  // tenths of a percent, tenths of a millibar
    int32_t rainLastHour = -1, rainLast24Hours = -1, rainSinceMidnight = -1;  // tenths of a mm
    int32_t snow[3] = {-1, -1, -1};
    int32_t luminosity = -1;  // W/m2
};

// One telemetry report: a "T#" packet or base-91 telemetry in a comment.
struct TelemetryValues {
    static constexpr size_t kAnalogChannels = 5;
    int32_t sequence = -1;  // -1 when the report has no numeric sequence ("T#MIC")
    std::array<double, kAnalogChannels> analog{};
    uint8_t analogPresent = 0;  // bit i: channel i was sent
    int16_t bits = -1;          // the eight digital channels, channel 1 in bit 0; -1 absent
};

// The parts are applied in this order: implied symbol, position report, course and speed,
// PHG, DFS, range, bearing, device and path, weather, telemetry, owner, killed.
struct StationReport {
    std::string_view call;

    // A symbol implied by the destination call or the SSID: kept only when the record has
    // none. A report carrying nothing else does not announce a known record as changed.
    bool hasImpliedSymbol = false;
    std::array<char, 2> impliedSymbol{};

    // A position report: the comment and symbol always, the point when it is usable.
    bool hasPositionReport = false;
    bool hasSymbol = false;
    bool hasPoint = false;
    bool hasReportTime = false;  // the report carried a usable time stamp (UTC)
    std::array<char, 2> symbol{};
    int32_t colatitude = 0;  // angle units
    int32_t longitude = 0;
    int32_t altitudeDm = -1;  // decimetres, -1 unknown
    CDateTime reportTime;
    std::string_view comment;

    bool hasCourseSpeed = false;
    int32_t speedKnots = 0;
    int32_t courseDegrees = 0;

    bool hasPhg = false;  // power W, height ft, gain dB, directivity degrees
    std::array<int32_t, 4> phg{};
    bool hasDfs = false;  // strength, height ft, gain dB, directivity degrees
    std::array<int32_t, 4> dfs{};
    bool hasRange = false;  // the radio range the station gives ("RNG0050")
    double rangeMiles = 0.0;
    // A direction-finding report ("/270/729"): bearing in degrees, then the number of hits,
    // range and quality digits as one number.
    bool hasBearing = false;
    int32_t dfBearing = 0;
    int32_t dfNrq = 0;

    bool hasDevicePath = false;
    std::string_view destination;
    std::string_view path;
    std::string_view information;  // "" leaves the last information text as it is

    const WeatherValues* weather = nullptr;  // a weather report, replacing the last one
    std::string_view weatherComment;

    const TelemetryValues* telemetry = nullptr;  // replaces the last values
    // A definition the station sent itself: "PARM.", "UNIT.", "EQNS." or "BITS." and its
    // list, e.g. "PARM.Vin,Rx1h,Dg1h".
    std::string_view telemetryDefinition;

    // Mic-E: the message type ("En Route"); the free text is the comment.
    std::string_view micEMessage;

    bool hasOwner = false;  // an object or item sent by `owner`; clears the killed flag
    std::string_view owner;
    bool killed = false;  // an object or item reported killed
};

// Fills in the position report of `r` from its texts: symbol (2 characters or empty),
// "DDMM.mmN", "DDDMM.mmW", time ("" or 7 characters such as "092345z", read against the
// local time and bias: UTC = local + bias minutes), comment and altitude in decimetres (-1
// unknown; a comment starting "/A=" and six digits of feet gives it then). The decoder has
// taken an altitude from anywhere else in the comment before.
void FillPositionReport(StationReport& r, std::string_view symbol, std::string_view latitude,
                        std::string_view longitude, std::string_view time, std::string_view comment,
                        int32_t altitudeDm, const CDateTime& localNow, int biasMinutes);

}  // namespace plovane
