// SPDX-License-Identifier: GPL-3.0-or-later
// One message record: a message, bulletin, announcement or query that was received or sent,
// and the two packets it goes out as (the message itself, or our ack of it).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/date_time.h"

namespace plovane {

struct CMessage {
    // Given by the store when the record is created; never reused, so a notification that
    // carries it can be looked up again safely.
    uint64_t key = 0;
    // Own message: an ack (or a reject) came in or the user stopped it; it is no longer sent.
    bool acked = false;
    // Own message: the addressee answered "rej" with its number.
    bool rejected = false;
    // Received message: the sender wrote its number in the reply-ack form "{MM}AA";
    // `replyAck` holds AA (empty for "{MM}").
    bool replyAckForm = false;
    std::string replyAck;
    // Own message: transmissions; received message: copies received.
    int32_t count = 0;
    // Received message to the own call: acks sent (they stop at five).
    int32_t ackCount = 0;
    // Own message restored from the station log and not acked: kept, but not sent again
    // until the user resends it.
    bool held = false;
    // Came back from the station log (heard before this run): never announced again.
    bool restored = false;
    CDateTime time;      // local time at which the message was first stored
    std::string from;    // sender's call
    std::string number;  // at most five characters; empty when the message has none
    std::string text;
    std::string to;  // a call, or a bulletin ("BLN1"), announcement ("BLNA") or "NWS-" id

    // ":" + addressee in nine columns + ":" + text [+ "{" + number] + CR,
    // e.g. ":N0CALL-5 :Hello{12\r". To a station that uses reply-acks the number is
    // followed by "}" and `replyAck` (the last number it sent us, or nothing):
    // ":N0CALL-5 :Hello{12}7\r".
    std::string MessagePacketText(const std::string* replyAck = nullptr) const;
    // Our ack of this message, to its sender: ":" + sender in nine columns + ":ack" + number
    // + CR, e.g. ":N0CALL   :ack12\r"; ":N0CALL   :ack12}\r" in the reply-ack form.
    std::string AckPacketText(bool replyForm = false) const;
};

// A call padded with blanks, or cut, to the nine columns of the addressee field.
std::string AddresseeField(std::string_view call);

}  // namespace plovane
