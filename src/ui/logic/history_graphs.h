// SPDX-License-Identifier: GPL-3.0-or-later
// What the Graphs window plots from the history database: weather, telemetry channels and
// altitude/speed along a track, as named series of (time, value) in the units of the setup,
// and the hover readout of a graph at a time. Pure functions; the Qt window draws them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "history/history_store.h"

namespace plovane {

enum class GraphSpan { kDay, kWeek, kMonth };

// The span ending at `endUtc`: 24 hours, 7 days or 30 days.
HistoryPeriod SpanEnding(int64_t endUtc, GraphSpan span);

struct GraphPoint {
    int64_t utc = 0;
    double value = 0;
    bool operator==(const GraphPoint&) const = default;
};

struct GraphSeries {
    std::string name;
    std::vector<GraphPoint> points;  // in time order
};

struct Graph {
    std::string title;  // "Temperature"
    std::string unit;   // axis unit, "°F"
    std::vector<GraphSeries> series;
    // The wind graph's direction per report (degrees), named in its readout.
    std::vector<GraphPoint> directions;
    const GraphSeries* Find(const std::string& name) const;
};

// Temperature, humidity, pressure, wind (speed and gust, with direction), wind direction
// and rain (last hour, 24 hours, since midnight); a graph only where a value was reported.
// `unitsOfMeasure` is the setup's: metric shows °C, mm, hPa, km/h; the others °F, in,
// inHg and mph or knots.
std::vector<Graph> WeatherGraphs(const std::vector<WeatherSample>& samples, int unitsOfMeasure);

// One graph per analog channel sent, named and scaled by the station's definitions (the
// equation a·x² + b·x + c, its unit); one for the digital channels (1 on, 0 off).
std::vector<Graph> TelemetryGraphs(const std::vector<TelemetrySample>& samples,
                                   const CTelemetry& definitions);

// Altitude (ft or m) and speed along the track, where the positions carried them.
std::vector<Graph> TrackGraphs(const std::vector<PositionSample>& samples, int unitsOfMeasure);

// At most about `maxPoints` of `points` for drawing: in each of maxPoints / 2 equal slices
// of time its lowest and highest point, in time order, so no peak is lost; fewer points
// are kept as they are. A chart of a month of reports every few seconds stays quick.
std::vector<GraphPoint> ThinForDrawing(const std::vector<GraphPoint>& points, size_t maxPoints);

// "2026-12-06 14:05 UTC  Wind 12.0 mph, Gust 20.0 mph, from 270°": each series' value
// reported nearest to `utc`; empty when the graph has no point.
std::string GraphReadout(const Graph& graph, int64_t utc);

}  // namespace plovane
