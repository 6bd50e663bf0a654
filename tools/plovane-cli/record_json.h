// SPDX-License-Identifier: GPL-3.0-or-later
// JSON forms of the store records, as plovane-cli decode prints them. Key order is fixed
// (ordered_json), so the output is stable and can be compared with a golden file.
//
// Strings: records hold received bytes. A field that is valid UTF-8 is written as that text;
// any other becomes one code point per byte (Latin-1 read as Unicode) before it reaches the
// JSON library, which would reject bytes that are not UTF-8.
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
// UTC or null), comment, path, destination, device, deviceClass ("ht", "wx", ... or null),
// lastInfo, moving, course, speed, phg and dfs (null or their four values), ambiguity,
// track ([lat, lon, altitude_dm], newest first) and weather (null or its values in the
// stored units: tenths of degrees Celsius, percent, millibar and millimetres, knots,
// degrees, W/m2; `snow` is the snowfall of the last 24 hours; a value is null when its
// group was not reported), micEMessage (null or the Mic-E message type), telemetry (null,
// or sequence, values and scaled (five, null when not sent), bits ("10000000", channel 1
// first, or null), names and units (13), equations ([a, b, c] x 5), bitSense, project) and
// encoding ("ascii", "utf-8" or "latin-1": how the comment and last information text are
// read).
// A non-empty `record` puts "record": record in front of the other keys.
Json StationJson(const CStation& station, std::string_view record = {});
// The same object written straight to the end of `out`, as StationJson(...).dump() writes it.
void AppendStationJson(const CStation& station, std::string_view record, std::string& out);
// A JSON string of received bytes (as in the records), with its quotes, to the end of `out`.
void AppendTextJson(std::string_view bytes, std::string& out);

// from, to, number, text, count, ackCount, acked, rejected, replyAck (null, or what followed
// "}" in the sender's number: "" for "{7}"), encoding of the text; `record` as above.
Json MessageJson(const CMessage& message, std::string_view record = {});

}  // namespace plovane::cli
