// SPDX-License-Identifier: GPL-3.0-or-later
// The station log: the memory of the station across restarts. Every line heard and every line
// sent is appended with its UTC time to one file per UTC day, plovane/log/YYYY-MM-DD.log under
// the XDG data folder. A record is two lines:
//
//   #2026-12-06T13:58:21Z RX NET
//   W1AAA>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-hi
//
// The first line is skipped by the decoder (no call precedes a ">"), so a day file plays as a
// simulation file, decodes with plovane-cli decode and greps with ordinary tools.
// Lines sent through the TNC carry the header the TNC puts on them.
//
// A line holding terminal controls (ESC, BEL, C1) is written with them as "\xHH" and its
// backslashes as "\x5C", and its stamp line ends in " \x" to say so; the reader gives the
// exact bytes back. Lines without the mark are the bytes as heard, as in older files.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/profile.h"

namespace plovane {

// The log's three settings, in the "Station" section.
struct CLogSettings {
    bool bStationLog = true;
    int32_t LogReplayHours = 24;    // replayed at start; 0 replays nothing
    int32_t LogRetentionDays = 30;  // older day files are removed; 0 keeps them all

    void Load(const Profile& profile);
    void Save(Profile& profile) const;
};

enum class LogDirection : uint8_t { kReceived, kSent };

// One record as read back. The texts are views into the bytes the reader holds.
struct LogRecord {
    int64_t utcSeconds = 0;  // Unix time
    LogDirection direction = LogDirection::kReceived;
    std::string_view source;  // "TNC", "NET" or "FILE"
    std::string_view line;
};

// "$XDG_DATA_HOME/plovane/log", else "$HOME/.local/share/plovane/log"; empty when neither is set.
std::filesystem::path DefaultLogFolder();
// "2026-12-06.log" for a Unix time.
std::string LogFileName(int64_t utcSeconds);
// "#2026-12-06T13:58:21Z RX NET", with " \x" after it when the line that follows is escaped.
std::string StampLine(int64_t utcSeconds, LogDirection direction, std::string_view source,
                      bool escaped = false);
// Parses a stamp line; false for anything else. `escaped` tells whether the line that
// follows carries escapes.
bool ParseStampLine(std::string_view text, int64_t& utcSeconds, LogDirection& direction,
                    std::string_view& source, bool* escaped = nullptr);

// Gives back the lines of a day file read as a simulation or decoded line by line as they
// were heard: the line after a stamp marked " \x" loses its escapes; other lines pass as read.
class LogLineFilter {
  public:
    void Apply(std::string& line);

  private:
    bool escapedNext_ = false;
};

// Records read from day files, kept in time-stamp order (records with the same stamp keep
// the order they were written in). Holds the files' bytes; records point into them.
class LogReplaySet {
  public:
    // The most bytes of day files one set reads (memory at start): a replay of many hours of
    // a busy feed keeps its newest 256 MiB and leaves the older lines out.
    static constexpr int64_t kMaxReadBytes = int64_t{256} * 1024 * 1024;

    // Bytes read at a time when the records are streamed.
    static constexpr size_t kChunkBytes = size_t{4} << 20;
    using Sink = std::function<void(std::span<const LogRecord>)>;

    explicit LogReplaySet(int64_t maxReadBytes = kMaxReadBytes) : budget_(maxReadBytes) {}

    // Hands the records to `sink` as they are read, a chunk at a time, instead of keeping
    // them: memory stays near two chunks however large the files. Each chunk comes in stamp
    // order (a clock step back further than one chunk replays as written). Call before adding.
    void StreamTo(Sink sink, size_t chunkBytes = kChunkBytes) {
        sink_ = std::move(sink);
        chunkBytes_ = std::max<size_t>(chunkBytes, 64);
    }
    // Reading ends at the next chunk once `stop` is requested (the program is quitting).
    void StopWhen(std::stop_token stop) { stop_ = std::move(stop); }

    // Reads one day file's records stamped at or after `sinceUtc`; of a file larger than what
    // is left of the read limit only the newest part. False when the file cannot be read.
    // A stamp without its line, a line without its stamp, or a stamp that does not parse
    // counts as one damaged record and is skipped.
    bool AddFile(const std::filesystem::path& file, int64_t sinceUtc = INT64_MIN);
    // The same for the bytes of a day file.
    void AddBytes(std::string_view bytes, int64_t sinceUtc = INT64_MIN);
    // Reads the day files of `folder` that can hold records from `sinceUtc` on (future days
    // included: a line from a wrong clock is still kept in stamp order). The newest files
    // have the first claim on the read limit.
    void AddFolder(const std::filesystem::path& folder, int64_t sinceUtc);
    // Sorts by stamp; call once after adding.
    void Sort();

