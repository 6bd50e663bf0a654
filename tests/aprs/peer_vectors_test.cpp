// SPDX-License-Identifier: GPL-3.0-or-later
// The decoder against other parsers' published test vectors (a JSON Lines file named by the
// environment variable PLOVANE_PEER_VECTORS; skipped without it). Each line goes through the
// intake into real stores; every asserted value this program keeps is compared, in the
// peers' units and within their rounding. Where this program's rules differ on purpose the
// (entry, key) pair is listed below with its reason; everything else must agree.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>

#include "core/clock.h"
#include "core/geo.h"
#include "core/station_settings.h"
#include "intake/packet_intake.h"
#include "messages/message_list.h"
#include "messages/message_text.h"
#include "stations/station_list.h"
#include "support/recording_host.h"

namespace plovane {
namespace {

using Json = nlohmann::json;

constexpr double kKnot = 0.514444;  // m/s
constexpr double kKmh = 1.852;      // per knot

// The keys a documented convention clash (the entry's "conventions" tag) takes out of the
// comparison, with this program's rule.
const std::map<std::string, std::pair<std::set<std::string>, const char*>> kConventions = {
    {"ambiguity-centred",
     {{"lat", "lon", "posambiguity"}, "blanked position digits count as 0, not centred"}},
    {"ambiguity-zero", {{"posambiguity"}, "Mic-E blanked digits leave no ambiguity count"}},
    {"wx-dir-speed-as-course",
     {{"course", "speed_kmh", "speed_knots", "speed_ms", "comment"},
      "ddd/sss after a weather symbol is the wind"}},
    {"mice-type-byte-in-comment",
     {{"comment"}, "the Mic-E type byte and maker suffix are no part of the comment"}},
};

// Further (entry, key) pairs where the rules differ on purpose.
const std::map<std::pair<std::string, std::string>, const char*> kDifferences = {
    // The text after the weather fields names the station's software and unit; it becomes
    // the weather description ("Ultimeter II (dos)"), not a comment.
    {{"aprslib-doc-06", "comment"}, "weather type code"},
    {{"aprslib-pos-01", "comment"}, "weather type code"},
    {{"aprslib-pos-05", "comment"}, "weather type code"},
    {{"aprslib-wx-01", "comment"}, "weather type code"},
    {{"aprslib-wx-02", "comment"}, "weather type code"},
    {{"aprslib-wx-03", "comment"}, "weather type code"},
    // "s5.5": snowfall is read as whole inches.
    {{"aprslib-wx-01", "weather.snow_mm"}, "snow in inches"},
    // A letter outside the field table ("O") ends the fields; the peer skips it.
    {{"fap-30-07", "weather.snow_24h_mm"}, "unknown field ends the weather"},
    {{"fap-30-07", "weather.luminosity"}, "unknown field ends the weather"},
    // Ultimeter records: the long-term rain total goes to the 24-hour slot; the peer reads
    // today's rain as rain since midnight. "!!" records: the wind is the field at position 2.
    {{"fap-31-02", "weather.rain_midnight_mm"}, "record too short for today's rain"},
    {{"fap-31-03", "weather.wind_speed_ms"}, "Peet wind field"},
    // Only one data extension is read: the "/" after PHG stays in the comment.
    {{"fap-20-01", "comment"}, "separator after PHG kept"},
    // A compressed range is 2 x 1.08^s miles; the peer leaves out the factor 2.
    {{"shinysdr-14", "range_miles"}, "compressed range factor"},
    // The peer drops the comment of a "_" station without weather (disputed).
    {{"fap-20-06", "comment"}, "comment kept"},
    // A Mic-E mangled on its way (one byte lost): the peer needs a special option for it.
    {{"fap-23-06", "course"}, "broken Mic-E"},
    {{"fap-23-06", "speed_kmh"}, "broken Mic-E"},
    {{"fap-23-06", "symbol"}, "broken Mic-E"},
    // The two-channel Mic-E telemetry carries channels 1 and 3; channel 2 was not sent.
    {{"fap-23-05", "telemetry.vals"}, "channel 2 absent, not 0"},
    // ">...v": no known Kenwood suffix, so the "v" stays.
    {{"npm-mice-05", "comment"}, "unknown suffix kept"},
    // "^B7" beam heading and power after a status are kept as text.
    {{"npm-st-03", "status"}, "beam/ERP kept"},
    // Four channels sent: the peer fills a fifth and the bits with zeros.
    {{"aprslib-doc-02", "telemetry.vals"}, "channels not sent stay absent"},
    {{"aprslib-doc-02", "telemetry.bits"}, "bits not sent stay absent"},
};

std::string Trim(std::string_view s) {
    const size_t first = s.find_first_not_of(" \r\n");
    if (first == std::string_view::npos)
        return {};
    return std::string(s.substr(first, s.find_last_not_of(" \r\n") - first + 1));
}

std::string LineOf(const Json& entry) {
    if (!entry.contains("line_hex"))
        return entry.value("line", "");
    const std::string hex = entry["line_hex"];
    std::string line;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        line += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return line;
}

// A field's expected bytes: its "_hex" sibling when there is one.
std::string TextOf(const Json& parent, const std::string& key) {
    if (parent.contains(key + "_hex")) {
        Json hexed = parent;
        hexed["line_hex"] = parent[key + "_hex"];
        return LineOf(hexed);
    }
    return parent[key].get<std::string>();
}

double Latitude(int32_t colatitude) {
    return static_cast<double>(kEquatorColatitude - colatitude) / kUnitsPerDegree;
}
double Longitude(int32_t longitude) {
    return static_cast<double>(longitude - kGreenwichLongitude) / kUnitsPerDegree;
}

// One entry decoded into fresh stores.
struct Decoded {
    Decoded(const std::string& line) {
        intake.DecodeLine(line, "TNC>");
        const DecodedPacket packet = Decode(line, clock.Now(), 0, "N0OWN");
        if (packet.hasMessage)
            messageText = std::string(packet.messageText);
    }

