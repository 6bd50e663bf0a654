// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the "Station Info for ..." pages: "General", "Status" and "WX", each field
// formatted once from a copy of the station record, in the units of "UnitsOfMeasure".
// Every text is UTF-8 (received text as DisplayUtf8 shows it); a field without data is "-".
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "stations/station.h"

namespace plovane {

struct GeneralPageText {
    std::string station;      // the call, with " [owner]" for an object or item
    std::string stationType;  // the device
    std::string latitude;     // e.g. "  49° 03.__' N"
    std::string longitude;    // e.g. "122° 01.__' W"
    std::string altitude;
    std::string course;
    std::string speed;
    std::string powerHeight;      // "Pwr/Hgt"
    std::string gainDirectivity;  // "Gain/Dir"
    std::string range;            // the given range, else the PHG range
    std::string dfBearing;        // "DF Brg/NRQ": bearing and the hits, range, quality digits
    std::string positTime;        // the report time in local time
    std::string actualTime;       // when last heard
    std::string heard;            // where: "RF port 1 via N0DIG-1, Internet"
};

struct StatusPageText {
    std::string comments;
    std::string status;       // the last information text
    std::string micEMessage;  // a Mic-E station's message type, "" for other stations
};

// The "Telemetry" page: one row per channel sent or named, analog values with their
// equations applied and their units, digital channels as their "on" label (UNIT.) or
// "On"/"Off".
struct TelemetryPageText {
    struct Row {
        std::string label;  // the channel's PARM. name, or "A1".."A5", "B1".."B8"
        std::string value;
    };
    std::string project;   // BITS. title, "-" when none
    std::string sequence;  // "-" when the report had none
    std::vector<Row> rows;
    std::string recvTime;
};

struct WxPageText {
    std::string windGust;
    std::string temperatureHumidity;
    std::string pressure;
    std::string rainLastHour;
    std::string rainLabel;  // "Rain Last 24:" or "Since 0000:"
    std::string rain;
    std::string snow;
    std::string luminosity;
    std::string xmitTime;
    std::string recvTime;
    std::string stationType;  // the report's description
};

// "Station Info for " + the call.
std::string StationInfoTitle(const CStation& station);

// The two location lines: degrees padded to three digits with two blanks per missing digit,
// minutes and hundredths to two digits, ambiguity 1..4 blanking digits from the right with
// "_", and then up to four blanks removed from the front of both lines while both have one.
std::pair<std::string, std::string> LocationLines(int32_t colatitude, int32_t longitude,
                                                  int ambiguity);

// `biasMinutes` moves the report time (UTC) to local time: local = UTC - bias.
GeneralPageText FormatGeneralPage(const CStation& station, int unitsOfMeasure, int biasMinutes);
StatusPageText FormatStatusPage(const CStation& station);
WxPageText FormatWxPage(const CWeatherReport& weather, int unitsOfMeasure);

TelemetryPageText FormatTelemetryPage(const CTelemetry& telemetry);

// The "Telemetry" page is shown only for a station that sent telemetry values.
inline bool HasTelemetryPage(const CStation& station) {
    return station.telemetry && station.telemetry->hasValues;
}

// The "WX" page is shown only for a station with weather.
inline bool HasWxPage(const CStation& station) {
    return station.hasWeather;
}

// A date as the pages write it ("2026-Jan-5 09:07"), "-" when not valid.
std::string InfoDateText(const CDateTime& time);

}  // namespace plovane
