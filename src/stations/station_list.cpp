// SPDX-License-Identifier: GPL-3.0-or-later
// The station store: the records in list order (own first, then newest created first) and
// an index by call beside them, so a look-up costs the same with 10 or 9 999 stations.
#include "stations/station_list.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <limits>

#include "core/open_index.h"
#include "core/report_time.h"
#include "core/version.h"
#include "stations/device_names.h"
#include "stations/track.h"
#include "stations/weather_description.h"

namespace plovane {
namespace {

int16_t ClampShort(int64_t value) {
    return static_cast<int16_t>(std::clamp<int64_t>(value, INT16_MIN, INT16_MAX));
}

// The four values of a PHG or DFS group, each clamped to the record's 16 bits.
void StoreGroup(const std::array<int32_t, 4>& values, const std::array<int16_t*, 4>& fields) {
    for (size_t i = 0; i < values.size(); ++i)
        *fields[i] = ClampShort(values[i]);
}

// Equal texts; the views a packet's operations hold for one call usually share their bytes,
// and calls of one length mostly differ in their first byte, which is read before the
// library compare.
bool SameCall(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           (a.data() == b.data() || a.empty() || (a[0] == b[0] && a.substr(1) == b.substr(1)));
}

// The stored form of a weather report received now.
CWeatherReport WeatherReport(const WeatherValues& v, std::string_view comment,
                             const CDateTime& now) {
    CWeatherReport report;
    report.received = now;
    report.description = WeatherDescription(comment);
    report.hasReportTime = WeatherReportTime(v, now, report.reportTime);
    if (v.windDirection >= 0 || v.windSpeed >= 0 || v.windGust >= 0) {
        report.windDirection = v.windDirection;
        report.windSpeed = v.windSpeed;
        report.windGust = v.windGust;
        report.hasWind = true;
    }
    if (v.temperature != -1000) {
        report.temperature = v.temperature;
        report.hasTemperature = true;
    }
    if (v.humidity >= 0) {
        report.humidity = v.humidity;
        report.hasHumidity = true;
    }
    if (v.barometer >= 0) {
        report.barometer = v.barometer;
        report.hasBarometer = true;
    }
    if (v.rainLastHour >= 0 || v.rainLast24Hours >= 0 || v.rainSinceMidnight >= 0) {
        report.rainLastHour = v.rainLastHour;
        report.rainLast24Hours = v.rainLast24Hours;
        report.rainSinceMidnight = v.rainSinceMidnight;
        report.hasRain = true;
    }
    if (v.snow[0] >= 0 || v.snow[1] >= 0 || v.snow[2] >= 0) {
        std::copy(std::begin(v.snow), std::end(v.snow), std::begin(report.snow));
        report.hasSnow = true;
    }
    if (v.luminosity >= 0) {
        report.luminosity = v.luminosity;
        report.hasLuminosity = true;
    }
    return report;
}

// Writes a text field only when it changes: a station's packets mostly repeat its texts, and
// comparing is cheaper than writing (which also dirties the text's memory).
inline void Store(std::string& field, std::string_view value) {
    if (field.size() != value.size() ||
        (!value.empty() && std::memcmp(field.data(), value.data(), value.size()) != 0)) {
        field.assign(value);
    }
}

// `own`: the record is the own station's, whose device name the settings give.
void ApplyDeviceAndPath(CStation& s, bool own, std::string_view destination, std::string_view path,
                        std::string_view information) {
    // Naming the device twice from one destination gives the first name again, and a
    // destination never names an empty device. So a heard station's record that already
    // holds this destination and a device name was named from it (a packet without
    // destination empties the name, and only the settings name the own station): the name
    // stands, and a station's packets mostly repeat their destination.
    const bool sameDestination =
        !destination.empty() && std::string_view(s.destination) == destination;
    const bool named = !own && sameDestination && !s.device.empty();
    if (!destination.empty() && !sameDestination)
        s.destination.assign(destination);
    if (!path.empty())
        Store(s.path, path);
    // A status text (">...") is only replaced by another status text.
    if (!information.empty() && (!s.lastInfo.starts_with('>') || information.starts_with('>'))) {
        Store(s.lastInfo, information);
    }
    if (!named)
        AssignDeviceName(s.device, s.deviceClass, destination);
}

}  // namespace

struct CStationList::Impl {
    Impl(const CStationSettings& initial, const Clock& clockRef, ChangeSink& changeSink,
         SoundSink& soundSink)
        : clock(clockRef),
          changes(changeSink),
          sounds(soundSink),
          own(std::string(), clockRef.Now()) {
        SetSettings(initial);
    }

