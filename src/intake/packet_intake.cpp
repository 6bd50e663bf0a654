// SPDX-License-Identifier: GPL-3.0-or-later
// Line intake and the application of decoded packets.
#include "intake/packet_intake.h"

#include <array>
#include <cstring>
#include <mutex>
#include <string>

#include "core/transmit_control.h"
#include "messages/message_list.h"
#include "stations/station_list.h"

namespace plovane {
namespace {

// Shows prefix + text without building a string for ordinary lines.
void ShowJoined(AppHost& host, std::string_view prefix, std::string_view text) {
    std::array<char, 512> buffer;
    if (prefix.size() + text.size() <= buffer.size()) {
        std::memcpy(buffer.data(), prefix.data(), prefix.size());
        std::memcpy(buffer.data() + prefix.size(), text.data(), text.size());
        host.ShowNotice(std::string_view(buffer.data(), prefix.size() + text.size()));
        return;
    }
    std::string joined;
    joined.reserve(prefix.size() + text.size());
    joined.append(prefix).append(text);
    host.ShowNotice(joined);
}

}  // namespace

void ApplyPacket(const DecodedPacket& packet, std::string_view tag, const CDateTime& now,
                 const PacketTargets& targets) {
    for (const std::string_view line : packet.shownLines())
        ShowJoined(targets.host, tag, line);
    if (packet.isOwn) {
        if (targets.transmit != nullptr)
            targets.transmit->SetDigipeatHeard();
        ShowJoined(targets.host, "My Packet:", packet.ownPacket);
    }
    if (packet.hasMessage && targets.messages != nullptr) {
        targets.messages->ReceiveMessage(packet.messageSource, packet.messageAddressee,
                                         packet.messageText, packet.messageRoute);
    }
    targets.stations.Apply(packet.reports(), now);
    // The sentence parser updates the store itself, after the reports above.
    if (!packet.sentence.empty() && targets.sentences) {
        targets.sentences(packet.sentenceSource, packet.sentenceDestination, packet.sentencePath,
                          packet.sentence);
    }
}

void ApplyPacket(const DecodedPacket& packet, std::string_view tag, const PacketTargets& targets) {
    ApplyPacket(packet, tag, targets.stations.clock().Now(), targets);
}

void CPacketIntake::DecodeLineAs(std::string_view line, std::string_view tag,
                                 std::string_view myCall) {
    if (observer_)
        observer_(line, tag);
    const CDateTime now = clock_.Now();
    const DecodedPacket packet = Decode(line, now, clock_.BiasMinutes(), myCall);
    ApplyPacket(packet, tag, now, targets_);
}

void CPacketIntake::Take(const HeardLine& line, const HeardHook& after) {
    const std::string_view tag = LineTag(line.origin.kind);
    if (observer_)
        observer_(line.bytes, tag);
    const DecodedPacket packet =
        Decode(line.bytes, line.heard, clock_.BiasMinutes(), targets_.stations.OwnCall());
    ApplyPacket(packet, tag, line.heard, targets_);
    if (after)
        after(line, packet);
}

void CPacketIntake::DecodeLine(std::string_view line, std::string_view tag) {
    DecodeLineAs(line, tag, targets_.stations.OwnCall());
}

}  // namespace plovane
