// SPDX-License-Identifier: GPL-3.0-or-later
// Field formats of the station information pages.
#include "ui/logic/station_info_format.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string_view>
#include <tuple>

#include "core/geo.h"
#include "core/latin1.h"
#include "core/units.h"
#include "stations/radio_range.h"
#include "stations/weather_description.h"
#include "ui/logic/display_utf8.h"
#include "ui/logic/list_text.h"
#include "ui/logic/station_filter.h"
#include "ui/logic/units.h"

namespace plovane {
namespace {

// Joins the pieces by appending. gcc 12 warns (-Wrestrict, wrongly) on some chains of `+`
// over temporary strings once they are inlined at -O3.
std::string Cat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts)
        text += part;
    return text;
}

constexpr char kNoData[] = "-";

// kNoData as a new string: assigning the literal itself trips the same false warning.
std::string NoData() {
    return kNoData;
}
constexpr char kDegree[] = "\u00B0";
// Tenths of a millimetre to inches.
constexpr double kInchesPerTenthMm = 0.003937007874015748;

// Fixed-point text with a '.' whatever the process locale says.
std::string Fixed(double value, int decimals) {
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return kNoData;
    return std::string(text, result.ptr);
}

std::string OrNoData(std::string text) {
    return text.empty() ? kNoData : text;
}

// One location line from the split pieces.
std::string LocationLine(SplitAngle angle, int ambiguity) {
    std::string degrees = angle.degrees;
    if (degrees.size() < 3)
        degrees.insert(0, (3 - degrees.size()) * 2, ' ');
    std::string minutes = angle.minutes;
    if (minutes.size() < 2)
        minutes.insert(0, 2 - minutes.size(), '0');
    std::string hundredths = angle.hundredths;
    if (hundredths.size() < 2)
        hundredths.insert(0, 2 - hundredths.size(), '0');
    // Ambiguity blanks digits from the right: hundredths first, then minutes.
    std::string digits = minutes + hundredths;
    const int blanked = std::clamp(ambiguity, 0, 4);
    for (int i = 0; i < blanked && static_cast<size_t>(i) < digits.size(); ++i)
        digits[digits.size() - 1 - static_cast<size_t>(i)] = '_';
    minutes = digits.substr(0, minutes.size());
    hundredths = digits.substr(minutes.size());
    return degrees + kDegree + " " + minutes + "." + hundredths + "' " +
           latin1::ToUpper(angle.hemisphere);
}

std::string SpeedText(double knots, int units) {
    return std::to_string(SpeedInUnits(knots, units)) + " " + UnitsFor(units).speedName;
}

std::string LengthText(double feet, int units) {
    return std::to_string(LengthInUnits(feet, units)) + " " + UnitsFor(units).lengthName;
}

std::string RangeText(double miles, int units) {
    const char* name = units == kUnitsNautical ? " nm" : units == kUnitsMetric ? " km" : " mi";
    return Cat({std::to_string(TruncateConverted(miles * UnitsPerMile(units))), name});
}

std::string RainText(int32_t tenthsMm, bool metric) {
    if (metric)
        return Fixed(tenthsMm * 0.1, 1) + " mm";
    return Fixed(tenthsMm * kInchesPerTenthMm, 1) + " in";
}

}  // namespace

std::string StationInfoTitle(const CStation& station) {
    return "Station Info for " + DisplayUtf8(station.call);
}

std::string InfoDateText(const CDateTime& time) {
    return OrNoData(ListDateText(time));
}

std::pair<std::string, std::string> LocationLines(int32_t colatitude, int32_t longitude,
                                                  int ambiguity) {
    std::string latitude = LocationLine(SplitLatitude(colatitude), ambiguity);
    std::string longitudeLine = LocationLine(SplitLongitude(longitude), ambiguity);
    for (int i = 0; i < 4 && !latitude.empty() && !longitudeLine.empty() &&
                    latitude.front() == ' ' && longitudeLine.front() == ' ';
         ++i) {
        latitude.erase(0, 1);
        longitudeLine.erase(0, 1);
    }
    return {latitude, longitudeLine};
}

GeneralPageText FormatGeneralPage(const CStation& station, int unitsOfMeasure, int biasMinutes) {
    GeneralPageText page;
    page.station = DisplayUtf8(station.call);
    if (station.hasOwner)
        page.station += Cat({" [", DisplayUtf8(station.owner), "]"});
    page.stationType = OrNoData(DisplayUtf8(station.device));

    page.latitude = page.longitude = page.altitude = NoData();
    if (station.hasPosition) {
        std::tie(page.latitude, page.longitude) = LocationLines(
            station.position.colatitude, station.position.longitude, station.ambiguity);
        if (station.position.altitude != -1) {
            // Decimetres to whole metres, then to feet.
            const double feet = (station.position.altitude / 10) / 0.304801;
            page.altitude = LengthText(feet, unitsOfMeasure);
        }
    }

    page.course = page.speed = NoData();
    if (station.moving) {
        page.course = std::to_string(station.course) + kDegree;
        page.speed = SpeedText(station.speed, unitsOfMeasure);
    }

    page.powerHeight = page.gainDirectivity = NoData();
    if (station.hasPhg) {
        page.powerHeight = Cat({std::to_string(station.phgPower), " W/",
                                LengthText(station.phgHeight, unitsOfMeasure)});
        page.gainDirectivity =
            Cat({std::to_string(station.phgGain), " dB/",
                 station.phgDirectivity == 0 ? std::string("Omni")
                                             : std::to_string(station.phgDirectivity) + kDegree});
    }

    page.range = page.dfBearing = NoData();
    if (const double miles = RadioRangeMiles(station); miles > 0)
        page.range = RangeText(miles, unitsOfMeasure);
    if (station.hasBearing) {
        char nrq[8];
        std::snprintf(nrq, sizeof nrq, "%03d", std::clamp<int>(station.dfNrq, 0, 999));
        page.dfBearing = Cat({std::to_string(station.dfBearing), kDegree, "/", nrq});
    }

    page.positTime = NoData();
    if (station.hasReportTime)
        page.positTime = InfoDateText(station.reportTime - CDateTimeSpan(0, 0, biasMinutes, 0));
    page.actualTime = station.heard ? InfoDateText(station.lastHeard) : kNoData;
    page.heard = HeardText(station.heardWhere);
    if (page.heard.empty())
        page.heard = NoData();
    return page;
}

