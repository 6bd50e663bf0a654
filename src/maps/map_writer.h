// SPDX-License-Identifier: GPL-3.0-or-later
// Writes Win/MacAPRS binary maps, for the tools that build the bundled maps (and for tests
// that need map files). The program itself never writes a map.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "maps/map_data.h"

namespace plovane {

// Everything a binary map holds. Coordinates in map units; the file keeps tenths of an
// arc-second, so they are rounded to multiples of 10. Point levels have no place in the
// format and are dropped; label texts keep their first 32 bytes.
struct BinaryMapImage {
    std::string magic = "APRS";    // 4 bytes, space-padded
    std::string version = "1.00";  // 4 bytes
    std::string name;              // up to 32 bytes
    std::string header;            // up to 8 bytes
    uint32_t date = 0;             // seconds since 1904-01-01 00:00:00
    int32_t left = 0;
    int32_t right = kMaxLongitude;
    int32_t top = 0;
    int32_t bottom = kMaxColatitude;
    std::vector<MapVectorPoint> points;
    std::vector<MapLabel> labels;
};

// False when the stream fails or a table is too long for the file's 32-bit counts.
bool WriteBinaryMap(const BinaryMapImage& image, std::ostream& out);

}  // namespace plovane
