// SPDX-License-Identifier: GPL-3.0-or-later
// Fakes around a message store: a thread-safe recording port, a recording scheduler, a station.
#pragma once

#include <gtest/gtest.h>

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

using Texts = std::vector<std::string>;

class RecordingPort final : public OutputPort {
  public:
    bool IsOpen() const override { return open.load(); }
    void QueueText(const std::string& text, int, int) override {
        std::lock_guard lock(mutex_);
        texts_.push_back(text);
    }
    // Returns what was queued and forgets it.
    Texts Take() {
        std::lock_guard lock(mutex_);
        return std::exchange(texts_, {});
    }

    std::atomic<bool> open{true};

  private:
    std::mutex mutex_;
    Texts texts_;
};

class CountingTransmit final : public TransmitControl {
  public:
    void MarkReadyToTransmit() override {}
    void SendStatusText(const std::string&) override {}
    void RearmPositionAndStatus() override {}
    void ArmMessageSlot() override { ++messageSlotArms; }
    void SetDigipeatHeard() override {}
    void AnswerQuery(QueryAnswer answer) override { answers.push_back(answer); }
    std::vector<QueryAnswer> Answers() { return std::exchange(answers, {}); }

    std::atomic<int> messageSlotArms{0};
    std::vector<QueryAnswer> answers;
};

// One station's message store, wired as the application wires it.
struct TestStation {
    explicit TestStation(const std::string& call, const Clock& clock, AppHost& host)
        : list(settings, clock, host, host, [this] { return ownCall; }) {
        settings.destination = "APQ102";
        SetCall(call);
        list.SetPorts(&tnc, &network);
        list.SetTransmitControl(&transmit);
        list.SetViewRedraw([] {});
        list.SetSounds({true, "message.wav", true, "ack.wav"});
    }

    // Changes the own record's call and the settings' MyCall together.
    void SetCall(const std::string& call) {
        ownCall = call;
        settings.MyCall = call;
        list.ApplySettings(settings);
    }
    void Apply() { list.ApplySettings(settings); }

    CStationSettings settings;
    std::string ownCall;
    RecordingPort tnc;
    RecordingPort network;
    CountingTransmit transmit;
    CMessageList list;
};

inline constexpr const char* kMe = "K1ABC";

class MessageTest : public ::testing::Test {
  protected:
    FakeClock clock;
    RecordingHost host;
    TestStation me{kMe, clock, host};
    CMessageList& list = me.list;
};

}  // namespace plovane::testing
