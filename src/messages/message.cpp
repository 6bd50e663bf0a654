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

std::string CMessage::MessagePacketText() const {
    std::string packet = ":" + AddresseeField(to) + ":" + text;
    if (!number.empty())
        packet += "{" + number;
    packet += '\r';
    return packet;
}

std::string CMessage::AckPacketText() const {
    return ":" + AddresseeField(from) + ":ack" + number + '\r';
}

}  // namespace plovane
