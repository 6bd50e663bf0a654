// SPDX-License-Identifier: GPL-3.0-or-later
// The first-start guide's logic.
#include "ui/logic/welcome.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

#include "comm/gpsd_port.h"
#include "comm/nmea_parser.h"
#include "core/geo.h"
#include "maps/tile_source.h"
#include "ui/logic/natural_sort.h"

namespace plovane {
namespace {

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::optional<double> NumberAt(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<LatLon> LocatorPosition(std::string_view locator) {
    const std::string_view text = Trimmed(locator);
    if (text.size() != 4 && text.size() != 6 && text.size() != 8)
        return std::nullopt;
    // Each pair narrows the cell: fields of 20 x 10 degrees (A-R), squares of 2 x 1 (0-9),
    // subsquares of 5' x 2.5' (A-X), extended squares of 30" x 15" (0-9).
    static constexpr struct {
        char first;
        int count;
        double lonSize;
    } kPairs[] = {{'A', 18, 20.0}, {'0', 10, 2.0}, {'A', 24, 2.0 / 24}, {'0', 10, 2.0 / 240}};
    double lon = -180;
    double lat = -90;
    double lonSize = 0;
    for (size_t pair = 0; pair * 2 < text.size(); ++pair) {
        const auto& rule = kPairs[pair];
        int digits[2];
        for (int i = 0; i < 2; ++i) {
            const char c =
                static_cast<char>(std::toupper(static_cast<unsigned char>(text[pair * 2 + i])));
            digits[i] = c - rule.first;
            if (digits[i] < 0 || digits[i] >= rule.count)
                return std::nullopt;
        }
        lonSize = rule.lonSize;
        lon += digits[0] * lonSize;
        lat += digits[1] * lonSize / 2;
    }
    return LatLon{lat + lonSize / 4, lon + lonSize / 2};
}

std::optional<LatLon> TypedPosition(std::string_view text) {
    std::string_view rest = Trimmed(text);
    const size_t split = rest.find_first_of(", \t");
    if (split == std::string_view::npos)
        return std::nullopt;
    const std::string_view latText = Trimmed(rest.substr(0, split));
    std::string_view lonText = Trimmed(rest.substr(split + 1));
    if (!lonText.empty() && lonText.front() == ',')
        lonText = Trimmed(lonText.substr(1));
    const std::optional<double> lat = NumberAt(latText);
    const std::optional<double> lon = NumberAt(lonText);
    if (!lat || !lon || std::fabs(*lat) > 90 || std::fabs(*lon) > 180)
        return std::nullopt;
    return LatLon{*lat, *lon};
}

int32_t ColatitudeOf(double lat) {
    return static_cast<int32_t>(std::lround((90.0 - lat) * kUnitsPerDegree));
}

int32_t LongitudeUnitsOf(double lon) {
    return static_cast<int32_t>(std::lround((lon + 180.0) * kUnitsPerDegree));
}

std::optional<LatLon> GpsdFix(std::string_view line) {
    NmeaReport report;
    if (!ParseGpsdReport(line, report))
        return std::nullopt;
    const int32_t colatitude = ParseLatitude(report.latitude);
    const int32_t longitude = ParseLongitude(report.longitude);
    if (colatitude < 0 || longitude < 0)
        return std::nullopt;
    return LatLon{LatitudeDegrees(colatitude), LongitudeDegrees(longitude)};
}

MapBox RangeBox(const LatLon& position, int radiusKm) {
    // A degree of latitude is about 111.2 km; one of longitude shrinks with its cosine.
    constexpr double kKmPerDegree = 111.2;
    const double km = std::max(radiusKm, 1);
    const double lat = km / kKmPerDegree;
    const double lon =
        std::min(180.0, km / (kKmPerDegree * std::max(0.01, std::cos(position.lat * M_PI / 180))));
    MapBox box;
    box.top = std::max(0, ColatitudeOf(std::min(90.0, position.lat + lat)));
    box.bottom = std::min(kMaxColatitude, ColatitudeOf(std::max(-90.0, position.lat - lat)));
    box.left = std::max(0, LongitudeUnitsOf(std::max(-180.0, position.lon - lon)));
    box.right = std::min(kMaxLongitude, LongitudeUnitsOf(std::min(180.0, position.lon + lon)));
    return box;
}

std::string RangeFilter(const LatLon& position, int radiusKm) {
    return RangeFilter(position.lat, position.lon, radiusKm);
}

std::vector<SerialChoice> SerialPortsById(const std::filesystem::path& devRoot) {
    std::vector<SerialChoice> ports;
    std::error_code error;
    const std::filesystem::path folder = devRoot / "serial" / "by-id";
    std::filesystem::directory_iterator it(folder, error);
    if (error)
        return ports;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(error)) {
        if (error)
            break;
        ports.push_back({it->path().string(), it->path().filename().string()});
        if (ports.size() >= 256)
            break;
    }
    std::sort(ports.begin(), ports.end(), [](const SerialChoice& a, const SerialChoice& b) {
        return NaturalLess(a.name, b.name);
    });
    return ports;
}

std::string ProbeText(Probe probe, ProbeResult result, std::string_view host, int port) {
    const std::string where = std::string(host) + ":" + std::to_string(port);
    if (probe == Probe::kKissTnc) {
        switch (result) {
            case ProbeResult::kLooking:
                return "Looking for a KISS TNC (Direwolf) on " + where + "...";
            case ProbeResult::kNone:
                return "No KISS TNC answers on " + where + ".";
            default:
                return "A KISS TNC (Direwolf) answers on " + where + ".";
        }
    }
    switch (result) {
        case ProbeResult::kLooking:
            return "Looking for gpsd on " + where + "...";
        case ProbeResult::kNone:
            return "No gpsd answers on " + where + ".";
        case ProbeResult::kAnswered:
            return "gpsd answers on " + where + " but has no fix yet.";
        case ProbeResult::kFix:
            break;
    }
    return "gpsd on " + where + " has a fix: the position follows it.";
}

void ApplyWelcome(const WelcomeChoices& c, WelcomeSettings& s) {
    if (!c.call.empty())
        s.station.MyCall = std::string(Trimmed(c.call));
    if (c.position) {
        s.station.Lat = ColatitudeOf(c.position->lat);
        s.station.Lon = LongitudeUnitsOf(c.position->lon);
        s.station.HasInitPosit = true;
        s.station.Mobile = false;
    }
    s.station.Ambiguity = static_cast<int16_t>(std::clamp(c.ambiguity, 0, 5));
    if (!c.symbol.empty())
        s.station.Symbol = CStationSettings::FixSymbol(c.symbol);
    if (c.gpsd) {
        s.gps.enabled = true;
        s.gps.source = kGpsGpsd;
        s.gps.gpsdHost = c.gpsdHost;
        s.gps.gpsdPort = c.gpsdPort;
    }

    s.tnc.enabled = c.link == WelcomeLink::kKissTcp || c.link == WelcomeLink::kSerial;
    s.net.enabled = c.link == WelcomeLink::kAprsIs;
    switch (c.link) {
        case WelcomeLink::kKissTcp:
            s.tnc.mode = kTncKissTcp;
            s.tnc.kissHost = c.kissHost;
            s.tnc.kissPort = c.kissPort;
            break;
        case WelcomeLink::kSerial:
            s.tnc.mode = c.serialTextMode ? kTncText : kTncKissSerial;
            if (!c.serialPort.empty())
                s.tnc.port = c.serialPort;
            if (c.serialTextMode && !c.tncCommandFile.empty())
                s.tnc.tncCommandFile = c.tncCommandFile;
            break;
        case WelcomeLink::kAprsIs:
            s.net.autoReconnect = true;
            s.net.hostAddress = c.netHost;
            s.net.hostPort = c.netPort;
            s.net.netFilter = c.position ? RangeFilter(*c.position, c.radiusKm) : std::string();
            break;
        case WelcomeLink::kNone:
            break;
    }
    if (c.tileSource)
        s.map.TileSource = *c.tileSource;
}

bool HasSetting(const Profile& profile, const std::string& section, const std::string& key) {
    // Two different defaults cannot both come back unless a value is stored.
    return profile.GetString(section, key, "\x01") != "\x01" ||
           profile.GetString(section, key, "\x02") != "\x02";
}

void WriteMachineDefaults(Profile& profile, const std::filesystem::path& devRoot,
                          const std::string& baseLayer) {
    const std::vector<SerialChoice> ports = SerialPortsById(devRoot);
    if (!ports.empty()) {
        for (const char* key : {"TNCCommPort", "GPSCommPort"}) {
            if (!HasSetting(profile, CTncSettings::kSection, key))
                profile.WriteString(CTncSettings::kSection, key, ports.front().path);
        }
    }
    if (!baseLayer.empty() && !HasSetting(profile, CMapOptions::kSection, "TileSource"))
        profile.WriteString(CMapOptions::kSection, "TileSource", baseLayer);
}

}  // namespace plovane
