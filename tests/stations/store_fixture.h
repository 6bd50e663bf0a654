// A station list with everything it talks to, for the store tests.
#pragma once

#include <array>

#include <mutex>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "core/transmit_control.h"
#include "stations/station_list.h"
#include "support/recording_host.h"

namespace plovane::testing {

class RecordingTransmit : public TransmitControl {
  public:
    void MarkReadyToTransmit() override { Record("ready"); }
    void SendStatusText(const std::string& text) override { Record("status:" + text); }
    void RearmPositionAndStatus() override { Record("rearm"); }
    void ArmMessageSlot() override { Record("message slot"); }
    void SetDigipeatHeard() override { Record("digipeat"); }
    void AnswerQuery(QueryAnswer) override { Record("query"); }

    std::vector<std::string> calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }

  private:
    void Record(std::string call) {
        std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
    }
    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
};

struct StoreFixture {
    static constexpr const char* kSection = CStationSettings::kSection;

    explicit StoreFixture(CDateTime now = CDateTime(2026, 8, 1, 0, 5, 0)) : clock(now) {
        list.SetTransmitControl(&transmit);
        profile.WriteString(kSection, "MyCall", "N0CALL");
        settings.Load(profile);
        list.ApplySettings(settings, false);
        host.Clear();
    }

    // Stores one setting and applies the settings again.
    void Set(const std::string& key, int value) {
        profile.WriteInt(kSection, key, value);
        Reload();
    }
    void Set(const std::string& key, const std::string& value) {
        profile.WriteString(kSection, key, value);
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

    // Reports of one part each, as a packet's decoder writes them.
    void ImplySymbol(std::string_view call, std::string_view symbol) {
        StationReport r;
        r.call = call;
        r.hasImpliedSymbol = true;
        r.impliedSymbol = {symbol[0], symbol[1]};
        list.Apply(r);
    }
    void Phg(std::string_view call, std::array<int32_t, 4> values) {
        Group(call, &StationReport::hasPhg, &StationReport::phg, values);
    }
    void Dfs(std::string_view call, std::array<int32_t, 4> values) {
        Group(call, &StationReport::hasDfs, &StationReport::dfs, values);
    }
    void Group(std::string_view call, bool StationReport::*has,
               std::array<int32_t, 4> StationReport::*group, std::array<int32_t, 4> values) {
        StationReport r;
        r.call = call;
        r.*has = true;
        r.*group = values;
        list.Apply(r);
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
