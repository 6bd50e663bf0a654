// SPDX-License-Identifier: GPL-3.0-or-later
// One station record: a heard station, an object or item, or the own station.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "core/date_time.h"
#include "core/geo.h"
#include "core/station_report.h"
#include "stations/heard_where.h"
#include "stations/telemetry.h"

namespace plovane {

// A position in angle units (see core/geo.h) with an altitude in decimetres (-1 unknown).
struct TrackPoint {
    int32_t colatitude = kEquatorColatitude;
    int32_t longitude = kGreenwichLongitude;
    int32_t altitude = 0;

    bool operator==(const TrackPoint&) const = default;
};

// A point of a track and when it was heard: seconds since 1 January 2000 (local time, as
// lastHeard), enough for the map to fade a track over its time span.
struct TrackFix : TrackPoint {
    int32_t heardSeconds = 0;

    bool operator==(const TrackFix&) const = default;
};

// The last weather report of a station. Values are -1 when not reported (temperature -1000).
struct CWeatherReport {
    bool hasHumidity = false;
    bool hasLuminosity = false;
    bool hasBarometer = false;
    bool hasRain = false;
    bool hasSnow = false;
    bool hasTemperature = false;
    bool hasReportTime = false;
    bool hasWind = false;
    CDateTime received;                         // when the report was stored (local time)
    CDateTime reportTime{2000, 1, 1, 0, 0, 0};  // the report's own date and time
    int32_t humidity = -1;                      // tenths of a percent
    int32_t luminosity = -1;                    // W/m2
    int32_t barometer = -1;                     // tenths of a millibar
    int32_t rainLastHour = -1;                  // tenths of a millimetre
    int32_t rainLast24Hours = -1;               // tenths of a millimetre
    int32_t rainSinceMidnight = -1;             // tenths of a millimetre
    int32_t snow[3] = {-1, -1, -1};             // [1]: last 24 hours, tenths of a millimetre
    int32_t temperature = -1000;                // tenths of a degree Celsius
    int32_t windDirection = -1;                 // degrees
    int32_t windSpeed = -1;                     // knots
    int32_t windGust = -1;                      // knots
    std::string description;                    // weather station software and hardware
};

// The fields a packet reads and writes come first, so an update touches a few neighbouring
// cache lines of the record rather than all of them: the call a look-up compares, the flags,
// symbol, motion, position and times, then the texts.
class CStation {
  public:
    explicit CStation(std::string stationCall = {}, CDateTime now = CDateTime())
        : call(std::move(stationCall)),
          lastHeard(now),
          reportTime(now),
          trackTime(now),
          created(now) {
        weather.received = now;
    }
    virtual ~CStation() = default;
    CStation(const CStation&) = default;
    CStation& operator=(const CStation&) = default;

    std::string call;
    bool heard = false;
    bool hasDfs = false;
    bool hasPhg = false;
    bool hasPosition = false;
    bool hasReportTime = false;
    bool moving = false;
    bool hasSymbol = false;
    bool hasWeather = false;
    bool hasOwner = false;
    bool killed = false;
    bool shownOnMap = false;
    char symbolTable = '\\';
    char symbolCode = '0';
    int16_t ambiguity = 0;
    int16_t course = 0;  // degrees
    int16_t speed = 0;   // knots
    TrackPoint position;
    CDateTime lastHeard;   // local time at which the last position report was processed
    CDateTime reportTime;  // time carried by the last position report (UTC)
    CDateTime trackTime;   // report time of the newest track point (UTC)
    std::string comment;
    std::string path;
    std::string destination;
    std::string device;
    std::string_view deviceClass;  // "ht", "wx", ...: into the device table, never freed
    std::string lastInfo;
    int16_t phgPower = 0;        // watts
    int16_t phgHeight = 0;       // feet
    int16_t phgGain = 0;         // dB
    int16_t phgDirectivity = 0;  // degrees, 0 omnidirectional
    int16_t dfsStrength = 0;
    int16_t dfsHeight = 0;
    int16_t dfsGain = 0;
    int16_t dfsDirectivity = 0;
    bool hasRange = false;
    double rangeMiles = 0.0;  // the radio range the station gives ("RNG0050")
    // A direction-finding report ("/BRG/NRQ"): the bearing it heard and its number of hits,
    // range and quality digits.
    bool hasBearing = false;
    int16_t dfBearing = 0;  // degrees
    int16_t dfNrq = 0;      // the three digits as a number, e.g. 729
    std::string owner;
    CDateTime created;             // local time
    std::deque<TrackFix> track;    // newest first
    CWeatherReport weather;
    std::string micEMessage;  // Mic-E message type, e.g. "En Route"
    HeardWhere heardWhere;
    // Null until the station sends telemetry. Replaced whole on every update and never
    // changed in place, so copies of the record share it safely across threads (and the
    // records of the many stations without telemetry stay small).
    std::shared_ptr<const CTelemetry> telemetry;
};

}  // namespace plovane
