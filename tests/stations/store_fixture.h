// SPDX-License-Identifier: GPL-3.0-or-later
// A station list with everything it talks to, for the store tests.
#pragma once

#include <string>
#include <vector>

#include "core/clock.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "core/transmit_control.h"
#include "stations/station_list.h"
#include "support/recording_host.h"

namespace plovane::testing {

// Only ApplySettings calls out, on the thread that applies the settings.
class RecordingTransmit : public TransmitControl {
  public:
    void MarkReadyToTransmit() override { calls.push_back("ready"); }
    void SendStatusText(const std::string& text) override { calls.push_back("status:" + text); }
    void RearmPositionAndStatus() override { calls.push_back("rearm"); }
    void ArmMessageSlot() override {}
    void SetDigipeatHeard() override {}
    void AnswerQuery(QueryAnswer) override {}
    std::vector<std::string> calls;
};

struct StoreFixture {
    explicit StoreFixture(CDateTime now = CDateTime(2026, 8, 1, 0, 5, 0)) : clock(now) {
        list.SetTransmitControl(&transmit);
        Set("MyCall", "N0CALL");
        host.Clear();
    }

    // Stores one setting and applies the settings again.
    void Set(const std::string& key, int value) {
        profile.WriteInt(CStationSettings::kSection, key, value);
        Reload();
    }
    void Set(const std::string& key, const std::string& value) {
        profile.WriteString(CStationSettings::kSection, key, value);
        Reload();
    }
    void Reload() {
        settings.Load(profile);
        list.ApplySettings(settings, false);
    }

    std::vector<std::string> Calls() const {
        std::vector<std::string> calls;
        for (const CStation& s : list.Snapshot())
            calls.push_back(s.call);
        return calls;
    }

    // A position report with nothing but the position.
    void Report(const std::string& call, const std::string& latitude = "4903.50N",
                const std::string& longitude = "07201.75W", const std::string& time = "") {
        list.UpdatePosition(call, "/>", latitude, longitude, time, "", -1);
    }
    CStation Get(const std::string& call) const {
        return list.FindStation(call).value_or(CStation("<missing>"));
    }

    MemoryProfile profile;
    CStationSettings settings;
    FakeClock clock;
    RecordingHost host;
    RecordingTransmit transmit;
    CStationList list{settings, clock, host, host};
};

}  // namespace plovane::testing
