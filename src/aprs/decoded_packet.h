// SPDX-License-Identifier: GPL-3.0-or-later
// A decoded monitor line as a plain value: what it says about stations, objects and items,
// the message it carries, the NMEA sentence in it, and the lines to show. The application
// applies it to the stores; nothing here touches them.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <forward_list>
#include <initializer_list>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/date_time.h"
#include "core/station_report.h"

namespace plovane {

// Thread-compatible. Texts are views into the decoded line or into the packet's own
// room, so the packet is neither copied nor moved: it lives where Decode makes it, and
// the line must outlive it. A line is decoded without allocating: what the packet holds is
// left unset until the decoder fills it in, and built texts go to a fixed room (only a text
// too long for it goes to the heap).
class DecodedPacket {
  public:
    // Relayed packets ("}") nested deeper than this are dropped.
    static constexpr int kMaxRelayDepth = 8;
    // A report per relay level (its sender's implied symbol) and two for the innermost
    // packet (its sender and the object or item it names).
    static constexpr size_t kMaxReports = kMaxRelayDepth + 2;

    // Decodes `line` (see Decode in packet_decoder.h).
    DecodedPacket(std::string_view line, const CDateTime& localNow, int biasMinutes,
                  std::string_view myCall);
    ~DecodedPacket() { std::destroy_n(Report(0), reportCount_); }
    DecodedPacket(const DecodedPacket&) = delete;
    DecodedPacket& operator=(const DecodedPacket&) = delete;

    // The cleaned line of each level (the relaying packet, then the packet it carries), to
    // show behind the source's tag.
    std::span<const std::string_view> shownLines() const {
        if (shownCount_ == 0)
            return {};
        return {std::launder(reinterpret_cast<const std::string_view*>(shownBytes_.data())),
                shownCount_};
    }
    // The station updates, in the order they are applied.
    std::span<const StationReport> reports() const {
        if (reportCount_ == 0)
            return {};
        return {std::launder(reinterpret_cast<const StationReport*>(reportBytes_.data())),
                reportCount_};
    }

    // The packet was sent by the own station (heard back through a digipeater): `ownPacket`
    // is the line of that level as received, and nothing else is reported.
    bool isOwn = false;
    std::string_view ownPacket;

    // A message, bulletin, announcement, ack or query (addressee "" for "?APRS?").
    bool hasMessage = false;
    std::string_view messageSource;
    std::string_view messageAddressee;
    std::string_view messageText;
    std::string_view messageRoute;  // the header it came with, "W1AW>APRS,WIDE1-1*"

    // A raw NMEA sentence sent as `sentenceSource`'s position report.
    std::string_view sentence;
    std::string_view sentenceSource;
    std::string_view sentenceDestination;
    std::string_view sentencePath;

    // --- Filled in by the decoder ---

    void AddShownLine(std::string_view line) {
        if (shownCount_ < kMaxRelayDepth + 1) {
            std::construct_at(reinterpret_cast<std::string_view*>(shownBytes_.data()) + shownCount_,
                              line);
            ++shownCount_;
        }
    }
    // The report for `call`: the last one when it is for the same call, else a new one.
    // Null for an empty call (nothing acts on it) or when all are taken.
    StationReport* ReportFor(std::string_view call) {
        if (call.empty())
            return nullptr;
        if (reportCount_ > 0) {
            // The operations of a packet mostly name one call through one view.
            StationReport* last = std::launder(Report(reportCount_ - 1));
            if (last->call.size() == call.size() &&
                (last->call.data() == call.data() || last->call == call)) {
                return last;
            }
        }
        if (reportCount_ == kMaxReports)
            return nullptr;
        StationReport* report = std::construct_at(Report(reportCount_++));
        report->call = call;
        return report;
    }
    // The one weather report a packet carries, and its one telemetry report.
    WeatherValues& weather() { return weather_ ? *weather_ : weather_.emplace(); }
    TelemetryValues& telemetry() { return telemetry_ ? *telemetry_ : telemetry_.emplace(); }

    // Room for a text the decoder builds (the cleaned line with its tabs made blanks, a
    // path written with ">", a relayed packet's continued path, a comment with an extension
    // cut out of its middle): `size` characters that stay put as long as the packet.
    std::span<char> Room(size_t size) {
        if (size <= room_.size() - roomUsed_) {
            char* at = room_.data() + roomUsed_;
            roomUsed_ += size;
            return {at, size};
        }
        return {overflow_.emplace_front(size, '\0').data(), size};
    }
    // `parts` joined in new room; they may be texts of earlier room.
    std::string_view Join(std::initializer_list<std::string_view> parts) {
        size_t size = 0;
        for (const std::string_view part : parts)
            size += part.size();
        const std::span<char> room = Room(size);
        char* at = room.data();
        for (const std::string_view part : parts)
            at = std::copy(part.begin(), part.end(), at);
        return {room.data(), room.size()};
    }

  private:
    // Room for the reports, left unset until used: a line makes one or two of the ten.
    StationReport* Report(size_t i) {
        return reinterpret_cast<StationReport*>(reportBytes_.data()) + i;
    }

    // Set only as far as the counts say.
    alignas(std::string_view)
        std::array<std::byte, sizeof(std::string_view) * (kMaxRelayDepth + 1)> shownBytes_;
    size_t shownCount_ = 0;
    size_t reportCount_ = 0;
    alignas(StationReport) std::array<std::byte, sizeof(StationReport) * kMaxReports> reportBytes_;
    std::optional<WeatherValues> weather_;
    std::optional<TelemetryValues> telemetry_;
    // Texts of nearly every line fit the room; a longer one has a heap string of its own,
    // which never moves.
    std::array<char, 512> room_;
    size_t roomUsed_ = 0;
    std::forward_list<std::string> overflow_;
};

}  // namespace plovane
