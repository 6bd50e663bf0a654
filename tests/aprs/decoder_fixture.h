// The decoder and the intake wired to a real station list, with recording fakes for the
// host, the output scheduler and the GPS receiver; the message fields of each packet are
// recorded. Tests check the records and messages it leaves.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "aprs/packet_decoder.h"
#include "core/clock.h"
#include "core/geo.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "core/transmit_control.h"
#include "intake/packet_intake.h"
#include "stations/station_list.h"
#include "support/recording_host.h"

namespace plovane::testing {

class RecordingTransmit : public TransmitControl {
  public:
    void MarkReadyToTransmit() override {}
    void SendStatusText(const std::string&) override {}
    void RearmPositionAndStatus() override {}
    void ArmMessageSlot() override {}
    void SetDigipeatHeard() override { ++digipeatHeard; }
    void AnswerQuery(QueryAnswer) override {}

    int digipeatHeard = 0;
};

struct RecordingMessages {
    struct Message {
        std::string source, addressee, text;
        bool operator==(const Message&) const = default;
    };
    void Record(const DecodedPacket& packet) {
        if (packet.hasMessage) {
            received.push_back({std::string(packet.messageSource),
                                std::string(packet.messageAddressee),
                                std::string(packet.messageText)});
        }
    }

    std::vector<Message> received;
};

// Records the NMEA sentences that packets carry.
struct RecordingGps {
    struct Sentence {
        std::string target, destination, path, line;
        bool operator==(const Sentence&) const = default;
    };
    SentenceSink Sink() {
        return [this](std::string_view target, std::string_view destination, std::string_view path,
                      std::string_view line) {
            sentences.push_back({std::string(target), std::string(destination), std::string(path),
                                 std::string(line)});
        };
    }

    std::vector<Sentence> sentences;
};

inline constexpr const char* kOwnCall = "N0OWN";

class DecoderTest : public ::testing::Test {
  protected:
    DecoderTest() {
        profile.WriteString("Station", "MyCall", kOwnCall);
        profile.WriteInt("Station", "bTrack", 1);
        settings.Load(profile);
        stations.ApplySettings(settings, false);
    }

    void Decode(std::string_view line, std::string_view tag = "TNC>") {
        const DecodedPacket packet =
            plovane::Decode(line, clock.Now(), clock.BiasMinutes(), kOwnCall);
        messages.Record(packet);
        ApplyPacket(packet, tag, targets);
    }

    // The record of `call`; fails the test when there is none.
    CStation Station(std::string_view call) {
        std::optional<CStation> found = stations.FindStation(call);
        EXPECT_TRUE(found.has_value()) << "no record " << call;
        return found.value_or(CStation());
    }

    MemoryProfile profile;
    CStationSettings settings;
    FakeClock clock{CDateTime(2026, 3, 10, 12, 0, 0)};
    RecordingHost host;
    CStationList stations{settings, clock, host, host};
    RecordingTransmit transmit;
    RecordingMessages messages;
    RecordingGps gps;
    PacketTargets targets{host, stations, nullptr, &transmit, gps.Sink()};
    CPacketIntake intake{clock, targets};
};

// The fixed-point position a latitude and longitude text stand for, altitude unknown.
inline TrackPoint PositionOf(std::string_view latitude, std::string_view longitude) {
    TrackPoint point;
    point.colatitude = ParseLatitude(latitude);
    point.longitude = ParseLongitude(longitude);
    point.altitude = -1;
    return point;
}

inline std::string SymbolOf(const CStation& station) {
    if (!station.hasSymbol)
        return "";
    return {station.symbolTable, station.symbolCode};
}

}  // namespace plovane::testing
