// SPDX-License-Identifier: GPL-3.0-or-later
// The Graphs window and the History window on a real history database, offscreen.
// With PLOVANE_SHOTS set to a folder, the pictures looked at are saved there.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTreeWidget>
#include <cstdlib>

#include "core/units.h"
#include "support/history_fill.h"
#include "ui/graphs_window.h"
#include "ui/history_window.h"
#include "ui/station_info_sheet.h"
#include "ui_test_support.h"
#include "view_rig.h"

namespace plovane {
namespace {

constexpr int64_t kT0 = 1796515200;  // 2026-12-06 00:00:00 UTC

void Shot(QWidget& widget, const char* name) {
    if (const char* folder = std::getenv("PLOVANE_SHOTS"))
        widget.grab().save(QString(folder) + "/" + name + ".png");
}

TEST(GraphsWindow, DrawsTheStoredReportsWithAReadoutAndSavesAPicture) {
    testing::ScratchDir dir;
    const std::filesystem::path db = dir.path() / "history.sqlite";
    std::vector<testing::Heard> heard;
    for (int i = 0; i <= 24; ++i) {  // a day of hourly reports, and one from 3 days before
        char line[128];
        std::snprintf(line, sizeof line,
                      "CW1>APRS:!4903.50N/07201.75W_%03d/%03dg%03dt%03dh%02db%05d", 180 + i * 5,
                      i % 12, i % 12 + 8, 40 + i, 60 + i, 10100 - i * 3);
        heard.push_back({kT0 + i * 3600, line});
        std::snprintf(line, sizeof line, "CW1>APRS:T#%03d,%03d,%03d,000,000,000,0000000%d", i,
                      120 + i, 200 - i * 2, i % 2);
        heard.push_back({kT0 + i * 3600 + 1, line});
    }
    heard.push_back({kT0 - 3 * 86400, "CW1>APRS:!4903.50N/07201.75W_000/000t032"});
    heard.push_back({kT0, "CW1>APRS::CW1      :PARM.Battery,Solar"});
    heard.push_back({kT0, "CW1>APRS::CW1      :UNIT.Volts,Volts"});
    heard.push_back({kT0, "CW1>APRS::CW1      :EQNS.0,0.1,0,0,0.1,0"});
    testing::FillHistory(db, heard);

    CGraphsWindow window({db, "CW1", kUnitsMetric, kT0 + 86400});
    window.show();
    EXPECT_EQ(window.windowTitle(), "Graphs for CW1");
    EXPECT_EQ(window.pages()->currentIndex(), 0);  // the weather page
    const Graph& temperature = window.graphs(0).at(0);
    ASSERT_EQ(temperature.title, "Temperature");
    ASSERT_EQ(temperature.series[0].points.size(), 25u);
    EXPECT_NEAR(temperature.series[0].points[0].value, 4.4, 0.05);    // 40 °F
    EXPECT_NEAR(temperature.series[0].points[24].value, 17.8, 0.05);  // 64 °F
    window.ShowReadout(temperature, kT0 + 2 * 3600 + 600);
    EXPECT_EQ(window.readout().toStdString(), "2026-12-06 02:00 UTC  Temperature 5.6 \u00B0C");
    const Graph& battery = window.graphs(1).at(0);
    EXPECT_EQ(battery.title + "/" + battery.unit, "Battery/Volts");
    EXPECT_NEAR(battery.series[0].points[3].value, 12.3, 1e-9);

    const QString picture = QString::fromStdString(dir / "weather.png");
    ASSERT_TRUE(window.ExportPng(picture));
    EXPECT_GE(QImage(picture).height(), 5 * 230);  // every graph of the page, not only those seen
    Shot(window, "graphs-weather");
    window.pages()->setCurrentIndex(1);
    Shot(window, "graphs-telemetry");

    window.SetSpan(GraphSpan::kWeek);  // the report of three days before joins
    EXPECT_EQ(window.graphs(0).at(0).series[0].points.size(), 26u);

    // Without any history the pages say so and nothing breaks.
    CGraphsWindow none({dir.path() / "missing.sqlite", "CW1", kUnitsMetric, kT0});
    EXPECT_TRUE(none.graphs(0).empty());
    EXPECT_TRUE(none.ExportPng(QString::fromStdString(dir / "empty.png")));
}

TEST(GraphsWindow, StationInfoOpensTheGraphsOfItsStation) {
    CStation station;
    station.call = "CW1";
    bool opened = false;
    EXPECT_TRUE(testing::WithModal<CStationInfo>(
        [&] { ShowStationInfo(nullptr, station, 0, 0, nullptr, [&] { opened = true; }); },
        [](CStationInfo& sheet) {
            for (QPushButton* button : sheet.findChildren<QPushButton*>()) {
                if (button->text() == "&Graphs...")
                    button->click();
            }
        }));
    EXPECT_TRUE(opened);
}

TEST(HistoryWindow, FindsByPatternPeriodAndAreaAndPlaysTracksBack) {
    testing::ViewRig rig;  // 45.3 N to 50 N, 0 E to 4 E
    const std::filesystem::path db = DefaultHistoryPath();
    testing::FillHistory(db, {{kT0, "W1CAR>APRS:!4820.00N/00140.00E>"},
                              {kT0 + 600, "W1CAR>APRS:!4800.00N/00200.00E>"},
                              {kT0 + 1200, "W1CAR>APRS:!4740.00N/00220.00E>"},
                              {kT0 + 300, "W1BOX>APRS:!4700.00N/00300.00E-"},
                              {kT0 + 100, "K2XYZ>APRS:!4822.00N/00142.00E-"},
                              {kT0 - 2 * 86400, "W1OLD>APRS:!4820.00N/00140.00E-"}});
    CHistoryWindow window(db, rig.view, kT0 + 3600);
    window.SetPeriod({kT0, kT0 + 3600});
    window.show();
    const auto calls = [&] {
        std::vector<std::string> found;
        for (const HistoryHit& hit : window.hits())
            found.push_back(hit.call);
        return found;
    };
    ASSERT_TRUE(window.Find());
    EXPECT_EQ(calls(), (std::vector<std::string>{"K2XYZ", "W1BOX", "W1CAR"}));
    window.SetPattern("w1*");
    window.Find();
    EXPECT_EQ(calls(), (std::vector<std::string>{"W1BOX", "W1CAR"}));

    // An area dragged round W1CAR's first report.
    window.DrawArea();
    const PixelPoint first =
        rig.view.mapView().MapToScreen(64800000 + 100 * 6000, 14400000 + 100 * 6000);
    QTest::mousePress(&rig.view, Qt::LeftButton, {}, QPoint(first.x - 8, first.y - 8));
    QTest::mouseMove(&rig.view, QPoint(first.x + 8, first.y + 8));
    QTest::mouseRelease(&rig.view, Qt::LeftButton, {}, QPoint(first.x + 8, first.y + 8));
    EXPECT_FALSE(rig.view.pickingArea());
    window.Find();
    ASSERT_EQ(calls(), std::vector<std::string>{"W1CAR"});
    EXPECT_EQ(window.hits()[0].last.utc, kT0);  // its one report inside the area

    // The slider over the hour: a station stands where it last reported.
    struct Case {
        int slider;
        int64_t utc;
        int32_t colatitude;  // of W1CAR
    };
    for (const Case& c :
         {Case{0, kT0, 14400000 + 100 * 6000}, Case{200, kT0 + 720, 14400000 + 120 * 6000},
          Case{1000, kT0 + 3600, 14400000 + 140 * 6000}}) {
        SCOPED_TRACE(c.slider);
        window.slider()->setValue(c.slider);
        EXPECT_EQ(window.clock().now(), c.utc);
        ASSERT_EQ(rig.view.historyOverlay().marks.size(), 1u);
        EXPECT_EQ(rig.view.historyOverlay().marks[0].at.colatitude, c.colatitude);
    }

    // A click in the list: the slider jumps to when the station was there, its track shows.
    window.results()->itemClicked(window.results()->topLevelItem(0), 0);
    EXPECT_EQ(window.clock().now(), kT0);
    EXPECT_EQ(window.slider()->value(), 0);
    ASSERT_EQ(rig.view.historyOverlay().tracks.size(), 1u);
    EXPECT_EQ(rig.view.historyOverlay().tracks[0].samples.size(), 3u);
    window.SetSpeed(600);
    window.Tick(1000);  // a second at ten minutes a second
    EXPECT_EQ(window.clock().now(), kT0 + 600);
    EXPECT_EQ(window.slider()->value(), 167);
    EXPECT_EQ(window.timeText(), "2026-12-06 00:10:00 UTC");
    rig.view.RenderImage();
    Shot(window, "history-window");
    if (const char* folder = std::getenv("PLOVANE_SHOTS"))
        rig.view.grab().save(QString(folder) + "/history-map.png");
}

}  // namespace
}  // namespace plovane