    using Lock = std::unique_lock<std::mutex>;

    // The intake thread is the one writer; readers on other threads (the windows, the output
    // thread) wait their turn.
    Lock TakeLock() const { return Lock(mutex); }

    // --- Everything below runs with the lock held ---

    CStation* Find(std::string_view call) {
        return index.Find(HashText(call), [call](const CStation& s) { return s.call == call; });
    }
    void Index(CStation& s) { index.Insert(&s, HashText(s.call)); }
    void Unindex(CStation& s) { index.Erase(&s, HashText(s.call)); }

    // Most records kept, own record included; no limit when the limit is off.
    size_t Limit() const {
        if (!settings.bLimitStations)
            return std::numeric_limits<size_t>::max();
        return static_cast<size_t>(std::max(settings.LimitStations, 1));
    }

    size_t Count() const { return others.size() + 1; }

    // Removes the earliest-created record (never the own one).
    void RemoveTail() {
        Unindex(others.back());
        others.pop_back();
    }

    void TrimTo(size_t limit) {
        while (!others.empty() && Count() > limit)
            RemoveTail();
    }

    // The record for `call`, created after the own record when there is none. With a limit
    // that leaves no room beside the own record (a limit of 1) nothing is created and the
    // result is null: the update is dropped, since the new record would be the one the limit
    // removes at once.
    CStation* FindOrAdd(std::string_view call, const CDateTime& now, bool& created) {
        if (CStation* station = Find(call))
            return station;
        const size_t limit = Limit();
        if (limit < 2) {
            TrimTo(limit);
            return nullptr;
        }
        // Room for the new record; the earliest created go first. The last one to go is
        // reused for the new record (its strings and track keep their storage), which
        // spares a full record's worth of allocations whenever the list is full.
        TrimTo(limit);
        created = true;
        if (Count() == limit) {
            others.splice(others.begin(), others, std::prev(others.end()));
            CStation& station = others.front();
            Unindex(station);
            Reuse(station, call, now);
            Index(station);
            return &station;
        }
        CStation& station = others.emplace_front(std::string(call), now);
        Index(station);
        return &station;
    }

    // Makes `s` what CStation(call, now) makes, keeping the storage of its texts and track.
    // The record is the oldest and far from the cache, so parts that still hold their
    // initial values are left alone: the weather fields, which only StoreWeather (setting
    // hasWeather) writes, and an empty track. Every field of CStation is set here.
    void Reuse(CStation& s, std::string_view call, const CDateTime& now) const {
        s.call.assign(call);
        s.heard = blank.heard;
        s.hasDfs = blank.hasDfs;
        s.hasPhg = blank.hasPhg;
        s.hasPosition = blank.hasPosition;
        s.hasReportTime = blank.hasReportTime;
        s.moving = blank.moving;
        s.hasSymbol = blank.hasSymbol;
        if (s.hasWeather)
            s.weather = blank.weather;
        s.weather.received = now;
        s.hasWeather = blank.hasWeather;
        s.hasOwner = blank.hasOwner;
        s.killed = blank.killed;
        s.shownOnMap = blank.shownOnMap;
        s.symbolTable = blank.symbolTable;
        s.symbolCode = blank.symbolCode;
        s.ambiguity = blank.ambiguity;
        s.course = blank.course;
        s.speed = blank.speed;
        s.position = blank.position;
        s.lastHeard = s.reportTime = s.trackTime = s.created = now;
        for (std::string* text :
             {&s.comment, &s.path, &s.destination, &s.device, &s.lastInfo, &s.owner}) {
            text->clear();
        }
        s.phgPower = blank.phgPower;
        s.phgHeight = blank.phgHeight;
        s.phgGain = blank.phgGain;
        s.phgDirectivity = blank.phgDirectivity;
        s.dfsStrength = blank.dfsStrength;
        s.dfsHeight = blank.dfsHeight;
        s.dfsGain = blank.dfsGain;
        s.dfsDirectivity = blank.dfsDirectivity;
        s.hasRange = blank.hasRange;
        s.rangeMiles = blank.rangeMiles;
        s.hasBearing = blank.hasBearing;
        s.dfBearing = blank.dfBearing;
        s.dfNrq = blank.dfNrq;
        if (!s.track.empty())
            s.track.clear();
        s.micEMessage.clear();
        s.telemetry.reset();
    }

