// SPDX-License-Identifier: GPL-3.0-or-later
// Win/MacAPRS binary maps: a 256-byte header, then 10-byte vector point records and 44-byte
// label records. Numbers are big-endian; coordinates are tenths of an arc-second.
//
// Header: magic (0, 4), version "BETA"/"1.00" (4, 4), name (40, 32), header text (72, 8),
// date in seconds since 1904 (80), left/right/top/bottom (84..99), point count (108),
// label count (112).
#include "maps/binary_map_reader.h"

#include <algorithm>
#include <new>
#include <string>

#include "core/latin1.h"
#include "maps/map_read_support.h"

namespace plovane {
namespace {

using map_reader::ReadContext;
using map_reader::TenthsToMapUnits;

constexpr uint64_t kHeaderSize = 256;
constexpr uint64_t kPointRecordSize = 10;
constexpr uint64_t kLabelRecordSize = 44;

std::string TrimmedField(const uint8_t* p, size_t size) {
    return std::string(latin1::Trim(FieldText(p, size)));
}

// Codes outside the palette's 1..33 (and the move code) draw in colour 8.
uint8_t PointCode(uint8_t code) {
    return code == 0 || (code >= 34 && code < 255) ? 8 : code;
}

uint8_t LabelCode(uint8_t code) {
    const int colour = code & 127;
    return colour == 0 || colour > 33 ? static_cast<uint8_t>((code & 128) | 8) : code;
}

bool IsBinaryVersion(std::string_view version) {
    const std::string upper = latin1::ToUpper(version);
    return upper == "BETA" || upper == "1.00";
}

}  // namespace

bool BinaryMapReader::HasKnownMagic(MapStream& in) {
    uint8_t magic[4] = {};
    const size_t magicSize = in.size() < 4 ? static_cast<size_t>(in.size()) : 4;
    if (!in.Seek(0) || !in.Read(magic, magicSize))
        return false;
    const std::string text = latin1::ToUpper(FieldText(magic, magicSize));
    return text == "APRS" || text == "ZZ9Q" || text == "100K" || text == "DCW " || text == "TGR ";
}

// Maps in circulation carry magics beyond the five known ones (map makers tag their own
// files), so a header whose version is right and whose declared tables fill the file to
// the byte is a binary map too.
bool BinaryMapReader::LooksLikeBinaryMap(MapStream& in) {
    uint8_t head[116];
    if (in.size() < kHeaderSize || !in.Seek(0) || !in.Read(head, sizeof head))
        return false;
    if (!IsBinaryVersion(FieldText(head + 4, 4)))
        return false;
    const int64_t points = BigEndianI32(head + 108);
    const int64_t labels = BigEndianI32(head + 112);
    if (points < 0 || labels < 0)
        return false;
    return static_cast<uint64_t>(kHeaderSize + 10 * points + 44 * labels) == in.size();
}

MapProbe BinaryMapReader::Probe(MapStream& in, std::string_view /*path*/) const {
    uint8_t head[72] = {};
    if (!in.Seek(0) || !in.Read(head, 8) || !IsBinaryVersion(FieldText(head + 4, 4)))
        return {};
    // The title field may be cut short by the end of the file; take what is there.
    const size_t have = static_cast<size_t>(std::min<uint64_t>(in.Remaining(), 64));
    if (!in.Read(head + 8, have))
        return {};
    return {true, FieldText(head + 40, have > 32 ? have - 32 : 0)};
}

MapReadResult BinaryMapReader::Read(MapStream& in, std::string_view path,
                                    MapProgress& progress) const {
    ReadContext ctx{in, path, progress};
    CMapData& map = ctx.map;
    uint8_t head[kHeaderSize];
    if (!in.Seek(0) || !in.Read(head, 8))
        return ctx.Fail(kMapEndOfFileText);
    const std::string version = FieldText(head + 4, 4);
    if (!IsBinaryVersion(version))
        return ctx.Fail(kMapVersionText);
    if (!in.Read(head + 8, kHeaderSize - 8))
        return ctx.Fail(kMapEndOfFileText);

    const int32_t left = BigEndianI32(head + 84);
    const int32_t right = BigEndianI32(head + 88);
    const int32_t top = BigEndianI32(head + 92);
    const int32_t bottom = BigEndianI32(head + 96);
    const int32_t pointCount = BigEndianI32(head + 108);
    const int32_t labelCount = BigEndianI32(head + 112);
    if (left >= right || top >= bottom)
        return ctx.Fail(kMapBoundariesText);
    if (pointCount < 0 || labelCount < 0)
        return ctx.Fail(kMapNegativeCountText);

    map.created = PalmDateToDateTime(BigEndian32(head + 80));
    map.modified = map.created;
    map.formatText = TrimmedField(head, 4);
    map.versionText = std::string(latin1::Trim(version));
    map.name = TrimmedField(head + 40, 32);
    map.headerText = TrimmedField(head + 72, 8);
    map.left = TenthsToMapUnits(left);
    map.right = TenthsToMapUnits(right);
    map.top = TenthsToMapUnits(top);
    map.bottom = TenthsToMapUnits(bottom);

    // A file cannot hold more records than its bytes allow; a larger claim is a short file,
    // found before any memory is set aside for it.
    const uint64_t declared = kHeaderSize + kPointRecordSize * static_cast<uint64_t>(pointCount) +
                              kLabelRecordSize * static_cast<uint64_t>(labelCount);
    if (declared > in.size())
        return ctx.Fail(kMapEndOfFileText);
    try {
        map.points.reserve(static_cast<size_t>(pointCount) + 1);
        map.labels.reserve(static_cast<size_t>(labelCount));
    } catch (const std::bad_alloc&) {
        return ctx.Fail(kMapTableMemoryText);
    }

    ctx.ShowProgress("Reading Win/MacAPRS map:");
    progress.Step(0);
    // One point and no labels would divide by zero.
    const int64_t progressSpan = std::max<int64_t>(1, int64_t{pointCount} + labelCount - 1);

    uint8_t record[kLabelRecordSize];
    for (int32_t i = 0; i < pointCount; ++i) {
        if (i % 2048 == 0) {
            progress.Step(static_cast<int>(int64_t{i} * 100 / progressSpan));
        }
        if (!in.Read(record, kPointRecordSize))
            return ctx.Fail(kMapEndOfFileText);
        map.points.push_back({PointCode(record[0]), record[1], 0,
                              TenthsToMapUnits(BigEndianI32(record + 2)),
                              TenthsToMapUnits(BigEndianI32(record + 6))});
    }
    // A map with no points has no last point, and still needs its end marker.
    if (map.points.empty() || map.points.back().code != kMoveCode) {
        map.points.push_back(kEndMarker);
    }

    for (int32_t i = 0; i < labelCount; ++i) {
        if (i % 256 == 0) {
            progress.Step(static_cast<int>((int64_t{i} + pointCount) * 100 / progressSpan));
        }
        if (!in.Read(record, kLabelRecordSize))
            return ctx.Fail(kMapEndOfFileText);
        MapLabel label;
        label.code = LabelCode(record[0]);
        label.x = TenthsToMapUnits(BigEndianI32(record + 2));
        label.y = TenthsToMapUnits(BigEndianI32(record + 6));
        label.level = BigEndian16(record + 10);
        label.text = FieldText(record + 12, 32);
        while (!label.text.empty() && static_cast<unsigned char>(label.text.back()) <= 32) {
            label.text.pop_back();
        }
        map.labels.push_back(std::move(label));
    }
    return ctx.Finish();
}

}  // namespace plovane
