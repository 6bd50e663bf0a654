// The decoders of the information field, one family per file. Each takes the station (or
// object/item) name, the destination call, the path and the information text starting where
// the dispatch says, and records its station-store updates in the packet's batch.
#pragma once

#include <string_view>

namespace plovane {
class CStationList;
class StationBatch;
}  // namespace plovane

namespace plovane::aprs {

// Positions: "!", "=", "/", "@" reports and object/item bodies (position_decoder.cpp).
void DecodePosition(StationBatch& stations, std::string_view name, std::string_view destination,
                    std::string_view path, std::string_view information);

// Mic-E: latitude and flags ride in the destination call (mic_e_decoder.cpp).
void DecodeMicE(StationBatch& stations, std::string_view source, std::string_view destination,
                std::string_view path, std::string_view information);

// What follows a symbol code: PHG, DFS, course/speed, weather, storm, comment
// (extensions.cpp). `tail` is the text after the symbol code.
void DecodeExtensions(StationBatch& stations, std::string_view name, std::string_view destination,
                      std::string_view path, std::string_view symbol, std::string_view latitude,
                      std::string_view longitude, std::string_view time, std::string_view tail);

// The course-and-speed rule, shared by "ccc/sss" extensions and compressed positions.
void ApplyCourseSpeed(StationBatch& stations, std::string_view name, std::string_view destination,
                      std::string_view path, std::string_view symbol, std::string_view latitude,
                      std::string_view longitude, std::string_view time, int course, int speed,
                      std::string_view rest);

// APRS weather fields, positionless ("_") or after a weather-symbol position
// (weather_decoder.cpp). Wind values are -1 for a positionless report.
void DecodeWeather(StationBatch& stations, std::string_view name, std::string_view destination,
                   std::string_view path, std::string_view text, int windDirection, int windSpeed);

// Peet Bros / Ultimeter records: "$ULTW", "!!", "#", "*" (weather_decoder.cpp).
void DecodePeetWeather(StationBatch& stations, std::string_view name, std::string_view destination,
                       std::string_view path, std::string_view text);

// The two weather decoders on their own, outside a packet: the store is updated before they
// return.
void DecodeWeather(CStationList& stations, std::string_view name, std::string_view destination,
                   std::string_view path, std::string_view text, int windDirection, int windSpeed);
void DecodePeetWeather(CStationList& stations, std::string_view name, std::string_view destination,
                       std::string_view path, std::string_view text);

}  // namespace plovane::aprs
