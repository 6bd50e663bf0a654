// SPDX-License-Identifier: GPL-3.0-or-later
// pocketAPRS maps: Palm databases of type "map1", creator "pAPR". Record 0 holds the box
// and the scale; every further record holds a type byte, a spare byte and a level, then
// length-prefixed entries up to a length of 0: labels (type 0) or polylines (types 1..15)
// stored as a start vertex and one byte per axis for each further step.
//
// Every count and offset comes from the file. The record list may name the records in any
// order; each record runs up to the next record's offset in the file (the last one up to the
// end of the file), so records never overlap and no read leaves its record.
#include "maps/pdb_map_reader.h"

#include <algorithm>
#include <new>
#include <numeric>
#include <string>
#include <vector>

#include "core/latin1.h"
#include "maps/map_read_support.h"

namespace plovane {
namespace {

using map_reader::ReadContext;
using map_reader::SaturateToInt32;
using map_reader::TenthsToMapUnits;

constexpr uint64_t kDatabaseHeaderSize = 78;
constexpr uint64_t kRecordListEntrySize = 8;
constexpr size_t kMapHeaderRecordSize = 65;  // box (16), 12 spare, scale (2), 35 spare
constexpr size_t kRecordHeadSize = 4;        // type, spare, level
constexpr size_t kLabelEntrySize = 32;
constexpr size_t kPolylineEntrySize = 14;  // the fixed part before the steps
constexpr size_t kLabelTextSize = 20;

struct VectorStyle {
    uint8_t colour;
    uint8_t attributes;
};
// Colour and attributes of each vector record type 1..15.
constexpr VectorStyle kVectorStyles[15] = {
    {7, 0}, {2, 1},  {9, 0}, {7, 0},  {7, 1}, {7, 1}, {7, 0}, {7, 0},
    {7, 0}, {12, 1}, {4, 0}, {12, 0}, {1, 0}, {7, 1}, {6, 0},
};

uint8_t LabelColour(uint8_t fontCode) {
    switch (fontCode) {
        case 1:
            return 7;
        case 2:
            return 20;
        case 3:
            return 32;
        default:
            return 8;
    }
}

struct Record {
    uint64_t begin;
    uint64_t end;
};

struct Origin {
    int64_t left;   // map units
    int64_t top;    // map units
    int64_t scale;  // map units per coordinate step
};

struct Totals {
    uint64_t points = 0;
    uint64_t labels = 0;
};

// Walks one data record; with `map` null it only counts. False on a record that runs out
// of bytes, or an entry shorter than its fixed part or longer than what is left.
bool WalkRecord(MapStream& in, const Record& record, const Origin& origin, Totals& totals,
                CMapData* map, std::vector<uint8_t>& entry) {
    uint8_t head[kRecordHeadSize];
    if (record.end - record.begin < kRecordHeadSize || !in.Seek(record.begin) ||
        !in.Read(head, sizeof head)) {
        return false;
    }
    const uint8_t type = head[0];
    const uint16_t level = BigEndian16(head + 2);
    if (type > 15)
        return true;  // no style for it: such records are left out
    const size_t fixedSize = type == 0 ? kLabelEntrySize : kPolylineEntrySize;
    for (;;) {
        const uint64_t left = record.end - in.Tell();
        if (left == 0)
            return true;  // the record ends without a terminating 0
        uint8_t lengthBytes[2];
        if (left < 2 || !in.Read(lengthBytes, 2))
            return false;
        const size_t length = BigEndian16(lengthBytes);
        if (length == 0)
            return true;
        if (length < fixedSize || length > left)
            return false;
        entry.resize(length);
        if (!in.Read(entry.data() + 2, length - 2))
            return false;

        if (type == 0) {
            ++totals.labels;
            if (map == nullptr)
                continue;
            MapLabel label;
            label.code = LabelColour(entry[8]);
            label.level = level;
            label.x = SaturateToInt32(origin.left + BigEndian16(&entry[2]) * origin.scale);
            label.y = SaturateToInt32(origin.top + BigEndian16(&entry[4]) * origin.scale);
            label.text = FieldText(&entry[12], kLabelTextSize);
            map->labels.push_back(std::move(label));
            continue;
        }
        const size_t steps = (length - kPolylineEntrySize) / 2;
        totals.points += 1 + steps;
        if (map == nullptr)
            continue;
        const VectorStyle style = kVectorStyles[type - 1];
        int64_t x = origin.left + BigEndian16(&entry[10]) * origin.scale;
        int64_t y = origin.top + BigEndian16(&entry[12]) * origin.scale;
        map->points.push_back(
            {kMoveCode, style.attributes, level, SaturateToInt32(x), SaturateToInt32(y)});
        for (size_t i = 0; i < steps; ++i) {
            x += (int64_t{entry[kPolylineEntrySize + 2 * i]} - 127) * origin.scale;
            y += (int64_t{entry[kPolylineEntrySize + 2 * i + 1]} - 127) * origin.scale;
            map->points.push_back(
                {style.colour, style.attributes, level, SaturateToInt32(x), SaturateToInt32(y)});
        }
    }
}

int Percent(uint64_t step, uint64_t span) {
    return static_cast<int>(std::min<uint64_t>(100, step * 100 / std::max<uint64_t>(1, span)));
}

// Gives every record its end: the offset of the record that follows it in the file, or the
// end of the file. False when an offset lies inside the header or the record list or beyond
// the end of the file. Of two records at one offset the first is empty, and too short to read.
bool BoundRecords(std::vector<Record>& records, uint64_t listEnd, uint64_t fileSize) {
    std::vector<size_t> order(records.size());
    std::iota(order.begin(), order.end(), size_t{0});
    // By offset; of two records at one offset the one listed first comes first.
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return records[a].begin != records[b].begin ? records[a].begin < records[b].begin : a < b;
    });
    for (size_t i = 0; i < order.size(); ++i) {
        Record& record = records[order[i]];
        if (record.begin < listEnd || record.begin > fileSize)
            return false;
        record.end = i + 1 < order.size() ? records[order[i + 1]].begin : fileSize;
    }
    return true;
}

}  // namespace

