// JSON forms of the store records, as plovane-cli decode prints them. Key order is fixed
// (ordered_json), so the output is stable and can be compared with a golden file.
//
// Strings: records hold received bytes, one byte per character, so every byte becomes the
// code point of the same value (Latin-1 read as Unicode) before it reaches the JSON library,
// which would reject bytes that are not UTF-8.
#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "messages/message.h"
#include "stations/station.h"

namespace plovane::cli {

using Json = nlohmann::ordered_json;

// Each byte as the UTF-8 form of the code point of the same value.
std::string Latin1ToUtf8(std::string_view bytes);

// call, owner (only for objects and items with an owner), killed, symbol (two characters or
// null), position (null or colatitude, longitude, lat, lon, altitude_dm), reportTime (ISO 8601
// UTC or null), comment, path, destination, device, lastInfo, moving, course, speed, phg and
// dfs (null or their four values), ambiguity, track ([lat, lon, altitude_dm], newest first)
// and weather (null or its values in the stored units: tenths of degrees Celsius, percent,
// millibar and millimetres, knots, degrees, W/m2; `snow` is the snowfall of the last 24
// hours; a value is null when its group was not reported).
// A non-empty `record` puts "record": record in front of the other keys.
Json StationJson(const CStation& station, std::string_view record = {});

// from, to, number, text, count, ackCount, acked; `record` as above.
Json MessageJson(const CMessage& message, std::string_view record = {});

}  // namespace plovane::cli
