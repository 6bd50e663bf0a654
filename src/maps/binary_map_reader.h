// SPDX-License-Identifier: GPL-3.0-or-later
// Win/MacAPRS binary maps (magic "APRS", "ZZ9Q", "100K", "DCW ", "TGR " or a header whose
// tables fill the file to the byte).
#pragma once

#include "maps/map_reader.h"

namespace plovane {

class BinaryMapReader final : public MapReader {
  public:
    // One of the five known magics at the start of the file.
    static bool HasKnownMagic(MapStream& in);
    // Any magic, but a right version and declared tables that fill the file exactly.
    static bool LooksLikeBinaryMap(MapStream& in);

    MapProbe Probe(MapStream& in, std::string_view path) const override;
    MapReadResult Read(MapStream& in, std::string_view path, MapProgress& progress) const override;
};

}  // namespace plovane
