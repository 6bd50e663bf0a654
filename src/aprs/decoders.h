// SPDX-License-Identifier: GPL-3.0-or-later
// The decoders of the information field, one family per file, and the writer they fill a
// decoded packet's station reports with. Each takes the station (or object/item) name, the
// destination call, the path and the information text starting where the dispatch says.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "aprs/decoded_packet.h"
#include "core/date_time.h"

namespace plovane::aprs {

// Thread-compatible: belongs to one decoding call. The operations fill in the report of
// their call (an empty call is ignored); texts are kept as views, symbols and position
// texts are read at once, and a time stamp is read against `localNow` and the bias.
class ReportWriter {
  public:
    ReportWriter(DecodedPacket& packet, const CDateTime& localNow, int biasMinutes)
        : packet_(packet), localNow_(localNow), biasMinutes_(biasMinutes) {}

    // Position report: symbol (2 chars or empty), "DDMM.mmN", "DDDMM.mmW", time ("" or
    // 7 characters such as "092345z"), comment, altitude in decimetres (-1 unknown).
    void UpdatePosition(std::string_view call, std::string_view symbol, std::string_view latitude,
                        std::string_view longitude, std::string_view time, std::string_view comment,
                        int32_t altitudeDm);
    void SetCourseSpeed(std::string_view call, int speedKnots, int courseDegrees);
    void SetPhg(std::string_view call, int powerWatts, int heightFeet, int gainDb,
                int directivityDegrees);
    void SetDfs(std::string_view call, int strength, int heightFeet, int gainDb,
                int directivityDegrees);
    void SetRange(std::string_view call, double miles);
    // A direction-finding report: bearing in degrees, the NRQ digits as one number.
    void SetBearing(std::string_view call, int bearingDegrees, int nrq);
    void SetImpliedSymbol(std::string_view call, std::string_view symbol);
    void SetObjectOwner(std::string_view name, std::string_view senderCall, bool killed);
    // A later non-empty text replaces an earlier one of the same packet.
    void SetDeviceAndPath(std::string_view call, std::string_view destination,
                          std::string_view path, std::string_view information);
    void StoreWeather(std::string_view call, std::string_view comment, const WeatherValues& values);
    void StoreTelemetry(std::string_view call, const TelemetryValues& values);
    void SetMicEMessage(std::string_view call, std::string_view message);

    DecodedPacket& packet() { return packet_; }
    const CDateTime& localNow() const { return localNow_; }
    int biasMinutes() const { return biasMinutes_; }

  private:
    DecodedPacket& packet_;
    CDateTime localNow_;
    int biasMinutes_;
};

// --- Comment extensions and telemetry (comment_extensions.cpp) ---

// 0.001 minute of arc in angle units (0.06 arc-second).
inline constexpr int32_t kUnitsPerThousandthMinute = 6;

// A DAO extension: the extra precision it adds to the minutes, in angle units towards
// the hemisphere (north or south, east or west) of the position.
struct DaoExtension {
    bool found = false;
    char datum = 0;  // upper case, e.g. 'W' for WGS 84
    int32_t latitudeUnits = 0;
    int32_t longitudeUnits = 0;
};

// Each takes its extension out of the comment when there is one (the rest of the comment
// may then live in the packet's room) and returns whether it found one.
bool TakeBase91Telemetry(std::string_view& comment, DecodedPacket& packet, TelemetryValues& values);
bool TakeDao(std::string_view& comment, DecodedPacket& packet, DaoExtension& dao);
// The first "/A=" with six digits of feet ("/A=-00079" below sea level) anywhere in the
// comment, as decimetres.
bool TakeAltitude(std::string_view& comment, DecodedPacket& packet, int32_t& altitudeDm);

// A "T#" report: false when the text is none. Reading stops at the first value that is not
// a number; what was read until then stands.
bool ParseTelemetryReport(std::string_view text, TelemetryValues& values);

// Positions: "!", "=", "/", "@" reports and object/item bodies (position_decoder.cpp).
// With `hasTime` false the body has no time stamp (items).
void DecodePosition(ReportWriter& out, std::string_view name, std::string_view destination,
                    std::string_view path, std::string_view information, bool hasTime = true);

// Mic-E: latitude and flags ride in the destination call (mic_e_decoder.cpp).
void DecodeMicE(ReportWriter& out, std::string_view source, std::string_view destination,
                std::string_view path, std::string_view information);

// What follows a symbol code: PHG, DFS, course/speed, weather, storm, comment
// (extensions.cpp). `tail` is the text after the symbol code.
void DecodeExtensions(ReportWriter& out, std::string_view name, std::string_view destination,
                      std::string_view path, std::string_view symbol, std::string_view latitude,
                      std::string_view longitude, std::string_view time, std::string_view tail);

// How a weather station's speed field counts: "ccc/sss" after the weather symbol is the wind
// in mph; the compressed course/speed bytes are knots.
enum class WindUnit { kMph, kKnots };

// The course-and-speed rule, shared by "ccc/sss" extensions and compressed positions. A
// course below 0 is not known ("   /   "): no motion is reported. For a weather station the
// pair is the wind, its speed in `windUnit`.
void ApplyCourseSpeed(ReportWriter& out, std::string_view name, std::string_view destination,
                      std::string_view path, std::string_view symbol, std::string_view latitude,
                      std::string_view longitude, std::string_view time, int course, int speed,
                      std::string_view rest, WindUnit windUnit);

// APRS weather fields, positionless ("_") or after a weather-symbol position
// (weather_decoder.cpp). Wind values are -1 for a positionless report.
void DecodeWeather(ReportWriter& out, std::string_view name, std::string_view destination,
                   std::string_view path, std::string_view text, int windDirection, int windSpeed);

// Peet Bros / Ultimeter records: "$ULTW", "!!", "#", "*" (weather_decoder.cpp).
void DecodePeetWeather(ReportWriter& out, std::string_view name, std::string_view destination,
                       std::string_view path, std::string_view text);

}  // namespace plovane::aprs
