// SPDX-License-Identifier: GPL-3.0-or-later
// Latitude/longitude texts: parse anything (results below 1 mean no position), then split
// the result, which must always give a two-digit hundredths text and a hemisphere.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/geo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int32_t colatitude = plovane::ParseLatitude(text);
    const int32_t longitude = plovane::ParseLongitude(text);
    const auto lat = plovane::SplitLatitude(colatitude);
    const auto lon = plovane::SplitLongitude(longitude);
    if (lat.hundredths.size() != 2 || lon.hundredths.size() != 2) std::abort();
    if (lat.hemisphere.size() != 1 || lon.hemisphere.size() != 1) std::abort();
    return 0;
}
