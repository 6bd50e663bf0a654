// SPDX-License-Identifier: GPL-3.0-or-later
// The graphs and the playback of the history, from a real history database filled with
// decoded lines.
#include "ui/logic/history_graphs.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/units.h"
#include "support/history_fill.h"
#include "support/scratch_dir.h"
#include "ui/logic/history_playback.h"

namespace plovane {
namespace {

constexpr int64_t kT0 = 1796515200;  // 2026-12-06 00:00:00 UTC

struct Filled {
    testing::ScratchDir dir;
    std::filesystem::path path = dir.path() / "history.sqlite";
    HistoryStore store;
    explicit Filled(const std::vector<testing::Heard>& heard) {
        testing::FillHistory(path, heard);
        store.Open(path, {}, true);
    }
};

struct Expected {
    int units;
    const char* graph;
    const char* series;
    size_t index;
    double value;
    double within;
    const char* unit;
};

void Check(const std::vector<Graph>& graphs, const Expected& e) {
    SCOPED_TRACE(std::string(e.graph) + "/" + e.series + " in units " + std::to_string(e.units));
    const auto graph = std::find_if(graphs.begin(), graphs.end(),
                                    [&](const Graph& g) { return g.title == e.graph; });
    ASSERT_NE(graph, graphs.end());
    EXPECT_EQ(graph->unit, e.unit);
    const GraphSeries* series = graph->Find(e.series);
    ASSERT_NE(series, nullptr);
    ASSERT_GT(series->points.size(), e.index);
    EXPECT_NEAR(series->points[e.index].value, e.value, e.within);
}

TEST(HistoryGraphs, WeatherGraphsShowTheReportsInTheSetupUnits) {
    Filled db({{kT0, "CW1>APRS:_12060000c220s023g046t077r010p020P030h50b10132"},
               {kT0 + 600, "CW1>APRS:_12060010c180s000g000t-04h00b09950"},
               {kT0 + 700, "OTHER>APRS:!4903.50N/07201.75W_180/000g000t050"}});
    const auto samples = db.store.Weather("CW1", SpanEnding(kT0 + 3600, GraphSpan::kDay));
    ASSERT_EQ(samples.size(), 2u);
    const std::vector<Expected> cases = {
        {kUnitsStatute, "Temperature", "Temperature", 0, 77.0, 0.05, "\u00B0F"},
        {kUnitsStatute, "Temperature", "Temperature", 1, -4.0, 0.05, "\u00B0F"},
        {kUnitsMetric, "Temperature", "Temperature", 0, 25.0, 0.05, "\u00B0C"},
        {kUnitsMetric, "Temperature", "Temperature", 1, -20.0, 0.05, "\u00B0C"},
        {kUnitsMetric, "Humidity", "Humidity", 1, 100.0, 0.05, "%"},
        {kUnitsMetric, "Pressure", "Pressure", 0, 1013.2, 0.05, "hPa"},
        {kUnitsStatute, "Pressure", "Pressure", 1, 29.38, 0.005, "inHg"},
        {kUnitsStatute, "Wind", "Wind", 0, 23.0, 0.05, "mph"},
        {kUnitsStatute, "Wind", "Gust", 0, 46.0, 0.05, "mph"},
        {kUnitsNautical, "Wind", "Gust", 0, 40.0, 0.05, "knots"},
        {kUnitsMetric, "Wind", "Wind", 0, 37.0, 0.2, "kph"},
        {kUnitsStatute, "Wind", "Wind", 1, 0.0, 0.0, "mph"},  // calm is a value, not a gap
        {kUnitsMetric, "Wind Direction", "Direction", 1, 180, 0, "\u00B0"},
        {kUnitsStatute, "Rain", "Last hour", 0, 0.10, 1e-9, "in"},  // kept in 0.1 mm
        {kUnitsMetric, "Rain", "Last 24 hours", 0, 5.1, 0.001, "mm"},
        {kUnitsMetric, "Rain", "Since midnight", 0, 7.6, 0.001, "mm"},
    };
    for (const Expected& e : cases)
        Check(WeatherGraphs(samples, e.units), e);
    // The second report sent no rain: the rain series have one point, no invented zero.
    const std::vector<Graph> graphs = WeatherGraphs(samples, kUnitsStatute);
    EXPECT_EQ(graphs.back().title, "Rain");
    EXPECT_EQ(graphs.back().series[0].points.size(), 1u);
    const Graph& wind = graphs[3];
    EXPECT_EQ(GraphReadout(wind, kT0 + 200),
              "2026-12-06 00:00 UTC  Wind 23.0 mph, Gust 46.0 mph, from 220\u00B0");
    EXPECT_EQ(GraphReadout(wind, kT0 + 400),
              "2026-12-06 00:10 UTC  Wind 0.0 mph, Gust 0.0 mph, from 180\u00B0");
}

TEST(HistoryGraphs, TelemetryChannelsCarryTheStationsNamesUnitsAndEquations) {
    Filled db({{kT0, "W1TEL>APRS::W1TEL    :PARM.Battery,Temp"},
               {kT0 + 1, "W1TEL>APRS::W1TEL    :UNIT.Volts,deg.F"},
               {kT0 + 2, "W1TEL>APRS::W1TEL    :EQNS.0,0.1,0,0,0.5,-40"},
               {kT0 + 3, "W1TEL>APRS::W1TEL    :BITS.11111111,Balloon"},
               {kT0 + 60, "W1TEL>APRS:T#005,199,000,255,073,123,01101001"},
               {kT0 + 120, "W1TEL>APRS:T#006,120,100,255,073,123,01101001"}});
    const HistoryPeriod period = SpanEnding(kT0 + 3600, GraphSpan::kDay);
    const std::vector<Graph> graphs = TelemetryGraphs(db.store.Telemetry("W1TEL", period),
                                                      db.store.TelemetryDefinitions("W1TEL"));
    const std::vector<Expected> cases = {
        {0, "Battery", "Battery", 0, 19.9, 1e-9, "Volts"},
        {0, "Battery", "Battery", 1, 12.0, 1e-9, "Volts"},
        {0, "Temp", "Temp", 0, -40.0, 1e-9, "deg.F"},
        {0, "Temp", "Temp", 1, 10.0, 1e-9, "deg.F"},
        {0, "Channel 3", "Channel 3", 0, 255, 1e-9, ""},
    };
    for (const Expected& e : cases)
        Check(graphs, e);
    ASSERT_EQ(graphs.size(), 6u);  // five channels and the digital ones
    EXPECT_EQ(graphs.back().title, "Balloon");
    EXPECT_EQ(graphs.back().series.size(), 8u);
}

TEST(HistoryGraphs, AltitudeAndSpeedAlongATrack) {
    Filled db({{kT0, "W1CAR>APRS:!4903.50N/07201.75W>090/036/A=001234"},
               {kT0 + 60, "W1CAR>APRS:!4903.60N/07201.75W>000/000"}});
    const auto track = db.store.Positions("W1CAR", SpanEnding(kT0 + 60, GraphSpan::kWeek));
    const std::vector<Expected> cases = {
        {kUnitsStatute, "Altitude", "Altitude", 0, 1234, 0.5, "ft"},
        {kUnitsMetric, "Altitude", "Altitude", 0, 376.1, 0.1, "m"},
        {kUnitsStatute, "Speed", "Speed", 0, 41.43, 0.01, "mph"},
        {kUnitsNautical, "Speed", "Speed", 0, 36, 1e-9, "knots"},
        {kUnitsMetric, "Speed", "Speed", 1, 0, 0, "kph"},
    };
    for (const Expected& e : cases)
        Check(TrackGraphs(track, e.units), e);
    // The second report gave no altitude: no point for it.
    EXPECT_EQ(TrackGraphs(track, kUnitsMetric)[0].series[0].points.size(), 1u);
}

TEST(HistoryGraphs, ThinningForDrawingKeepsEveryPeak) {
    std::vector<GraphPoint> points;
    for (int64_t t = 0; t < 100000; ++t)  // a month of reports every 26 s
        points.push_back({kT0 + t * 26, static_cast<double>((t * 7919) % 1000)});
    points[54321].value = 5000;
    points[777].value = -5000;
    const std::vector<GraphPoint> thin = ThinForDrawing(points, 4000);
    EXPECT_LE(thin.size(), 4000u);
    EXPECT_GE(thin.size(), 3900u);
    EXPECT_TRUE(
        std::is_sorted(thin.begin(), thin.end(),
                       [](const GraphPoint& a, const GraphPoint& b) { return a.utc < b.utc; }));
    EXPECT_NE(std::find(thin.begin(), thin.end(), points[54321]), thin.end());
    EXPECT_NE(std::find(thin.begin(), thin.end(), points[777]), thin.end());
    const std::vector<GraphPoint> few(points.begin(), points.begin() + 10);
    EXPECT_EQ(ThinForDrawing(few, 4000), few);
}

TEST(HistoryPlayback, StationsStandWhereTheyLastReported) {
    const std::vector<HistoryTrack> tracks = {
        {"A", {{100, 1, 1}, {200, 2, 2}, {300, 3, 3}}},
        {"B", {{250, 9, 9}}},
    };
    struct Case {
        int64_t utc;
        std::vector<std::pair<std::string, int32_t>> expected;  // call, colatitude
    };
    for (const Case& c : std::vector<Case>{{99, {}},
                                           {100, {{"A", 1}}},
                                           {249, {{"A", 2}}},
                                           {250, {{"A", 2}, {"B", 9}}},
                                           {5000, {{"A", 3}, {"B", 9}}}}) {
        SCOPED_TRACE(c.utc);
        std::vector<std::pair<std::string, int32_t>> got;
        for (const PlaybackMark& m : PositionsAt(tracks, c.utc))
            got.emplace_back(m.call, m.at.colatitude);
        EXPECT_EQ(got, c.expected);
    }
}

TEST(HistoryPlayback, TheClockMovesTheSliderAtTheChosenSpeed) {
    PlaybackClock clock({kT0, kT0 + 86400});
    EXPECT_EQ(clock.SliderPosition(), 0);
    EXPECT_TRUE(clock.Advance(1500, 3600));  // 1.5 s at an hour a second
    EXPECT_EQ(clock.now(), kT0 + 5400);
    EXPECT_EQ(clock.SliderPosition(), 63);  // 5400 / 86400 of 1000 steps, rounded
    EXPECT_TRUE(clock.Advance(400, 1));
    EXPECT_TRUE(clock.Advance(700, 1));  // the 0.4 s carried over make a second
    EXPECT_EQ(clock.now(), kT0 + 5401);
    clock.JumpTo(clock.TimeAtSlider(500));
    EXPECT_EQ(clock.now(), kT0 + 43200);
    EXPECT_FALSE(clock.Advance(600000, 3600));  // stops at the end
    EXPECT_EQ(clock.now(), kT0 + 86400);
    EXPECT_EQ(clock.SliderPosition(), PlaybackClock::kSteps);
    clock.JumpTo(kT0 - 10);  // before the period: its start
    EXPECT_EQ(clock.now(), kT0);
}

}  // namespace
}  // namespace plovane
