// SPDX-License-Identifier: GPL-3.0-or-later
// Fills the history database as packets are heard: the intake hands each decoded packet
// over, its rows are copied out at once, and a thread of the writer's own adds them in one
// transaction a batch at a time, so the caller never waits on the disk.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "aprs/decoded_packet.h"
#include "history/history_store.h"

namespace plovane {

// What the writer keeps, checked once per day of heard time.
struct HistoryLimits {
    int retentionDays = 30;  // as the station log's; 0 keeps everything
    int64_t maxBytes = 0;    // 0: no bound on the file
};

// Thread-safe: Add may be called from any thread; the queue is guarded by one mutex; the
// store belongs to the writer thread from Start to Stop.
// A full queue (the disk stalled for minutes) drops the newest packets and counts them: the
// station log still has them, and a rebuild brings them back.
class HistoryWriter {
  public:
    // Packets queued at most; a full feed at 200 packets/s fills it in about 80 s.
    static constexpr size_t kMaxQueued = 16384;
    // A batch is written when this many packets wait, or after kBatchMs.
    static constexpr size_t kBatchPackets = 2000;
    static constexpr int kBatchMs = 1000;

    // `store` must be open; the writer owns it from Start on. `notice` hears (on the writer's
    // thread) when a damaged file was set aside.
    explicit HistoryWriter(HistoryStore& store, HistoryLimits limits = {},
                           HistoryStore::NoticeSink notice = {})
        : store_(store), limits_(limits), notice_(std::move(notice)) {}
    ~HistoryWriter() { Stop(); }
    HistoryWriter(const HistoryWriter&) = delete;
    HistoryWriter& operator=(const HistoryWriter&) = delete;

    // Runs on the writer's thread after a damaged file was set aside, to fill the new one
    // (the application rebuilds it from the station log). Set before Start.
    using Refill = std::function<void(HistoryStore&)>;
    void SetRefill(Refill refill) { refill_ = std::move(refill); }

    void Start();
    // Writes what is queued and stops the thread. Safe to call twice.
    void Stop();

    // One decoded packet heard at `utcHeard` (Unix seconds) as `line`. Copies what it needs
    // and returns at once; false when the queue was full and the packet was dropped.
    bool Add(const DecodedPacket& packet, int64_t utcHeard, std::string_view line);
    // Waits until everything added so far is written (tests, before a query).
    void Flush();

    size_t dropped() const;
    size_t written() const;  // packets written

  private:
    void Run();

    HistoryStore& store_;
    const HistoryLimits limits_;
    const HistoryStore::NoticeSink notice_;
    Refill refill_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::deque<HistoryRows> queue_;
    size_t dropped_ = 0;
    size_t written_ = 0;
    uint64_t added_ = 0;      // packets accepted
    uint64_t committed_ = 0;  // of those, written (or failed)
    bool stop_ = false;
    bool running_ = false;
    bool flushWanted_ = false;
    std::thread thread_;
};

}  // namespace plovane
