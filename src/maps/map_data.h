// SPDX-License-Identifier: GPL-3.0-or-later
// The one map the document holds: a box, a table of vector points forming polylines and
// filled polygons, a table of labels, four descriptive texts and two dates. Plain data: the
// readers (map_file.h) return one, the document holds one, the map view reads it.
//
// Map units are the fixed-point angles of core/geo.h: x = (east longitude + 180) x 360000,
// y = (90 - latitude) x 360000, so both grow the way screen coordinates do.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/date_time.h"
#include "core/geo.h"

namespace plovane {

// A point with this code starts a new polyline; any other code continues the current one
// and is its colour index.
inline constexpr uint8_t kMoveCode = 255;
// Label texts hold at most this many characters (bytes, Latin-1).
inline constexpr size_t kMaxLabelText = 33;

struct MapVectorPoint {
    uint8_t code = kMoveCode;  // kMoveCode, or the colour index (0..32 in the palette)
    uint8_t attributes = 0;    // bit 0: heavy pen; bit 7: filled polygon, brush (value - 1) & 7
    uint16_t level = 0;        // 0: always shown; else shown while the view's threshold <= level
    int32_t x = 0;             // map units
    int32_t y = 0;

    bool operator==(const MapVectorPoint&) const = default;
};

struct MapLabel {
    uint8_t code = 0;  // low seven bits: colour (above 32 drawn as 11); bit 7: text right of anchor
    uint8_t spare = 0;
    uint16_t level = 0;
    int32_t x = 0;  // anchor, map units
    int32_t y = 0;
    std::string text;  // the file's bytes, at most kMaxLabelText; "#..." and "$..." are special

    bool operator==(const MapLabel&) const = default;
};

// The record that closes the last polyline of every loaded map.
inline constexpr MapVectorPoint kEndMarker{kMoveCode, 0, 0, 0, 0};

// Thread-compatible: owned by the document and used on the user-interface thread.
class CMapData {
  public:
    // The empty map: the whole world as box, no records, texts empty, dates unset.
    CMapData() = default;
    // The empty map dated `now`.
    explicit CMapData(const CDateTime& now) : created(now), modified(now) {}

    // Back to the empty map, dated `now`.
    void Clear(const CDateTime& now) { *this = CMapData(now); }

    bool loaded = false;
    bool fitted = false;  // set by the view once it has fitted itself to the box
    std::vector<MapVectorPoint> points;
    std::vector<MapLabel> labels;
    std::string formatText;   // "DOS", "DOS:LineFormat", "DOS:Compressed", "pocketAPRS", or a magic
    std::string versionText;  // "N/A" for text maps, empty for PDB maps, else as stored
    std::string name;         // the map's title, also the document title
    std::string headerText;   // "N/A" for text maps, "pocketAPRS" for PDB maps
    CDateTime created;
    CDateTime modified;
    int32_t left = 0;  // map units
    int32_t right = kMaxLongitude;
    int32_t top = 0;
    int32_t bottom = kMaxColatitude;
};

// Seconds since 1904-01-01 00:00:00 (the Palm and Macintosh epoch) as a date-time.
CDateTime PalmDateToDateTime(uint32_t seconds);

}  // namespace plovane
