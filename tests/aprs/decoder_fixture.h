// SPDX-License-Identifier: GPL-3.0-or-later
// Decoder and intake wired to real stores; Describe() renders a record as one line for tables.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "aprs/packet_decoder.h"
#include "core/clock.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "core/transmit_control.h"
#include "intake/packet_intake.h"
#include "stations/station_list.h"
#include "support/recording_host.h"

namespace plovane::testing {

class RecordingTransmit : public TransmitControl {
  public:
    void MarkReadyToTransmit() override {}
    void SendStatusText(const std::string&) override {}
    void RearmPositionAndStatus() override {}
    void ArmMessageSlot() override {}
    void SetDigipeatHeard() override { ++digipeatHeard; }
    void AnswerQuery(QueryAnswer) override {}

    int digipeatHeard = 0;
};

inline constexpr const char* kOwnCall = "N0OWN";

// "\xNN" in a case's text stands for that byte.
inline std::string Unescape(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) == "\\x" && i + 3 < text.size()) {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 2, 2)), nullptr, 16));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Bytes outside printable ASCII as "\xNN".
inline std::string Escape(std::string_view text) {
    std::string out;
    for (const char c : text) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
        out += c >= 0x20 && c < 0x7F ? std::string(1, c) : std::string(hex);
    }
    return out;
}

// "DDMM.mmmmH": four decimals of the minute show the refinements of the hundredths.
inline std::string Angle(int32_t units, bool latitude) {
    const int32_t origin = latitude ? kEquatorColatitude : kGreenwichLongitude;
    const int32_t offset = latitude ? origin - units : units - origin;
    const int32_t size = offset < 0 ? -offset : offset;
    char text[32];
    std::snprintf(text, sizeof text, latitude ? "%02d%07.4f%c" : "%03d%07.4f%c",
                  size / kUnitsPerDegree, (size % kUnitsPerDegree) / double(kUnitsPerMinute),
                  latitude ? (offset < 0 ? 'S' : 'N') : (offset < 0 ? 'W' : 'E'));
    return text;
}

inline std::string Describe(const CStation& s) {
    std::string out = Escape(s.call);
    // " key=value"; a key ending in "'" quotes the value.
    const auto add = [&out](std::string_view key, const auto& value) {
        std::string text;
        if constexpr (std::is_arithmetic_v<std::decay_t<decltype(value)>>)
            text = std::to_string(value);
        else
            text = Escape(value);
        out += " " + std::string(key) + (key.ends_with('\'') ? text + "'" : text);
    };
    const auto four = [](int a, int b, int c, int d) {
        return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," +
               std::to_string(d);
    };
    if (s.hasSymbol)
        add("", std::string{s.symbolTable, s.symbolCode});
    if (s.hasPosition) {
        add("@", Angle(s.position.colatitude, true) + " " + Angle(s.position.longitude, false));
        if (s.position.altitude != -1)
            add("alt=", s.position.altitude);
    }
    if (s.ambiguity != 0)
        add("amb=", s.ambiguity);
    if (s.hasReportTime && s.hasPosition) {
        char t[16];
        const CDateTime& r = s.reportTime;
        std::snprintf(t, sizeof t, "%02d%02d%02d%02d", r.Day(), r.Hour(), r.Minute(), r.Second());
        add("t=", std::string(t));
    }
    if (s.moving)
        add("mv=", std::to_string(s.course) + "/" + std::to_string(s.speed));
    if (s.hasPhg)
        add("phg=", four(s.phgPower, s.phgHeight, s.phgGain, s.phgDirectivity));
    if (s.hasDfs)
        add("dfs=", four(s.dfsStrength, s.dfsHeight, s.dfsGain, s.dfsDirectivity));
    if (s.hasRange) {
        char range[16];
        std::snprintf(range, sizeof range, "%.4g", s.rangeMiles);
        add("rng=", std::string(range));
    }
    if (s.hasBearing) {
        char df[16];
        std::snprintf(df, sizeof df, "%d/%03d", s.dfBearing, s.dfNrq);
        add("df=", std::string(df));
    }
    if (s.hasOwner)
        add("by=", s.owner);
    if (s.killed)
        out += " killed";
    if (!s.micEMessage.empty())
        add("[" + s.micEMessage + "]", "");
    if (s.destination != "APRS")
        add(">" + s.destination + " {" + s.device + "}", "");
    if (!s.path.empty())
        add("via=", s.path);
    if (!s.comment.empty())
        add("'", s.comment);
    if (!s.lastInfo.empty())
        add("info='", s.lastInfo);
    if (s.hasWeather) {
        const CWeatherReport& w = s.weather;
        const std::pair<const char*, int> fields[] = {
            {"dir=", w.windDirection},   {"spd=", w.windSpeed},        {"gst=", w.windGust},
            {"h=", w.humidity},          {"b=", w.barometer},          {"r1=", w.rainLastHour},
            {"r24=", w.rainLast24Hours}, {"r0=", w.rainSinceMidnight}, {"sn=", w.snow[1]},
            {"lum=", w.luminosity}};
        out += " wx[";
        if (w.temperature != -1000)
            add("t=", w.temperature);
        for (const auto& [key, value] : fields) {
            if (value != -1)
                add(key, value);
        }
        if (w.description != "Unknown")
            add("'", w.description);
        if (w.hasReportTime) {
            char t[24];
            const CDateTime& r = w.reportTime;
            std::snprintf(t, sizeof t, "%04d-%02d-%02dT%02d:%02d", r.Year(), r.Month(), r.Day(),
                          r.Hour(), r.Minute());
            add("", std::string(t));
        }
        out += " ]";
    }
    if (s.telemetry && s.telemetry->hasValues) {
        const TelemetryValues& v = s.telemetry->values;
        add("tlm#", v.sequence);
        for (int i = 0; i < 5; ++i) {
            char value[32] = "";
            if ((v.analogPresent >> i & 1) != 0)
                std::snprintf(value, sizeof value, "%g", v.analog[i]);
            out += std::string(i == 0 ? " " : ",") + value;
        }
        if (v.bits >= 0) {
            out += " bits=";
            for (int i = 0; i < 8; ++i)
                out += (v.bits >> i & 1) != 0 ? '1' : '0';
        }
    }
    return out;
}

