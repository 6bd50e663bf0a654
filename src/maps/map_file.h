// SPDX-License-Identifier: GPL-3.0-or-later
// Map files as the program meets them: the recogniser used by the map search and by
// Map > Open File..., and the read that picks the file's family and runs its reader.
// Files are only read, never written; no exception leaves these functions.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>

#include "maps/map_reader.h"

namespace plovane {

inline constexpr std::string_view kMapOpenText = "Unable to open map file.";

// Recognises a map from its first bytes (and, for text maps, its header lines). `file` must
// be seekable; a stream that cannot be read is not a map.
MapProbe ProbeMapFile(std::istream& file, std::string_view path);
// The same on a file opened here through a 4096-byte buffer; a file that cannot be opened
// (or a folder) is not a map.
MapProbe ProbeMapFile(const std::filesystem::path& path);

// Reads a map of any family from `file` (readable and seekable).
MapReadResult ReadMapFile(std::istream& file, std::string_view path, MapProgress& progress);
// The same on a file opened here; a file that cannot be opened gives kMapOpenText.
MapReadResult ReadMapFile(const std::filesystem::path& path, MapProgress& progress);

// The text shown for a map that could not be read: the reader's text, then a line naming
// the file ("Unsupported map format.\nFile: /tmp").
std::string MapFailureText(std::string_view error, std::string_view path);

}  // namespace plovane
