// SPDX-License-Identifier: GPL-3.0-or-later
// The five timing slots of the own station's transmissions: each has a delay, a multiplier
// and a cap, fires when its time comes and re-arms itself with delay x multiplier (capped),
// so a fixed station beacons quickly after start-up and then ever more rarely. Every
// interval gets a jitter of up to five seconds either way from the MSVC-style generator.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/date_time.h"
#include "core/msvc_rand.h"

namespace plovane {

// Slot numbers.
inline constexpr int kPositionSlot = 0;
inline constexpr int kStatusSlot = 1;
inline constexpr int kMessageSlot = 2;
inline constexpr int kSpareSlot = 3;
inline constexpr int kDigipeatCheckSlot = 4;
inline constexpr int kSlotCount = 5;

// A disarmed slot is due this many days from when it was disarmed (200 years).
inline constexpr int32_t kDisarmedDays = 73050;
// The longest single wait of the output thread, in seconds (fits 32-bit milliseconds).
inline constexpr int kMaxWaitSeconds = 2147483;

// Thread-compatible: pure state driven by the "now" the caller passes in; the output
// scheduler guards it with its slot lock.
class ScheduleSlots {
  public:
    struct Slot {
        float delay = 0.0f;  // minutes until the next firing after this one
        float multiplier = 0.0f;
        float cap = 0.0f;  // minutes
        CDateTime nextTime;
        uint64_t generation = 0;  // counts the armings, so a firing cannot undo a newer arming
    };

    // Every slot disarmed as of now; the generator seeded as given.
    ScheduleSlots(CDateTime now, uint32_t seed);

    // The seed of the jitter generator derived from the local time at start-up.
    static uint32_t SeedFromLocalTime(const CDateTime& localNow);

    // Stores the values; with delay >= 0, multiplier > 0 and cap > 0 the slot comes due after
    // the delay's whole minutes plus trunc(r + fraction x 60 - 5) seconds, r = rand x 10 / 32767
    // (0..10); otherwise it is disarmed.
    void Arm(int slot, float delay, float multiplier, float cap, const CDateTime& now);

    // Whole seconds until the earliest slot is due: at least 1, at most kMaxWaitSeconds.
    int WaitSeconds(const CDateTime& now) const;

    bool IsDue(int slot, const CDateTime& now) const;

    // Re-arms a slot that has just fired, unless it was armed again since `generation` was
    // read: delay x multiplier, at most the cap. The digipeat check disarms itself (0, 0, 0).
    void RearmAfterFiring(int slot, uint64_t generation, const CDateTime& now);

    // One pass over the slots 0..4: each due slot is re-armed at once; returns the slots that
    // fired, in order. (The scheduler itself runs each slot's action between the two steps.)
    std::vector<int> FireDue(const CDateTime& now);

    const Slot& slot(int slot) const { return slots_[Index(slot)]; }

  private:
    static size_t Index(int slot);

    std::array<Slot, kSlotCount> slots_;
    MsvcRand rand_;
};

// Whole seconds from `from` to `to`, rounded: the clocks give whole seconds, and the date
// arithmetic must not let a float hair delay a due slot by a second.
int64_t SecondsBetween(const CDateTime& from, const CDateTime& to);

}  // namespace plovane
