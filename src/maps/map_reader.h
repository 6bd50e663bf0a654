// Readers of the three map-file families: dosAPRS text maps (plain, Compressed and
// LineFormat), Win/MacAPRS binary maps and pocketAPRS Palm databases.
//
// ProbeMapFile is the recogniser used by the map search: is this a map, and what is its menu
// title. ReadMap fills a CMapData, showing progress and status texts and, on failure, the
// error text through the host. Files are only read, never written.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>

#include "core/app_host.h"
#include "maps/map_data.h"

namespace plovane {

// The texts a failed read shows, word for word.
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

// Recognises a map from its first bytes (and, for text maps, its header lines). The path
// gives a text map its title. `file` must be seekable.
MapProbe ProbeMapFile(std::istream& file, std::string_view path);
// The same on a file opened here through a 4096-byte buffer; a file that cannot be opened
// is not a map.
MapProbe ProbeMapFile(const std::filesystem::path& path);

// Fills `map` from `file` (readable and seekable; `path` is its full path). Afterwards the
// map is loaded, or a message has been shown through the host and the map is empty.
void ReadMap(CMapData& map, std::istream& file, std::string_view path, AppHost& host);

}  // namespace plovane
