// SPDX-License-Identifier: GPL-3.0-or-later
// The eventfd that wakes a port's threads out of poll() when the port closes or a text is
// queued: one write signals it, a drain reads every pending signal.
#pragma once

#include <unistd.h>

#include <cstdint>

namespace plovane {

inline void SignalEventFd(int fd) {
    if (fd < 0)
        return;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(fd, &one, sizeof one);
}

// The descriptor is non-blocking, so this stops once nothing is pending.
inline void DrainEventFd(int fd) {
    uint64_t count = 0;
    while (fd >= 0 && read(fd, &count, sizeof count) == sizeof count) {
    }
}

}  // namespace plovane