    // The records kept (none when streaming).
    const std::vector<LogRecord>& records() const { return records_; }
    // Records read, kept or streamed.
    size_t count() const { return count_; }
    size_t damaged() const { return damaged_; }
    // The most bytes of day files held in memory at once.
    size_t peakBufferBytes() const { return peakBuffer_; }
    // Bytes of day files left unread by the read limit (their older lines).
    int64_t leftOutBytes() const { return leftOut_; }

  private:
    // Bytes of one file, mapped straight from the system (a day file can be hundreds of
    // megabytes; see station_log.cpp).
    class Bytes {
      public:
        explicit Bytes(size_t size);
        ~Bytes();
        Bytes(Bytes&& other) noexcept : data_(other.data_), size_(other.size_) {
            other.data_ = nullptr;
            other.size_ = 0;
        }
        Bytes(const Bytes&) = delete;
        Bytes& operator=(const Bytes&) = delete;
        Bytes& operator=(Bytes&&) = delete;
        char* data() const { return data_; }  // null when the memory could not be had

      private:
        char* data_ = nullptr;
        size_t size_ = 0;
    };

    // Reads at most `maxBytes` from the end of the file.
    bool ReadFile(const std::filesystem::path& file, int64_t sinceUtc, int64_t maxBytes);
    // Reads the records of whole lines; with `more`, the bytes of a record not finished are
    // left for the next chunk, and the length taken is returned.
    size_t Parse(std::string_view bytes, int64_t sinceUtc, bool more = false);
    // Hands the records read so far to the sink.
    void Deliver();

    int64_t budget_;  // bytes left to read
    int64_t leftOut_ = 0;

    // The bytes read; records point into them.
    std::vector<Bytes> buffers_;
    std::vector<LogRecord> records_;
    size_t count_ = 0;
    size_t damaged_ = 0;
    Sink sink_;
    size_t chunkBytes_ = kChunkBytes;
    std::stop_token stop_;
    size_t peakBuffer_ = 0;
};

// Removes day files older than `retentionDays` full days before `nowUtc`; the number removed.
size_t PurgeOldLogs(const std::filesystem::path& folder, int64_t nowUtc, int retentionDays);

// Appends records to the day files. Appends go to a memory buffer; a writer thread writes it
// out (and syncs it to the disk) every half second, on Flush and on Close, so a crash or a
// power cut loses at most the last second. Only regular files are written: a pipe or a
// device named like a day file is refused. A write that fails (unwritable folder, full disk)
// drops what it could not write and raises one notice; the station goes on, the log tries
// again on the next flush and says so when it writes again, with the records lost meanwhile.
// Close waits a bounded time for a writer stuck in the system (a stalled network file
// system) and then leaves it, saying how many records were not written. Old day files are
// removed when the UTC day turns.
// Thread-safe: Append may be called from any thread; the buffer is guarded by one mutex, the
// files are written by the writer thread only (or by the caller of Flush, under the file lock).
// The writer thread shares the state below with the object, so that it may outlive it.
class CStationLog {
  public:
    using UtcSource = std::function<int64_t()>;
    using NoticeSink = std::function<void(const std::string&)>;
    static constexpr int kFlushPeriodMs = 500;
    // How long Close waits for the last write.
    static constexpr int kCloseWaitMs = 3000;
    // Bytes kept while the disk does not take them; beyond this new records are dropped.
    static constexpr size_t kMaxBufferBytes = 4 * 1024 * 1024;

    // `now` gives the UTC time of each record; `notice` reports failures and recoveries.
    CStationLog(std::filesystem::path folder, UtcSource now, NoticeSink notice, int retentionDays);
    ~CStationLog();
    CStationLog(const CStationLog&) = delete;
    CStationLog& operator=(const CStationLog&) = delete;

    // Starts the writer thread.
    void Start();
    // Writes what is buffered and stops the writer thread. Safe to call twice.
    void Close();

    // One line heard (source "TNC", "NET", "FILE") or sent; line ends are dropped.
    void Append(LogDirection direction, std::string_view source, std::string_view line);
    // Writes the buffer now; false when a write failed.
    bool Flush();

    // The header the TNC adds to what we send ("N0CALL>APQ102,WIDE1-1:"), for sent TNC lines.
    void SetTncHeader(std::string header);
    std::string TncHeader() const;

    void SetRetentionDays(int days);
    const std::filesystem::path& folder() const;
    // Records dropped because the disk did not take them.
    uint64_t dropped() const;
    // False from a failed write until a write succeeds again.
    bool writing() const;

  private:
    struct Pending {
        int64_t day;  // UTC day number of the records
        std::string bytes;
        size_t records = 0;
    };
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

}  // namespace plovane