    // Gives the own record a new call. A heard record that already has that call is removed:
    // it would shadow (or be shadowed by) the own record, and the own record wins.
    void RenameOwn(const std::string& call) {
        if (own.call == call)
            return;
        if (!own.call.empty())
            Unindex(own);
        if (CStation* heard = Find(call)) {
            Unindex(*heard);
            others.remove_if([heard](const CStation& s) { return &s == heard; });
        }
        own.call = call;
        if (!own.call.empty())
            Index(own);
    }

    void SetSettings(const CStationSettings& fresh) {
        settings = fresh;
        ownTrackRules = TrackRules::For(settings, true);
        otherTrackRules = TrackRules::For(settings, false);
    }

    void ApplyPosition(CStation& s, const StationReport& r, const CDateTime& now) {
        Store(s.comment, r.comment);
        if (r.hasSymbol) {
            s.symbolTable = r.symbol[0];
            s.symbolCode = r.symbol[1];
            s.hasSymbol = true;
        }
        if (!r.hasPoint)
            return;

        const CDateTime* reportTime = r.hasReportTime ? &r.reportTime : nullptr;
        const TrackPoint point = {r.colatitude, r.longitude, r.altitudeDm};
        // The own record holds the own call once the settings are applied; before that a
        // heard record may carry it.
        const bool ownCall = &s == &own || SameCall(s.call, settings.MyCall);
        const TrackRules& rules = ownCall ? ownTrackRules : otherTrackRules;
        if (TakesTrackPoint(s, rules, point, reportTime)) {
            s.track.push_front(TrackFix{point, TrackSeconds(now)});
            if (reportTime != nullptr)
                s.trackTime = *reportTime;
            while (!s.track.empty() && static_cast<int64_t>(s.track.size()) > rules.maxPoints) {
                s.track.pop_back();
            }
        }
        s.position = point;
        if (reportTime != nullptr) {
            s.reportTime = *reportTime;
            s.hasReportTime = true;
            if (!s.hasPosition)
                s.trackTime = *reportTime;
        }
        s.lastHeard = now;
        s.heard = true;
        s.hasPosition = true;
    }

    // One report's parts, in their order.
    void ApplyReport(CStation& s, const StationReport& r, const CDateTime& now) {
        if (r.hasImpliedSymbol && !s.hasSymbol) {
            s.symbolTable = r.impliedSymbol[0];
            s.symbolCode = r.impliedSymbol[1];
            s.hasSymbol = true;
        }
        if (r.hasPositionReport)
            ApplyPosition(s, r, now);
        if (r.hasCourseSpeed) {
            s.speed = ClampShort(r.speedKnots);
            s.course = ClampShort(r.courseDegrees);
            s.moving = true;
        }
        if (r.hasPhg) {
            StoreGroup(r.phg, {&s.phgPower, &s.phgHeight, &s.phgGain, &s.phgDirectivity});
            s.hasPhg = true;
        }
        if (r.hasDfs) {
            StoreGroup(r.dfs, {&s.dfsStrength, &s.dfsHeight, &s.dfsGain, &s.dfsDirectivity});
            s.hasDfs = true;
        }
        if (r.hasRange) {
            s.rangeMiles = r.rangeMiles;
            s.hasRange = true;
        }
        if (r.hasBearing) {
            s.dfBearing = ClampShort(r.dfBearing);
            s.dfNrq = ClampShort(r.dfNrq);
            s.hasBearing = true;
        }
        if (r.hasDevicePath)
            ApplyDeviceAndPath(s, &s == &own, r.destination, r.path, r.information);
        if (r.weather != nullptr) {
            // The new report replaces the old one whole.
            s.weather = WeatherReport(*r.weather, r.weatherComment, now);
            s.hasWeather = true;
            if (!s.hasSymbol) {
                s.symbolTable = '/';
                s.symbolCode = '_';
                s.hasSymbol = true;
            }
        }
        if (r.telemetry != nullptr || !r.telemetryDefinition.empty()) {
            auto updated = s.telemetry ? std::make_shared<CTelemetry>(*s.telemetry)
                                       : std::make_shared<CTelemetry>();
            if (r.telemetry != nullptr) {
                updated->values = *r.telemetry;
                updated->received = now;
                updated->hasValues = true;
            }
            if (!r.telemetryDefinition.empty())
                updated->ApplyDefinition(r.telemetryDefinition);
            s.telemetry = std::move(updated);
        }
        if (!r.micEMessage.empty())
            Store(s.micEMessage, r.micEMessage);
        if (r.hasOwner) {
            Store(s.owner, r.owner);
            s.hasOwner = true;
            s.killed = false;
        }
        if (r.killed)
            s.killed = true;
    }

