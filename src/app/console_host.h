// SPDX-License-Identifier: GPL-3.0-or-later
// The host of the headless station: notices and echo lines go to standard output, message
// boxes to standard error (answered cautiously: OK, No or Cancel), and posted thread messages
// wait in a queue that the main loop drains on its own thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "core/app_host.h"

namespace plovane {

// Thread-safe.
class ConsoleHost final : public AppHost {
public:
    explicit ConsoleHost(std::FILE* out = stdout, std::FILE* err = stderr)
        : out_(out), err_(err) {}

    void Post(ThreadMessage message, std::string text = {}) override;
    void ShowNotice(std::string_view text) override;
    MessageBoxResult MessageBox(std::string_view text, MessageBoxIcon icon,
                                MessageBoxButtons buttons, std::string_view title) override;
    void StationChanged(const std::string&) override {}
    void MessageChanged(uint64_t) override {}
    void ShowProgress(std::string_view text) override;
    void SetProgress(int) override {}
    void HideProgress() override {}
    void PlaySound(const std::string&) override {}

    // Waits up to the time-out for a posted message; empty on time-out or after Wake().
    std::optional<std::pair<ThreadMessage, std::string>> WaitForPost(
        std::chrono::milliseconds timeout);
    // Ends a WaitForPost early (from a signal-watching thread, for instance).
    void Wake();

private:
    void PrintLine(std::FILE* stream, std::string_view text);

    std::FILE* out_;
    std::FILE* err_;
    std::mutex printMutex_;
    std::mutex queueMutex_;
    std::condition_variable queueChanged_;
    std::deque<std::pair<ThreadMessage, std::string>> queue_;
    bool woken_ = false;
};

}  // namespace plovane
