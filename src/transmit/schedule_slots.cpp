// SPDX-License-Identifier: GPL-3.0-or-later
// The decaying transmit schedule of the five slots.
#include "transmit/schedule_slots.h"

#include <algorithm>
#include <cmath>

namespace plovane {
namespace {

constexpr double kDisarmedMinutes = kDisarmedDays * 1440.0;

bool IsValidSlot(int slot) {
    return slot >= 0 && slot < kSlotCount;
}

}  // namespace

int64_t SecondsBetween(const CDateTime& from, const CDateTime& to) {
    return std::llround((to - from).value() * 86400.0);
}

ScheduleSlots::ScheduleSlots(CDateTime now, uint32_t seed) : rand_(seed) {
    for (Slot& s : slots_)
        s.nextTime = now + CDateTimeSpan(kDisarmedDays, 0, 0, 0);
}

uint32_t ScheduleSlots::SeedFromLocalTime(const CDateTime& localNow) {
    const int day = std::max(localNow.Day(), 0);
    const int hour = std::max(localNow.Hour(), 0);
    const int minute = std::max(localNow.Minute(), 0);
    const int second = std::max(localNow.Second(), 0);
    return static_cast<uint32_t>(((day * 100 + hour) * 100 + minute) * 100 + second);
}

size_t ScheduleSlots::Index(int slot) {
    return static_cast<size_t>(std::clamp(slot, 0, kSlotCount - 1));
}

void ScheduleSlots::Arm(int slot, float delay, float multiplier, float cap, const CDateTime& now) {
    if (!IsValidSlot(slot))
        return;
    Slot& s = slots_[Index(slot)];
    s.delay = delay;
    s.multiplier = multiplier;
    s.cap = cap;
    ++s.generation;
    if (delay >= 0.0f && multiplier > 0.0f && cap > 0.0f) {
        // Jitter: r is 0..10, so the offset runs from five seconds early to five late.
        const int r = rand_.Next() * 10 / MsvcRand::kMax;
        // An absurd delay (or infinity) from a hand-edited setting waits as long as a
        // disarmed slot rather than overflowing the minute count.
        const double minutes = std::min(static_cast<double>(delay), kDisarmedMinutes);
        const double whole = std::floor(minutes);
        const double fraction = minutes - whole;
        const auto seconds = static_cast<int32_t>(r + fraction * 60.0 - 5.0);
        s.nextTime = now + CDateTimeSpan(0, 0, static_cast<int32_t>(whole), seconds);
    } else {
        s.nextTime = now + CDateTimeSpan(kDisarmedDays, 0, 0, 0);
    }
}

int ScheduleSlots::WaitSeconds(const CDateTime& now) const {
    int64_t shortest = static_cast<int64_t>(kDisarmedDays) * 86400;
    for (const Slot& s : slots_)
        shortest = std::min(shortest, SecondsBetween(now, s.nextTime));
    return static_cast<int>(std::clamp<int64_t>(shortest, 1, kMaxWaitSeconds));
}

bool ScheduleSlots::IsDue(int slot, const CDateTime& now) const {
    return IsValidSlot(slot) && SecondsBetween(now, slots_[Index(slot)].nextTime) <= 0;
}

void ScheduleSlots::RearmAfterFiring(int slot, uint64_t generation, const CDateTime& now) {
    if (!IsValidSlot(slot))
        return;
    const Slot& s = slots_[Index(slot)];
    if (s.generation != generation)
        return;
    if (slot == kDigipeatCheckSlot) {
        Arm(slot, 0.0f, 0.0f, 0.0f, now);
        return;
    }
    const float next = std::min(s.delay * s.multiplier, s.cap);
    Arm(slot, next, s.multiplier, s.cap, now);
}

std::vector<int> ScheduleSlots::FireDue(const CDateTime& now) {
    std::vector<int> fired;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (!IsDue(slot, now))
            continue;
        fired.push_back(slot);
        RearmAfterFiring(slot, slots_[Index(slot)].generation, now);
    }
    return fired;
}

}  // namespace plovane
