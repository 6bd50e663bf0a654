// SPDX-License-Identifier: GPL-3.0-or-later
// Where received lines become store updates: the intake decodes each line the ports hand it
// into a DecodedPacket and applies it to the station store, the message store, the scheduler
// and the GPS receiver. The program, plovane-cli and the decode
// benchmark all go through here.
#pragma once

#include <functional>
#include <string_view>

#include "aprs/packet_decoder.h"
#include "core/app_host.h"
#include "core/clock.h"
#include "core/line_queue.h"

namespace plovane {

class CMessageList;
class CStationList;
class TransmitControl;

// Where an NMEA sentence that a station sent as its position report goes (the GPS receiver's
// sentence parser): the sender, the packet's destination and path, and the sentence.
using SentenceSink = std::function<void(std::string_view source, std::string_view destination,
                                        std::string_view path, std::string_view sentence)>;

// Where a decoded packet goes. Only `host` and `stations` are required.
struct PacketTargets {
    AppHost& host;
    CStationList& stations;
    CMessageList* messages = nullptr;
    TransmitControl* transmit = nullptr;
    SentenceSink sentences = {};
};

// Applies one decoded line: shows each level's line behind `tag` ("TNC>", "NET>", "FILE>"),
// then either marks the own packet heard, or hands the message to the message store,
// applies the station reports under one store lock and passes a sent NMEA sentence on. `now` is
// the local time the line was decoded at, so the line reads the clock once.
void ApplyPacket(const DecodedPacket& packet, std::string_view tag, const CDateTime& now,
                 const PacketTargets& targets);
// The same, the station store reading the clock itself.
void ApplyPacket(const DecodedPacket& packet, std::string_view tag, const PacketTargets& targets);

// Thread-safe: lines normally arrive on the one consumer of the line queue (Take), but
// DecodeLine may run on other threads too; each line is decoded on its own and the stores
// lock themselves. Set the links before any thread decodes.
class CPacketIntake {
  public:
    CPacketIntake(const Clock& clock, PacketTargets targets) : clock_(clock), targets_(targets) {}

    void SetTransmitControl(TransmitControl* transmit) { targets_.transmit = transmit; }
    void SetSentenceSink(SentenceSink sink) { targets_.sentences = std::move(sink); }

    // Sees every line handed to DecodeLine before it is decoded (the station log). Set it
    // before any thread decodes; it runs on the decoding thread.
    using LineObserver = std::function<void(std::string_view line, std::string_view tag)>;
    void SetLineObserver(LineObserver observer) { observer_ = std::move(observer); }

    // Decodes and applies one monitor line; tag is "TNC>", "NET>" or "FILE>".
    void DecodeLine(std::string_view line, std::string_view tag);
    // The same with the own call already read (a port reads it once for all its lines); named
    // apart so that three string literals cannot pick it by mistake.
    void DecodeLineAs(std::string_view line, std::string_view tag, std::string_view myCall);
    // A line from the queue: logged, decoded and applied as heard at its time, under the
    // tag of its kind; then `after` (when set) gets it with its packet.
    using HeardHook = std::function<void(const HeardLine& line, const DecodedPacket& packet)>;
    void Take(const HeardLine& line, const HeardHook& after);

  private:
    const Clock& clock_;
    PacketTargets targets_;
    LineObserver observer_;
};

}  // namespace plovane
