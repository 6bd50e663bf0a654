// The packet decoder: cuts monitor lines out of the receive buffers, splits the header
// "SOURCE>DESTINATION,PATH:information", and hands each packet type to its decoder, which
// updates the station store (and the message store and GPS receiver through the small
// interfaces below, wired by the application).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "aprs/receive_buffer.h"
#include "core/app_host.h"

namespace plovane {

class CStationList;
class StationBatch;
class TransmitControl;

// Messages, bulletins, announcements, acks and queries go to the message store.
class MessageReceiver {
  public:
    virtual ~MessageReceiver() = default;
    virtual void ReceiveMessage(std::string_view source, std::string_view addressee,
                                std::string_view text) = 0;
};

// NMEA sentences go to the GPS receiver's sentence parser.
class SentenceReceiver {
  public:
    virtual ~SentenceReceiver() = default;
    // target: the station to update ("" means the own station); handOn: the sentence came
    // from the GPS receiver's own source rather than from inside a packet.
    virtual void ParseSentence(std::string_view target, std::string_view destination,
                               std::string_view path, std::string_view line, bool handOn) = 0;
    // True when GPS is enabled with the data coming through the TNC.
    virtual bool GpsFromTnc() const = 0;
};

// Thread-safe: DecodeLine and ProcessInput may run on several threads at once (serial read
// threads and the user-interface thread); a decode keeps all its working values per call and
// the stores lock themselves. A line's station updates gather in a batch of its own that the
// station store applies under one lock. Set the links before any thread decodes.
class CPacketDecoder {
  public:
    // Relayed packets ("}") nested deeper than this are dropped.
    static constexpr int kMaxRelayDepth = 8;

    explicit CPacketDecoder(AppHost& host);

    void SetStations(CStationList* stations) { stations_ = stations; }
    void SetMessages(MessageReceiver* messages) { messages_ = messages; }
    void SetTransmitControl(TransmitControl* transmit) { transmit_ = transmit; }
    void SetSentenceReceiver(SentenceReceiver* gps) { gps_ = gps; }
    void SetBuffers(ReceiveBuffer* tnc, ReceiveBuffer* gps, ReceiveBuffer* network) {
        tncBuffer_ = tnc;
        gpsBuffer_ = gps;
        netBuffer_ = network;
    }

    // Sees every line handed to DecodeLine before it is decoded (the station log). Set it
    // before any thread decodes; it runs on the decoding thread.
    using LineObserver = std::function<void(std::string_view line, std::string_view tag)>;
    void SetLineObserver(LineObserver observer) { observer_ = std::move(observer); }

    // One intake pass: every complete line of the TNC, GPS and network buffers.
    void ProcessInput();
    // Decodes one monitor line. outerPath is empty except for relayed inner packets; tag is
    // "TNC>", "NET>" or "FILE>".
    void DecodeLine(std::string_view line, std::string_view outerPath, std::string_view tag);

  private:
    struct LineBuffers;

    // One level of a line (relayed packets nest); applies the batch at its end.
    void DecodeLineAt(std::string_view line, std::string_view outerPath, std::string_view tag,
                      int depth, StationBatch& batch);
    void DecodeInto(std::string_view line, std::string_view outerPath, std::string_view tag,
                    int depth, StationBatch& batch, LineBuffers& buffers);

    AppHost& host_;
    CStationList* stations_ = nullptr;
    MessageReceiver* messages_ = nullptr;
    TransmitControl* transmit_ = nullptr;
    SentenceReceiver* gps_ = nullptr;
    ReceiveBuffer* tncBuffer_ = nullptr;
    ReceiveBuffer* gpsBuffer_ = nullptr;
    ReceiveBuffer* netBuffer_ = nullptr;
    LineObserver observer_;
};

}  // namespace plovane