bool PocketMapReader::HasTypeAndCreator(MapStream& in) {
    uint8_t typeCreator[8];
    return in.Seek(60) && in.Read(typeCreator, sizeof typeCreator) &&
           std::string_view(reinterpret_cast<const char*>(typeCreator), 8) == "map1pAPR";
}

MapProbe PocketMapReader::Probe(MapStream& in, std::string_view /*path*/) const {
    uint8_t name[32];
    if (!in.Seek(0) || !in.Read(name, sizeof name))
        return {};
    return {true, FieldText(name, sizeof name)};
}

MapReadResult PocketMapReader::Read(MapStream& in, std::string_view path,
                                    MapProgress& progress) const {
    ReadContext ctx{in, path, progress};
    CMapData& map = ctx.map;
    uint8_t head[kDatabaseHeaderSize];
    if (!in.Seek(0) || !in.Read(head, sizeof head))
        return ctx.Fail(kMapEndOfFileText);
    map.formatText = "pocketAPRS";
    map.versionText.clear();
    map.name = std::string(latin1::Trim(FieldText(head, 32)));
    map.headerText = "pocketAPRS";
    map.created = PalmDateToDateTime(BigEndian32(head + 36));
    map.modified = PalmDateToDateTime(BigEndian32(head + 40));

    const uint16_t count = BigEndian16(head + 76);
    if (count == 0)
        return ctx.Fail(kMapNoRecordsText);

    // The record list; the records lie after it, inside the file.
    std::vector<Record> records;
    try {
        records.resize(count);
    } catch (const std::bad_alloc&) {
        return ctx.Fail(kMapRecordListMemoryText);
    }
    const uint64_t listEnd = kDatabaseHeaderSize + kRecordListEntrySize * count;
    for (auto& record : records) {
        uint8_t entry[kRecordListEntrySize];
        if (!in.Read(entry, sizeof entry))
            return ctx.Fail(kMapEndOfFileText);
        record.begin = BigEndian32(entry);
    }
    if (!BoundRecords(records, listEnd, in.size()))
        return ctx.Fail(kMapEndOfFileText);

    uint8_t mapHeader[kMapHeaderRecordSize];
    if (records[0].end - records[0].begin < kMapHeaderRecordSize || !in.Seek(records[0].begin) ||
        !in.Read(mapHeader, sizeof mapHeader)) {
        return ctx.Fail(kMapEndOfFileText);
    }
    map.left = TenthsToMapUnits(BigEndianI32(mapHeader));
    map.right = TenthsToMapUnits(BigEndianI32(mapHeader + 4));
    map.top = TenthsToMapUnits(BigEndianI32(mapHeader + 8));
    map.bottom = TenthsToMapUnits(BigEndianI32(mapHeader + 12));
    const auto scale = static_cast<int16_t>(BigEndian16(mapHeader + 28));
    const Origin origin{map.left, map.top, scale};

    ctx.ShowProgress("Reading PocketAPRS map:");
    const uint64_t span = 2 * uint64_t{count} - 2;
    Totals totals;
    std::vector<uint8_t> entry;
    for (size_t i = 1; i < records.size(); ++i) {
        progress.Step(Percent(i, span));
        if (!WalkRecord(in, records[i], origin, totals, nullptr, entry)) {
            return ctx.Fail(kMapEndOfFileText);
        }
    }
    // The totals are bounded by the file's size (every point or label takes bytes of it).
    try {
        map.points.reserve(totals.points + 1);
        map.labels.reserve(totals.labels);
    } catch (const std::bad_alloc&) {
        return ctx.Fail(kMapTableMemoryText);
    }
    Totals stored;
    for (size_t i = 1; i < records.size(); ++i) {
        progress.Step(Percent(count - 1 + i, span));
        if (!WalkRecord(in, records[i], origin, stored, &map, entry)) {
            return ctx.Fail(kMapEndOfFileText);
        }
    }
    // Closes the last polyline for drawing.
    map.points.push_back(kEndMarker);
    return ctx.Finish();
}

}  // namespace plovane
