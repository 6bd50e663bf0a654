// The packet decoder: a function of the monitor line. It cleans the line, splits the header
// "SOURCE>DESTINATION,PATH:information", and hands each packet type to its decoder; the
// result is a DecodedPacket that the application applies to its stores.
#pragma once

#include <string_view>

#include "aprs/decoded_packet.h"
#include "core/date_time.h"

namespace plovane {

// Decodes one monitor line received at `localNow` (local time; UTC = local + biasMinutes).
// Packets from `myCall` are only marked as the own packet. Thread-safe: a pure function.
inline DecodedPacket Decode(std::string_view line, const CDateTime& localNow, int biasMinutes,
                            std::string_view myCall) {
    return DecodedPacket(line, localNow, biasMinutes, myCall);
}

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

}  // namespace plovane
