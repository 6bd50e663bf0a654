// The station store: the records in list order (own first, then newest created first) and
// an index by call beside them, so a look-up costs the same with 10 or 9 999 stations.
#include "stations/station_list.h"

#include <algorithm>
#include <climits>
#include <limits>

#include "core/timed_lock.h"
#include "core/version.h"
#include "stations/call_index.h"
#include "stations/device_names.h"
#include "stations/position_text.h"
#include "stations/report_time.h"
#include "stations/track.h"
#include "stations/weather_description.h"

namespace plovane {
namespace {

int16_t ClampShort(int64_t value) {
    return static_cast<int16_t>(std::clamp<int64_t>(value, INT16_MIN, INT16_MAX));
}

}  // namespace

struct CStationList::Impl {
    Impl(CStationSettings& shared, const Profile& profileRef, const Clock& clockRef,
         AppHost& hostRef)
        : sharedSettings(shared),
          profile(profileRef),
          clock(clockRef),
          host(hostRef),
          settings(shared),
          own(std::string(), clockRef.Now()) {}

    using Lock = std::unique_lock<std::timed_mutex>;

    Lock TakeLock() const {
        // An uncontended lock is taken without reading the clock for the deadline.
        Lock lock(mutex, std::try_to_lock);
        if (!lock.owns_lock())
            lock = TimedLock(mutex, kStoreLockWait);
        return lock;
    }

    // --- Everything below runs with the lock held ---

    CStation* Find(std::string_view call) { return index.Find(call); }

    // Most records kept, own record included; no limit when the limit is off.
    size_t Limit() const {
        if (!settings.bLimitStations)
            return std::numeric_limits<size_t>::max();
        return static_cast<size_t>(std::max(settings.LimitStations, 1));
    }

    size_t Count() const { return others.size() + 1; }

    // Removes the earliest-created record (never the own one).
    void RemoveTail() {
        index.Erase(others.back().call);
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
        TrimTo(limit - 1);  // room for the new record; the earliest created go first
        CStation& station = others.emplace_front(std::string(call), now);
        index.Insert(&station);
        created = true;
        return &station;
    }

    // Gives the own record a new call. A heard record that already has that call is removed:
    // it would shadow (or be shadowed by) the own record, and the own record wins.
    void RenameOwn(const std::string& call) {
        if (own.call == call)
            return;
        if (!own.call.empty())
            index.Erase(own.call);
        if (CStation* heard = Find(call)) {
            index.Erase(heard->call);
            others.remove_if([heard](const CStation& s) { return &s == heard; });
        }
        own.call = call;
        if (!own.call.empty())
            index.Insert(&own);
    }

    // One update: find-or-add and the field writes under one lock, then the notifications
    // (new-station sound, StationChanged) after it is released. Returns false when nothing
    // was written (empty call, lock not had, no room).
    template <typename Apply>
    bool Update(std::string_view call, Apply&& apply, bool notify = true) {
        if (call.empty())
            return false;
        {
            // Most updates are for a known station: no clock read needed.
            Lock lock = TakeLock();
            if (!lock.owns_lock())
                return false;
            if (CStation* station = Find(call)) {
                apply(*station);
                lock.unlock();
                if (notify)
                    host.StationChanged(std::string(call));
                return true;
            }
        }
        return Add(call, clock.Now(), std::forward<Apply>(apply), notify);
    }

    // As Update with "now" already known (taken before the lock: the clock is not called
    // under it).
    template <typename Apply>
    bool UpdateAt(std::string_view call, const CDateTime& now, Apply&& apply) {
        if (call.empty())
            return false;
        return Add(call, now, std::forward<Apply>(apply));
    }

    template <typename Apply>
    bool Add(std::string_view call, const CDateTime& now, Apply&& apply, bool notify = true) {
        bool created = false;
        std::string sound;
        {
            Lock lock = TakeLock();
            if (!lock.owns_lock())
                return false;
            CStation* station = FindOrAdd(call, now, created);
            if (station == nullptr)
                return false;
            apply(*station);
            if (created && soundEnabled)
                sound = soundFile;
        }
        if (!sound.empty())
            host.PlaySound(sound);
        if (notify || created)
            host.StationChanged(std::string(call));
        return true;
    }

    CStationSettings& sharedSettings;  // loaded on the user-interface thread only
    const Profile& profile;
    const Clock& clock;
    AppHost& host;

