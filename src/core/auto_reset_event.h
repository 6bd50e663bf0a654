// SPDX-License-Identifier: GPL-3.0-or-later
// An event that releases one waiter and resets itself, as the write and output threads
// sleep on between jobs.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace plovane {

// Thread-safe.
class AutoResetEvent {
public:
    void Set() {
        {
            std::lock_guard lock(mutex_);
            signalled_ = true;
        }
        condition_.notify_one();
    }

    void Wait() {
        std::unique_lock lock(mutex_);
        condition_.wait(lock, [this] { return signalled_; });
        signalled_ = false;
    }

    // True when signalled before the time-out ran out.
    bool WaitFor(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        if (!condition_.wait_for(lock, timeout, [this] { return signalled_; })) return false;
        signalled_ = false;
        return true;
    }

private:
    std::mutex mutex_;
    std::condition_variable condition_;
    bool signalled_ = false;
};

}  // namespace plovane
