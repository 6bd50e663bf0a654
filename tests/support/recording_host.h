// SPDX-License-Identifier: GPL-3.0-or-later
// An AppHost that records every call, for tests. Message boxes answer from a queue of
// prepared replies (OK/Yes when empty).
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "core/app_host.h"

namespace plovane::testing {

class RecordingHost : public AppHost {
  public:
    struct Box {
        std::string text;
        MessageBoxIcon icon;
        MessageBoxButtons buttons;
        std::string title;
    };

    void Post(ThreadMessage message, std::string text = {}) override {
        Add(&Log::posts, std::pair(message, std::move(text)));
    }
    void ShowNotice(std::string_view text) override { Add(&Log::notices, std::string(text)); }
    void ReportError(std::string_view text) override { Add(&Log::errors, std::string(text)); }
    MessageBoxResult MessageBox(std::string_view text, MessageBoxIcon icon,
                                MessageBoxButtons buttons, std::string_view title) override {
        Add(&Log::boxes, Box{std::string(text), icon, buttons, std::string(title)});
        std::lock_guard lock(mutex_);
        if (!replies_.empty()) {
            const MessageBoxResult reply = replies_.front();
            replies_.pop_front();
            return reply;
        }
        return buttons == MessageBoxButtons::kYesNo || buttons == MessageBoxButtons::kYesNoCancel
                   ? MessageBoxResult::kYes
                   : MessageBoxResult::kOk;
    }
    void StationChanged(const std::string& call) override { Add(&Log::stationChanges, call); }
    void MessageChanged(uint64_t messageKey) override { Add(&Log::messageChanges, messageKey); }
    void ShowProgress(std::string_view) override {}
    void SetProgress(int) override {}
    void HideProgress() override {}
    void PlaySound(const std::string& path) override { Add(&Log::sounds, path); }

    void QueueReply(MessageBoxResult reply) {
        std::lock_guard lock(mutex_);
        replies_.push_back(reply);
    }

    // Copies, so a test can read while other threads keep recording.
    std::vector<std::pair<ThreadMessage, std::string>> posts() const { return Get(&Log::posts); }
    std::vector<std::string> notices() const { return Get(&Log::notices); }
    std::vector<std::string> errors() const { return Get(&Log::errors); }
    std::vector<Box> boxes() const { return Get(&Log::boxes); }
    std::vector<std::string> stationChanges() const { return Get(&Log::stationChanges); }
    std::vector<uint64_t> messageChanges() const { return Get(&Log::messageChanges); }
    std::vector<std::string> sounds() const { return Get(&Log::sounds); }
    size_t CountPosts(ThreadMessage message) const {
        size_t n = 0;
        for (const auto& post : posts())
            n += post.first == message;
        return n;
    }

    void Clear() {
        std::lock_guard lock(mutex_);
        log_ = {};
    }

  private:
    struct Log {
        std::vector<std::pair<ThreadMessage, std::string>> posts;
        std::vector<std::string> notices, errors, stationChanges, sounds;
        std::vector<Box> boxes;
        std::vector<uint64_t> messageChanges;
    };
    template <typename T, typename V>
    void Add(std::vector<T> Log::*field, V&& value) {
        std::lock_guard lock(mutex_);
        (log_.*field).push_back(std::forward<V>(value));
    }
    template <typename T>
    std::vector<T> Get(std::vector<T> Log::*field) const {
        std::lock_guard lock(mutex_);
        return log_.*field;
    }

    mutable std::mutex mutex_;
    Log log_;
    std::deque<MessageBoxResult> replies_;
};

}  // namespace plovane::testing
