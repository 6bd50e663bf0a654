// SPDX-License-Identifier: GPL-3.0-or-later
// The headless station's host.
#include "app/console_host.h"

#include "core/cautious_answer.h"
#include "core/terminal_text.h"

namespace plovane {

void ConsoleHost::Post(ThreadMessage message, std::string text) {
    {
        std::lock_guard lock(queueMutex_);
        queue_.emplace_back(message, std::move(text));
    }
    queueChanged_.notify_one();
}

void ConsoleHost::PrintLine(std::FILE* stream, std::string_view text) {
    // Received text must not drive the terminal: its controls are shown, not obeyed.
    std::string escaped;
    if (HasTerminalControls(text)) {
        escaped = EscapeTerminalText(text);
        text = escaped;
    }
    std::lock_guard lock(printMutex_);
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

void ConsoleHost::ShowNotice(std::string_view text) {
    PrintLine(out_, text);
}

MessageBoxResult ConsoleHost::MessageBox(std::string_view text, MessageBoxIcon,
                                         MessageBoxButtons buttons, std::string_view) {
    PrintLine(err_, text);
    return CautiousAnswer(buttons);
}

void ConsoleHost::ShowProgress(std::string_view text) {
    PrintLine(out_, text);
}

std::optional<std::pair<ThreadMessage, std::string>> ConsoleHost::WaitForPost(
    std::chrono::milliseconds timeout) {
    std::unique_lock lock(queueMutex_);
    queueChanged_.wait_for(lock, timeout, [this] { return !queue_.empty() || woken_; });
    woken_ = false;
    if (queue_.empty())
        return std::nullopt;
    auto front = std::move(queue_.front());
    queue_.pop_front();
    return front;
}

void ConsoleHost::Wake() {
    {
        std::lock_guard lock(queueMutex_);
        woken_ = true;
    }
    queueChanged_.notify_one();
}

}  // namespace plovane
