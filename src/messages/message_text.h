// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of a received message text: the text itself, its message number, the reply-ack
// field, or an ack or reject of one of our numbers.
#pragma once

#include <string_view>

namespace plovane {

enum class MessageKind { kText, kAck, kReject };

// Views of the text it was parsed from.
struct MessageText {
    MessageKind kind = MessageKind::kText;
    std::string_view body;    // kText: the text without its number, blanks trimmed
    std::string_view number;  // kText: the message number; kAck/kReject: the number answered
    // What follows "}": a further number of ours acknowledged in passing (may be empty).
    std::string_view replyAck;
    bool replyAckForm = false;  // the sender wrote "}", so it understands reply-acks
};

// "Hello{12" is text "Hello", number "12"; "Hello{12}7" also acks our number 7;
// "ack12" and "rej12" answer our message 12 ("ack12}7" acks 7 as well). A number is one to
// five letters or digits; anything else after "{" is part of the text, and "ack" is an ack
// only when a number and nothing else follows it.
MessageText ParseMessageText(std::string_view text);

}  // namespace plovane
