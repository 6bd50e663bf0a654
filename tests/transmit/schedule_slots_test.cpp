#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "transmit/schedule_slots.h"

namespace plovane {
namespace {

const CDateTime kStart(2026, 3, 14, 12, 0, 0);

CDateTime At(int64_t seconds) {
    return kStart + CDateTimeSpan(0, 0, 0, static_cast<int32_t>(seconds));
}

int64_t Offset(const ScheduleSlots& slots, int slot) {
    return SecondsBetween(kStart, slots.slot(slot).nextTime);
}

TEST(ScheduleSlots, JitterFollowsTheGeneratorSequence) {
    // Seed 1 draws 41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, so r = rand x 10 / 32767
    // runs 0, 5, 1, 8, 5, 4, 3, 8. Disarming draws nothing.
    ScheduleSlots slots(kStart, 1);
    struct Step {
        int slot;
        float delay, multiplier, cap;
        int64_t expectedSeconds;  // from kStart
    } steps[] = {
        {0, 0.075f, 1, 1, 0},  // r 0: 0 + 4.5 - 5 = -0.5, truncated toward zero
        {1, -1, 1, 1, int64_t{kDisarmedDays} * 86400},
        {1, 0.25f, 2, 30, 15},                             // r 5: 5 + 15 - 5
        {2, 2.5f, 1, 2.5f, 146},                           // r 1: 2 min + (1 + 30 - 5) s
        {3, 30, 2, 30, 1803},                              // r 8
        {4, 0, 1, 1, 0},                                   // r 5: 5 + 0 - 5
        {0, 1, 2, 30, 59},                                 // r 4: 1 min - 1 s
        {0, 0.5f, 2, 30, 28},                              // r 3
        {0, 0.25f, 2, 0, int64_t{kDisarmedDays} * 86400},  // cap 0 disarms
        {0, 0.25f, 2, 30, 18},                             // r 8
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(::testing::Message() << "slot " << s.slot << " delay " << s.delay);
        slots.Arm(s.slot, s.delay, s.multiplier, s.cap, kStart);
        EXPECT_EQ(Offset(slots, s.slot), s.expectedSeconds);
    }
}

TEST(ScheduleSlots, SeedIsDayHourMinuteSecondOfLocalTime) {
    EXPECT_EQ(ScheduleSlots::SeedFromLocalTime(CDateTime(2026, 12, 31, 23, 59, 59)), 31235959u);
}

TEST(ScheduleSlots, WaitIsTheShortestSlotClampedToOneSecondAndTheLongestWait) {
    ScheduleSlots slots(kStart, 1);
    EXPECT_EQ(slots.WaitSeconds(kStart), kMaxWaitSeconds);  // all disarmed: 200 years away
    slots.Arm(kSpareSlot, 30, 2, 30, kStart);               // r 0: 29 min 55 s
    EXPECT_EQ(slots.WaitSeconds(kStart), 1795);
    slots.Arm(kStatusSlot, 0.25f, 2, 30, kStart);  // r 5: 15 s
    EXPECT_EQ(slots.WaitSeconds(kStart), 15);
    EXPECT_EQ(slots.WaitSeconds(At(14)), 1);
    EXPECT_EQ(slots.WaitSeconds(At(15)), 1);   // due now
    EXPECT_EQ(slots.WaitSeconds(At(400)), 1);  // overdue
    EXPECT_FALSE(slots.IsDue(kStatusSlot, At(14)));
    EXPECT_TRUE(slots.IsDue(kStatusSlot, At(15)));
    EXPECT_FALSE(slots.IsDue(kSpareSlot, At(15)));
}

// A day stepped through second by second as the output thread would: the fixed rate decays
// to half-hourly, the digipeat check fires once and disarms.
TEST(ScheduleSlots, FiringADayDecaysTheRateAndTheDigipeatCheckFiresOnce) {
    ScheduleSlots slots(kStart, 14120000);
    slots.Arm(kPositionSlot, 0.25f, 2, 30, kStart);
    slots.Arm(kDigipeatCheckSlot, 0.25f, 1, 0.25f, kStart);
    std::vector<int64_t> positions;
    std::vector<int64_t> checks;
    for (int64_t s = 1; s <= 86400; ++s) {
        for (int slot : slots.FireDue(At(s)))
            (slot == kPositionSlot ? positions : checks).push_back(s);
    }
    ASSERT_EQ(checks.size(), 1u);
    EXPECT_NEAR(checks[0], 15, 5);
    EXPECT_EQ(slots.slot(kDigipeatCheckSlot).cap, 0.0f);

    // 15 s, 30 s, 1, 2, 4, 8, 16 minutes, then every 30 minutes, each +-5 s.
    const int64_t nominal[] = {15, 30, 60, 120, 240, 480, 960, 1800};
    ASSERT_GT(positions.size(), 50u);
    int64_t previous = 0;
    for (size_t i = 0; i < positions.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(positions[i] - previous, nominal[std::min<size_t>(i, 7)], 5);
        previous = positions[i];
    }
    EXPECT_EQ(slots.slot(kPositionSlot).delay, 30.0f);
}

TEST(ScheduleSlots, FiringDoesNotUndoAnArmingMadeMeanwhile) {
    ScheduleSlots slots(kStart, 1);
    slots.Arm(kPositionSlot, 0.25f, 2, 30, kStart);
    slots.Arm(kPositionSlot, 8, 2, 30, kStart);
    // Slot fired at 10 s (seen due with this generation)...
    const uint64_t seen = slots.slot(kPositionSlot).generation;
    // ...while the settings were accepted and the schedule restarted.
    slots.Arm(kPositionSlot, 0.25f, 2, 30, At(10));
    slots.RearmAfterFiring(kPositionSlot, seen, At(10));
    EXPECT_EQ(slots.slot(kPositionSlot).delay, 0.25f);
    // Without an arming in between the delay doubles.
    slots.RearmAfterFiring(kPositionSlot, slots.slot(kPositionSlot).generation, At(10));
    EXPECT_EQ(slots.slot(kPositionSlot).delay, 0.5f);
}

TEST(ScheduleSlots, BadSlotNumbersAndAbsurdDelaysAreHarmless) {
    ScheduleSlots slots(kStart, 1);
    slots.Arm(-1, 1, 1, 1, kStart);
    slots.Arm(kSlotCount, 1, 1, 1, kStart);
    EXPECT_FALSE(slots.IsDue(kSlotCount, At(1000000)));
    EXPECT_EQ(slots.WaitSeconds(kStart), kMaxWaitSeconds);
    // An infinite or huge delay waits like a disarmed slot instead of overflowing.
    slots.Arm(kPositionSlot, 1e30f, 1, 1e30f, kStart);
    EXPECT_GT(Offset(slots, kPositionSlot), int64_t{kDisarmedDays} * 86400 - 10);
    slots.Arm(kPositionSlot, std::numeric_limits<float>::quiet_NaN(), 1, 1, kStart);
    EXPECT_EQ(Offset(slots, kPositionSlot), int64_t{kDisarmedDays} * 86400);
}

}  // namespace
}  // namespace plovane
