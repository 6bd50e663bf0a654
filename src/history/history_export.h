// SPDX-License-Identifier: GPL-3.0-or-later
// A station's history as files other programs read: its track as GPX 1.1 or KML 2.2, its
// weather and telemetry as CSV (one row per report, a header row first).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "history/history_store.h"

namespace plovane {

// "2026-12-06T13:58:21Z".
std::string HistoryTimeText(int64_t utc);

// A GPX 1.1 document with one track of one segment; course and speed go in each point's
// description (GPX 1.1 has no element for them).
std::string TrackGpx(std::string_view call, std::span<const PositionSample> track);
// A KML 2.2 document: the track as a line and each report as a point with its time.
std::string TrackKml(std::string_view call, std::span<const PositionSample> track);
// time, then each weather value in ordinary units (degrees Celsius, percent, millibar,
// millimetres, knots, degrees, W/m2); an empty field where it was not reported.
std::string WeatherCsv(std::span<const WeatherSample> samples);
// time, sequence, the five analog channels scaled by the station's equations and the eight
// digital channels (1 on, 0 off); the header names each by the station's names and units.
std::string TelemetryCsv(const CTelemetry& definitions, std::span<const TelemetrySample> samples);

}  // namespace plovane
