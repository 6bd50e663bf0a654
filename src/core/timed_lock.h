// SPDX-License-Identifier: GPL-3.0-or-later
// Waiting for a store or buffer lock with a time limit.
//
// The wait uses a system-clock deadline on purpose: libstdc++ implements a steady-clock
// wait with pthread_mutex_clocklock, which ThreadSanitizer (gcc 12) does not see, so every
// later unlock would be reported as an unlock of an unlocked mutex. A system-clock deadline
// goes through pthread_mutex_timedlock, which it follows.
#pragma once

#include <chrono>
#include <mutex>

namespace plovane {

// The stores and receive buffers wait this long before giving up on one operation.
inline constexpr std::chrono::milliseconds kStoreLockWait{10000};

// True when the lock was taken within the time-out.
inline bool TryLockFor(std::timed_mutex& mutex, std::chrono::milliseconds timeout) {
    return mutex.try_lock_until(std::chrono::system_clock::now() + timeout);
}

// A unique_lock taken with TryLockFor; test owns_lock().
inline std::unique_lock<std::timed_mutex> TimedLock(
    std::timed_mutex& mutex, std::chrono::milliseconds timeout = kStoreLockWait) {
    std::unique_lock<std::timed_mutex> lock(mutex, std::defer_lock);
    if (TryLockFor(mutex, timeout)) {
        lock = std::unique_lock<std::timed_mutex>(mutex, std::adopt_lock);
    }
    return lock;
}

}  // namespace plovane
