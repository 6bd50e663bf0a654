// SPDX-License-Identifier: GPL-3.0-or-later
// Track colours and fading.
#include "maps/render/track_style.h"

#include <algorithm>

namespace plovane {

int TrackColourIndex(std::string_view call) {
    // "N0CALL-9": the base call picks the entry, the SSID steps from it by a stride prime to
    // the palette's size, so the sixteen SSIDs of one call take sixteen entries.
    std::string_view base = call;
    int ssid = 0;
    if (const size_t dash = call.rfind('-'); dash != std::string_view::npos) {
        const std::string_view digits = call.substr(dash + 1);
        if (!digits.empty() && digits.size() <= 2 &&
            std::all_of(digits.begin(), digits.end(),
                        [](char c) { return c >= '0' && c <= '9'; })) {
            base = call.substr(0, dash);
            for (char c : digits)
                ssid = ssid * 10 + (c - '0');
        }
    }
    uint32_t hash = 2166136261u;  // FNV-1a
    for (char c : base) {
        const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        hash = (hash ^ static_cast<uint8_t>(upper)) * 16777619u;
    }
    hash ^= hash >> 15;  // the low bits of FNV-1a follow the last byte too closely
    hash *= 0x2c1b3c6du;
    hash ^= hash >> 12;
    return static_cast<int>((hash + static_cast<uint32_t>(ssid) * 5u) % kTrackPaletteSize);
}

QColor TrackColour(std::string_view call, bool own) {
    return ToQColor(own ? kOwnTrackColour : kTrackPalette[TrackColourIndex(call)]);
}

std::vector<uint8_t> TrackFadeSteps(const std::vector<int32_t>& heardSeconds) {
    const size_t n = heardSeconds.size();
    std::vector<uint8_t> steps(n, kTrackFadeSteps - 1);
    if (n < 2)
        return steps;
    const auto [oldest, newest] = std::minmax_element(heardSeconds.begin(), heardSeconds.end());
    const int64_t span = int64_t{*newest} - *oldest;
    for (size_t i = 0; i < n; ++i) {
        // Where the point lies between the oldest (0) and the newest (1).
        const double place = span > 0 ? double(int64_t{heardSeconds[i]} - *oldest) / double(span)
                                      : 1.0 - double(i) / double(n - 1);
        steps[i] = static_cast<uint8_t>(std::clamp(
            static_cast<int>(place * (kTrackFadeSteps - 1) + 0.5), 0, kTrackFadeSteps - 1));
    }
    return steps;
}

int TrackAlpha(int step) {
    const int s = std::clamp(step, 0, kTrackFadeSteps - 1);
    return kOldestTrackAlpha + (255 - kOldestTrackAlpha) * s / (kTrackFadeSteps - 1);
}

}  // namespace plovane
