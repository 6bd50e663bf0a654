// What the three family readers share: the read in progress, its failure path, and the
// number helpers that keep every coordinate inside 32 bits whatever the file says.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "core/app_host.h"
#include "maps/map_data.h"
#include "maps/map_reader.h"
#include "maps/map_stream.h"

namespace plovane::map_reader {

// Thread-compatible: one read on one thread.
struct ReadContext {
    CMapData& map;
    MapStream& in;
    AppHost& host;
    std::string_view path;
    bool progressShown = false;

    void ShowProgress(std::string_view text) {
        host.ShowProgress(text);
        progressShown = true;
    }
    // Every failure: hide the indicator, show the text, leave nothing of the partial map.
    void Fail(std::string_view text) {
        if (progressShown) {
            host.HideProgress();
            progressShown = false;
        }
        host.MessageBox(text, MessageBoxIcon::kExclamation);
        map.Clear();
    }
    void Finish() {
        if (progressShown) {
            host.SetProgress(100);
            host.HideProgress();
            progressShown = false;
        }
        map.loaded = true;
        map.fitted = false;
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

// The title a text map gets from its path: "ROADS.MAP" in LineFormat -> "ROADS (DL)".
std::string TextMapTitle(std::string_view path, std::string_view keyword);

// Family readers; each ends with ctx.Finish() or ctx.Fail(...).
void ReadTextMap(ReadContext& ctx);
void ReadBinaryMap(ReadContext& ctx);
void ReadPocketMap(ReadContext& ctx);

// Recognisers, each reading from the start of the stream.
MapProbe ProbeTextMap(MapStream& in, std::string_view path);

}  // namespace plovane::map_reader
