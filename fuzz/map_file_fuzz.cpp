// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds bytes to the map recogniser and reader as the contents of a map file.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "maps/map_data.h"
#include "maps/map_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        std::istringstream in(bytes);
        (void)plovane::ProbeMapFile(in, "/maps/FUZZ.MAP");
    }
    std::istringstream in(bytes);
    plovane::MapProgress silent;
    const plovane::MapReadResult result = plovane::ReadMapFile(in, "/maps/FUZZ.MAP", silent);
    const plovane::CMapData& map = result.map;
    // A read gives a loaded map or a failure text with the empty map, never both or neither.
    if (map.loaded == !result.ok() || (!result.ok() && !map.points.empty()))
        __builtin_trap();
    // A loaded map always ends with a move record that closes its last polyline.
    if (map.loaded && (map.points.empty() || map.points.back().code != plovane::kMoveCode))
        __builtin_trap();
    for (const auto& label : map.labels) {
        if (label.text.size() > plovane::kMaxLabelText)
            __builtin_trap();
    }
    return 0;
}
