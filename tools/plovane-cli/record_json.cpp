// JSON forms of the station and message records.
#include "record_json.h"

#include "core/geo.h"

namespace plovane::cli {
namespace {

// Decimal degrees, north and east positive. The difference is taken in whole units first, so
// the one division gives the nearest double (12 deg 7.74 min W reads -12.129, not
// -12.12899999999999).
double DecimalLatitude(int32_t colatitude) {
    return static_cast<double>(int64_t{kNoColatitude} - colatitude) / kUnitsPerDegree;
}

double DecimalLongitude(int32_t longitude) {
    return static_cast<double>(int64_t{longitude} - kNoLongitude) / kUnitsPerDegree;
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

Json Text(std::string_view bytes) {
    return Latin1ToUtf8(bytes);
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
    j["ambiguity"] = s.ambiguity;
    Json track = Json::array();
    for (const TrackPoint& point : s.track) {
        track.push_back(Json::array({DecimalLatitude(point.colatitude),
                                     DecimalLongitude(point.longitude), point.altitude}));
    }
    j["track"] = std::move(track);
    j["weather"] = s.hasWeather ? WeatherJson(s.weather) : Json(nullptr);
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
    return j;
}

}  // namespace plovane::cli
