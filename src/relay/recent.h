// SPDX-License-Identifier: GPL-3.0-or-later
// What the relay logic remembers for a while: packets already relayed (duplicates), stations
// heard lately and where, and packets sent per port in the last minute (the rate limit). Each
// forgets by age and holds at most a fixed number of entries, so a flood cannot grow them.
// Thread-compatible: used by one thread, the intake's consumer.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "relay/monitor_line.h"

namespace plovane {

// Packets by source, destination and information (the path does not count).
class RecentPackets {
  public:
    RecentPackets(std::chrono::seconds window, size_t capacity)
        : window_(window), capacity_(capacity) {}

    // True when the same packet was recorded within the window; otherwise records it.
    bool SeenElseRecord(std::string_view source, std::string_view destination,
                        std::string_view info, RelayTime now);
    size_t size() const { return entries_.size(); }

  private:
    struct Entry {
        RelayTime at;
        uint64_t key;
    };
    std::chrono::seconds window_;
    size_t capacity_;
    std::deque<Entry> entries_;  // oldest first
};

// Stations by call ("-0" and no SSID alike): when and on which port they were heard last.
class HeardCalls {
  public:
    HeardCalls(std::chrono::seconds window, size_t capacity)
        : window_(window), capacity_(capacity) {}

    void Note(std::string_view call, int port, RelayTime now);
    // The port the station was heard on within the window.
    std::optional<int> Find(std::string_view call, RelayTime now) const;
    void Forget(std::string_view call);
    size_t size() const { return calls_.size(); }

  private:
    struct Entry {
        RelayTime at;
        int port;
    };
    void Sweep(RelayTime now);

    std::chrono::seconds window_;
    size_t capacity_;
    std::unordered_map<std::string, Entry> calls_;
    RelayTime lastSweep_{};
};

// At most `perMinute` packets per port in any 60 seconds.
class RateLimit {
  public:
    explicit RateLimit(int perMinute) : perMinute_(perMinute < 1 ? 1 : perMinute) {}

    // True (and counted) when one more packet may go on `port` now.
    bool Take(int port, RelayTime now);
    size_t size() const;

  private:
    size_t perMinute_;
    std::map<int, std::deque<RelayTime>> sent_;  // per port, oldest first
};

}  // namespace plovane
