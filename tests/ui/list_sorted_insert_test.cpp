// SPDX-License-Identifier: GPL-3.0-or-later
// Rows arriving while the station list is sorted go to their sorted place.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QTreeView>

#include "stations/store_fixture.h"
#include "ui/station_list_window.h"
#include "ui_test_support.h"

namespace plovane {
namespace {

using testing::Column;

TEST(SortedListInsert, NewStationsGoToTheirSortedPlace) {
    struct Case {
        const char* name;
        int clicks;        // on the call column: 1 ascending, 2 descending
        bool duringFill;   // the new stations arrive before the fill is over
        QStringList want;  // in the order listed, N0CALL being the own record
    };
    const QStringList ascending{"A1",      "K7OL-3",   "N0CALL",   "WATER-3",
                                "WATER-9", "WATER-10", "WATER-21", "ZZ9"};
    const QStringList descending(ascending.rbegin(), ascending.rend());
    const Case cases[] = {
        {"descending, after the fill", 2, false, descending},
        {"ascending, during the fill", 1, true, ascending},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::StoreFixture store;
        for (int i = 0; i < 60; ++i)  // enough for a fill of several batches
            store.Report("F" + std::to_string(100 + i));
        for (const char* call : {"WATER-21", "K7OL-3", "WATER-3"})
            store.Report(call);
        CStationListWindow window(
            store.list, store.host, nullptr, [](const CStation&) {}, [](const std::string&) {});
        window.ShowStationList();
        for (int i = 0; i < c.clicks; ++i)
            window.list()->header()->sectionClicked(kStationColumnCall);
        if (!c.duringFill)
            window.FinishFill();
        ASSERT_EQ(window.loading(), c.duringFill);

        const std::vector<std::string> arrived{"ZZ9", "WATER-10", "A1", "WATER-9"};
        for (const std::string& call : arrived)
            store.Report(call);
        window.StationsChanged(arrived, false);
        window.FinishFill();
        QStringList listed = Column(window, kStationColumnCall);
        listed.removeIf([](const QString& call) { return call.startsWith('F'); });
        EXPECT_EQ(listed, c.want);

        // A refill by a mask keeps the order too.
        window.callMask()->setText("water");
        window.RefillStationList();
        window.FinishFill();
        EXPECT_EQ(Column(window, kStationColumnCall), c.want.filter("WATER"));
    }
}

}  // namespace
}  // namespace plovane