    mutable std::timed_mutex mutex;
    // Guarded by mutex:
    CStationSettings settings;  // the copy every operation reads
    TransmitControl* transmit = nullptr;
    bool soundEnabled = false;
    std::string soundFile;
    CStation own;
    std::list<CStation> others;  // newest created first; nodes never move
    CallIndex index;             // call -> record; records stay put in their list nodes
};

CStationList::CStationList(CStationSettings& settings, const Profile& profile, const Clock& clock,
                           AppHost& host)
    : impl_(std::make_unique<Impl>(settings, profile, clock, host)) {}

CStationList::~CStationList() = default;

void CStationList::SetTransmitControl(TransmitControl* control) {
    const Impl::Lock lock = impl_->TakeLock();
    if (lock.owns_lock())
        impl_->transmit = control;
}

void CStationList::SetNewStationSound(bool enabled, std::string file) {
    const Impl::Lock lock = impl_->TakeLock();
    if (!lock.owns_lock())
        return;
    impl_->soundEnabled = enabled;
    impl_->soundFile = std::move(file);
}

// --- Reading ---

std::optional<CStation> CStationList::FindStation(std::string_view call) const {
    const Impl::Lock lock = impl_->TakeLock();
    if (!lock.owns_lock())
        return std::nullopt;
    const CStation* station = impl_->Find(call);
    if (station == nullptr)
        return std::nullopt;
    return *station;
}

bool CStationList::Contains(std::string_view call) const {
    const Impl::Lock lock = impl_->TakeLock();
    return lock.owns_lock() && impl_->Find(call) != nullptr;
}

size_t CStationList::Count() const {
    const Impl::Lock lock = impl_->TakeLock();
    return lock.owns_lock() ? impl_->Count() : 0;
}

std::vector<CStation> CStationList::Snapshot() const {
    std::vector<CStation> copy;
    const Impl::Lock lock = impl_->TakeLock();
    if (!lock.owns_lock())
        return copy;
    copy.reserve(impl_->Count());
    copy.push_back(impl_->own);
    copy.insert(copy.end(), impl_->others.begin(), impl_->others.end());
    return copy;
}

CStation CStationList::OwnStation() const {
    const Impl::Lock lock = impl_->TakeLock();
    if (!lock.owns_lock())
        return CStation();
    return impl_->own;
}

std::string CStationList::OwnCall() const {
    const Impl::Lock lock = impl_->TakeLock();
    if (!lock.owns_lock())
        return {};
    return impl_->own.call;
}

const Clock& CStationList::clock() const {
    return impl_->clock;
}

bool CStationList::ForEach(const std::function<void(const CStation&)>& visit) const {
    const Impl::Lock lock = impl_->TakeLock();
    if (!lock.owns_lock())
        return false;
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
    if (!lock.owns_lock())
        return box;
    const int64_t north = int64_t{centreColatitude} - colatitudeHalfWidth;
    const int64_t south = int64_t{centreColatitude} + colatitudeHalfWidth;
    const int64_t west = int64_t{centreLongitude} - longitudeHalfWidth;
    const int64_t east = int64_t{centreLongitude} + longitudeHalfWidth;
    size_t matches = 0;
    const auto visit = [&](const CStation& s) {
        const TrackPoint& p = s.position;
        if (p.colatitude == kNoColatitude || p.longitude == kNoLongitude)
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

void CStationList::UpdatePosition(std::string_view call, std::string_view symbol,
                                  std::string_view latitude, std::string_view longitude,
                                  std::string_view time, std::string_view comment,
                                  int32_t altitudeDm) {
    if (call.empty())
        return;
    const CDateTime now = impl_->clock.Now();

    // Everything that needs no record is worked out before the lock.
    int32_t altitude = altitudeDm;
    std::string_view storedComment = comment;
    TakeCommentAltitude(storedComment, altitude);

    // A report without both position texts, or with a position that is no position (the
    // equator, Greenwich, a missing hemisphere, or beyond the poles or the date line), still
    // stores its symbol and comment.
    bool hasPoint = false;
    bool hasTime = false;
    TrackPoint point;
    CDateTime reportTime;
    if (latitude.size() >= 8 && longitude.size() >= 9) {
        point = {ParseLatitude(latitude), ParseLongitude(longitude), altitude};
        hasPoint = !IsNoPosition(point.colatitude, point.longitude) &&
                   point.colatitude <= kMaxColatitude && point.longitude <= kMaxLongitude;
        if (hasPoint && time.size() == 7) {
            hasTime = ParseReportTime(time, now, impl_->clock.StandardBiasMinutes(), reportTime);
        }
    }

    impl_->UpdateAt(call, now, [&](CStation& s) {
        s.comment.assign(storedComment);
        if (symbol.size() >= 2) {
            s.symbolTable = symbol[0];
            s.symbolCode = symbol[1];
            s.hasSymbol = true;
        }
        if (!hasPoint)
            return;

        const CStationSettings& settings = impl_->settings;
        const TrackRules rules = TrackRules::For(settings, s.call == settings.MyCall);
        if (TakesTrackPoint(s, rules, point, hasTime ? &reportTime : nullptr)) {
            s.track.push_front(point);
            if (hasTime)
                s.trackTime = reportTime;
            while (!s.track.empty() && static_cast<int64_t>(s.track.size()) > rules.maxPoints) {
                s.track.pop_back();
            }
        }
        s.position = point;
        if (hasTime) {
            s.reportTime = reportTime;
            s.hasReportTime = true;
            if (!s.hasPosition)
                s.trackTime = reportTime;
        }
        s.lastHeard = now;
        s.heard = true;
        s.hasPosition = true;
    });
}

void CStationList::SetCourseSpeed(std::string_view call, int speedKnots, int courseDegrees) {
    impl_->Update(call, [&](CStation& s) {
        s.speed = ClampShort(speedKnots);
        s.course = ClampShort(courseDegrees);
        s.moving = true;
    });
}

void CStationList::SetPhg(std::string_view call, int powerWatts, int heightFeet, int gainDb,
                          int directivityDegrees) {
    impl_->Update(call, [&](CStation& s) {
        s.phgPower = ClampShort(powerWatts);
        s.phgHeight = ClampShort(heightFeet);
        s.phgGain = ClampShort(gainDb);
        s.phgDirectivity = ClampShort(directivityDegrees);
        s.hasPhg = true;
    });
}

void CStationList::SetDfs(std::string_view call, int strength, int heightFeet, int gainDb,
                          int directivityDegrees) {
    impl_->Update(call, [&](CStation& s) {
        s.dfsStrength = ClampShort(strength);
        s.dfsHeight = ClampShort(heightFeet);
        s.dfsGain = ClampShort(gainDb);
        s.dfsDirectivity = ClampShort(directivityDegrees);
        s.hasDfs = true;
    });
}

// Raises no StationChanged for a known station (the packet's other updates do); a record it
// creates is announced so the windows learn of it.
void CStationList::SetSymbolIfUnset(std::string_view call, std::string_view symbol) {
    impl_->Update(
        call,
        [&](CStation& s) {
            if (symbol.size() < 2 || s.hasSymbol)
                return;
            s.symbolTable = symbol[0];
            s.symbolCode = symbol[1];
            s.hasSymbol = true;
        },
        /*notify=*/false);
}

void CStationList::SetObjectOwner(std::string_view name, std::string_view senderCall) {
    impl_->Update(name, [&](CStation& s) {
        s.owner.assign(senderCall);
        s.hasOwner = true;
        s.killed = false;
    });
}

void CStationList::MarkObjectKilled(std::string_view name) {
    impl_->Update(name, [](CStation& s) { s.killed = true; });
}

void CStationList::SetDeviceAndPath(std::string_view call, std::string_view destination,
                                    std::string_view path, std::string_view information) {
    impl_->Update(call, [&](CStation& s) {
        if (!destination.empty())
            s.destination.assign(destination);
        if (!path.empty())
            s.path.assign(path);
        // A status text (">...") is only replaced by another status text.
        if (!information.empty() &&
            (!s.lastInfo.starts_with('>') || information.starts_with('>'))) {
            s.lastInfo.assign(information);
        }
        AssignDeviceName(s.device, destination);
    });
}

void CStationList::StoreWeather(std::string_view call, std::string_view /*destination*/,
                                std::string_view /*path*/, std::string_view comment,
                                const WeatherValues& v) {
    if (call.empty())
        return;
    const CDateTime now = impl_->clock.Now();

    // The new report replaces the old one whole: nothing of an earlier report survives.
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

    impl_->UpdateAt(call, now, [&](CStation& s) {
        s.weather = std::move(report);
        s.hasWeather = true;
        if (!s.hasSymbol) {
            s.symbolTable = '/';
            s.symbolCode = '_';
            s.hasSymbol = true;
        }
    });
}

void CStationList::SetShownOnMap(std::string_view call, bool shown) {
    const Impl::Lock lock = impl_->TakeLock();
    if (!lock.owns_lock())
        return;
    if (CStation* station = impl_->Find(call))
        station->shownOnMap = shown;
}

// --- Settings ---

void CStationList::ApplySettings(bool announce) {
    Impl& d = *impl_;
    d.sharedSettings.Load(d.profile);
    const CStationSettings fresh = d.sharedSettings;

    std::string ownCall;
    TransmitControl* transmit = nullptr;
    {
        const Impl::Lock lock = d.TakeLock();
        if (!lock.owns_lock())
            return;
        d.settings = fresh;
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

        const std::string symbol = fresh.Symbol.size() < 2 ? "/Z" : fresh.Symbol;
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
        if (fresh.HasInitPosit && !IsNoPosition(fresh.Lat, fresh.Lon)) {
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
    d.host.StationChanged(ownCall);
    if (announce && transmit != nullptr) {
        transmit->SendStatusText(std::string(kProgramName) + " v" + kVersionText + " online...");
        transmit->RearmPositionAndStatus();
    }
}

void CStationList::ApplyLimit() {
    const Impl::Lock lock = impl_->TakeLock();
    if (lock.owns_lock())
        impl_->TrimTo(impl_->Limit());
}

}  // namespace plovane
