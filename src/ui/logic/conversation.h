// SPDX-License-Identifier: GPL-3.0-or-later
// A chat view of the message store: the messages between the own call and one station in
// time order, the mark shown beside each of ours, and which conversations have messages
// the user has not seen yet. Calls compare exactly, SSID included, as the store matches them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "messages/message.h"

namespace plovane {

struct ConversationLine {
    uint64_t key = 0;
    bool ours = false;  // from the own call (shown on the right)
    CDateTime time;
    std::string text;  // as received: plain text, never markup
    std::string mark;  // ours only: see OwnMessageMark
};

// "sent", "retrying (N)" after N repeats, "acked", "rejected", "held" (restored, not sent
// again) or "queued" (waiting for the next message slot).
std::string OwnMessageMark(const CMessage& message);

// The messages from `peer` to `ownCall` and from `ownCall` to `peer`, oldest first (equal
// times keep the store's order). Empty when either call is empty.
std::vector<ConversationLine> ConversationWith(const std::vector<CMessage>& messages,
                                               std::string_view ownCall, std::string_view peer);

struct ConversationSummary {
    std::string peer;
    size_t messages = 0;
    size_t unread = 0;  // messages from the peer not yet shown in its window
};

// Which messages to us each conversation window has shown.
// Thread-compatible: user-interface thread only.
class ConversationReadMarks {
  public:
    // The window for `peer` shows everything up to and including `key`.
    void MarkRead(const std::string& peer, uint64_t key);
    size_t Unread(const std::vector<CMessage>& messages, std::string_view ownCall,
                  const std::string& peer) const;
    // Every station we exchanged messages with, most recent exchange first.
    std::vector<ConversationSummary> Summaries(const std::vector<CMessage>& messages,
                                               std::string_view ownCall) const;

  private:
    std::map<std::string, uint64_t, std::less<>> lastRead_;
};

// The chooser's row text: "W1AAA (3 messages, 1 unread)".
std::string ConversationSummaryText(const ConversationSummary& summary);

}  // namespace plovane
