// SPDX-License-Identifier: GPL-3.0-or-later
// Packet texts of a message record.
#include "messages/message.h"

namespace plovane {

namespace {
constexpr size_t kAddresseeWidth = 9;
}

std::string AddresseeField(std::string_view call) {
    std::string field(call.substr(0, kAddresseeWidth));
    field.resize(kAddresseeWidth, ' ');
    return field;
}

// Built by appending to one string: GCC 12 at -O3 warns falsely (-Wrestrict) about
// chains of operator+ that start from a literal.
std::string CMessage::MessagePacketText(const std::string* replyAckText) const {
    std::string packet;
    packet.reserve(kAddresseeWidth + text.size() + number.size() + 10);
    packet.append(":").append(AddresseeField(to)).append(":").append(text);
    if (!number.empty()) {
        packet.append("{").append(number);
        if (replyAckText != nullptr)
            packet.append("}").append(*replyAckText);
    }
    packet += '\r';
    return packet;
}

std::string CMessage::AckPacketText(bool replyForm) const {
    std::string packet;
    packet.reserve(kAddresseeWidth + number.size() + 7);
    packet.append(":").append(AddresseeField(from)).append(":ack").append(number);
    if (replyForm)
        packet += '}';
    packet += '\r';
    return packet;
}

}  // namespace plovane
