// SPDX-License-Identifier: GPL-3.0-or-later
// Win/MacAPRS binary map writer.
#include "maps/map_writer.h"

#include <algorithm>
#include <limits>
#include <ostream>

namespace plovane {
namespace {

void PutBytes(std::ostream& out, const std::string& text, size_t size, char pad) {
    std::string field = text.substr(0, size);
    field.resize(size, pad);
    out.write(field.data(), static_cast<std::streamsize>(size));
}

void Put16(std::ostream& out, uint16_t v) {
    const char b[2] = {static_cast<char>(v >> 8), static_cast<char>(v)};
    out.write(b, 2);
}

void Put32(std::ostream& out, uint32_t v) {
    const char b[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 8), static_cast<char>(v)};
    out.write(b, 4);
}

// Map units to tenths of an arc-second, rounded to the nearest.
void PutCoordinate(std::ostream& out, int32_t mapUnits) {
    const int64_t v = mapUnits;
    const int64_t tenths = v >= 0 ? (v + 5) / 10 : -((-v + 5) / 10);
    Put32(out, static_cast<uint32_t>(static_cast<int32_t>(tenths)));
}

}  // namespace

bool WriteBinaryMap(const BinaryMapImage& image, std::ostream& out) {
    constexpr size_t kMaxCount = std::numeric_limits<int32_t>::max();
    if (image.points.size() > kMaxCount || image.labels.size() > kMaxCount)
        return false;

    PutBytes(out, image.magic, 4, ' ');
    PutBytes(out, image.version, 4, ' ');
    PutBytes(out, {}, 32, '\0');
    PutBytes(out, image.name, 32, '\0');
    PutBytes(out, image.header, 8, '\0');
    Put32(out, image.date);
    PutCoordinate(out, image.left);
    PutCoordinate(out, image.right);
    PutCoordinate(out, image.top);
    PutCoordinate(out, image.bottom);
    PutBytes(out, {}, 8, '\0');
    Put32(out, static_cast<uint32_t>(image.points.size()));
    Put32(out, static_cast<uint32_t>(image.labels.size()));
    PutBytes(out, {}, 140, '\0');

    for (const MapVectorPoint& p : image.points) {
        out.put(static_cast<char>(p.code));
        out.put(static_cast<char>(p.attributes));
        PutCoordinate(out, p.x);
        PutCoordinate(out, p.y);
    }
    for (const MapLabel& label : image.labels) {
        out.put(static_cast<char>(label.code));
        out.put('\0');
        PutCoordinate(out, label.x);
        PutCoordinate(out, label.y);
        Put16(out, label.level);
        PutBytes(out, label.text, 32, '\0');
    }
    return static_cast<bool>(out);
}

}  // namespace plovane
