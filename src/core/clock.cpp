// SPDX-License-Identifier: GPL-3.0-or-later
// The host's clock.
#include "core/clock.h"

#include <chrono>
#include <ctime>

namespace plovane {

CDateTime SystemClock::Now() const {
    const std::time_t t = std::time(nullptr);
    std::lock_guard lock(timeZoneMutex_);
    if (t != nowAt_) {
        std::tm local{};
        localtime_r(&t, &local);
        now_ = CDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                         local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec);
        nowAt_ = t;
    }
    return now_;
}

int BiasMinutesAt(std::time_t t) {
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr)
        return static_cast<int>(timezone / 60);
    // tm_gmtoff is seconds east of UTC; the bias runs the other way.
    return static_cast<int>(-local.tm_gmtoff / 60);
}

int SystemClock::BiasMinutes() const {
    constexpr std::time_t kZoneReadIntervalSeconds = 60;
    const std::time_t t = std::time(nullptr);
    std::lock_guard lock(timeZoneMutex_);
    // A clock set back reads the zone again at once.
    if (!zoneRead_ || t - zoneReadAt_ >= kZoneReadIntervalSeconds || t < zoneReadAt_) {
        tzset();
        bias_ = BiasMinutesAt(t);
        zoneRead_ = true;
        zoneReadAt_ = t;
        nowAt_ = -1;  // the zone may have changed the local time
    }
    return bias_;
}

int64_t SystemClock::TickMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace plovane
