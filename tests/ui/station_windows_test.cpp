// SPDX-License-Identifier: GPL-3.0-or-later
// The "Stations" window and the "Station Info for ..." sheet, wired to a real station list.
#include <gtest/gtest.h>

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "stations/store_fixture.h"
#include "ui/station_info_sheet.h"
#include "ui/station_list_window.h"
#include "ui_test_support.h"

namespace plovane {
namespace {

using testing::WaitFor;

class StationWindow : public ::testing::Test {
  protected:
    testing::StoreFixture store;

    std::unique_ptr<CStationListWindow> Open() {
        auto window = std::make_unique<CStationListWindow>(
            store.list, store.host, nullptr, [](const CStation&) {}, [](const std::string&) {});
        window->ShowStationList();
        return window;
    }
    static QStringList Calls(const CStationListWindow& window) {
        return testing::Column(window, kStationColumnCall);
    }
};

TEST_F(StationWindow, RowsFollowChangesAndDropRemovedStations) {
    store.Set("LimitStations", 4);  // the own record and three others
    for (const char* call : {"OLD1", "MID2", "NEW3"})
        store.Report(call);
    auto window = Open();
    ASSERT_TRUE(WaitFor([&] { return !window->loading(); }));
    ASSERT_EQ(window->model().rowCount({}), 4);

    store.list.SetDeviceAndPath("MID2", "APRS", "WIDE1-1", ">on the air");
    store.Report("NEWEST");  // the limit removes OLD1, without a word about it
    window->StationsChanged({"MID2", "NEWEST"}, false);
    EXPECT_TRUE(Calls(*window).contains("NEWEST"));
    ASSERT_TRUE(WaitFor([&] { return !Calls(*window).contains("OLD1"); }));
    EXPECT_EQ(window->countText(), "Showing all 4 stations");
    const auto mid = Calls(*window).indexOf("MID2");
    EXPECT_EQ(testing::Column(*window, kStationColumnStatus).value(mid), ">on the air");

    // A selected row whose record vanished is dropped when used.
    window->SelectCall("MID2");
    store.Report("NEWER5");
    store.Report("NEWER6");
    window->infoButton()->click();
    EXPECT_EQ(store.host.boxes().back().text, kSelectForInfoText);
    EXPECT_FALSE(Calls(*window).contains("MID2"));

    // Changes while the window is hidden wait for it.
    window->hide();
    store.Report("K1NEW");
    window->StationsChanged({"K1NEW"}, false);
    EXPECT_FALSE(Calls(*window).contains("K1NEW"));
    window->ShowStationList();
    EXPECT_TRUE(Calls(*window).contains("K1NEW"));
}

// The texts of a page's value labels, which never take received text as rich text.
QStringList Values(QWidget* page) {
    QStringList values;
    auto* form = qobject_cast<QFormLayout*>(page->layout());
    for (int row = 0; form != nullptr && row < form->rowCount(); ++row) {
        auto* value = qobject_cast<QLabel*>(form->itemAt(row, QFormLayout::FieldRole)->widget());
        EXPECT_TRUE(value != nullptr && value->textFormat() == Qt::PlainText) << row;
        values << (value ? value->text() : QString());
    }
    return values;
}

TEST(StationInfoSheet, PagesInTheChosenUnitsAndPlainText) {
    CStation station("W5ABC", CDateTime(2026, 1, 5, 12, 0, 0));
    station.comment = "<b>x</b>";
    station.moving = true;
    station.speed = 36;
    CStationInfo plain(station, 2, 0);
    EXPECT_EQ(plain.windowTitle(), "Station Info for W5ABC");
    ASSERT_EQ(plain.pages()->count(), 2);
    EXPECT_TRUE(Values(plain.pages()->widget(0)).contains("66 kph"));
    plain.SetContext({"KD7BZW-3*,WIDE2-1", "11.1 km at 0\u00b0 N", "7 min ago"});
    plain.show();
    EXPECT_TRUE(plain.contextText().contains("KD7BZW-3*,WIDE2-1"));
    EXPECT_LT(plain.height(), 600);  // sized to what it shows, not stretched to a screen

    station.hasWeather = true;
    station.weather.hasRain = true;
    station.weather.rainSinceMidnight = 50;
    CStationInfo wx(station, 0, 0);
    ASSERT_EQ(wx.pages()->count(), 3);
    EXPECT_TRUE(Values(wx.pages()->widget(0)).contains("41 mph"));
    EXPECT_TRUE(Values(wx.pages()->widget(2)).contains("0.2 in"));
    for (int page = 0; page < wx.pages()->count(); ++page)
        Values(wx.pages()->widget(page));  // checks every value's text format
}

}  // namespace
}  // namespace plovane
