// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/logic/conversation.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

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

namespace {

constexpr double kMsPerDay = 86400000.0;
constexpr int64_t kUnixEpochMs = int64_t{25569} * 86400000;  // 1 January 1970 on that scale
// The station log stamps records to the nearest second, so a message replayed at the next
// start may come back up to half a second later than it was first stored: a mark of this
// run is saved reaching this much further.
constexpr int64_t kLogStampSlackMs = 1000;

int64_t LocalMs(CDateTime time) {
    return std::llround(CDateTime::ToLinear(time.value()) * kMsPerDay);
}

// The queries the store answers by itself; any other text, "?" or not, is for the user.
bool IsAnsweredQuery(std::string_view text) {
    constexpr std::string_view kAnswered[] = {"?APRSP", "?APRS?", "?APRSS",
                                              "?APRST", "?PING?", "?VER"};
    const std::string_view query = text.substr(0, text.find(' '));
    return std::find(std::begin(kAnswered), std::end(kAnswered), query) != std::end(kAnswered);
}

bool IsConversationPeer(std::string_view peer, std::string_view ownCall) {
    return !peer.empty() && peer != ownCall && !IsBulletinAddressee(peer) &&
           !IsAnnouncementAddressee(peer) && !IsNwsAddressee(peer);
}

}  // namespace

void ConversationReadMarks::MarkRead(const std::string& peer, uint64_t key, CDateTime time) {
    Mark& mark = marks_[peer];
    mark.key = std::max(mark.key, key);
    mark.localMs = std::max(mark.localMs, LocalMs(time));
}

bool ConversationReadMarks::IsRead(const CMessage& message) const {
    if (IsAnsweredQuery(message.text))
        return true;  // answered already, nothing for the user to read
    const auto found = marks_.find(message.from);
    return found != marks_.end() &&
           (message.key <= found->second.key || LocalMs(message.time) <= found->second.loadedMs);
}

size_t ConversationReadMarks::Unread(const std::vector<CMessage>& messages,
                                     std::string_view ownCall, const std::string& peer) const {
    if (ownCall.empty())
        return 0;
    return static_cast<size_t>(std::count_if(messages.begin(), messages.end(), [&](const auto& m) {
        return m.from == peer && m.to == ownCall && !IsRead(m);
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
        if (!IsConversationPeer(peer, ownCall))
            continue;
        auto it = std::find_if(summaries.begin(), summaries.end(),
                               [&](const auto& s) { return s.peer == peer; });
        if (it == summaries.end())
            it = summaries.insert(summaries.end(), {peer, 0, 0});
        ++it->messages;
        if (!ours && !IsRead(*m))
            ++it->unread;
    }
    return summaries;
}

size_t ConversationReadMarks::TotalUnread(const std::vector<CMessage>& messages,
                                          std::string_view ownCall) const {
    size_t total = 0;
    for (const ConversationSummary& summary : Summaries(messages, ownCall))
        total += summary.unread;
    return total;
}

std::string ConversationReadMarks::Save(int biasMinutes) const {
    std::string line;
    for (const auto& [peer, mark] : marks_) {
        if (mark.localMs == INT64_MIN || peer.find(' ') != std::string::npos)
            continue;
        if (!line.empty())
            line += ' ';
        const int64_t slack = mark.localMs > mark.loadedMs ? kLogStampSlackMs : 0;
        line += peer + ' ' +
                std::to_string(mark.localMs + slack - kUnixEpochMs + int64_t{biasMinutes} * 60000);
    }
    return line;
}

void ConversationReadMarks::Load(std::string_view line, int biasMinutes) {
    while (true) {
        const size_t peerStart = line.find_first_not_of(' ');
        if (peerStart == std::string_view::npos)
            return;
        line.remove_prefix(peerStart);
        const size_t peerEnd = line.find(' ');
        if (peerEnd == std::string_view::npos)
            return;
        const std::string_view peer = line.substr(0, peerEnd);
        line.remove_prefix(peerEnd + 1);
        int64_t utcMs = 0;
        const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), utcMs);
        constexpr int64_t kLimitMs = int64_t{1} << 50;  // some 35 000 years: no overflow below
        if (error != std::errc() || (end != line.data() + line.size() && *end != ' ') ||
            utcMs > kLimitMs || utcMs < -kLimitMs)
            return;
        line.remove_prefix(static_cast<size_t>(end - line.data()));
        Mark& mark = marks_[std::string(peer)];
        mark.loadedMs =
            std::max(mark.loadedMs, utcMs + kUnixEpochMs - int64_t{biasMinutes} * 60000);
        mark.localMs = std::max(mark.localMs, mark.loadedMs);
    }
}

bool AnnouncesMessage(const CMessage& message, std::string_view ownCall) {
    return !message.restored && !ownCall.empty() && message.to == ownCall &&
           IsConversationPeer(message.from, ownCall) && !IsAnsweredQuery(message.text);
}

std::string ConversationSummaryText(const ConversationSummary& summary) {
    std::string text = summary.peer + " (" + std::to_string(summary.messages) +
                       (summary.messages == 1 ? " message" : " messages");
    if (summary.unread > 0)
        text += ", " + std::to_string(summary.unread) + " unread";
    return text + ")";
}

}  // namespace plovane