StatusPageText FormatStatusPage(const CStation& station) {
    if (station.killed)
        return {kKilledText, kKilledText, {}};
    return {DisplayUtf8(station.comment), DisplayUtf8(station.lastInfo),
            DisplayUtf8(station.micEMessage)};
}

TelemetryPageText FormatTelemetryPage(const CTelemetry& t) {
    TelemetryPageText page;
    page.project = OrNoData(DisplayUtf8(t.project));
    const TelemetryValues& v = t.values;
    page.sequence = v.sequence >= 0 ? std::to_string(v.sequence) : kNoData;
    const auto label = [&](size_t channel, const char* prefix, size_t number) {
        const std::string name = DisplayUtf8(t.names[channel]);
        return name.empty() ? Cat({prefix, std::to_string(number)}) : name;
    };
    for (size_t i = 0; i < TelemetryValues::kAnalogChannels; ++i) {
        if ((v.analogPresent >> i & 1) == 0)
            continue;
        // Up to four decimals, trailing zeros dropped: 13.8, 52, 0.0125.
        std::string value = Fixed(t.Scaled(i), 4);
        if (value.find('.') != std::string::npos) {
            value.erase(value.find_last_not_of('0') + 1);
            if (value.back() == '.')
                value.pop_back();
        }
        const std::string unit = DisplayUtf8(t.units[i]);
        page.rows.push_back({label(i, "A", i + 1), unit.empty() ? value : value + " " + unit});
    }
    if (v.bits >= 0) {
        for (size_t i = 0; i < CTelemetry::kDigital; ++i) {
            const size_t channel = TelemetryValues::kAnalogChannels + i;
            const std::string onLabel = DisplayUtf8(t.units[channel]);
            std::string value = t.BitOn(i) ? (onLabel.empty() ? "On" : onLabel) : "Off";
            page.rows.push_back({label(channel, "B", i + 1), std::move(value)});
        }
    }
    page.recvTime = InfoDateText(t.received);
    return page;
}

WxPageText FormatWxPage(const CWeatherReport& weather, int unitsOfMeasure) {
    const bool metric = unitsOfMeasure == kUnitsMetric;
    WxPageText page;

    if (weather.hasWind) {
        page.windGust = Cat({SpeedText(weather.windSpeed, unitsOfMeasure), " @ ",
                             std::to_string(weather.windDirection), kDegree});
        // A calm gust is 0; only an unreported one (-1) is "-".
        page.windGust += weather.windGust >= 0
                             ? Cat({" / ", SpeedText(weather.windGust, unitsOfMeasure)})
                             : std::string(" / -");
    } else {
        page.windGust = NoData();
    }

    // Temperature in tenths of a degree Celsius, humidity in tenths of a percent.
    if (!weather.hasTemperature)
        page.temperatureHumidity = "-/";
    else if (metric)
        page.temperatureHumidity = Fixed(weather.temperature * 0.1, 1) + kDegree + "C/";
    else
        page.temperatureHumidity =
            Fixed((weather.temperature * 9 * 0.2 + 320) * 0.1, 1) + kDegree + "F/";
    page.temperatureHumidity +=
        weather.hasHumidity ? Fixed(weather.humidity * 0.1, 1) + "%" : std::string(kNoData);

    // Tenths of a millibar: kilopascals or millibars.
    if (!weather.hasBarometer)
        page.pressure = NoData();
    else if (metric)
        page.pressure = Fixed(weather.barometer * 0.01, 2) + " kPas";
    else
        page.pressure = Fixed(weather.barometer * 0.1, 1) + " mb";

    page.rainLastHour = weather.hasRain && weather.rainLastHour >= 0
                            ? RainText(weather.rainLastHour, metric)
                            : std::string(kNoData);
    page.rainLabel = "Rain Last 24:";
    page.rain = NoData();
    if (weather.hasRain) {
        if (weather.rainLast24Hours >= 0) {
            page.rain = RainText(weather.rainLast24Hours, metric);
        } else if (weather.rainSinceMidnight >= 0) {
            page.rainLabel = "Since 0000:";
            page.rain = RainText(weather.rainSinceMidnight, metric);
        }
    }

    page.snow = weather.hasSnow && weather.snow[1] >= 0 ? RainText(weather.snow[1], metric)
                                                        : std::string(kNoData);

    // Stored in W/m2 as received, and shown so in every unit system.
    page.luminosity =
        weather.hasLuminosity ? Fixed(weather.luminosity, 1) + " W/m\u00B2" : std::string(kNoData);

    page.xmitTime = weather.hasReportTime ? InfoDateText(weather.reportTime) : kNoData;
    page.recvTime = InfoDateText(weather.received);
    // Only a named unit: any other trailing text of the report is its comment.
    page.stationType = NamesWeatherStation(weather.description) ? DisplayUtf8(weather.description)
                                                                : std::string(kNoData);
    return page;
}

}  // namespace plovane
