// SPDX-License-Identifier: GPL-3.0-or-later
// Where "now" comes from. Everything that keeps or schedules time reads it through a Clock,
// so tests can fix and advance time without sleeping.
#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>
#include <mutex>

#include "core/date_time.h"

namespace plovane {

// Thread-safe: implementations may be called from any thread.
class Clock {
  public:
    virtual ~Clock() = default;
    // Local wall-clock time, whole seconds.
    virtual CDateTime Now() const = 0;
    // Minutes to add to local time to get UTC now (daylight saving included).
    virtual int BiasMinutes() const = 0;
    // A monotonic millisecond count for measuring intervals.
    virtual int64_t TickMs() const = 0;

    CDateTime UtcNow() const { return Now() + CDateTimeSpan(0, 0, BiasMinutes(), 0); }
};

// The bias (UTC = local + bias minutes) of the C library's current time zone at `t`,
// daylight saving included; 0 when the zone is unknown (it is then UTC).
int BiasMinutesAt(std::time_t t);

// The host's clock: localtime_r for now, the zone's offset at this instant for the bias.
// The zone (TZ, /etc/localtime) is read once and again at most once a minute, and so is the
// bias: reading it per packet would cost a file-system call each time. The local time of the
// current second is kept, since every line decoded asks for it.
// Thread-safe: the C library's time-zone state is read under one lock, since tzset() rewrites
// it and decoding threads ask for the time at once.
class SystemClock final : public Clock {
  public:
    CDateTime Now() const override;
    int BiasMinutes() const override;
    int64_t TickMs() const override;

  private:
    mutable std::mutex timeZoneMutex_;
    // Guarded by timeZoneMutex_:
    mutable bool zoneRead_ = false;
    mutable std::time_t zoneReadAt_ = 0;  // when the zone and bias were read
    mutable int bias_ = 0;
    mutable std::time_t nowAt_ = -1;  // the second `now_` is the local time of
    mutable CDateTime now_;
};

// A clock that stands still until told to move.
// Thread-safe: the time is kept under a mutex.
class FakeClock final : public Clock {
  public:
    explicit FakeClock(CDateTime start = CDateTime(2026, 1, 1, 12, 0, 0), int biasMinutes = 0)
        : now_(start), bias_(biasMinutes) {}

    CDateTime Now() const override {
        std::lock_guard lock(mutex_);
        return now_;
    }
    int BiasMinutes() const override { return bias_.load(); }
    int64_t TickMs() const override {
        std::lock_guard lock(mutex_);
        return tickMs_;
    }

    void Set(CDateTime now) {
        std::lock_guard lock(mutex_);
        now_ = now;
    }
    void SetBias(int minutes) { bias_ = minutes; }
    // Moves both the wall clock and the tick count forward.
    void AdvanceMs(int64_t ms) {
        std::lock_guard lock(mutex_);
        tickMs_ += ms;
        subSecondMs_ += ms;
        const int64_t seconds = subSecondMs_ / 1000;
        subSecondMs_ %= 1000;
        now_ += CDateTimeSpan(static_cast<double>(seconds) / 86400.0);
    }
    void AdvanceSeconds(int64_t seconds) { AdvanceMs(seconds * 1000); }

  private:
    mutable std::mutex mutex_;
    CDateTime now_;
    std::atomic<int> bias_;
    int64_t tickMs_ = 0;
    int64_t subSecondMs_ = 0;
};

}  // namespace plovane