struct Rig {
    Rig() {
        profile.WriteString("Station", "MyCall", kOwnCall);
        profile.WriteInt("Station", "bTrack", 1);
        settings.Load(profile);
        stations.ApplySettings(settings, false);
    }

    void Decode(std::string_view line, std::string_view tag = "TNC>") {
        const DecodedPacket packet =
            plovane::Decode(line, clock.Now(), clock.BiasMinutes(), kOwnCall);
        if (packet.hasMessage) {
            messages.push_back(std::string(packet.messageSource) + ">" +
                               std::string(packet.messageAddressee) + " '" +
                               std::string(packet.messageText) + "'");
        }
        ApplyPacket(packet, tag, targets);
    }

    // The record of `call`; fails the test when there is none.
    CStation Station(std::string_view call) {
        std::optional<CStation> found = stations.FindStation(call);
        EXPECT_TRUE(found.has_value()) << "no record " << call;
        return found.value_or(CStation());
    }

    // Every record but the own one, then the messages and sentences the packets carried.
    std::string Describe() {
        std::string out;
        for (const CStation& s : stations.Snapshot()) {
            if (s.call != kOwnCall)
                out += (out.empty() ? "" : " | ") + testing::Describe(s);
        }
        for (const std::string& m : messages)
            out += (out.empty() ? "msg " : " | msg ") + Escape(m);
        for (const std::string& g : sentences)
            out += (out.empty() ? "gps " : " | gps ") + g;
        if (transmit.digipeatHeard != 0)
            out += (out.empty() ? "heard " : " | heard ") + std::to_string(transmit.digipeatHeard);
        return out;
    }

    MemoryProfile profile;
    CStationSettings settings;
    FakeClock clock{CDateTime(2026, 3, 10, 12, 0, 0)};
    RecordingHost host;
    CStationList stations{settings, clock, host, host};
    RecordingTransmit transmit;
    std::vector<std::string> messages;
    std::vector<std::string> sentences;
    PacketTargets targets{host, stations, nullptr, &transmit,
                          [this](std::string_view source, std::string_view destination,
                                 std::string_view path, std::string_view line) {
                              sentences.push_back(std::string(source) + ">" +
                                                  std::string(destination) + "," +
                                                  std::string(path) + " " + std::string(line));
                          }};
};

class DecoderTest : public ::testing::Test, protected Rig {};

}  // namespace plovane::testing
