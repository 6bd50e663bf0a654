// SPDX-License-Identifier: GPL-3.0-or-later
// The one list of station records: the own station first, then every station, object and
// item heard, newest first. The decoder and the GPS receiver update it by call; the map, the
// windows and the output thread read it.
//
// Thread-safe: every operation takes the list lock; received packets arrive on the one intake
// thread, the windows and the output thread read. The lock guards the records' fields as well as
// the list, and one update (find-or-add plus its field writes), or a packet's reports, runs under
// one lock. Readers get copies. Notifications (StationChanged, the new-station sound) go to the
// host after the lock is released, by call, so a record removed meanwhile is simply not found
// again.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/clock.h"
#include "core/sinks.h"
#include "core/station_settings.h"
#include "core/transmit_control.h"
#include "stations/station.h"

namespace plovane {

struct StationBoxResult {
    int total = 0;      // matches in the whole box
    int stored = 0;     // matches written to the result (after the skipped ones)
    bool more = false;  // a match fell beyond the capacity
};

class CStationList {
  public:
    // Starts from a copy of the settings (ApplySettings hands newer ones); the clock and the
    // sinks outlive the list.
    CStationList(const CStationSettings& settings, const Clock& clock, ChangeSink& changes,
                 SoundSink& sounds);
    ~CStationList();
    CStationList(const CStationList&) = delete;
    CStationList& operator=(const CStationList&) = delete;

    void SetTransmitControl(TransmitControl* control);
    // The "NewStation" alert: played when a record is created.
    void SetNewStationSound(bool enabled, std::string file);

    // --- Reading (copies taken under the lock) ---
    std::optional<CStation> FindStation(std::string_view call) const;
    bool Contains(std::string_view call) const;
    size_t Count() const;                    // own record included
    std::vector<CStation> Snapshot() const;  // list order, own record first
    CStation OwnStation() const;
    std::string OwnCall() const;
    // The clock the list dates its records with; decoders that need the current local year
    // (Ultimeter records carry only a day of the year) read it here.
    const Clock& clock() const;
    // Calls visit(record) for every record in list order under the lock. visit must not call
    // back into this list or the host. Returns true.
    bool ForEach(const std::function<void(const CStation&)>& visit) const;

    // --- Updates; a report with an empty call does nothing ---
    // Applies a packet's reports in their order under one lock, then plays the new-station
    // sound for each record created and raises one StationChanged per call updated (a
    // report that only implies a symbol, for a known record, raises none).
    void Apply(std::span<const StationReport> reports);
    void Apply(const StationReport& report);
    // The same, dated `now` (local time) by a caller that has read the clock already.
    void Apply(std::span<const StationReport> reports, const CDateTime& now);
    // Single updates (reports of one part). Position report: symbol (2 chars or empty),
    // "DDMM.mmN", "DDDMM.mmW", time ("" or 7 characters such as "092345z"), comment,
    // altitude in decimetres (-1 unknown).
    void UpdatePosition(std::string_view call, std::string_view symbol, std::string_view latitude,
                        std::string_view longitude, std::string_view time, std::string_view comment,
                        int32_t altitudeDm);
    void SetCourseSpeed(std::string_view call, int speedKnots, int courseDegrees);
    void SetObjectOwner(std::string_view name, std::string_view senderCall);
    void MarkObjectKilled(std::string_view name);
    void SetDeviceAndPath(std::string_view call, std::string_view destination,
                          std::string_view path, std::string_view information);
    void StoreWeather(std::string_view call, std::string_view destination, std::string_view path,
                      std::string_view comment, const WeatherValues& values);

    // Records with a position inside centre +/- half-widths (inclusive), in list order: skips
    // the first `skip` matches, copies up to `capacity` into `result` (cleared first).
    StationBoxResult StationsInBox(int32_t centreColatitude, int32_t centreLongitude,
                                   int32_t longitudeHalfWidth, int32_t colatitudeHalfWidth,
                                   std::vector<CStation>& result, size_t capacity,
                                   size_t skip) const;

    // Takes a copy of the settings and refreshes the own record; with announce, sends the
    // "online" status and re-arms the position and status slots.
    void ApplySettings(const CStationSettings& settings, bool announce);
    // Removes the oldest records until the station limit holds (after a settings change).
    void ApplyLimit();
    // Removes every record but the own one, unannounced: for a tool that decodes each line
    // into the same store and prints what that line left.
    void RemoveOthers();
    // The renderer marks which stations it drew.
    // Notes where a station's packet was heard (port 0: the Internet, 1 ...: a TNC port, with
    // the first used hop of its path); nothing for a call the store does not hold.
    void NoteHeard(std::string_view call, int port, std::string_view firstHop);
    void SetShownOnMap(std::string_view call, bool shown);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace plovane