    const Clock& clock;
    ChangeSink& changes;
    SoundSink& sounds;

    mutable std::mutex mutex;
    // Guarded by mutex:
    CStationSettings settings;   // the copy every operation reads; set by SetSettings
    TrackRules ownTrackRules;    // the track rules of settings, for the own call...
    TrackRules otherTrackRules;  // ...and for everyone else
    TransmitControl* transmit = nullptr;
    bool soundEnabled = false;
    std::string soundFile;
    CStation own;
    const CStation blank;        // a record as constructed, to reset reused records from
    std::list<CStation> others;  // newest created first; nodes never move
    OpenIndex<CStation> index;   // call -> record; records stay put in their list nodes
};

CStationList::CStationList(const CStationSettings& settings, const Clock& clock,
                           ChangeSink& changes, SoundSink& sounds)
    : impl_(std::make_unique<Impl>(settings, clock, changes, sounds)) {}

CStationList::~CStationList() = default;

void CStationList::SetTransmitControl(TransmitControl* control) {
    const Impl::Lock lock = impl_->TakeLock();
    impl_->transmit = control;
}

void CStationList::SetNewStationSound(bool enabled, std::string file) {
    const Impl::Lock lock = impl_->TakeLock();
    impl_->soundEnabled = enabled;
    impl_->soundFile = std::move(file);
}

// --- Reading ---

std::optional<CStation> CStationList::FindStation(std::string_view call) const {
    const Impl::Lock lock = impl_->TakeLock();
    const CStation* station = impl_->Find(call);
    if (station == nullptr)
        return std::nullopt;
    return *station;
}

bool CStationList::Contains(std::string_view call) const {
    const Impl::Lock lock = impl_->TakeLock();
    return impl_->Find(call) != nullptr;
}

size_t CStationList::Count() const {
    const Impl::Lock lock = impl_->TakeLock();
    return impl_->Count();
}

std::vector<CStation> CStationList::Snapshot() const {
    std::vector<CStation> copy;
    const Impl::Lock lock = impl_->TakeLock();
    copy.reserve(impl_->Count());
    copy.push_back(impl_->own);
    copy.insert(copy.end(), impl_->others.begin(), impl_->others.end());
    return copy;
}

CStation CStationList::OwnStation() const {
    const Impl::Lock lock = impl_->TakeLock();
    return impl_->own;
}

std::string CStationList::OwnCall() const {
    const Impl::Lock lock = impl_->TakeLock();
    return impl_->own.call;
}

const Clock& CStationList::clock() const {
    return impl_->clock;
}

bool CStationList::ForEach(const std::function<void(const CStation&)>& visit) const {
    const Impl::Lock lock = impl_->TakeLock();
    visit(impl_->own);
    for (const CStation& station : impl_->others)
        visit(station);
    return true;
}

StationBoxResult CStationList::StationsInBox(int32_t centreColatitude, int32_t centreLongitude,
                                             int32_t longitudeHalfWidth,
                                             int32_t colatitudeHalfWidth,
                                             std::vector<CStation>& result, size_t capacity,
                                             size_t skip) const {
    StationBoxResult box;
    result.clear();
    const Impl::Lock lock = impl_->TakeLock();
    const int64_t north = int64_t{centreColatitude} - colatitudeHalfWidth;
    const int64_t south = int64_t{centreColatitude} + colatitudeHalfWidth;
    const int64_t west = int64_t{centreLongitude} - longitudeHalfWidth;
    const int64_t east = int64_t{centreLongitude} + longitudeHalfWidth;
    size_t matches = 0;
    const auto visit = [&](const CStation& s) {
        const TrackPoint& p = s.position;
        if (!s.hasPosition)
            return;
        if (p.colatitude < north || p.colatitude > south || p.longitude < west ||
            p.longitude > east) {
            return;
        }
        if (matches++ < skip)
            return;
        if (result.size() < capacity) {
            result.push_back(s);
        } else {
            box.more = true;
        }
    };
    visit(impl_->own);
    for (const CStation& station : impl_->others)
        visit(station);
    box.total = static_cast<int>(std::min<size_t>(matches, INT_MAX));
    box.stored = static_cast<int>(result.size());
    return box;
}

// --- Updates ---

void CStationList::Apply(std::span<const StationReport> reports) {
    // Read before the lock: the clock is never called under it.
    if (!reports.empty())
        Apply(reports, impl_->clock.Now());
}

void CStationList::Apply(std::span<const StationReport> reports, const CDateTime& now) {
    Impl& d = *impl_;
    if (reports.empty())
        return;

    // The reports whose calls to announce, each call once, in the order of its first
    // announced report.
    std::array<uint32_t, 16> changed;
    size_t changedCount = 0;
    size_t created = 0;
    std::string sound;
    {
        const Impl::Lock lock = d.TakeLock();
        for (uint32_t i = 0; i < reports.size(); ++i) {
            const StationReport& r = reports[i];
            bool isNew = false;
            CStation* station = r.call.empty() ? nullptr : d.FindOrAdd(r.call, now, isNew);
            if (station == nullptr)
                continue;  // no room beside the own record
            d.ApplyReport(*station, r, now);

            // A report that only implies a symbol does not announce a known record; a
            // record it creates is announced, so the windows learn of it.
            if (isNew)
                ++created;
            const bool onlySymbol = r.hasImpliedSymbol && !r.hasPositionReport &&
                                    !r.hasCourseSpeed && !r.hasPhg && !r.hasDfs && !r.hasRange &&
                                    !r.hasBearing && !r.hasDevicePath && r.weather == nullptr &&
                                    !r.hasOwner && !r.killed && r.telemetry == nullptr &&
                                    r.telemetryDefinition.empty();
            if (isNew || !onlySymbol) {
                size_t c = 0;
                while (c < changedCount && !SameCall(reports[changed[c]].call, r.call))
                    ++c;
                if (c == changedCount && changedCount < changed.size())
                    changed[changedCount++] = i;
            }
        }
        if (created > 0 && d.soundEnabled)
            sound = d.soundFile;
    }

    if (!sound.empty()) {
        for (size_t i = 0; i < created; ++i)
            d.sounds.PlaySound(sound);
    }
    for (size_t c = 0; c < changedCount; ++c)
        d.changes.StationChanged(std::string(reports[changed[c]].call));
}

void CStationList::Apply(const StationReport& report) {
    Apply(std::span<const StationReport>(&report, 1));
}

// Single updates, for the GPS receiver and the tools that place stations themselves.

void CStationList::UpdatePosition(std::string_view call, std::string_view symbol,
                                  std::string_view latitude, std::string_view longitude,
                                  std::string_view time, std::string_view comment,
                                  int32_t altitudeDm) {
    StationReport r;
    r.call = call;
    FillPositionReport(r, symbol, latitude, longitude, time, comment, altitudeDm,
                       impl_->clock.Now(), impl_->clock.BiasMinutes());
    Apply(r);
}

void CStationList::SetCourseSpeed(std::string_view call, int speedKnots, int courseDegrees) {
    StationReport r;
    r.call = call;
    r.hasCourseSpeed = true;
    r.speedKnots = speedKnots;
    r.courseDegrees = courseDegrees;
    Apply(r);
}

void CStationList::SetObjectOwner(std::string_view name, std::string_view senderCall) {
    StationReport r;
    r.call = name;
    r.hasOwner = true;
    r.owner = senderCall;
    Apply(r);
}

void CStationList::MarkObjectKilled(std::string_view name) {
    StationReport r;
    r.call = name;
    r.killed = true;
    Apply(r);
}

void CStationList::SetDeviceAndPath(std::string_view call, std::string_view destination,
                                    std::string_view path, std::string_view information) {
    StationReport r;
    r.call = call;
    r.hasDevicePath = true;
    r.destination = destination;
    r.path = path;
    r.information = information;
    Apply(r);
}

void CStationList::StoreWeather(std::string_view call, std::string_view /*destination*/,
                                std::string_view /*path*/, std::string_view comment,
                                const WeatherValues& values) {
    StationReport r;
    r.call = call;
    r.weather = &values;
    r.weatherComment = comment;
    Apply(r);
}

void CStationList::NoteHeard(std::string_view call, int port, std::string_view firstHop) {
    Impl& d = *impl_;
    {
        const Impl::Lock lock = d.TakeLock();
        CStation* station = d.Find(call);
        if (station == nullptr || !station->heardWhere.Note(port, firstHop))
            return;
    }
    d.changes.StationChanged(std::string(call));
}

void CStationList::SetShownOnMap(std::string_view call, bool shown) {
    const Impl::Lock lock = impl_->TakeLock();
    if (CStation* station = impl_->Find(call))
        station->shownOnMap = shown;
}

// --- Settings ---

void CStationList::ApplySettings(const CStationSettings& fresh, bool announce) {
    Impl& d = *impl_;

    std::string ownCall;
    TransmitControl* transmit = nullptr;
    {
        const Impl::Lock lock = d.TakeLock();
        d.SetSettings(fresh);
        d.index.Reserve(std::min<size_t>(d.Limit(), 10000));
        CStation& own = d.own;
        d.RenameOwn(fresh.MyCall);
        own.destination = fresh.destination;
        own.device = kProgramName;
        if (fresh.destination.size() > 3) {
            own.device += " (" + fresh.destination.substr(3) + ")";
        }
        own.comment = fresh.Comments;
        own.lastInfo = fresh.Status;

        const std::string symbol = fresh.Symbol.size() < 2 ? "/-" : fresh.Symbol;
        own.symbolTable = symbol[0];
        own.symbolCode = symbol[1];
        own.hasSymbol = true;

        // A mobile station sends course and speed in place of PHG, so it carries no PHG.
        own.hasPhg = false;
        if (fresh.Mobile) {
            own.moving = true;
            own.speed = 0;
            own.course = 0;
        } else if (fresh.HasPHG) {
            // The settings hold the PHG digit codes. 10 x 2^code feet passes 16 bits from
            // code 12 on: the height is clamped to 32767 feet.
            own.hasPhg = true;
            own.phgPower = ClampShort(int64_t{fresh.Power} * fresh.Power);
            const int heightCode = std::clamp<int>(fresh.Height, 0, 16);
            own.phgHeight = ClampShort(int64_t{10} << heightCode);
            own.phgGain = fresh.Gain;
            own.phgDirectivity = ClampShort(int64_t{fresh.Directivity} * 45);
        }
        // A typed-in position that is no position (the defaults) is not claimed.
        if (fresh.HasInitPosit && fresh.HasTypedPosition()) {
            own.hasPosition = true;
            own.position.colatitude = fresh.Lat;
            own.position.longitude = fresh.Lon;
        }
        own.ambiguity = fresh.Ambiguity;
        ownCall = own.call;
        transmit = d.transmit;
    }

    if (transmit != nullptr)
        transmit->MarkReadyToTransmit();
    d.changes.StationChanged(ownCall);
    if (announce && transmit != nullptr) {
        transmit->SendStatusText(std::string(kProgramName) + " v" + kVersionText + " online...");
        transmit->RearmPositionAndStatus();
    }
}

void CStationList::ApplyLimit() {
    const Impl::Lock lock = impl_->TakeLock();
    impl_->TrimTo(impl_->Limit());
}

void CStationList::RemoveOthers() {
    const Impl::Lock lock = impl_->TakeLock();
    impl_->TrimTo(1);
}

}  // namespace plovane
