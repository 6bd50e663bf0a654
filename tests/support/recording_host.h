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
        std::lock_guard lock(mutex_);
        posts_.emplace_back(message, std::move(text));
    }
    void ShowNotice(std::string_view text) override {
        std::lock_guard lock(mutex_);
        notices_.emplace_back(text);
    }
    void ReportError(std::string_view text) override {
        std::lock_guard lock(mutex_);
        errors_.emplace_back(text);
    }
    MessageBoxResult MessageBox(std::string_view text, MessageBoxIcon icon,
                                MessageBoxButtons buttons, std::string_view title) override {
        std::lock_guard lock(mutex_);
        boxes_.push_back({std::string(text), icon, buttons, std::string(title)});
        if (!replies_.empty()) {
            const MessageBoxResult reply = replies_.front();
            replies_.pop_front();
            return reply;
        }
        return buttons == MessageBoxButtons::kYesNo || buttons == MessageBoxButtons::kYesNoCancel
                   ? MessageBoxResult::kYes
                   : MessageBoxResult::kOk;
    }
    void StationChanged(const std::string& call) override {
        std::lock_guard lock(mutex_);
        stationChanges_.push_back(call);
    }
    void MessageChanged(uint64_t messageKey) override {
        std::lock_guard lock(mutex_);
        messageChanges_.push_back(messageKey);
    }
    void ShowProgress(std::string_view text) override {
        std::lock_guard lock(mutex_);
        progress_.push_back("show:" + std::string(text));
    }
    void SetProgress(int percent) override {
        std::lock_guard lock(mutex_);
        progress_.push_back(std::to_string(percent));
    }
    void HideProgress() override {
        std::lock_guard lock(mutex_);
        progress_.push_back("hide");
    }
    void PlaySound(const std::string& path) override {
        std::lock_guard lock(mutex_);
        sounds_.push_back(path);
    }

    void QueueReply(MessageBoxResult reply) {
        std::lock_guard lock(mutex_);
        replies_.push_back(reply);
    }

    // Copies, so a test can read while other threads keep recording.
    std::vector<std::pair<ThreadMessage, std::string>> posts() const { return Get(posts_); }
    std::vector<std::string> notices() const { return Get(notices_); }
    std::vector<std::string> errors() const { return Get(errors_); }
    std::vector<Box> boxes() const { return Get(boxes_); }
    std::vector<std::string> stationChanges() const { return Get(stationChanges_); }
    std::vector<uint64_t> messageChanges() const { return Get(messageChanges_); }
    std::vector<std::string> progress() const { return Get(progress_); }
    std::vector<std::string> sounds() const { return Get(sounds_); }
    size_t CountPosts(ThreadMessage message) const {
        std::lock_guard lock(mutex_);
        size_t n = 0;
        for (const auto& post : posts_)
            n += post.first == message;
        return n;
    }

    void Clear() {
        std::lock_guard lock(mutex_);
        posts_.clear();
        notices_.clear();
        errors_.clear();
        boxes_.clear();
        stationChanges_.clear();
        messageChanges_.clear();
        progress_.clear();
        sounds_.clear();
    }

  private:
    template <typename T>
    T Get(const T& field) const {
        std::lock_guard lock(mutex_);
        return field;
    }

    mutable std::mutex mutex_;
    std::vector<std::pair<ThreadMessage, std::string>> posts_;
    std::vector<std::string> notices_;
    std::vector<std::string> errors_;
    std::vector<Box> boxes_;
    std::vector<std::string> stationChanges_;
    std::vector<uint64_t> messageChanges_;
    std::vector<std::string> progress_;
    std::vector<std::string> sounds_;
    std::deque<MessageBoxResult> replies_;
};

}  // namespace plovane::testing
