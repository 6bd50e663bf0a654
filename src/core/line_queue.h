// SPDX-License-Identifier: GPL-3.0-or-later
// The one road in: every source (each TNC port, APRS-IS, simulation playback, log replay, the
// own GPS receiver or gpsd) puts its complete lines, tagged with where and when they were heard, into one bounded queue, and
// one consumer takes them in order. A full queue makes the producers wait, so nothing is
// dropped; closing it wakes every waiting producer and ends them.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <stop_token>
#include <string>
#include <string_view>
#include <utility>

#include "core/clock.h"
#include "core/date_time.h"

namespace plovane {

// What kind of source a line came from.
enum class LineKind : uint8_t {
    kRf,        // a TNC port
    kInternet,  // APRS-IS
    kFile,      // simulation playback
    kReplay,    // the station log played back
    kNmea,      // the own GPS receiver on its serial port: one NMEA sentence
    kGpsd,      // gpsd: one JSON report holding a fix
};

// The own receiver's lines move the own record; they are neither logged nor decoded as packets.
constexpr bool IsOwnFix(LineKind kind) {
    return kind == LineKind::kNmea || kind == LineKind::kGpsd;
}

// The monitor-line prefix of a kind ("TNC>", "NET>", "FILE>").
constexpr std::string_view LineTag(LineKind kind) {
    switch (kind) {
        case LineKind::kRf:
            return "TNC>";
        case LineKind::kInternet:
            return "NET>";
        case LineKind::kFile:
        case LineKind::kReplay:
            return "FILE>";
        case LineKind::kNmea:
        case LineKind::kGpsd:
            return "GPS>";
    }
    return "FILE>";
}

// Where a line came from: the port (0 for APRS-IS and files, 1.. for the TNC ports) and its kind.
struct LineOrigin {
    int port = 0;
    LineKind kind = LineKind::kRf;
    bool operator==(const LineOrigin&) const = default;
};

// Where a replayed line stood in the station log.
struct LogStamp {
    int64_t utcSeconds = 0;  // Unix time
    bool sent = false;       // one of our own lines
    std::string source;      // "TNC", "NET" or "FILE"
};

// One received line (its line end may still be on it) with its origin and the local time it
// was heard; a replayed line also carries its place in the log.
struct HeardLine {
    LineOrigin origin;
    CDateTime heard;
    std::string bytes;
    LogStamp logged = {};  // kReplay lines only
};

// Thread-safe: any number of producers, one consumer.
class LineQueue {
  public:
    static constexpr size_t kDefaultCapacity = 4096;

    explicit LineQueue(size_t capacity = kDefaultCapacity) : capacity_(capacity ? capacity : 1) {}
    LineQueue(const LineQueue&) = delete;
    LineQueue& operator=(const LineQueue&) = delete;

    // Waits while the queue is full. False (the line not taken) once the queue is closed or
    // `stop` is requested (the producer's port is being closed).
    bool Push(HeardLine line, std::stop_token stop = {}) {
        std::unique_lock lock(mutex_);
        if (!notFull_.wait(lock, stop, [this] { return closed_ || lines_.size() < capacity_; }) ||
            closed_)
            return false;
        lines_.push_back(std::move(line));
        ++pushed_;
        notEmpty_.notify_one();
        return true;
    }

    // Waits for the next line. False when the queue is closed and every line was taken.
    bool Pop(HeardLine& line) {
        std::unique_lock lock(mutex_);
        notEmpty_.wait(lock, [this] { return closed_ || !lines_.empty(); });
        if (lines_.empty())
            return false;
        line = std::move(lines_.front());
        lines_.pop_front();
        notFull_.notify_one();
        return true;
    }

    // Ends the road: waiting producers return false, later pushes are refused, the consumer
    // takes what is left and then ends.
    void Close() {
        std::lock_guard lock(mutex_);
        closed_ = true;
        notFull_.notify_all();
        notEmpty_.notify_all();
    }

    bool closed() const {
        std::lock_guard lock(mutex_);
        return closed_;
    }
    size_t size() const {
        std::lock_guard lock(mutex_);
        return lines_.size();
    }
    size_t capacity() const { return capacity_; }
    // Every line ever taken in, so a producer can wait until the consumer has come this far.
    uint64_t pushed() const {
        std::lock_guard lock(mutex_);
        return pushed_;
    }

  private:
    const size_t capacity_;
    mutable std::mutex mutex_;
    std::condition_variable_any notFull_;
    std::condition_variable notEmpty_;
    std::deque<HeardLine> lines_;  // guarded by mutex_
    uint64_t pushed_ = 0;          // guarded by mutex_
    bool closed_ = false;          // guarded by mutex_
};

// What a port gets to hand its lines on: the queue, its own origin and the clock that stamps
// them. A value; a port without a queue keeps its lines to itself.
struct LineSink {
    LineQueue* queue = nullptr;
    LineOrigin origin;
    const Clock* clock = nullptr;

    // False when there is no queue, it was closed (the program is ending) or `stop` was
    // requested while it waited for room.
    bool Put(std::string_view line, std::stop_token stop = {}) const {
        if (queue == nullptr)
            return false;
        const CDateTime heard = clock != nullptr ? clock->Now() : CDateTime();
        return queue->Push(HeardLine{origin, heard, std::string(line)}, std::move(stop));
    }
    bool Ending() const { return queue != nullptr && queue->closed(); }
};

}  // namespace plovane
