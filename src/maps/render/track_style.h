// SPDX-License-Identifier: GPL-3.0-or-later
// How tracks look: a colour per station taken from its call (so it stays the same from run to
// run and from drawing to drawing), from a palette that reads on the light day map, tiles and
// the dark night map; the own track wider and in a colour no other track has. Older parts of
// a track fade: the opacity follows where a point lies in the track's time span.
#pragma once

#include <QColor>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "maps/render/render_resources.h"

namespace plovane {

inline constexpr int kTrackPaletteSize = 16;
inline constexpr std::array<Rgb, kTrackPaletteSize> kTrackPalette{{
    {0, 130, 200},
    {60, 170, 60},
    {245, 130, 48},
    {170, 70, 210},
    {0, 160, 160},
    {220, 60, 200},
    {150, 150, 0},
    {170, 110, 40},
    {90, 90, 230},
    {120, 160, 40},
    {0, 150, 90},
    {190, 40, 140},
    {60, 120, 170},
    {210, 160, 0},
    {120, 90, 200},
    {230, 80, 120},
}};
inline constexpr Rgb kOwnTrackColour{255, 0, 0};
// Line widths and the diameter of the dot at each reported position, pixels.
inline constexpr int kTrackWidth = 2;
inline constexpr int kOwnTrackWidth = 4;
inline constexpr int kTrackDot = 5;
inline constexpr int kOwnTrackDot = 7;
// Fading runs in this many steps, so a track is drawn as a few polylines, not one per segment.
inline constexpr int kTrackFadeSteps = 8;
// The opacity of the oldest step; the newest step is solid.
inline constexpr int kOldestTrackAlpha = 56;

// The palette entry of a call. The SSIDs of one call (a person's car, handheld and home
// station often travel together) all get different entries.
int TrackColourIndex(std::string_view call);
QColor TrackColour(std::string_view call, bool own);

// The fade step (0 oldest .. kTrackFadeSteps - 1 newest) of each point of a track given
// newest first by the seconds each was heard. A track whose points share one time fades by
// their order instead.
std::vector<uint8_t> TrackFadeSteps(const std::vector<int32_t>& heardSeconds);
int TrackAlpha(int step);

}  // namespace plovane
