// Line intake and the application of decoded packets.
#include "intake/packet_intake.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <string>

#include "core/timed_lock.h"
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

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Cuts every complete line out of the buffer and hands each, with its line ends, to
// `decode`. All complete lines leave the buffer under one lock with one move of the rest,
// so a full 50 000-byte buffer of short lines costs linear, not quadratic, work; the lock is
// held only for the cut, never while decoding. An incomplete last line stays for later.
template <typename Decode>
void DrainBuffer(ReceiveBuffer* buffer, Decode&& decode) {
    if (buffer == nullptr)
        return;
    std::string lines;
    for (;;) {
        {
            std::unique_lock lock(buffer->mutex, std::try_to_lock);
            if (!lock.owns_lock())
                lock = TimedLock(buffer->mutex, kStoreLockWait);
            if (!lock.owns_lock())
                return;
            const size_t fill = std::min(buffer->fill, buffer->bytes.size());
            size_t cut = fill;
            while (cut > 0 && !IsLineEnd(static_cast<char>(buffer->bytes[cut - 1])))
                --cut;
            if (cut == 0)
                return;
            const char* bytes = reinterpret_cast<const char*>(buffer->bytes.data());
            lines.assign(bytes, cut);
            std::memmove(buffer->bytes.data(), buffer->bytes.data() + cut, fill - cut);
            buffer->fill = fill - cut;
        }
        size_t begin = 0;
        while (begin < lines.size()) {
            size_t end = begin;
            while (end < lines.size() && !IsLineEnd(lines[end]))
                ++end;
            while (end < lines.size() && IsLineEnd(lines[end]))
                ++end;
            decode(std::string_view(lines).substr(begin, end - begin));
            begin = end;
        }
    }
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
                                         packet.messageText);
    }
    targets.stations.Apply(packet.reports(), now);
    if (targets.gps == nullptr)
        return;
    // The sentence parser updates the store itself, after the reports above.
    if (!packet.sentence.empty()) {
        targets.gps->ParseSentence(packet.sentenceSource, packet.sentenceDestination,
                                   packet.sentencePath, packet.sentence, false);
    }
    if (!packet.gpsSentence.empty() && targets.gps->GpsFromTnc())
        targets.gps->ParseSentence("", "", "", packet.gpsSentence, true);
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

void CPacketIntake::DecodeLine(std::string_view line, std::string_view tag) {
    DecodeLineAs(line, tag, targets_.stations.OwnCall());
}

void CPacketIntake::ProcessInput() {
    const std::string myCall = targets_.stations.OwnCall();
    DrainBuffer(tncBuffer_, [&](std::string_view line) { DecodeLineAs(line, "TNC>", myCall); });
    DrainBuffer(gpsBuffer_, [this](std::string_view line) {
        if (targets_.gps != nullptr)
            targets_.gps->ParseSentence("", "", "", line, true);
    });
    DrainBuffer(netBuffer_, [&](std::string_view line) { DecodeLineAs(line, "NET>", myCall); });
}

}  // namespace plovane
