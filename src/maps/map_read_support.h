// SPDX-License-Identifier: GPL-3.0-or-later
// What the three family readers share: the read in progress and its two endings, and the
// number helpers that keep every coordinate inside 32 bits whatever the file says.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "maps/map_data.h"
#include "maps/map_reader.h"
#include "maps/map_stream.h"

namespace plovane::map_reader {

// Thread-compatible: one read on one thread.
struct ReadContext {
    ReadContext(MapStream& stream, std::string_view filePath, MapProgress& sink)
        : in(stream), path(filePath), progress(sink) {}

    MapStream& in;
    std::string_view path;
    MapProgress& progress;
    CMapData map;
    bool progressShown = false;

    void ShowProgress(std::string_view text) {
        progress.Begin(text);
        progressShown = true;
    }
    // Every failure: hide the indicator and give the text with the empty map.
    MapReadResult Fail(std::string_view text) {
        if (progressShown) {
            progress.End();
            progressShown = false;
        }
        return {CMapData{}, std::string(text)};
    }
    MapReadResult Finish() {
        if (progressShown) {
            progress.Step(100);
            progress.End();
            progressShown = false;
        }
        map.loaded = true;
        map.fitted = false;
        return {std::move(map), {}};
    }
};

// The value clamped into 32 bits (NaN becomes 0): files may claim anything.
inline int32_t SaturateToInt32(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}
inline int32_t TruncateToInt32(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

// Tenths of an arc-second (binary and PDB files) to map units.
inline int32_t TenthsToMapUnits(int32_t tenths) {
    return SaturateToInt32(static_cast<int64_t>(tenths) * 10);
}

}  // namespace plovane::map_reader
