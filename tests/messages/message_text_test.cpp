// Received message texts: numbers, reply-acks, acks and rejects.
#include <gtest/gtest.h>

#include "messages/message_text.h"

namespace plovane::testing {
namespace {

TEST(MessageText, SplitsNumbersReplyAcksAcksAndRejects) {
    using K = MessageKind;
    struct Case {
        const char* text;
        K kind;
        const char* body;
        const char* number;
        const char* replyAck;
        bool replyAckForm;
    } cases[] = {
        {"Testing, 1 2 3{1", K::kText, "Testing, 1 2 3", "1", "", false},
        {"Testing, 1 2 3{1}", K::kText, "Testing, 1 2 3", "1", "", true},
        {"Testing, 1 2 3{1Ff84}f001", K::kText, "Testing, 1 2 3", "1Ff84", "f001", true},
        {"HelloWorld  {ABCDE ", K::kText, "HelloWorld", "ABCDE", "", false},
        {"six{123456", K::kText, "six{123456", "", "", false},
        {"reply{12}123456", K::kText, "reply{12}123456", "", "", false},
        {"odd{1-2", K::kText, "odd{1-2", "", "", false},
        {"latin{\xe4", K::kText, "latin{\xe4", "", "", false},
        {"ack1", K::kAck, "", "1", "", false},
        {"ACK10512 ", K::kAck, "", "10512", "", false},
        {"ackAB}CD", K::kAck, "", "AB", "CD", true},
        {"rejF00b4", K::kReject, "", "F00b4", "", false},
        // Not acks: the sender expects an answer, and used to retry for ever.
        {"Acknowledged, thanks{7", K::kText, "Acknowledged, thanks", "7", "", false},
        {"ack 5", K::kText, "ack 5", "", "", false},
        {"rejected!", K::kText, "rejected!", "", "", false},
        {"ack", K::kText, "ack", "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const MessageText parsed = ParseMessageText(c.text);
        EXPECT_EQ(parsed.kind, c.kind);
        EXPECT_EQ(parsed.body, c.body);
        EXPECT_EQ(parsed.number, c.number);
        EXPECT_EQ(parsed.replyAck, c.replyAck);
        EXPECT_EQ(parsed.replyAckForm, c.replyAckForm);
    }
}

}  // namespace
}  // namespace plovane::testing
