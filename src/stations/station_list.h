// The one list of station records: the own station first, then every station, object and
// item heard, newest first. The decoder and the GPS receiver update it by call; the map, the
// windows and the output thread read it.
//
// Thread-safe: every operation takes the list lock (waiting at most 10 s; an operation that
// cannot get it does nothing). The lock guards the records' fields as well as the list, and
// one update (find-or-add plus its field writes), or a packet's batch of them, runs under one
// lock. Readers get copies.
// Notifications (StationChanged, the new-station sound) go to the host after the lock is
// released, by call, so a record removed meanwhile is simply not found again.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/sinks.h"
#include "core/clock.h"
#include "stations/station.h"
#include "core/station_settings.h"
#include "core/transmit_control.h"

namespace plovane {

class StationBatch;

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
    // back into this list or the host. Returns false when the lock could not be had.
    bool ForEach(const std::function<void(const CStation&)>& visit) const;

    // True when `call` is the own record's call. Cheap for other calls: no lock is taken.
    bool IsOwnCall(std::string_view call) const;

    // --- Updates; an empty call does nothing ---
    // Applies a batch's operations in their order under one lock (one look-up for a run of
    // operations on the same call), then plays the new-station sound for each record
    // created and raises one StationChanged per call updated (a SetSymbolIfUnset alone on a
    // known record raises none). The batch is left empty. The single operations below are
    // batches of one.
    void Apply(StationBatch& batch);
    // Position report: symbol (2 chars or empty), "DDMM.mmN", "DDDMM.mmW", time ("" or
    // 7 characters such as "092345z"), comment, altitude in decimetres (-1 unknown).
    void UpdatePosition(std::string_view call, std::string_view symbol, std::string_view latitude,
                        std::string_view longitude, std::string_view time, std::string_view comment,
                        int32_t altitudeDm);
    void SetCourseSpeed(std::string_view call, int speedKnots, int courseDegrees);
    // Values beyond the 16-bit fields are clamped to 32767.
    void SetPhg(std::string_view call, int powerWatts, int heightFeet, int gainDb,
                int directivityDegrees);
    void SetDfs(std::string_view call, int strength, int heightFeet, int gainDb,
                int directivityDegrees);
    void SetSymbolIfUnset(std::string_view call, std::string_view symbol);
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
    // The renderer marks which stations it drew.
    void SetShownOnMap(std::string_view call, bool shown);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace plovane
