// SPDX-License-Identifier: GPL-3.0-or-later
// Track playback of the History window: where each station was at a moment of the chosen
// period, the slider that stands for that period, and the clock that moves along it at a
// chosen speed. Pure logic; the window and the map view draw it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "history/history_store.h"

namespace plovane {

struct HistoryTrack {
    std::string call;
    std::vector<PositionSample> samples;  // in time order
};

// A station at a moment: its last position reported at or before it.
struct PlaybackMark {
    std::string call;
    PositionSample at;
    bool operator==(const PlaybackMark&) const = default;
};

// The stations that had reported by `utc`, each at its last position then; a station is
// not shown before its first report in the period.
std::vector<PlaybackMark> PositionsAt(const std::vector<HistoryTrack>& tracks, int64_t utc);

// What the map draws of the history: stations at a moment and whole tracks.
struct HistoryOverlay {
    std::vector<PlaybackMark> marks;
    std::vector<HistoryTrack> tracks;
    bool empty() const { return marks.empty() && tracks.empty(); }
};

// The area between two corners given in map units (longitude, colatitude), whichever
// way the rectangle was dragged.
HistoryArea AreaBetween(int32_t longitudeA, int32_t colatitudeA, int32_t longitudeB,
                        int32_t colatitudeB);

// The speeds the play button offers: real time up to an hour a second.
inline constexpr int kPlaybackSpeeds[] = {1, 10, 60, 600, 3600};

// The slider over a period: `steps` positions from its start to its end, and the moment of
// playback. Thread-affine to its window.
class PlaybackClock {
  public:
    static constexpr int kSteps = 1000;

    explicit PlaybackClock(HistoryPeriod period = {0, 0}) { SetPeriod(period); }
    // A new period starts playback at its beginning.
    void SetPeriod(HistoryPeriod period);
    const HistoryPeriod& period() const { return period_; }

    int64_t now() const { return nowUtc_; }
    // Jumps to a moment (clamped to the period).
    void JumpTo(int64_t utc);
    // The slider position of the moment, 0..kSteps, and the moment of a slider position.
    int SliderPosition() const;
    int64_t TimeAtSlider(int position) const;

    // Moves on by `elapsedMs` of wall time at `speed` times real time; false once the end
    // of the period is reached (playback stops there). Fractions of a second carry over.
    bool Advance(int64_t elapsedMs, int speed);

  private:
    HistoryPeriod period_;
    int64_t nowUtc_ = 0;
    int64_t carryMs_ = 0;  // played milliseconds not yet a whole second
};

}  // namespace plovane
