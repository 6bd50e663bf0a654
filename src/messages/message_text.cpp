// SPDX-License-Identifier: GPL-3.0-or-later
// Message text parsing.
#include "messages/message_text.h"

#include <algorithm>

#include "core/latin1.h"

namespace plovane {
namespace {

constexpr size_t kMaxNumberLength = 5;

std::string_view TrimBlanks(std::string_view s) {
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// ASCII letters and digits only: a number is sent back in acks exactly as it came.
bool IsNumberText(std::string_view s, size_t minLength) {
    const auto asciiAlnum = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    };
    return s.size() >= minLength && s.size() <= kMaxNumberLength &&
           std::all_of(s.begin(), s.end(), asciiAlnum);
}

// "12" or "12}" or "12}7": a number, then optionally "}" and a reply-ack of 0..5 characters.
bool SplitNumber(std::string_view field, MessageText& out) {
    const size_t close = field.find('}');
    const std::string_view number = field.substr(0, close);
    const std::string_view replyAck =
        close == std::string_view::npos ? std::string_view() : field.substr(close + 1);
    if (!IsNumberText(number, 1) || !IsNumberText(replyAck, 0))
        return false;
    out.number = number;
    out.replyAck = replyAck;
    out.replyAckForm = close != std::string_view::npos;
    return true;
}

}  // namespace

MessageText ParseMessageText(std::string_view text) {
    const std::string_view trimmed = TrimBlanks(text);
    MessageText parsed;
    // Upper-case "ACK" is taken too, as it always was here.
    const bool ack = latin1::StartsWithNoCase(trimmed, "ack");
    if ((ack || latin1::StartsWithNoCase(trimmed, "rej")) &&
        SplitNumber(trimmed.substr(3), parsed)) {
        parsed.kind = ack ? MessageKind::kAck : MessageKind::kReject;
        return parsed;
    }
    parsed = MessageText();
    const size_t brace = trimmed.rfind('{');
    if (brace != std::string_view::npos && SplitNumber(trimmed.substr(brace + 1), parsed)) {
        parsed.body = TrimBlanks(trimmed.substr(0, brace));
        return parsed;
    }
    parsed = MessageText();
    parsed.body = trimmed;
    return parsed;
}

}  // namespace plovane
