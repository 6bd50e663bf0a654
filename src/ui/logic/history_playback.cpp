// SPDX-License-Identifier: GPL-3.0-or-later
// Where stations were during playback, and the playback clock.
#include "ui/logic/history_playback.h"

#include <algorithm>

namespace plovane {

std::vector<PlaybackMark> PositionsAt(const std::vector<HistoryTrack>& tracks, int64_t utc) {
    std::vector<PlaybackMark> marks;
    for (const HistoryTrack& track : tracks) {
        const auto after =
            std::upper_bound(track.samples.begin(), track.samples.end(), utc,
                             [](int64_t t, const PositionSample& p) { return t < p.utc; });
        if (after != track.samples.begin())
            marks.push_back({track.call, *std::prev(after)});
    }
    return marks;
}

HistoryArea AreaBetween(int32_t longitudeA, int32_t colatitudeA, int32_t longitudeB,
                        int32_t colatitudeB) {
    // Colatitude grows southward: the north edge is the smaller one.
    return {std::min(colatitudeA, colatitudeB), std::max(colatitudeA, colatitudeB),
            std::min(longitudeA, longitudeB), std::max(longitudeA, longitudeB)};
}

void PlaybackClock::SetPeriod(HistoryPeriod period) {
    // Far beyond any history, and small enough that slider arithmetic cannot overflow.
    constexpr int64_t kLimit = int64_t{1} << 40;
    period.fromUtc = std::clamp(period.fromUtc, -kLimit, kLimit);
    period.toUtc = std::clamp(period.toUtc, -kLimit, kLimit);
    if (period.toUtc < period.fromUtc)
        std::swap(period.fromUtc, period.toUtc);
    period_ = period;
    nowUtc_ = period.fromUtc;
    carryMs_ = 0;
}

void PlaybackClock::JumpTo(int64_t utc) {
    nowUtc_ = std::clamp(utc, period_.fromUtc, period_.toUtc);
    carryMs_ = 0;
}

int PlaybackClock::SliderPosition() const {
    const int64_t length = period_.toUtc - period_.fromUtc;
    if (length <= 0)
        return 0;
    // Rounded to the nearest step.
    const int64_t offset = nowUtc_ - period_.fromUtc;
    return static_cast<int>((offset * kSteps + length / 2) / length);
}

int64_t PlaybackClock::TimeAtSlider(int position) const {
    const int64_t length = period_.toUtc - period_.fromUtc;
    const int64_t step = std::clamp(position, 0, kSteps);
    return period_.fromUtc + (length * step + kSteps / 2) / kSteps;
}

bool PlaybackClock::Advance(int64_t elapsedMs, int speed) {
    if (nowUtc_ >= period_.toUtc)
        return false;
    carryMs_ += std::max<int64_t>(elapsedMs, 0) * std::clamp(speed, 1, 3600);
    const int64_t seconds = carryMs_ / 1000;
    carryMs_ %= 1000;
    nowUtc_ = std::min(nowUtc_ + seconds, period_.toUtc);
    return nowUtc_ < period_.toUtc;
}

}  // namespace plovane
