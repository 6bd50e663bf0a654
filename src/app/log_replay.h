// SPDX-License-Identifier: GPL-3.0-or-later
// What joins the station log to the running station: the gate through which the stores see
// the clock and the host (during a replay they date records by the log's stamps and stay
// silent), the output ports that log what they send, and the replay itself.
#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <thread>

#include "app/station_log.h"
#include "core/app_host.h"
#include "core/clock.h"
#include "core/line_queue.h"
#include "core/output_port.h"

namespace plovane {

class CPacketIntake;
class CStationList;
class CMessageList;

// The clock and host the stores are given. On the thread that replays a log, between Begin
// and End, "now" is the stamp of the record being replayed, and notices and sounds are
// swallowed (change notifications pass: the windows' hosts coalesce them); every other
// thread sees the real clock and host.
// Thread-safe: the replaying thread is an atomic; the replay time is used by that thread only.
class ReplayGate final : public Clock, public AppHost {
  public:
    ReplayGate(const Clock& clock, AppHost& host) : clock_(clock), host_(host) {}

    // The time-zone offset is read once per replay: the host's clock may read the zone
    // files on every call.
    void Begin() {
        replayBias_ = clock_.BiasMinutes();
        thread_.store(std::this_thread::get_id());
    }
    void End() { thread_.store(std::thread::id()); }
    // The calling thread replays from now until End, at the bias read by Begin (a replay whose
    // records are taken one by one on another thread).
    void Enter() { thread_.store(std::this_thread::get_id()); }
    // The replaying thread's current record.
    void SetUtc(int64_t utcSeconds);
    bool Replaying() const { return thread_.load() == std::this_thread::get_id(); }

    // Clock
    CDateTime Now() const override;
    int BiasMinutes() const override { return Replaying() ? replayBias_ : clock_.BiasMinutes(); }
    int64_t TickMs() const override { return clock_.TickMs(); }

    // AppHost
    void Post(ThreadMessage message, std::string text) override;
    void ShowNotice(std::string_view text) override;
    MessageBoxResult MessageBox(std::string_view text, MessageBoxIcon icon,
                                MessageBoxButtons buttons, std::string_view title) override {
        return host_.MessageBox(text, icon, buttons, title);
    }
    void StationChanged(const std::string& call) override { host_.StationChanged(call); }
    void MessageChanged(uint64_t messageKey) override { host_.MessageChanged(messageKey); }
    void ShowProgress(std::string_view text) override { host_.ShowProgress(text); }
    void SetProgress(int percent) override { host_.SetProgress(percent); }
    void HideProgress() override { host_.HideProgress(); }
    void PlaySound(const std::string& path) override;

  private:
    const Clock& clock_;
    AppHost& host_;
    std::atomic<std::thread::id> thread_{};
    // Only the replaying thread touches these.
    CDateTime replayNow_;  // local time
    int replayBias_ = 0;
};

// An output port that appends what it sends to the station log; texts queued by a replaying
// thread are not sent at all.
// Thread-safe: as the port it wraps; the log pointer is set before the ports open.
class LoggedPort final : public OutputPort {
  public:
    // source "TNC" (texts without header: the TNC header is added in the log) or "NET".
    LoggedPort(const ReplayGate& gate, std::string source)
        : gate_(gate), source_(std::move(source)) {}

    void Wrap(OutputPort* port) { port_.store(port); }
    void SetLog(CStationLog* log) { log_.store(log); }
    // Null when there is no port to wrap, so that callers skip it as before.
    OutputPort* get() { return port_.load() != nullptr ? this : nullptr; }

    bool IsOpen() const override;
    bool TakesText() const override;
    void QueueText(const std::string& text, int delayBeforeMs, int delayAfterMs) override;

  private:
    const ReplayGate& gate_;
    const std::string source_;
    std::atomic<OutputPort*> port_{nullptr};
    std::atomic<CStationLog*> log_{nullptr};
};

struct ReplayCounts {
    size_t received = 0;  // lines decoded
    size_t sent = 0;      // own messages restored
};

// Replays records in their order into the stores on this thread: received lines through the
// decoder, our own sent messages into the message store. Nothing is transmitted: the gate
// holds back every text queued meanwhile, and the message store holds what it restored
// (own messages wait for Resend, received ones are not acked again). GPS sentences and our
// own packets heard back are skipped: they describe where we were, not where we are.
// Messages to us stamped at or before `seenUtc` had been seen by the user when the station
// last stopped: they come back without the message-waiting mark.
// Records may come in several parts (a log streamed a chunk at a time); Finish ends the replay.
// Thread-compatible: one replaying thread at a time, from construction to Finish (the road's
// consumer takes the records between, handed over by the queue).
class LogReplayer {
  public:
    LogReplayer(ReplayGate& gate, CPacketIntake& decoder, CStationList& stations,
                CMessageList& messages, int64_t seenUtc = INT64_MIN);
    LogReplayer(const LogReplayer&) = delete;
    LogReplayer& operator=(const LogReplayer&) = delete;

    void Replay(std::span<const LogRecord> records);
    // One record put on the road as a kReplay line, taken on the road's consumer thread.
    void Take(const HeardLine& line);
    ReplayCounts Finish();

  private:
    void ReplayOne(const LogRecord& record);

    ReplayGate& gate_;
    CPacketIntake& decoder_;
    CMessageList& messages_;
    const int64_t seenUtc_;
    const std::string ownCall_;
    const std::string ownPrefix_;
    const uint64_t firstKey_;
    ReplayCounts counts_;
    // A message sent on both ports at once is one sending.
    std::string lastSent_;
    int64_t lastSentAt_ = INT64_MIN;
    std::string tag_;
};

// All records of a set at once.
ReplayCounts ReplayRecords(const LogReplaySet& set, ReplayGate& gate, CPacketIntake& decoder,
                           CStationList& stations, CMessageList& messages,
                           int64_t seenUtc = INT64_MIN);

// "N0CALL>APQ102,WIDE1-1:" for the TNC's UNPROTO destination and path.
std::string TncLogHeader(const std::string& myCall, const std::string& destination,
                         const std::string& path);

// The status text after a replay: "Station log: 120 lines replayed", the damaged count, and
// whether older lines were left out by the read limit.
std::string ReplayNotice(const ReplayCounts& counts, const LogReplaySet& set);

}  // namespace plovane
