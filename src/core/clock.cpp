// The host's clock.
#include "core/clock.h"

#include <chrono>
#include <ctime>

namespace plovane {

CDateTime SystemClock::Now() const {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    {
        std::lock_guard lock(timeZoneMutex_);
        localtime_r(&t, &local);
    }
    return CDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                     local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec);
}

int BiasMinutesAt(std::time_t t) {
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr)
        return static_cast<int>(timezone / 60);
    // tm_gmtoff is seconds east of UTC; the bias runs the other way.
    return static_cast<int>(-local.tm_gmtoff / 60);
}

int SystemClock::BiasMinutes() const {
    constexpr int64_t kZoneReadIntervalMs = 60000;
    const int64_t tick = TickMs();
    std::lock_guard lock(timeZoneMutex_);
    if (!zoneRead_ || tick - zoneReadMs_ >= kZoneReadIntervalMs) {
        tzset();
        bias_ = BiasMinutesAt(std::time(nullptr));
        zoneRead_ = true;
        zoneReadMs_ = tick;
    }
    return bias_;
}

int64_t SystemClock::TickMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace plovane
