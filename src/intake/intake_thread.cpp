// SPDX-License-Identifier: GPL-3.0-or-later
// The line queue's consumer thread.
#include "intake/intake_thread.h"

#include <system_error>

namespace plovane {

bool CIntakeThread::Start() {
    if (thread_.joinable())
        return true;
    {
        std::lock_guard lock(mutex_);
        ended_ = false;
    }
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CIntakeThread::Stop() {
    queue_.Close();
    if (thread_.joinable())
        thread_.join();
}

void CIntakeThread::Run() {
    HeardLine line;
    while (queue_.Pop(line)) {
        if (IsOwnFix(line.origin.kind)) {
            if (fix_)
                fix_(line);
        } else if (line.origin.kind == LineKind::kReplay && replay_) {
            replay_(line);
        } else {
            intake_.Take(line, hook_);
        }
        std::lock_guard lock(mutex_);
        ++taken_;
        applied_.notify_all();
    }
    std::lock_guard lock(mutex_);
    ended_ = true;
    applied_.notify_all();
}

void CIntakeThread::Flush() {
    const uint64_t target = queue_.pushed();
    std::unique_lock lock(mutex_);
    applied_.wait(lock, [&] { return ended_ || taken_ >= target || !thread_.joinable(); });
}

}  // namespace plovane
