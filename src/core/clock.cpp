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

int SystemClock::StandardBiasMinutes() const {
    // `timezone` is seconds west of UTC for standard time: the same sign as the bias.
    std::lock_guard lock(timeZoneMutex_);
    tzset();
    return static_cast<int>(timezone / 60);
}

int64_t SystemClock::TickMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace plovane
