// SPDX-License-Identifier: GPL-3.0-or-later
// Builders for small map files in memory, and a one-call read that records its progress.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "maps/map_data.h"
#include "maps/map_file.h"

namespace plovane::testing {

// Big-endian byte strings.
class Bytes {
  public:
    Bytes& U8(uint32_t v) {
        data_.push_back(static_cast<char>(v));
        return *this;
    }
    Bytes& U16(uint32_t v) { return U8(v >> 8).U8(v); }
    Bytes& U32(uint32_t v) { return U16(v >> 16).U16(v); }
    Bytes& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
    Bytes& Zeros(size_t n) {
        data_.append(n, '\0');
        return *this;
    }
    // A text field of exactly `size` bytes, NUL-padded.
    Bytes& Text(const std::string& text, size_t size) {
        std::string field = text.substr(0, size);
        field.resize(size, '\0');
        data_ += field;
        return *this;
    }
    Bytes& Raw(const std::string& raw) {
        data_ += raw;
        return *this;
    }
    const std::string& str() const { return data_; }

  private:
    std::string data_;
};

// The 256-byte header of a binary map; counts as declared, whatever follows.
struct BinaryHeader {
    std::string magic = "APRS";
    std::string version = "1.00";
    std::string name = "Test Map";
    std::string header = "HDR";
    uint32_t date = 0;
    int32_t left = 1000, right = 2000, top = 3000, bottom = 4000;  // tenths of an arc-second
    int32_t points = 0, labels = 0;

    Bytes Build() const {
        Bytes b;
        b.Raw((magic + "    ").substr(0, 4)).Raw((version + "    ").substr(0, 4)).Zeros(32);
        b.Text(name, 32).Text(header, 8).U32(date);
        b.I32(left).I32(right).I32(top).I32(bottom).Zeros(8).I32(points).I32(labels).Zeros(140);
        return b;
    }
};

inline void AddBinaryPoint(Bytes& b, uint8_t code, uint8_t attributes, int32_t x, int32_t y) {
    b.U8(code).U8(attributes).I32(x).I32(y);
}
inline void AddBinaryLabel(Bytes& b, uint8_t code, int32_t x, int32_t y, uint16_t level,
                           const std::string& text) {
    b.U8(code).U8(0).I32(x).I32(y).U16(level).Text(text, 32);
}

// A Palm database of type "map1", creator "pAPR", its records in list order.
struct PdbFile {
    std::string name = "Pocket Test";
    uint32_t created = 0;
    uint32_t modified = 0;
    std::vector<std::string> records{};

    std::string Build() const {
        Bytes b;
        b.Text(name, 32).Zeros(4).U32(created).U32(modified).Zeros(16);
        b.Raw("map1pAPR").Zeros(8).U16(static_cast<uint32_t>(records.size()));
        uint32_t offset = static_cast<uint32_t>(78 + 8 * records.size() + 2);
        for (const std::string& record : records) {
            b.U32(offset).Zeros(4);
            offset += static_cast<uint32_t>(record.size());
        }
        b.Zeros(2);
        for (const std::string& record : records)
            b.Raw(record);
        return b.str();
    }
};

// Record 0: box in tenths of an arc-second and the scale (map units per step).
inline std::string PdbMapHeader(int32_t left, int32_t right, int32_t top, int32_t bottom,
                                int16_t scale) {
    Bytes b;
    b.I32(left).I32(right).I32(top).I32(bottom).Zeros(12);
    return b.U16(static_cast<uint16_t>(scale)).Zeros(35).str();
}

inline std::string PdbRecordHead(uint8_t type, uint16_t level) {
    return Bytes().U8(type).U8(0).U16(level).str();
}

inline std::string PdbLabel(uint16_t x, uint16_t y, uint8_t font, const std::string& text) {
    return Bytes().U16(32).U16(x).U16(y).Zeros(2).U8(font).Zeros(3).Text(text, 20).str();
}

// A polyline from (x0, y0) with raw step bytes (127 = no move).
inline std::string PdbPolyline(uint16_t x0, uint16_t y0,
                               const std::vector<std::pair<uint8_t, uint8_t>>& steps) {
    Bytes b;
    b.U16(static_cast<uint32_t>(14 + 2 * steps.size())).Zeros(8).U16(x0).U16(y0);
    for (auto [dx, dy] : steps)
        b.U8(dx).U8(dy);
    return b.str();
}

// Every report of a read: notices apart, the indicator as "show:<title>", "<percent>", "hide".
class RecordingProgress final : public MapProgress {
  public:
    void Notice(std::string_view text) override { notices.emplace_back(text); }
    void Begin(std::string_view title) override { steps.push_back("show:" + std::string(title)); }
    void Step(int percent) override { steps.push_back(std::to_string(percent)); }
    void End() override { steps.emplace_back("hide"); }

    std::vector<std::string> notices;
    std::vector<std::string> steps;
};

// A map read from bytes, with what the read reported.
struct ReadOutcome {
    RecordingProgress progress;
    MapReadResult result;
    const CMapData& map = result.map;

    explicit ReadOutcome(const std::string& bytes) {
        std::istringstream in(bytes);
        result = ReadMapFile(in, "/maps/TEST.MAP", progress);
    }
    const std::string& Error() const { return result.error; }
};

// A failed read leaves no map behind, and never the progress indicator showing.
inline void ExpectFailedRead(const ReadOutcome& r, const std::string& error) {
    EXPECT_FALSE(r.map.loaded);
    EXPECT_EQ(r.Error(), error);
    EXPECT_TRUE(r.map.points.empty());
    EXPECT_TRUE(r.map.labels.empty());
    if (!r.progress.steps.empty()) {
        EXPECT_EQ(r.progress.steps.back(), "hide");
    }
}

inline MapProbe Probe(const std::string& bytes) {
    std::istringstream in(bytes);
    return ProbeMapFile(in, "/maps/TEST.MAP");
}

}  // namespace plovane::testing
