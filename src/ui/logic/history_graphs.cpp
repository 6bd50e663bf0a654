// SPDX-License-Identifier: GPL-3.0-or-later
// Series of the Graphs window from the stored reports.
#include "ui/logic/history_graphs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <iterator>

#include "core/units.h"
#include "ui/logic/units.h"

namespace plovane {
namespace {

constexpr int64_t kDaySeconds = 86400;
constexpr const char* kDegree = "\u00B0";
constexpr double kInHgPerHpa = 0.0295299830714;
constexpr double kMmPerInch = 25.4;
constexpr double kMetresPerFoot = 0.3048;

bool Metric(int unitsOfMeasure) {
    return unitsOfMeasure == kUnitsMetric;
}

// Knots in the setup's speed unit.
double Speed(int32_t knots, int unitsOfMeasure) {
    return knots / kKnotsPerMph * UnitsFor(unitsOfMeasure).speedFactor;
}

// Tenths of a millimetre as millimetres or inches. Reports give hundredths of an inch, kept
// to the nearest tenth of a millimetre: rounding to hundredths gives back what was sent.
double Rain(int32_t tenthsMm, int unitsOfMeasure) {
    return Metric(unitsOfMeasure) ? tenthsMm / 10.0
                                  : std::round(tenthsMm / 10.0 / kMmPerInch * 100.0) / 100.0;
}

// A series of the samples whose value `get` reports (nullopt-like: `get` returns false).
template <typename Sample>
GraphSeries SeriesOf(const std::string& name, const std::vector<Sample>& samples,
                     const std::function<bool(const Sample&, double&)>& get) {
    GraphSeries series{name, {}};
    for (const Sample& s : samples) {
        double value = 0;
        if (get(s, value))
            series.points.push_back({s.utc, value});
    }
    return series;
}

// Adds the graph when any of its series has a point.
void AddGraph(std::vector<Graph>& graphs, Graph graph) {
    std::erase_if(graph.series, [](const GraphSeries& s) { return s.points.empty(); });
    if (!graph.series.empty())
        graphs.push_back(std::move(graph));
}

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// The point nearest `utc` of points in time order; null for none.
const GraphPoint* Nearest(const std::vector<GraphPoint>& points, int64_t utc) {
    if (points.empty())
        return nullptr;
    const auto after = std::lower_bound(points.begin(), points.end(), utc,
                                        [](const GraphPoint& p, int64_t t) { return p.utc < t; });
    if (after == points.begin())
        return &*after;
    if (after == points.end())
        return &points.back();
    const auto before = std::prev(after);
    return utc - before->utc <= after->utc - utc ? &*before : &*after;
}

}  // namespace

HistoryPeriod SpanEnding(int64_t endUtc, GraphSpan span) {
    const int64_t days = span == GraphSpan::kDay ? 1 : span == GraphSpan::kWeek ? 7 : 30;
    return {endUtc - days * kDaySeconds, endUtc};
}

const GraphSeries* Graph::Find(const std::string& name) const {
    for (const GraphSeries& s : series) {
        if (s.name == name)
            return &s;
    }
    return nullptr;
}

std::vector<Graph> WeatherGraphs(const std::vector<WeatherSample>& samples, int unitsOfMeasure) {
    using Get = std::function<bool(const WeatherSample&, double&)>;
    const bool metric = Metric(unitsOfMeasure);
    const auto series = [&](const std::string& name, const Get& get) {
        return SeriesOf<WeatherSample>(name, samples, get);
    };
    std::vector<Graph> graphs;

    // Tenths of a degree Celsius; -1000 is "not reported".
    AddGraph(graphs, {"Temperature",
                      std::string(kDegree) + (metric ? "C" : "F"),
                      {series("Temperature",
                              [&](const WeatherSample& s, double& v) {
                                  const int32_t t = s.values.temperature;
                                  v = metric ? t / 10.0 : t / 10.0 * 9.0 / 5.0 + 32.0;
                                  return t > -1000;
                              })},
                      {}});
    AddGraph(graphs, {"Humidity",
                      "%",
                      {series("Humidity",
                              [](const WeatherSample& s, double& v) {
                                  v = s.values.humidity / 10.0;
                                  return s.values.humidity >= 0;
                              })},
                      {}});
    // Tenths of a millibar (hectopascal).
    AddGraph(graphs, {"Pressure",
                      metric ? "hPa" : "inHg",
                      {series("Pressure",
                              [&](const WeatherSample& s, double& v) {
                                  const double hpa = s.values.barometer / 10.0;
                                  v = metric ? hpa : hpa * kInHgPerHpa;
                                  return s.values.barometer > 0;
                              })},
                      {}});

    Graph wind{"Wind",
               UnitsFor(unitsOfMeasure).speedName,
               {series("Wind",
                       [&](const WeatherSample& s, double& v) {
                           v = Speed(s.values.windSpeed, unitsOfMeasure);
                           return s.values.windSpeed >= 0;
                       }),
                series("Gust",
                       [&](const WeatherSample& s, double& v) {
                           v = Speed(s.values.windGust, unitsOfMeasure);
                           return s.values.windGust >= 0;
                       })},
               {}};
    GraphSeries direction = series("Direction", [](const WeatherSample& s, double& v) {
        v = s.values.windDirection;
        return s.values.windDirection >= 0;
    });
    wind.directions = direction.points;
    AddGraph(graphs, std::move(wind));
    AddGraph(graphs, {"Wind Direction", kDegree, {std::move(direction)}, {}});

    const auto rain = [&](const char* name, int32_t WeatherValues::*member) {
        return series(name, [&, member](const WeatherSample& s, double& v) {
            v = Rain(s.values.*member, unitsOfMeasure);
            return s.values.*member >= 0;
        });
    };
    AddGraph(graphs, {"Rain",
                      metric ? "mm" : "in",
                      {rain("Last hour", &WeatherValues::rainLastHour),
                       rain("Last 24 hours", &WeatherValues::rainLast24Hours),
                       rain("Since midnight", &WeatherValues::rainSinceMidnight)},
                      {}});
    return graphs;
}

std::vector<Graph> TelemetryGraphs(const std::vector<TelemetrySample>& samples,
                                   const CTelemetry& definitions) {
    using Get = std::function<bool(const TelemetrySample&, double&)>;
    std::vector<Graph> graphs;
    for (size_t i = 0; i < TelemetryValues::kAnalogChannels; ++i) {
        const std::string name = definitions.names[i].empty() ? "Channel " + std::to_string(i + 1)
                                                              : definitions.names[i];
        const double a = definitions.equations[i][0];
        const double b = definitions.equations[i][1];
        const double c = definitions.equations[i][2];
        const Get get = [i, a, b, c](const TelemetrySample& s, double& v) {
            const double x = s.values.analog[i];
            v = a * x * x + b * x + c;
            return (s.values.analogPresent & (1u << i)) != 0;
        };
        AddGraph(graphs,
                 {name, definitions.units[i], {SeriesOf<TelemetrySample>(name, samples, get)}, {}});
    }
    Graph bits{definitions.project.empty() ? "Digital" : definitions.project, "on/off", {}, {}};
    for (size_t i = 0; i < CTelemetry::kDigital; ++i) {
        const size_t channel = TelemetryValues::kAnalogChannels + i;
        const std::string name = definitions.names[channel].empty() ? "Bit " + std::to_string(i + 1)
                                                                    : definitions.names[channel];
        const bool sense = definitions.bitSense[i];
        bits.series.push_back(SeriesOf<TelemetrySample>(
            name, samples, [i, sense](const TelemetrySample& s, double& v) {
                v = (((s.values.bits >> i) & 1) != 0) == sense ? 1 : 0;
                return s.values.bits >= 0;
            }));
    }
    AddGraph(graphs, std::move(bits));
    return graphs;
}

std::vector<Graph> TrackGraphs(const std::vector<PositionSample>& samples, int unitsOfMeasure) {
    using Get = std::function<bool(const PositionSample&, double&)>;
    const bool metric = Metric(unitsOfMeasure);
    std::vector<Graph> graphs;
    const Get altitude = [metric](const PositionSample& s, double& v) {
        v = metric ? s.altitudeDm / 10.0 : s.altitudeDm / 10.0 / kMetresPerFoot;
        return s.altitudeDm >= 0;
    };
    AddGraph(graphs, {"Altitude",
                      metric ? "m" : "ft",
                      {SeriesOf<PositionSample>("Altitude", samples, altitude)},
                      {}});
    const Get speed = [unitsOfMeasure](const PositionSample& s, double& v) {
        v = Speed(s.speedKnots, unitsOfMeasure);
        return s.speedKnots >= 0;
    };
    AddGraph(graphs, {"Speed",
                      UnitsFor(unitsOfMeasure).speedName,
                      {SeriesOf<PositionSample>("Speed", samples, speed)},
                      {}});
    return graphs;
}

std::vector<GraphPoint> ThinForDrawing(const std::vector<GraphPoint>& points, size_t maxPoints) {
    const size_t slices = maxPoints / 2;
    if (points.size() <= maxPoints || slices == 0)
        return points;
    const int64_t first = points.front().utc;
    const int64_t span = points.back().utc - first + 1;
    std::vector<GraphPoint> thin;
    thin.reserve(slices * 2);
    size_t i = 0;
    for (size_t slice = 0; slice < slices && i < points.size(); ++slice) {
        // The slice holds the points before its end; the last one takes the rest.
        const int64_t end = first + static_cast<int64_t>(static_cast<double>(span) *
                                                         static_cast<double>(slice + 1) /
                                                         static_cast<double>(slices));
        const size_t begin = i;
        size_t low = i, high = i;
        for (; i < points.size() && (points[i].utc < end || slice + 1 == slices); ++i) {
            if (points[i].value < points[low].value)
                low = i;
            if (points[i].value > points[high].value)
                high = i;
        }
        if (i == begin)
            continue;  // an empty slice
        thin.push_back(points[std::min(low, high)]);
        if (low != high)
            thin.push_back(points[std::max(low, high)]);
    }
    return thin;
}

std::string GraphReadout(const Graph& graph, int64_t utc) {
    std::string values;
    int64_t shownUtc = 0;
    bool any = false;
    for (const GraphSeries& s : graph.series) {
        const GraphPoint* p = Nearest(s.points, utc);
        if (p == nullptr)
            continue;
        if (!any || std::llabs(p->utc - utc) < std::llabs(shownUtc - utc))
            shownUtc = p->utc;
        values += (any ? ", " : "") + s.name + " " + Fixed(p->value, 1) +
                  (graph.unit.empty() ? "" : " " + graph.unit);
        any = true;
    }
    if (!any)
        return {};
    if (const GraphPoint* d = Nearest(graph.directions, utc))
        values += ", from " + Fixed(d->value, 0) + kDegree;
    const time_t seconds = static_cast<time_t>(shownUtc);
    std::tm tm{};
    gmtime_r(&seconds, &tm);
    char when[40];
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M UTC", &tm);
    return std::string(when) + "  " + values;
}

}  // namespace plovane
