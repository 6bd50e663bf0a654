// SPDX-License-Identifier: GPL-3.0-or-later
// The one consumer of the line queue: a thread that takes every heard line in order, lets the
// intake log, decode and apply it, then hands the line and its packet to whoever acts on
// received traffic (the GPS behind a TNC, and the relaying of packets). The stores have this
// one writer.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "core/line_queue.h"
#include "intake/packet_intake.h"

namespace plovane {

// Thread-compatible: Start and Stop belong to one controlling thread; set the hook before
// Start. The hook runs on the consumer thread.
class CIntakeThread {
  public:
    using HeardHook = CPacketIntake::HeardHook;

    CIntakeThread(LineQueue& queue, CPacketIntake& intake) : queue_(queue), intake_(intake) {}
    ~CIntakeThread() { Stop(); }
    CIntakeThread(const CIntakeThread&) = delete;
    CIntakeThread& operator=(const CIntakeThread&) = delete;

    void SetHeardHook(HeardHook hook) { hook_ = std::move(hook); }
    // Takes the station log's replayed lines instead of the intake: they were logged and
    // acted on when first heard. Without it they are applied as heard.
    using ReplayHook = std::function<void(const HeardLine& line)>;
    void SetReplayHook(ReplayHook hook) { replay_ = std::move(hook); }
    // Takes the own receiver's lines (IsOwnFix); without it they are dropped.
    using FixHook = std::function<void(const HeardLine& line)>;
    void SetFixHook(FixHook hook) { fix_ = std::move(hook); }

    // Starts taking lines; false when the thread could not be made.
    bool Start();
    // Closes the queue (waiting producers end), applies what is left and joins the thread.
    void Stop();
    bool running() const { return thread_.joinable(); }
    // Waits until every line put on the queue before the call has been applied (or the
    // consumer ended).
    void Flush();

  private:
    void Run();

    LineQueue& queue_;
    CPacketIntake& intake_;
    HeardHook hook_;
    ReplayHook replay_;
    FixHook fix_;
    std::mutex mutex_;
    std::condition_variable applied_;
    uint64_t taken_ = 0;  // guarded by mutex_: lines applied so far
    bool ended_ = false;  // guarded by mutex_
    std::thread thread_;
};

}  // namespace plovane
