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

// Which messages to us each conversation window has shown. A message counts as read when
// the window showed it or a later one (by store key); marks of an earlier run count by time
// (keys are given afresh by each run): what was stored no later than the newest message read
// then is read.
// A query the station answers by itself is never unread.
// Thread-compatible: user-interface thread only.
class ConversationReadMarks {
  public:
    // The window for `peer` shows everything up to and including `key`, stored at `time`.
    void MarkRead(const std::string& peer, uint64_t key, CDateTime time);
    size_t Unread(const std::vector<CMessage>& messages, std::string_view ownCall,
                  const std::string& peer) const;
    // Every station we exchanged messages with, most recent exchange first.
    std::vector<ConversationSummary> Summaries(const std::vector<CMessage>& messages,
                                               std::string_view ownCall) const;
    // The unread messages of every conversation.
    size_t TotalUnread(const std::vector<CMessage>& messages, std::string_view ownCall) const;

    // The marks as one line, "W1AAA 1765100000000 K1ABC-9 1765100004500": each peer and the
    // Unix time in milliseconds of the newest message read (`biasMinutes` turns the store's local
    // times into UTC, as the clock gives it). Load adds the marks of such a line; a malformed
    // pair ends it, what came before is kept.
    std::string Save(int biasMinutes) const;
    void Load(std::string_view line, int biasMinutes);

  private:
    struct Mark {
        uint64_t key = 0;              // the newest message read in this run
        int64_t localMs = INT64_MIN;   // its time, or an earlier run's (whichever is later)
        int64_t loadedMs = INT64_MIN;  // an earlier run's
    };
    bool IsRead(const CMessage& message) const;
    std::map<std::string, Mark, std::less<>> marks_;
};

// Whether a message that just came into the store is one the desktop should announce: a
// text from another station to the own call exactly (not our own, not to another SSID of
// ours, not a bulletin) that is no query the station answers by itself, and not one the
// station log's replay restored.
bool AnnouncesMessage(const CMessage& message, std::string_view ownCall);

// The chooser's row text: "W1AAA (3 messages, 1 unread)".
std::string ConversationSummaryText(const ConversationSummary& summary);

}  // namespace plovane
