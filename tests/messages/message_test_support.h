// Fakes around a message store: recording ports, a scheduler that counts re-arms, and a
// station bundling one store with its settings and ports.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "core/clock.h"
#include "core/output_port.h"
#include "core/station_settings.h"
#include "core/transmit_control.h"
#include "messages/message_list.h"
#include "support/recording_host.h"

namespace plovane::testing {

class RecordingPort final : public OutputPort {
  public:
    bool IsOpen() const override { return open.load(); }
    void QueueText(const std::string& text, int, int) override {
        std::lock_guard lock(mutex_);
        texts_.push_back(text);
    }
    std::vector<std::string> Texts() const {
        std::lock_guard lock(mutex_);
        return texts_;
    }
    // Returns what was queued and forgets it.
    std::vector<std::string> Take() {
        std::lock_guard lock(mutex_);
        return std::exchange(texts_, {});
    }

    std::atomic<bool> open{true};

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> texts_;
};

class CountingTransmit final : public TransmitControl {
  public:
    void MarkReadyToTransmit() override {}
    void SendStatusText(const std::string&) override {}
    void RearmPositionAndStatus() override {}
    void ArmMessageSlot() override { ++messageSlotArms; }
    void SetDigipeatHeard() override {}
    void AnswerQuery(QueryAnswer answer) override {
        std::lock_guard lock(mutex_);
        answers_.push_back(answer);
    }
    std::vector<QueryAnswer> Answers() {
        std::lock_guard lock(mutex_);
        return std::exchange(answers_, {});
    }

    std::atomic<int> messageSlotArms{0};

  private:
    std::mutex mutex_;
    std::vector<QueryAnswer> answers_;
};

inline CStationSettings SettingsFor(const std::string& call) {
    CStationSettings settings;
    settings.MyCall = call;
    settings.destination = "APQ102";
    return settings;
}

// One station's message store, wired as the application wires it.
struct TestStation {
    explicit TestStation(const std::string& call, const Clock& clock, AppHost& host)
        : settings(SettingsFor(call)), ownCall(call), list(settings, clock, host, host, [this] {
              std::lock_guard lock(ownCallMutex);
              return ownCall;
          }) {
        list.SetPorts(&tnc, &network);
        list.SetTransmitControl(&transmit);
        list.SetViewRedraw([this] { ++redraws; });
        list.SetSounds({true, "message.wav", true, "ack.wav"});
    }

    // Changes the own record's call and the settings' MyCall together.
    void SetCall(const std::string& call) {
        {
            std::lock_guard lock(ownCallMutex);
            ownCall = call;
        }
        settings.MyCall = call;
        list.ApplySettings(settings);
    }

    CStationSettings settings;
    std::mutex ownCallMutex;
    std::string ownCall;
    RecordingPort tnc;
    RecordingPort network;
    CountingTransmit transmit;
    std::atomic<int> redraws{0};
    CMessageList list;
};

}  // namespace plovane::testing
