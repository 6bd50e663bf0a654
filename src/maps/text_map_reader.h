// SPDX-License-Identifier: GPL-3.0-or-later
// dosAPRS text maps (plain, Compressed and LineFormat): whatever is not a binary or PDB map
// is tried as one, and its eight header lines decide.
#pragma once

#include <string>
#include <string_view>

#include "maps/map_reader.h"

namespace plovane {

class TextMapReader final : public MapReader {
  public:
    MapProbe Probe(MapStream& in, std::string_view path) const override;
    MapReadResult Read(MapStream& in, std::string_view path, MapProgress& progress) const override;
};

// The title a text map gets from its path: "ROADS.MAP" in LineFormat -> "ROADS (DL)".
std::string TextMapTitle(std::string_view path, std::string_view keyword);

}  // namespace plovane
