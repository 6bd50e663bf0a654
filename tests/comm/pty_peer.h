// SPDX-License-Identifier: GPL-3.0-or-later
// The far end of a serial line: a pseudo-terminal master that records when each byte came.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "support/child_process.h"

namespace plovane::testing {

using SteadyTime = std::chrono::steady_clock::time_point;

// Thread-safe: the reader thread appends under the mutex; the test reads copies.
class PtyPeer {
  public:
    PtyPeer() {
        char name[256] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            return;
        // The slave stays open so that the master sees no hang-up while the port is closed.
        slavePath_ = name;
        reader_ = std::thread([this] { ReadLoop(); });
    }
    ~PtyPeer() {
        Hangup();
        if (slave_ >= 0)
            close(slave_);
    }
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    bool ok() const { return !slavePath_.empty(); }
    const std::string& slavePath() const { return slavePath_; }

    void Write(std::string_view bytes) {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                return;
            done += static_cast<size_t>(n);
        }
    }

    // Closes the master: the port sees its line hang up.
    void Hangup() {
        stop_ = true;
        if (reader_.joinable())
            reader_.join();
        if (master_ >= 0)
            close(master_);
        master_ = -1;
    }

    std::string Received() const {
        std::lock_guard lock(mutex_);
        return received_;
    }

    // When the byte at `offset` of Received() arrived.
    SteadyTime ArrivalOf(size_t offset) const {
        std::lock_guard lock(mutex_);
        for (const auto& [end, time] : arrivals_) {
            if (offset < end)
                return time;
        }
        return {};
    }

    // Waits until the received bytes, from `from` on, hold `needle`.
    bool WaitFor(std::string_view needle, std::chrono::milliseconds timeout, size_t from = 0) {
        return WaitUntil(
            [&] {
                const std::string text = Received();
                return text.size() >= from && text.find(needle, from) != std::string::npos;
            },
            timeout);
    }

  private:
    void ReadLoop() {
        char buffer[4096];
        while (!stop_) {
            pollfd fd{master_, POLLIN, 0};
            if (poll(&fd, 1, 10) <= 0 || (fd.revents & POLLIN) == 0)
                continue;
            const ssize_t n = read(master_, buffer, sizeof buffer);
            if (n <= 0)
                continue;
            const SteadyTime now = std::chrono::steady_clock::now();
            std::lock_guard lock(mutex_);
            received_.append(buffer, static_cast<size_t>(n));
            arrivals_.emplace_back(received_.size(), now);
        }
    }

    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    std::atomic<bool> stop_{false};
    std::thread reader_;
    mutable std::mutex mutex_;
    std::string received_;
    std::vector<std::pair<size_t, SteadyTime>> arrivals_;  // end offset of each read, time
};

}  // namespace plovane::testing
