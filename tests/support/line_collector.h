// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the lines off a line queue on its own thread, as the intake thread does, and keeps them.
#pragma once

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/line_queue.h"

namespace plovane::testing {

class LineCollector {
  public:
    explicit LineCollector(LineQueue& queue) : queue_(queue) {
        thread_ = std::thread([this] {
            HeardLine line;
            while (queue_.Pop(line)) {
                std::lock_guard lock(mutex_);
                lines_.push_back(line);
            }
        });
    }
    ~LineCollector() {
        queue_.Close();
        thread_.join();
    }
    LineCollector(const LineCollector&) = delete;
    LineCollector& operator=(const LineCollector&) = delete;

    std::vector<HeardLine> lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> texts;
        for (const HeardLine& line : lines())
            texts.push_back(line.bytes);
        return texts;
    }

  private:
    LineQueue& queue_;
    mutable std::mutex mutex_;
    std::vector<HeardLine> lines_;  // guarded by mutex_
    std::thread thread_;
};

}  // namespace plovane::testing
