// SPDX-License-Identifier: GPL-3.0-or-later
// The output scheduler: times the own position, status, messages and acks and the digipeat
// check on five slots (see schedule_slots.h), runs them on its output thread, formats the own
// position and status reports and queues them on the TNC port and the network.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "core/auto_reset_event.h"
#include "core/clock.h"
#include "core/output_port.h"
#include "core/sinks.h"
#include "core/station_settings.h"
#include "core/station_source.h"
#include "core/transmit_control.h"
#include "transmit/schedule_slots.h"

namespace plovane {

// Thread-safe: ArmSlot, the sends and the TransmitControl calls may come from any thread.
// The slot lock guards the slots, the settings lock our copy of the settings; both are
// leaves (nothing is called while either is held). RunDueSlots runs one slot at a time under
// the firing lock. StartOutput/StopOutput belong to the thread that owns the scheduler (the
// user-interface thread); the attached objects must outlive StopOutput.
class COutputScheduler : public TransmitControl {
  public:
    // kManual starts the schedule without the thread; the owner (a test, a headless
    // driver) then calls RunDueSlots itself.
    enum class ThreadMode { kOutputThread, kManual };

    // The text the caller shows when StartOutput fails.
    static constexpr const char* kStartFailedText = "Unable to start output thread.";

    // Notices: "No digipeat of your packet was heard."
    COutputScheduler(const Clock& clock, NoticeSink& notices);
    ~COutputScheduler() override;
    COutputScheduler(const COutputScheduler&) = delete;
    COutputScheduler& operator=(const COutputScheduler&) = delete;

    // The station store (own record) and the message store; either may be null.
    void Attach(StationSource* stations, PendingSender* messages);
    // The TNC port and the network client; either may be null.
    void SetPorts(OutputPort* tnc, OutputPort* network);
    // Takes a copy of the settings. The settings object is edited on the user-interface
    // thread while the output thread formats packets, so the scheduler never reads it in
    // place: call this on that thread after every load (start-up, setup sheet accepted),
    // before the station store's ApplySettings arms the slots.
    void ApplySettings(const CStationSettings& settings);
    CStationSettings Settings() const;

    // Seeds the jitter generator from the local time, arms slots 0, 1, 2, 3 and starts the
    // output thread. Returns false (the caller shows kStartFailedText) when the thread
    // cannot be started; the slots then never fire. A call while started does nothing.
    bool StartOutput(ThreadMode mode = ThreadMode::kOutputThread);
    // Ends the output thread and waits for it; the slots are then gone and ArmSlot does
    // nothing.
    void StopOutput();

    // Stores the slot's values and wakes the thread; does nothing before StartOutput or
    // after StopOutput.
    void ArmSlot(int slot, float delay, float multiplier, float cap);
    // Fixed: 0.25 min doubling to 30; mobile: MobilePositRate (10 when not above 0, at least
    // 0.5) at a fixed rate.
    void ArmPositionSlot();
    void ArmStatusSlot();
    void ArmSpareSlot();
    void ArmDigipeatCheck();
    void Wake();

    // One pass of the output thread after a wait: fires every slot that is due, 0 to 4, and
    // re-arms it. The thread calls it; with ThreadMode::kManual the owner does.
    void RunDueSlots();

    // The menu commands: send now whatever TransmitPosits / TransmitStatus say. Nothing
    // goes out while MyCall is "NOCALL" or (position) while the own record has no position.
    void SendPosition();
    // An empty text sends the own record's status text (nothing when that is empty too).
    void SendStatus(const std::string& text);
    // The position report of the record with that call, without the line end; empty when
    // there is no such record.
    std::string FormatPositionPacket(const std::string& call) const;

    // TransmitControl
    void MarkReadyToTransmit() override;
    // The start-up announcement: sent only when TransmitStatus is set.
    void SendStatusText(const std::string& text) override;
    void RearmPositionAndStatus() override;
    void ArmMessageSlot() override;
    void SetDigipeatHeard() override;
    // Position and status go out at once; the delayed position rides on the spare slot,
    // armed as at start-up, so it leaves 15 s (give or take the jitter) later.
    void AnswerQuery(QueryAnswer answer) override;

    // For the status display and tests.
    bool IsRunning() const;
    bool IsReady() const { return ready_.load(); }
    bool DigipeatHeard() const { return digipeatHeard_.load(); }
    // A copy of one slot; nullopt before StartOutput, after StopOutput or for a bad number.
    std::optional<ScheduleSlots::Slot> SlotState(int slot) const;

  protected:
    // Starts the output thread; may throw std::system_error like std::thread.
    virtual std::thread CreateOutputThread();

  private:
    // A user's command sends whatever the Transmit settings say; the schedule and the
    // start-up announcement honour them.
    enum class Origin { kCommand, kAutomatic };

    void OutputThreadLoop();
    void FireSlot(int slot);
    void SendPositionFrom(Origin origin);
    void SendStatusFrom(const std::string& text, Origin origin);
    // Queues one report (CR included) on the open TNC port and the connected network.
    void Transmit(const std::string& text, const CStationSettings& settings);

    const Clock& clock_;
    NoticeSink& notices_;
    std::atomic<StationSource*> stations_{nullptr};
    std::atomic<PendingSender*> messages_{nullptr};
    std::atomic<OutputPort*> tnc_{nullptr};
    std::atomic<OutputPort*> network_{nullptr};

    mutable std::mutex settingsMutex_;
    CStationSettings settings_;

    mutable std::mutex slotsMutex_;
    std::optional<ScheduleSlots> slots_;

    std::mutex firingMutex_;
    AutoResetEvent event_;
    std::thread thread_;
    std::atomic<bool> ready_{false};
    std::atomic<bool> stop_{false};
    std::atomic<bool> digipeatHeard_{false};
    std::atomic<bool> queriedPositionDue_{false};  // the spare slot sends the position
};

}  // namespace plovane
