// Win/MacAPRS binary maps: a 256-byte header, then 10-byte vector point records and 44-byte
// label records. Numbers are big-endian; coordinates are tenths of an arc-second.
//
// Header: magic (0, 4), version "BETA"/"1.00" (4, 4), name (40, 32), header text (72, 8),
// date in seconds since 1904 (80), left/right/top/bottom (84..99), point count (108),
// label count (112).
#include <algorithm>
#include <new>
#include <string>

#include "core/latin1.h"
#include "maps/map_reader_internal.h"

namespace plovane::map_reader {
namespace {

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

}  // namespace

void ReadBinaryMap(ReadContext& ctx) {
    CMapData& map = ctx.map;
    MapStream& in = ctx.in;
    uint8_t head[kHeaderSize];
    if (!in.Seek(0) || !in.Read(head, 8))
        return ctx.Fail(kMapEndOfFileText);
    const std::string version = FieldText(head + 4, 4);
    const std::string upperVersion = latin1::ToUpper(version);
    if (upperVersion != "BETA" && upperVersion != "1.00")
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
        map.points.clear();
        map.labels.clear();
        map.points.reserve(static_cast<size_t>(pointCount) + 1);
        map.labels.reserve(static_cast<size_t>(labelCount));
    } catch (const std::bad_alloc&) {
        return ctx.Fail(kMapTableMemoryText);
    }

    ctx.ShowProgress("Reading Win/MacAPRS map:");
    ctx.host.SetProgress(0);
    // One point and no labels would divide by zero.
    const int64_t progressSpan = std::max<int64_t>(1, int64_t{pointCount} + labelCount - 1);

    uint8_t record[kLabelRecordSize];
    for (int32_t i = 0; i < pointCount; ++i) {
        if (i % 2048 == 0) {
            ctx.host.SetProgress(static_cast<int>(int64_t{i} * 100 / progressSpan));
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
            ctx.host.SetProgress(static_cast<int>((int64_t{i} + pointCount) * 100 / progressSpan));
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
    ctx.Finish();
}

}  // namespace plovane::map_reader
