// SPDX-License-Identifier: GPL-3.0-or-later
// Picking stations with a tap: the list pop-up pages, the station pop-up and the icons shown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "maps/map_station_pick.h"
#include "maps/map_view.h"
#include "stations/store_fixture.h"

namespace plovane {
namespace {

using ::plovane::testing::StoreFixture;
using Kind = PickMenuItem::Kind;

// One arc-minute per pixel from Greenwich and 50 N on a 240 x 282 map area, so the tap at
// (100, 119) is 48 20 N, 1 40 E and the pick box reaches 8 arc-minutes each way.
struct PickRig {
    PickRig() {
        view.Resize(240, 301);
        map.left = 64800000;
        map.right = 64800000 + 240 * 6000;
        map.top = 14400000;
        map.bottom = 14400000 + 282 * 6000;
        view.Home(map);
    }
    void Report(const std::string& call) { store.Report(call, "4820.00N", "00140.00E"); }
    PickMenu Tap() { return pick.Tap(view, kTap, store.list); }

    static constexpr PixelPoint kTap{100, 119};
    StoreFixture store;
    CMapData map{store.clock.Now()};
    CMapView view;
    CStationPick pick;
};

TEST(StationPick, TwentyFiveStationsComeInPagesOfTen) {
    PickRig rig;
    for (int i = 1; i <= 25; ++i)
        rig.Report("S" + std::to_string(i));

    struct Page {
        const char* title;
        int first, count;  // newest first: S25, S24, ...
        bool more;
    };
    const Page pages[] = {
        {"Which station? (1-10 of 25)", 25, 10, true},
        {"Which station? (11-20 of 25)", 15, 10, true},
        {"Which station? (21-25 of 25)", 5, 5, false},
    };
    PickMenu menu = rig.Tap();
    for (const Page& page : pages) {
        SCOPED_TRACE(page.title);
        ASSERT_EQ(menu.kind, PickMenu::Kind::kStationList);
        std::vector<PickMenuItem> expected{{Kind::kTitle, 0, page.title, true, {}},
                                           {Kind::kSeparator, 0, {}, false, {}}};
        for (int i = 0; i < page.count; ++i) {
            expected.push_back({Kind::kStation, kPickFirstStationCommand + i,
                                "S" + std::to_string(page.first - i), false,
                                StationIconFor('/', '>', false)});
        }
        if (page.more) {
            expected.push_back({Kind::kSeparator, 0, {}, false, {}});
            expected.push_back({Kind::kCommand, kPickMoreCommand, "&More...", false, {}});
        }
        EXPECT_EQ(menu.items, expected);
        EXPECT_EQ(menu.point, PickRig::kTap);
        menu = rig.pick.Choose(kPickMoreCommand, rig.store.list);
    }
    EXPECT_EQ(menu.kind, PickMenu::Kind::kNone);  // no page after the last

    // Choosing from the last page shown picks from that page.
    const PickMenu popup = rig.pick.Choose(kPickFirstStationCommand + 2, rig.store.list);
    ASSERT_EQ(popup.kind, PickMenu::Kind::kStationPopup);
    ASSERT_TRUE(rig.pick.chosen().has_value());
    EXPECT_EQ(rig.pick.chosen()->call, "S3");
    EXPECT_EQ(rig.pick.Choose(kPickFirstStationCommand + 5, rig.store.list).kind,
              PickMenu::Kind::kNone);  // only five on that page

    // A new tap starts from the first page again.
    EXPECT_EQ(rig.Tap().items.front().text, "Which station? (1-10 of 25)");
}

TEST(StationIcon, TableCodeOverlayAndKilled) {
    struct Case {
        char table, code;
        bool killed;
        StationIcon icon;
    };
    const Case cases[] = {
        {'/', '>', false, {IconTable::kPrimary, 30, -1}},
        {'3', '#', false, {IconTable::kAlternate, 3, 3}},
        {'A', '#', false, {IconTable::kAlternate, 3, 10}},
        {'a', '#', false, {IconTable::kAlternate, 3, -1}},
        {'Z', '&', false, {IconTable::kAlternate, 6, 35}},
        {'/', '>', true, {IconTable::kPrimary, 14, -1}},
        {'/', '\x7f', false, {IconTable::kPrimary, 95, -1}},
        {'/', '\x1f', false, {IconTable::kPrimary, -1, -1}},
        {'\\', '\xe9', false, {IconTable::kAlternate, -1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.table << c.code << (c.killed ? " killed" : ""));
        EXPECT_EQ(StationIconFor(c.table, c.code, c.killed), c.icon);
    }
}

}  // namespace
}  // namespace plovane
