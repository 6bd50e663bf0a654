// SPDX-License-Identifier: GPL-3.0-or-later
// JSON forms of the station and message records.
#include "record_json.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <concepts>
#include <cstddef>

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

// UTF-8 text as a JSON string, escaped as the JSON library's dump() escapes it.
void AppendEscaped(std::string_view utf8, std::string& out) {
    out.push_back('"');
    const auto plain = [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 && c != '"' && c != '\\';
    };
    while (!utf8.empty()) {
        // Runs of plain characters in one piece.
        const auto special = std::find_if_not(utf8.begin(), utf8.end(), plain);
        out.append(utf8.begin(), special);
        utf8.remove_prefix(static_cast<size_t>(special - utf8.begin()));
        if (utf8.empty())
            break;
        const char c = utf8.front();
        utf8.remove_prefix(1);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    constexpr char kHex[] = "0123456789abcdef";
                    out += "\\u00";
                    out.push_back(kHex[c >> 4]);
                    out.push_back(kHex[c & 0xF]);
                } else {
                    out.push_back(c);
                }
        }
    }
    out.push_back('"');
}

// One JSON object written field by field, in the order given, as dump() writes an object
// built the same way; spares the many small allocations of building it first.
class ObjectWriter {
  public:
    explicit ObjectWriter(std::string& out) : out_(out) { out_.push_back('{'); }
    ObjectWriter(const ObjectWriter&) = delete;
    ObjectWriter& operator=(const ObjectWriter&) = delete;
    ~ObjectWriter() { out_.push_back('}'); }

    void Field(std::string_view key, std::nullptr_t) {
        Key(key);
        out_ += "null";
    }
    template <typename B>
    requires std::same_as<B, bool>
    void Field(std::string_view key, B value) {
        Key(key);
        out_ += value ? "true" : "false";
    }
    template <typename I>
    requires(std::integral<I> && !std::same_as<I, bool>) void Field(std::string_view key, I value) {
        Key(key);
        std::array<char, 24> digits;
        const auto end = std::to_chars(digits.begin(), digits.end(), value).ptr;
        out_.append(digits.data(), end);
    }
    // Received bytes, read as the records' texts are (see Text).
    void Field(std::string_view key, std::string_view bytes) {
        Key(key);
        AppendTextJson(bytes, out_);
    }
    void Field(std::string_view key, const char* bytes) { Field(key, std::string_view(bytes)); }
    template <typename J>
    requires std::same_as<J, Json>
    void Field(std::string_view key, const J& value) {
        Key(key);
        if (value.is_null())
            out_ += "null";
        else if (value.is_string())  // already UTF-8
            AppendEscaped(value.template get_ref<const std::string&>(), out_);
        else
            out_ += value.dump();
    }

  private:
    void Key(std::string_view key) {
        if (!first_)
            out_.push_back(',');
        first_ = false;
        out_.push_back('"');
        out_ += key;
        out_ += "\":";
    }

    std::string& out_;
    bool first_ = true;
};

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

void AppendTextJson(std::string_view bytes, std::string& out) {
    if (IsValidUtf8(bytes))
        AppendEscaped(bytes, out);
    else
        AppendEscaped(Latin1ToUtf8(bytes), out);
}

void AppendStationJson(const CStation& s, std::string_view record, std::string& out) {
    ObjectWriter j(out);
    if (!record.empty())
        j.Field("record", record);
    j.Field("call", s.call);
    if (s.hasOwner)
        j.Field("owner", s.owner);
    j.Field("killed", s.killed);
    const std::array<char, 2> symbol = {s.symbolTable, s.symbolCode};
    if (s.hasSymbol)
        j.Field("symbol", std::string_view(symbol.data(), symbol.size()));
    else
        j.Field("symbol", nullptr);
    j.Field("position", s.hasPosition ? PositionJson(s.position) : Json(nullptr));
    j.Field("reportTime", TimeJson(s.hasReportTime, s.reportTime));
    j.Field("comment", s.comment);
    j.Field("path", s.path);
    j.Field("destination", s.destination);
    j.Field("device", s.device);
    j.Field("deviceClass", s.deviceClass.empty() ? Json(nullptr) : Json(s.deviceClass));
    j.Field("lastInfo", s.lastInfo);
    j.Field("moving", s.moving);
    j.Field("course", s.course);
    j.Field("speed", s.speed);
    j.Field("phg", s.hasPhg
                       ? GroupJson("power", s.phgPower, s.phgHeight, s.phgGain, s.phgDirectivity)
                       : Json(nullptr));
    j.Field("dfs", s.hasDfs ? GroupJson("strength", s.dfsStrength, s.dfsHeight, s.dfsGain,
                                        s.dfsDirectivity)
                            : Json(nullptr));
    j.Field("range", s.hasRange ? Json(s.rangeMiles) : Json(nullptr));
    j.Field("df", s.hasBearing ? DirectionFindingJson(s.dfBearing, s.dfNrq) : Json(nullptr));
    j.Field("ambiguity", s.ambiguity);
    Json track = Json::array();
    for (const TrackPoint& point : s.track) {
        track.push_back(Json::array({DecimalLatitude(point.colatitude),
                                     DecimalLongitude(point.longitude), point.altitude}));
    }
    j.Field("track", track);
    j.Field("weather", s.hasWeather ? WeatherJson(s.weather) : Json(nullptr));
    if (s.micEMessage.empty())
        j.Field("micEMessage", nullptr);
    else
        j.Field("micEMessage", s.micEMessage);
    j.Field("telemetry", s.telemetry ? TelemetryJson(*s.telemetry) : Json(nullptr));
    j.Field("encoding", EncodingJson({s.comment, s.lastInfo}));
}

Json StationJson(const CStation& s, std::string_view record) {
    std::string text;
    AppendStationJson(s, record, text);
    return Json::parse(text);
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
