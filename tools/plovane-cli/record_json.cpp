// JSON forms of the station and message records.
#include "record_json.h"

#include "core/geo.h"
#include "core/utf8.h"

namespace plovane::cli {
namespace {

// Decimal degrees, north and east positive. The difference is taken in whole units first, so
// the one division gives the nearest double (12 deg 7.74 min W reads -12.129, not
// -12.12899999999999).
double DecimalLatitude(int32_t colatitude) {
    return static_cast<double>(int64_t{kEquatorColatitude} - colatitude) / kUnitsPerDegree;
}

double DecimalLongitude(int32_t longitude) {
    return static_cast<double>(int64_t{longitude} - kGreenwichLongitude) / kUnitsPerDegree;
}

// A time, or null when it is not valid.
Json TimeJson(bool valid, const CDateTime& time) {
    if (!valid)
        return nullptr;
    const std::string text = time.ToIso8601();
    if (text.empty())
        return nullptr;
    return text;
}

// Valid UTF-8 as it is, anything else as Latin-1.
Json Text(std::string_view bytes) {
    return IsValidUtf8(bytes) ? std::string(bytes) : Latin1ToUtf8(bytes);
}

// How the received text fields are read: "ascii", "utf-8" (non-ASCII and valid UTF-8) or
// "latin-1" (bytes that are not UTF-8, one character each).
Json EncodingJson(std::initializer_list<std::string_view> fields) {
    bool ascii = true;
    bool utf8 = true;
    for (const std::string_view field : fields) {
        for (const char c : field)
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        utf8 = utf8 && IsValidUtf8(field);
    }
    return ascii ? "ascii" : utf8 ? "utf-8" : "latin-1";
}

Json TelemetryJson(const CTelemetry& t) {
    Json j = Json::object();
    const TelemetryValues& v = t.values;
    j["sequence"] = v.sequence >= 0 ? Json(v.sequence) : Json(nullptr);
    Json values = Json::array();
    Json scaled = Json::array();
    for (size_t i = 0; i < TelemetryValues::kAnalogChannels; ++i) {
        const bool present = (v.analogPresent >> i & 1) != 0;
        values.push_back(present ? Json(v.analog[i]) : Json(nullptr));
        scaled.push_back(present ? Json(t.Scaled(i)) : Json(nullptr));
    }
    j["values"] = std::move(values);
    j["scaled"] = std::move(scaled);
    if (v.bits >= 0) {
        std::string bits;
        for (size_t i = 0; i < CTelemetry::kDigital; ++i)
            bits += (v.bits >> i & 1) != 0 ? '1' : '0';
        j["bits"] = bits;
    } else {
        j["bits"] = nullptr;
    }
    Json names = Json::array();
    Json units = Json::array();
    for (size_t i = 0; i < CTelemetry::kChannels; ++i) {
        names.push_back(Text(t.names[i]));
        units.push_back(Text(t.units[i]));
    }
    j["names"] = std::move(names);
    j["units"] = std::move(units);
    Json equations = Json::array();
    for (const auto& [a, b, c] : t.equations)
        equations.push_back(Json::array({a, b, c}));
    j["equations"] = std::move(equations);
    std::string sense;
    for (const bool on : t.bitSense)
        sense += on ? '1' : '0';
    j["bitSense"] = sense;
    j["project"] = Text(t.project);
    return j;
}

Json PositionJson(const TrackPoint& point) {
    Json position = Json::object();
    position["colatitude"] = point.colatitude;
    position["longitude"] = point.longitude;
    position["lat"] = DecimalLatitude(point.colatitude);
    position["lon"] = DecimalLongitude(point.longitude);
    position["altitude_dm"] = point.altitude;
    return position;
}

// Four values of a PHG or DFS group; the first is the power or the signal strength.
Json GroupJson(const char* firstName, int first, int height, int gain, int directivity) {
    Json group = Json::object();
    group[firstName] = first;
    group["height"] = height;
    group["gain"] = gain;
    group["directivity"] = directivity;
    return group;
}

// A direction-finding report: the bearing (degrees) and its NRQ digits, read out as the
// share of hits in eighths (9: a bearing taken by hand), the range in miles (2^R) and the
// quality (9 best: the bearing is good to within a degree; 0 useless).
Json DirectionFindingJson(int bearing, int nrq) {
    Json df = Json::object();
    df["bearing"] = bearing;
    df["hits"] = nrq / 100;
    df["range"] = 1 << (nrq / 10 % 10);
    df["quality"] = nrq % 10;
    return df;
}

Json Reported(bool reported, int32_t value) {
    return reported ? Json(value) : Json(nullptr);
}

Json WeatherJson(const CWeatherReport& w) {
    Json weather = Json::object();
    weather["description"] = Text(w.description);
    weather["reportTime"] = TimeJson(w.hasReportTime, w.reportTime);
    weather["windDirection"] = Reported(w.hasWind, w.windDirection);
    weather["windSpeed"] = Reported(w.hasWind, w.windSpeed);
    weather["windGust"] = Reported(w.hasWind, w.windGust);
    weather["temperature"] = Reported(w.hasTemperature, w.temperature);
    weather["humidity"] = Reported(w.hasHumidity, w.humidity);
    weather["barometer"] = Reported(w.hasBarometer, w.barometer);
    weather["rainLastHour"] = Reported(w.hasRain, w.rainLastHour);
    weather["rainLast24Hours"] = Reported(w.hasRain, w.rainLast24Hours);
    weather["rainSinceMidnight"] = Reported(w.hasRain, w.rainSinceMidnight);
    weather["snow"] = Reported(w.hasSnow, w.snow[1]);
    weather["luminosity"] = Reported(w.hasLuminosity, w.luminosity);
    return weather;
}

}  // namespace

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

Json StationJson(const CStation& s, std::string_view record) {
    Json j = Json::object();
    if (!record.empty())
        j["record"] = Text(record);
    j["call"] = Text(s.call);
    if (s.hasOwner)
        j["owner"] = Text(s.owner);
    j["killed"] = s.killed;
    j["symbol"] = s.hasSymbol ? Text(std::string{s.symbolTable, s.symbolCode}) : Json(nullptr);
    j["position"] = s.hasPosition ? PositionJson(s.position) : Json(nullptr);
    j["reportTime"] = TimeJson(s.hasReportTime, s.reportTime);
    j["comment"] = Text(s.comment);
    j["path"] = Text(s.path);
    j["destination"] = Text(s.destination);
    j["device"] = Text(s.device);
    j["lastInfo"] = Text(s.lastInfo);
    j["moving"] = s.moving;
    j["course"] = s.course;
    j["speed"] = s.speed;
    j["phg"] = s.hasPhg ? GroupJson("power", s.phgPower, s.phgHeight, s.phgGain, s.phgDirectivity)
                        : Json(nullptr);
    j["dfs"] = s.hasDfs
                   ? GroupJson("strength", s.dfsStrength, s.dfsHeight, s.dfsGain, s.dfsDirectivity)
                   : Json(nullptr);
    j["range"] = s.hasRange ? Json(s.rangeMiles) : Json(nullptr);
    j["df"] = s.hasBearing ? DirectionFindingJson(s.dfBearing, s.dfNrq) : Json(nullptr);
    j["ambiguity"] = s.ambiguity;
    Json track = Json::array();
    for (const TrackPoint& point : s.track) {
        track.push_back(Json::array({DecimalLatitude(point.colatitude),
                                     DecimalLongitude(point.longitude), point.altitude}));
    }
    j["track"] = std::move(track);
    j["weather"] = s.hasWeather ? WeatherJson(s.weather) : Json(nullptr);
    j["micEMessage"] = s.micEMessage.empty() ? Json(nullptr) : Text(s.micEMessage);
    j["telemetry"] = s.telemetry ? TelemetryJson(*s.telemetry) : Json(nullptr);
    j["encoding"] = EncodingJson({s.comment, s.lastInfo});
    return j;
}

Json MessageJson(const CMessage& m, std::string_view record) {
    Json j = Json::object();
    if (!record.empty())
        j["record"] = Text(record);
    j["from"] = Text(m.from);
    j["to"] = Text(m.to);
    j["number"] = Text(m.number);
    j["text"] = Text(m.text);
    j["count"] = m.count;
    j["ackCount"] = m.ackCount;
    j["acked"] = m.acked;
    j["rejected"] = m.rejected;
    j["replyAck"] = m.replyAckForm ? Text(m.replyAck) : Json(nullptr);
    j["encoding"] = EncodingJson({m.text});
    return j;
}

}  // namespace plovane::cli
