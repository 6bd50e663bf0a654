// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/logic/conversation.h"

#include <algorithm>

#include "ui/logic/message_filter.h"

namespace plovane {

std::string OwnMessageMark(const CMessage& message) {
    if (message.rejected)
        return "rejected";
    if (message.acked)
        return "acked";
    if (message.held)
        return "held";
    if (message.count <= 0)
        return "queued";
    if (message.count == 1)
        return "sent";
    return "retrying (" + std::to_string(message.count - 1) + ")";
}

std::vector<ConversationLine> ConversationWith(const std::vector<CMessage>& messages,
                                               std::string_view ownCall, std::string_view peer) {
    std::vector<ConversationLine> lines;
    if (ownCall.empty() || peer.empty())
        return lines;
    for (const CMessage& m : messages) {
        const bool ours = m.from == ownCall && m.to == peer;
        if (!ours && !(m.from == peer && m.to == ownCall))
            continue;
        lines.push_back({m.key, ours, m.time, m.text, ours ? OwnMessageMark(m) : std::string()});
    }
    std::stable_sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) {
        return CDateTime::ToLinear(a.time.value()) < CDateTime::ToLinear(b.time.value());
    });
    return lines;
}

void ConversationReadMarks::MarkRead(const std::string& peer, uint64_t key) {
    uint64_t& last = lastRead_[peer];
    last = std::max(last, key);
}

size_t ConversationReadMarks::Unread(const std::vector<CMessage>& messages,
                                     std::string_view ownCall, const std::string& peer) const {
    const auto found = lastRead_.find(peer);
    const uint64_t last = found == lastRead_.end() ? 0 : found->second;
    if (ownCall.empty())
        return 0;
    return static_cast<size_t>(std::count_if(messages.begin(), messages.end(), [&](const auto& m) {
        return m.from == peer && m.to == ownCall && m.key > last;
    }));
}

std::vector<ConversationSummary> ConversationReadMarks::Summaries(
    const std::vector<CMessage>& messages, std::string_view ownCall) const {
    std::vector<ConversationSummary> summaries;
    if (ownCall.empty())
        return summaries;
    // Walked newest first, so each peer's first appearance orders the list.
    for (auto m = messages.rbegin(); m != messages.rend(); ++m) {
        const bool ours = m->from == ownCall;
        if (!ours && m->to != ownCall)
            continue;
        const std::string& peer = ours ? m->to : m->from;
        // Our bulletins and announcements are no conversation.
        if (peer.empty() || peer == ownCall || IsBulletinAddressee(peer) ||
            IsAnnouncementAddressee(peer) || IsNwsAddressee(peer))
            continue;
        auto it = std::find_if(summaries.begin(), summaries.end(),
                               [&](const auto& s) { return s.peer == peer; });
        if (it == summaries.end())
            it = summaries.insert(summaries.end(), {peer, 0, 0});
        ++it->messages;
        const auto read = lastRead_.find(peer);
        if (!ours && m->key > (read == lastRead_.end() ? 0 : read->second))
            ++it->unread;
    }
    return summaries;
}

std::string ConversationSummaryText(const ConversationSummary& summary) {
    std::string text = summary.peer + " (" + std::to_string(summary.messages) +
                       (summary.messages == 1 ? " message" : " messages");
    if (summary.unread > 0)
        text += ", " + std::to_string(summary.unread) + " unread";
    return text + ")";
}

}  // namespace plovane
