// SPDX-License-Identifier: GPL-3.0-or-later
// The station store's text inputs: a position report (symbol, latitude, longitude, time
// stamp, comment with an altitude), a device/path/status update, a weather report and the
// typed-position conversions, fed from one input split at newlines. Nothing may crash, the
// list must hold one record per call, and converted positions stay in range.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/null_host.h"
#include "core/clock.h"
#include "core/profile.h"
#include "stations/device_names.h"
#include "stations/heard_where.h"
#include "stations/position_text.h"
#include "stations/station_list.h"
#include "stations/weather_description.h"
#include "core/station_settings.h"

namespace {

using namespace plovane;

std::vector<std::string_view> Fields(std::string_view text, size_t count) {
    std::vector<std::string_view> fields;
    while (fields.size() + 1 < count) {
        const size_t end = text.find('\n');
        if (end == std::string_view::npos)
            break;
        fields.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    fields.push_back(text);
    fields.resize(count);
    return fields;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // call, symbol, latitude, longitude, time, comment, destination, degrees, minutes, fraction
    const auto f = Fields(text, 10);
    const int bias = size > 0 ? (data[0] % 25 - 12) * 60 : 0;

    MemoryProfile profile;
    profile.WriteString("Station", "MyCall", std::string(f[0]));
    profile.WriteInt("Station", "bTrack", 1);
    profile.WriteInt("Station", "TrackMax", 3);
    profile.WriteInt("Station", "TrackTime", static_cast<int>(size) - 50);
    profile.WriteInt("Station", "TrackDistance", static_cast<int>(size) - 50);
    profile.WriteInt("Station", "UnitsOfMeasure", static_cast<int>(size % 5) - 1);
    profile.WriteInt("Station", "LimitStations", static_cast<int>(size % 4));
    CStationSettings settings;
    FakeClock clock(CDateTime(2026, 3, 1, 0, 30, 0), bias);
    plovane::NullHost host;
    CStationList list(settings, clock, host, host);
    settings.Load(profile);
    list.ApplySettings(settings, false);

    for (int i = 0; i < 3; ++i) {
        list.UpdatePosition(f[0], f[1], f[2], f[3], f[4], f[5], -1);
        list.UpdatePosition(f[6], f[1], f[2], f[3], f[4], f[5], i * 100);
    }
    list.SetDeviceAndPath(f[6], f[6], f[5], f[5]);
    WeatherValues weather;
    weather.month = size > 1 ? data[1] % 15 - 1 : -1;
    weather.day = size > 2 ? data[2] % 34 - 1 : -1;
    list.StoreWeather(f[6], "", "", f[5], weather);
    (void)WeatherDescription(f[5]);
    (void)DeviceName(f[6], f[5]);
    // Where a received line was heard: its first used hop is part of the line.
    const std::string_view hop = FirstUsedHop(f[5]);
    if (!hop.empty() && f[5].find(hop) == std::string_view::npos)
        std::abort();
    list.NoteHeard(f[6], size > 3 ? data[3] % 40 : 0, hop);
    if (const auto station = list.FindStation(f[6]))
        (void)HeardText(station->heardWhere);

    const auto records = list.Snapshot();
    for (size_t i = 0; i < records.size(); ++i) {
        for (size_t j = i + 1; j < records.size(); ++j) {
            if (records[i].call == records[j].call)
                std::abort();
        }
        if (records[i].track.size() > 3)
            std::abort();
        if (records[i].hasPosition && records[i].call != list.OwnCall() &&
            (records[i].position.colatitude > kMaxColatitude ||
             records[i].position.longitude > kMaxLongitude)) {
            std::abort();
        }
    }

    const int32_t colatitude = ColatitudeFromText(f[7], f[8], f[9], f[1]);
    const int32_t longitude = LongitudeFromText(f[7], f[8], f[9], f[1]);
    if (colatitude < 0 || colatitude > kMaxColatitude || longitude < 0 ||
        longitude > kMaxLongitude) {
        std::abort();
    }
    return 0;
}
