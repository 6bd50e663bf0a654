// SPDX-License-Identifier: GPL-3.0-or-later
// What every map-file reader shares: the failure texts, the recogniser's answer, the result
// of a read (the map or its error text) and the narrow sink a read reports progress to.
// One reader per family derives from MapReader (binary_map_reader.h, pdb_map_reader.h,
// text_map_reader.h); map_file.h picks the family of a file and runs its reader.
#pragma once

#include <string>
#include <string_view>

#include "maps/map_data.h"

namespace plovane {

class MapStream;

// The texts a failed read gives, word for word.
inline constexpr std::string_view kMapMemoryText = "Unable to allocate sufficient memory.";
inline constexpr std::string_view kMapUnsupportedText = "Unsupported map format.";
inline constexpr std::string_view kMapTableMemoryText =
    "Unable to allocate sufficient memory to load this map.";
inline constexpr std::string_view kMapRecordListMemoryText =
    "Unable to read map file.  Insufficient memory available to load all map records.";
inline constexpr std::string_view kMapEndOfFileText =
    "Unable to read map due to an unexpected end of file.";
inline constexpr std::string_view kMapNegativeCountText =
    "Unable to read map file.  Map vector point count and/or label count is negative.";
inline constexpr std::string_view kMapNoRecordsText =
    "Unable to read map file.  Number of internal file records is zero.";
inline constexpr std::string_view kMapVersionText =
    "Unable to read map file.  Map appears to be in Mac/WinAPRS format, but map version is not "
    "'Beta' or '1.00'.";
inline constexpr std::string_view kMapBoundariesText =
    "Unable to read map file.  Map boundaries are invalid or out of order.";

// What the recogniser found.
struct MapProbe {
    bool isMap = false;
    std::string title;  // the Map > Open title; empty when not a map
};

// A read's outcome: a loaded, unfitted map, or the empty map and the failure text.
struct MapReadResult {
    CMapData map;
    std::string error;  // empty on success

    bool ok() const { return error.empty(); }
};

// Where a read reports how far it has got. The default does nothing, so a plain MapProgress
// is the silent sink (command-line tools, tests, the fuzzer).
// Thread-compatible: called on the reading thread only.
class MapProgress {
  public:
    virtual ~MapProgress() = default;
    virtual void Notice(std::string_view /*text*/) {}  // a status-line text
    virtual void Begin(std::string_view /*title*/) {}  // the progress indicator appears
    virtual void Step(int /*percent*/) {}
    virtual void End() {}  // the indicator goes
};

// One family of map files. Both operations read from the start of `in`; `path` is the
// file's full path (a text map takes its title from it). Neither throws.
// Thread-safe: readers hold no state.
class MapReader {
  public:
    virtual ~MapReader() = default;
    virtual MapProbe Probe(MapStream& in, std::string_view path) const = 0;
    virtual MapReadResult Read(MapStream& in, std::string_view path,
                               MapProgress& progress) const = 0;
};

}  // namespace plovane
