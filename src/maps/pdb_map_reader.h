// SPDX-License-Identifier: GPL-3.0-or-later
// pocketAPRS maps: Palm databases of type "map1", creator "pAPR".
#pragma once

#include "maps/map_reader.h"

namespace plovane {

class PocketMapReader final : public MapReader {
  public:
    // The database's type and creator say "map1pAPR".
    static bool HasTypeAndCreator(MapStream& in);

    MapProbe Probe(MapStream& in, std::string_view path) const override;
    MapReadResult Read(MapStream& in, std::string_view path, MapProgress& progress) const override;
};

}  // namespace plovane
