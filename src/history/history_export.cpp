// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_export.h"

#include <cstdio>
#include <ctime>

#include "core/geo.h"

namespace plovane {
namespace {

// Text safe inside XML: markup characters escaped, control characters and bytes that are
// not ASCII (calls and names are ASCII; anything else came garbled) written as '?'.
std::string XmlText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out +=
                    (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E)
                        ? '?'
                        : c;
        }
    }
    return out;
}

// A CSV field: quoted when it holds a separator, quote or line end.
std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

std::string Number(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Decimal degrees, longitude in [-180, 180) as GPX wants it.
double Lat(const PositionSample& p) {
    return LatitudeDegrees(p.colatitude);
}
double Lon(const PositionSample& p) {
    double lon = static_cast<double>(p.longitude) / kUnitsPerDegree - 180.0;
    return lon >= 180.0 ? lon - 360.0 : lon;
}

// A value in tenths, or an empty field when not reported (-1; -1000 for temperature).
std::string Tenths(int32_t value, int32_t missing = -1) {
    return value == missing ? std::string() : Number(value / 10.0, 1);
}
std::string Whole(int32_t value) {
    return value < 0 ? std::string() : std::to_string(value);
}

}  // namespace

std::string HistoryTimeText(int64_t utc) {
    const auto t = static_cast<std::time_t>(utc);
    std::tm tm{};
    if (gmtime_r(&t, &tm) == nullptr)
        return {};
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return text;
}

std::string TrackGpx(std::string_view call, std::span<const PositionSample> track) {
    const std::string name = XmlText(call);
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<gpx version=\"1.1\" creator=\"Plovane\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
        "  <metadata><name>" +
        name +
        "</name></metadata>\n"
        "  <trk>\n    <name>" +
        name + "</name>\n    <trkseg>\n";
    for (const PositionSample& p : track) {
        out += "      <trkpt lat=\"" + Number(Lat(p), 6) + "\" lon=\"" + Number(Lon(p), 6) + "\">";
        if (p.altitudeDm >= 0)
            out += "<ele>" + Number(p.altitudeDm / 10.0, 1) + "</ele>";
        out += "<time>" + HistoryTimeText(p.utc) + "</time>";
        if (p.courseDegrees >= 0 && p.speedKnots >= 0) {
            out += "<desc>course " + std::to_string(p.courseDegrees) + " deg, speed " +
                   std::to_string(p.speedKnots) + " kn</desc>";
        }
        out += "</trkpt>\n";
    }
    out += "    </trkseg>\n  </trk>\n</gpx>\n";
    return out;
}

std::string TrackKml(std::string_view call, std::span<const PositionSample> track) {
    const std::string name = XmlText(call);
    const auto coordinates = [](const PositionSample& p) {
        // The height only where it was reported: "lon,lat" alone stands on the ground.
        std::string text = Number(Lon(p), 6) + ',' + Number(Lat(p), 6);
        if (p.altitudeDm >= 0)
            text += ',' + Number(p.altitudeDm / 10.0, 1);
        return text;
    };
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
        "  <Document>\n    <name>" +
        name + "</name>\n";
    if (track.size() >= 2) {
        out += "    <Placemark>\n      <name>" + name +
               " track</name>\n"
               "      <LineString>\n        <coordinates>";
        for (size_t i = 0; i < track.size(); ++i) {
            if (i > 0)
                out += ' ';
            out += coordinates(track[i]);
        }
        out += "</coordinates>\n      </LineString>\n    </Placemark>\n";
    }
    for (const PositionSample& p : track) {
        out += "    <Placemark><name>" + name + "</name><TimeStamp><when>" +
               HistoryTimeText(p.utc) + "</when></TimeStamp><Point><coordinates>" + coordinates(p) +
               "</coordinates></Point></Placemark>\n";
    }
    out += "  </Document>\n</kml>\n";
    return out;
}

std::string WeatherCsv(std::span<const WeatherSample> samples) {
    std::string out =
        "time,wind_direction_deg,wind_speed_kn,wind_gust_kn,temperature_c,humidity_pct,"
        "pressure_mbar,rain_1h_mm,rain_24h_mm,rain_since_midnight_mm,snow_24h,"
        "luminosity_w_m2\n";
    for (const WeatherSample& s : samples) {
        const WeatherValues& v = s.values;
        out += HistoryTimeText(s.utc) + ',' + Whole(v.windDirection) + ',' + Whole(v.windSpeed) +
               ',' + Whole(v.windGust) + ',' + Tenths(v.temperature, -1000) + ',' +
               Tenths(v.humidity) + ',' + Tenths(v.barometer) + ',' + Tenths(v.rainLastHour) + ',' +
               Tenths(v.rainLast24Hours) + ',' + Tenths(v.rainSinceMidnight) + ',' +
               Whole(v.snow[0]) + ',' + Whole(v.luminosity) + '\n';
    }
    return out;
}

std::string TelemetryCsv(const CTelemetry& definitions, std::span<const TelemetrySample> samples) {
    std::string out = "time,sequence";
    for (size_t i = 0; i < CTelemetry::kChannels; ++i) {
        // Unnamed channels are A1..A5 and D1..D8.
        const bool analog = i < TelemetryValues::kAnalogChannels;
        std::string title = definitions.names[i];
        if (title.empty()) {
            title = analog ? 'A' : 'D';
            title += std::to_string(analog ? i + 1 : i - TelemetryValues::kAnalogChannels + 1);
        }
        if (!definitions.units[i].empty())
            title += " (" + definitions.units[i] + ")";
        out += ',' + CsvField(title);
    }
    out += '\n';
    CTelemetry scaled = definitions;
    for (const TelemetrySample& s : samples) {
        scaled.values = s.values;
        out += HistoryTimeText(s.utc) + ',' +
               (s.values.sequence >= 0 ? std::to_string(s.values.sequence) : "");
        for (size_t i = 0; i < TelemetryValues::kAnalogChannels; ++i) {
            out += ',';
            if ((s.values.analogPresent >> i) & 1)
                out += Number(scaled.Scaled(i), 3);
        }
        for (size_t i = 0; i < CTelemetry::kDigital; ++i) {
            out += ',';
            if (s.values.bits >= 0)
                out += scaled.BitOn(i) ? '1' : '0';
        }
        out += '\n';
    }
    return out;
}

}  // namespace plovane