    CStationSettings settings = [] {
        CStationSettings s;
        s.MyCall = "N0OWN";
        return s;
    }();
    FakeClock clock{CDateTime(2026, 3, 10, 12, 0, 0)};
    testing::RecordingHost host;
    CStationList stations{settings, clock, host, host};
    CMessageList messages{settings, clock, host, host, [] { return std::string("N0OWN"); }};
    CPacketIntake intake{clock, PacketTargets{host, stations, &messages}};
    std::optional<std::string> messageText;
};

// Compares one key; nullopt when this program keeps nothing to compare it with.
using Check = std::function<std::optional<bool>(const Json& expected)>;

std::map<std::string, Check> ChecksFor(const Decoded& d, const std::optional<CStation>& s) {
    const auto near = [](double a, double b, double limit) { return std::fabs(a - b) <= limit; };
    const auto position = [&](bool latitude, const Json& v) -> std::optional<bool> {
        if (!s || !s->hasPosition)
            return v.is_null();
        const double ours =
            latitude ? Latitude(s->position.colatitude) : Longitude(s->position.longitude);
        return !v.is_null() && near(ours, v.get<double>(), 0.0003);
    };
    const auto speed = [&](double perKnot, const Json& v) -> std::optional<bool> {
        if (v.is_null())
            return !s || !s->moving;
        return s && s->moving && near(s->speed * perKnot, v.get<double>(), perKnot);
    };
    const auto altitude = [&](double perMetre, const Json& v) -> std::optional<bool> {
        const bool known = s && s->hasPosition && s->position.altitude != -1;
        if (v.is_null())
            return !known;
        return known && near(s->position.altitude / 10.0 * perMetre, v.get<double>(), perMetre);
    };
    std::map<std::string, Check> checks;
    checks["lat"] = [=](const Json& v) { return position(true, v); };
    checks["lon"] = [=](const Json& v) { return position(false, v); };
    checks["symbol"] = [&](const Json& v) -> std::optional<bool> {
        if (v.is_null())
            return !s || !s->hasSymbol;
        return s && s->hasSymbol && std::string{s->symbolTable, s->symbolCode} == v;
    };
    checks["course"] = [&](const Json& v) -> std::optional<bool> {
        if (v.is_null())
            return !s || !s->moving || s->course == 0;
        const int course = v.get<int>();
        return s && s->moving && (s->course == course || (course == 360 && s->course == 0));
    };
    checks["speed_knots"] = [=](const Json& v) { return speed(1.0, v); };
    checks["speed_kmh"] = [=](const Json& v) { return speed(kKmh, v); };
    checks["speed_ms"] = [=](const Json& v) { return speed(kKnot, v); };
    checks["altitude_m"] = [=](const Json& v) { return altitude(1.0, v); };
    checks["altitude_ft"] = [=](const Json& v) { return altitude(3.28084, v); };
    checks["posambiguity"] = [&](const Json& v) -> std::optional<bool> {
        return s && s->ambiguity == v.get<int>();
    };
    checks["comment"] = [&](const Json& v) -> std::optional<bool> {
        const std::string ours = s ? Trim(s->hasWeather ? s->weather.description : s->comment) : "";
        return v.is_null() ? ours.empty() : ours == Trim(v.get<std::string>());
    };
    checks["name"] = [&](const Json&) -> std::optional<bool> { return s.has_value(); };
    checks["src"] = [&](const Json& v) -> std::optional<bool> {
        // An object's sender is its owner; it gets no record of its own.
        if (s && s->hasOwner)
            return s->owner == v.get<std::string>();
        return d.stations.FindStation(v.get<std::string>()).has_value();
    };
    checks["has_weather"] = [&](const Json& v) -> std::optional<bool> {
        return (s && s->hasWeather) == v.get<bool>();
    };
    // "092345z" (day, hour, minute UTC), "092345/" (local, here UTC) and "234517h" (hour,
    // minute, second) against the stored report time; other forms are not kept.
    checks["timestamp"] = [&](const Json& v) -> std::optional<bool> {
        if (!v.is_string() || v.get<std::string>().size() != 7)
            return std::nullopt;
        const std::string t = v;
        const auto two = [&](size_t at) { return std::stoi(t.substr(at, 2)); };
        if (t[6] != 'z' && t[6] != '/' && t[6] != 'h')
            return std::nullopt;
        if (!s || !s->hasPosition)
            return std::nullopt;  // a time is kept with a position only
        if (!s->hasReportTime)
            return false;
        const CDateTime& r = s->reportTime;
        if (t[6] == 'h')
            return r.Hour() == two(0) && r.Minute() == two(2) && r.Second() == two(4);
        return r.Day() == two(0) && r.Hour() == two(2) && r.Minute() == two(4);
    };
    checks["alive"] = [&](const Json& v) -> std::optional<bool> {
        return s && s->killed != v.get<bool>();
    };
    checks["phg"] = [&](const Json& v) -> std::optional<bool> {
        if (v.is_null())
            return !s || !s->hasPhg;
        const std::string digits = v;
        if (!s || !s->hasPhg || digits.size() < 4)
            return false;
        const int p = digits[0] - '0';
        return s->phgPower == p * p && s->phgHeight == (10 << (digits[1] - '0')) &&
               s->phgGain == digits[2] - '0' && s->phgDirectivity == (digits[3] - '0') * 45;
    };
    checks["range_miles"] = [&](const Json& v) -> std::optional<bool> {
        if (v.is_null())
            return !s || !s->hasRange;
        return s && s->hasRange && near(s->rangeMiles, v.get<double>(), 0.01);
    };
    checks["bearing"] = [&](const Json& v) -> std::optional<bool> {
        return s && s->hasBearing && s->dfBearing == v.get<int>();
    };
    checks["nrq"] = [&](const Json& v) -> std::optional<bool> {
        char nrq[8];
        std::snprintf(nrq, sizeof nrq, "%03d", s ? s->dfNrq : 0);
        return s && s->hasBearing && nrq == v.get<std::string>();
    };
    checks["status"] = [&](const Json& v) -> std::optional<bool> {
        if (v.is_null())
            return !s || Trim(s->lastInfo).empty();
        return s && Trim(s->lastInfo) == Trim(v.get<std::string>());
    };
    const auto answered = [&](MessageKind kind, const Json& v) -> std::optional<bool> {
        if (!d.messageText)
            return false;
        const MessageText parsed = ParseMessageText(*d.messageText);
        return parsed.kind == kind && parsed.number == v.get<std::string>();
    };
    checks["ack_id"] = [=](const Json& v) { return answered(MessageKind::kAck, v); };
    checks["rej_id"] = [=](const Json& v) { return answered(MessageKind::kReject, v); };
    return checks;
}

// The message record's fields against "message": to, text, id, replyack.
void CompareMessage(const Decoded& d, const Json& expected,
                    const std::function<void(const std::string&, bool)>& count) {
    const std::vector<CMessage> all = d.messages.Snapshot();
    const CMessage* m = all.empty() ? nullptr : &all.front();
    for (const auto& [key, v] : expected.items()) {
        if (key.ends_with("_hex"))
            continue;
        bool agree = false;
        const std::string want = v.is_null() ? std::string() : TextOf(expected, key);
        if (key == "to") {
            // An ack or reject is no message record; its addressee is the packet's.
            agree = m != nullptr ? m->to == want : d.messageText.has_value();
        } else if (key == "text") {
            agree = m != nullptr && Trim(m->text) == Trim(want);
        } else if (key == "id") {
            agree = m != nullptr && m->number == want;
        } else if (key == "replyack") {
            const std::string text = d.messageText.value_or("");  // the parse holds views into it
            const MessageText parsed = ParseMessageText(text);
            agree =
                v.is_null() ? !parsed.replyAckForm : parsed.replyAckForm && parsed.replyAck == want;
        } else {
            continue;
        }
        count("message." + key, agree);
    }
}

void CompareTelemetry(const CStation* s, const Json& expected,
                      const std::function<void(const std::string&, bool)>& count) {
    const bool has = s != nullptr && s->telemetry && s->telemetry->hasValues;
    const TelemetryValues v = has ? s->telemetry->values : TelemetryValues();
    for (const auto& [key, value] : expected.items()) {
        if (key == "seq") {
            count("telemetry.seq", has && v.sequence == value.get<int>());
        } else if (key == "bits") {
            std::string bits;
            for (int i = 0; i < 8 && v.bits >= 0; ++i)
                bits += (v.bits >> i & 1) != 0 ? '1' : '0';
            count("telemetry.bits", has && (value.is_null() ? v.bits < 0 : bits == value));
        } else if (key == "vals") {
            bool agree = has;
            for (size_t i = 0; i < value.size() && i < 5; ++i) {
                const bool present = (v.analogPresent >> i & 1) != 0;
                agree = agree &&
                        (value[i].is_null()
                             ? !present
                             : present && std::fabs(v.analog[i] - value[i].get<double>()) < 1e-9);
            }
            count("telemetry.vals", agree);
        }
    }
}

void CompareWeather(const CStation* s, const Json& expected,
                    const std::function<void(const std::string&, bool)>& count) {
    if (s == nullptr || !s->hasWeather) {
        count("weather", false);
        return;
    }
    const CWeatherReport& w = s->weather;
    const auto value = [](bool has, double v) { return has ? std::optional(v) : std::nullopt; };
    const std::map<std::string, std::optional<double>> ours = {
        {"wind_direction", value(w.windDirection >= 0, w.windDirection)},
        {"wind_speed_ms", value(w.windSpeed >= 0, w.windSpeed * kKnot)},
        {"wind_gust_ms", value(w.windGust >= 0, w.windGust * kKnot)},
        {"temp_c", value(w.hasTemperature, w.temperature / 10.0)},
        {"humidity", value(w.humidity >= 0, w.humidity / 10.0)},
        {"pressure_mbar", value(w.barometer >= 0, w.barometer / 10.0)},
        {"rain_1h_mm", value(w.rainLastHour >= 0, w.rainLastHour / 10.0)},
        {"rain_24h_mm", value(w.rainLast24Hours >= 0, w.rainLast24Hours / 10.0)},
        {"rain_midnight_mm", value(w.rainSinceMidnight >= 0, w.rainSinceMidnight / 10.0)},
        {"snow_24h_mm", value(w.snow[1] >= 0, w.snow[1] / 10.0)},
        {"snow_mm", value(w.snow[1] >= 0, w.snow[1] / 10.0)},
        {"luminosity", value(w.luminosity >= 0, w.luminosity)},
    };
    // Whole knots and tenths lose a little against the peers' floating point.
    const std::map<std::string, double> tolerance = {
        {"wind_direction", 1.0},
        {"wind_speed_ms", 0.35},
        {"wind_gust_ms", 0.35},
        {"humidity", 0.0},
    };
    for (const auto& [key, v] : expected.items()) {
        const auto mine = ours.find(key);
        if (mine == ours.end())
            continue;
        const auto limit = tolerance.find(key);
        const double allowed = limit == tolerance.end() ? 0.1001 : limit->second;
        count("weather." + key,
              v.is_null() ? !mine->second
                          : mine->second && std::fabs(*mine->second - v.get<double>()) <= allowed);
    }
}

TEST(PeerVectors, AgreeWithOtherParsers) {
    const char* path = std::getenv("PLOVANE_PEER_VECTORS");
    if (path == nullptr)
        GTEST_SKIP() << "PLOVANE_PEER_VECTORS is not set";
    std::ifstream in(path);
    ASSERT_TRUE(in) << path;

    int checks = 0;
    int agreed = 0;
    int conventionChecks = 0;  // left to this program's documented rules
    std::set<std::pair<std::string, std::string>> differencesSeen;
    std::string text;
    while (std::getline(in, text)) {
        const Json entry = Json::parse(text, nullptr, false);
        if (entry.is_discarded() || !entry.contains("expect"))
            continue;
        const Json& expect = entry["expect"];
        const std::string id = entry.value("id", "");
        // Relayed packets and policy on callsign spelling are not compared.
        const std::string group = entry.value("group", "");
        // NMEA sentences go to the GPS receiver's parser (comm), which has its own tests.
        if (group == "thirdparty" || group == "header-validation" || group == "nmea" ||
            expect.contains("error")) {
            continue;
        }
        const std::string line = LineOf(entry);
        const Decoded d(line);
        std::string call = line.substr(0, line.find('>'));
        if (expect.contains("name"))
            call = Trim(expect["name"].get<std::string>());
        const std::optional<CStation> station = d.stations.FindStation(call);
        const CStation* s = station ? &*station : nullptr;

        std::set<std::string> byConvention;
        if (entry.contains("conventions")) {
            for (const Json& tag : entry["conventions"]) {
                const auto found = kConventions.find(tag.get<std::string>());
                if (found != kConventions.end())
                    byConvention.insert(found->second.first.begin(), found->second.first.end());
            }
        }
        const auto count = [&](const std::string& key, bool agree) {
            if (byConvention.count(key) != 0) {
                ++conventionChecks;
                return;
            }
            ++checks;
            const auto listed = kDifferences.find({id, key});
            if (listed != kDifferences.end()) {
                differencesSeen.insert({id, key});
                EXPECT_FALSE(agree) << id << " " << key << " agrees now: drop it from the list";
                return;
            }
            agreed += agree ? 1 : 0;
            EXPECT_TRUE(agree) << id << " " << key << ": " << line;
        };
        const std::map<std::string, Check> compare = ChecksFor(d, station);
        for (const auto& [key, value] : expect.items()) {
            if (key == "message" && value.is_object()) {
                CompareMessage(d, value, count);
            } else if (key == "telemetry" && value.is_object()) {
                CompareTelemetry(s, value, count);
            } else if (key == "weather" && value.is_object()) {
                CompareWeather(s, value, count);
            } else if (const auto check = compare.find(key); check != compare.end()) {
                Json expected = value;
                if (key == "comment" || key == "status")
                    expected = value.is_null() ? value : Json(TextOf(expect, key));
                if (const std::optional<bool> agree = check->second(expected))
                    count(key, *agree);
            }
        }
    }
    for (const auto& [pair, reason] : kDifferences) {
        EXPECT_TRUE(differencesSeen.count(pair) != 0)
            << pair.first << " " << pair.second << " is listed but was not compared";
    }
    std::printf(
        "peer vectors: %d of %d checks agree, %zu listed differences, %d left to "
        "conventions\n",
        agreed, checks, kDifferences.size(), conventionChecks);
    EXPECT_GT(checks, 400);
    EXPECT_GE(agreed, checks * 97 / 100);
}

}  // namespace
}  // namespace plovane
