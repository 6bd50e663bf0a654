// SPDX-License-Identifier: GPL-3.0-or-later
// The map widget with real mouse events: drag, taps that pick stations, pop-ups, redraws.
#include "ui/plovane_view.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "maps/header_status.h"
#include "ui/logic/command_ids.h"
#include "view_rig.h"

namespace plovane {
namespace {

using ::plovane::testing::ViewRig;

const QPoint kTap(100, 119);

TEST(PlovaneView, DragToMoveFollowsThePointerAndShortMovesAreTaps) {
    ViewRig rig;
    QSignalSpy modes(&rig.view, &CPlovaneView::dragModeChanged);
    ASSERT_TRUE(rig.view.OnCommand(Command::kDragToMove));
    EXPECT_EQ(modes.count(), 1);
    rig.view.OnCommand(Command::kZoomIn);  // room to move inside the limits
    rig.view.RenderImage();
    const MapBox before = rig.view.mapView().viewBox();
    const int32_t ux = rig.view.mapView().ux();

    rig.Answer({});
    QTest::mouseClick(&rig.view, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(rig.view.mapView().viewBox(), before);

    QTest::mousePress(&rig.view, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(&rig.view, QPoint(130, 100));
    QTest::mouseRelease(&rig.view, Qt::LeftButton, {}, QPoint(130, 100));
    EXPECT_EQ(rig.view.mapView().viewBox().left, before.left - 30 * ux);
    EXPECT_EQ(rig.view.mapView().viewBox().top, before.top);
}

// A tap on stations offers them by ten; the chosen one's pop-up commands reach the windows.
TEST(PlovaneView, ChosenStationGetsItsPopupAndItsCommandsReachTheWindows) {
    ViewRig rig;
    rig.store.Report("FARAWAY", "4000.00N", "00140.00E");
    rig.Answer({});
    QTest::mouseClick(&rig.view, Qt::LeftButton, {}, kTap);
    EXPECT_TRUE(rig.menus.empty());  // nothing under the tap

    for (const char* call : {"W1AAA", "W1BBB", "W1CCC"})
        rig.Here(call);
    QSignalSpy commands(&rig.view, &CPlovaneView::stationCommand);
    rig.Answer({kPickFirstStationCommand + 1, kSendMessageCommand});
    QTest::mouseClick(&rig.view, Qt::LeftButton, {}, kTap);
    ASSERT_EQ(rig.menus.size(), 2u);
    ASSERT_EQ(commands.count(), 1);
    EXPECT_EQ(commands[0][0].value<Command>(), Command::kSendMessage);
    EXPECT_EQ(commands[0][1].toString().toStdString(), rig.view.pick().chosen()->call);
    EXPECT_EQ(rig.menus[1].texts[0], rig.view.pick().chosen()->call);
    EXPECT_EQ(rig.menus[1].texts.back(), "C&onversation...");
    EXPECT_EQ(rig.menus[1].enabled, (std::vector<bool>{false, true, true, true, true, true}));
    rig.Answer({kPickFirstStationCommand + 1, kConversationCommand});
    QTest::mouseClick(&rig.view, Qt::LeftButton, {}, kTap);
    ASSERT_EQ(commands.count(), 2);
    EXPECT_EQ(commands[1][0].value<Command>(), Command::kConversation);

    for (int i = 3; i < 25; ++i)
        rig.Here("W1S" + std::to_string(100 + i));
    rig.menus.clear();
    rig.Answer({kPickMoreCommand, kPickMoreCommand, 0});
    QTest::mouseClick(&rig.view, Qt::LeftButton, {}, kTap);
    ASSERT_EQ(rig.menus.size(), 3u);
    EXPECT_EQ(rig.menus[2].texts[0], "Which station? (21-25 of 25)");
    EXPECT_FALSE(rig.menus[0].enabled[0]);  // the title is greyed
    EXPECT_EQ(rig.menus[0].texts.size(), 2u + 10u + 2u);
    EXPECT_EQ(rig.menus[0].texts.back(), "&More...");
    EXPECT_EQ(rig.menus[2].texts.size(), 2u + 5u);  // no "&More..." on the last page
}

TEST(PlovaneView, StationItemsAreDrawnWithTheCallAsPlainText) {
    PickMenu menu;
    menu.kind = PickMenu::Kind::kStationPopup;
    menu.items.push_back({PickMenuItem::Kind::kStation, 11000, "R&D<b>", false, {}});
    std::unique_ptr<QMenu> qmenu(BuildPickMenu(menu, {}, nullptr));
    auto* action = qobject_cast<QWidgetAction*>(qmenu->actions().front());
    ASSERT_NE(action, nullptr);
    auto* item = qobject_cast<StationMenuItem*>(action->defaultWidget());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->call(), "R&D<b>");
    EXPECT_EQ(action->text(), "R&&D<b>");
    // Choosing the item triggers its action.
    QSignalSpy triggered(action, &QAction::triggered);
    QTest::mouseClick(item, Qt::LeftButton);
    EXPECT_EQ(triggered.count(), 1);
}

TEST(PlovaneView, TimerRedrawsEverythingOnlyWhenThePeriodHasPassed) {
    ViewRig rig;
    rig.options.bRedrawScreenEvery = true;
    rig.options.RedrawScreenEvery = 1;
    rig.view.show();
    rig.view.grab();
    const int64_t first = rig.view.mapView().lastCompleteRedrawMs();
    const struct {
        int64_t advanceMs;
        bool enabled;
        int64_t redrawnAfterMs;  // since the first drawing
    } steps[] = {
        {0, true, 0},  // paints from the kept picture: no new drawing
        {30000, true, 0},
        {31000, true, 61000},  // 61 s since the last complete drawing
        {600000, false, 61000},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.advanceMs);
        rig.options.bRedrawScreenEvery = step.enabled;
        rig.store.clock.AdvanceMs(step.advanceMs);
        rig.view.TimerTick();
        rig.view.grab();
        EXPECT_EQ(rig.view.mapView().lastCompleteRedrawMs(), first + step.redrawnAfterMs);
    }
}

TEST(PlovaneView, KeepsTheOwnStationInViewWhenAsked) {
    ViewRig rig;
    const std::string own = rig.store.list.OwnCall();
    rig.store.Report(own, "4000.00N", "00500.00E");  // far below and right of the view
    const MapBox before = rig.view.mapView().viewBox();
    rig.view.StationsChanged({own}, false);
    EXPECT_EQ(rig.view.mapView().viewBox(), before);  // "TrackMe" is off

    rig.options.TrackMe = true;
    rig.view.StationsChanged({"W1OTHER"}, false);  // not the own station
    EXPECT_EQ(rig.view.mapView().viewBox(), before);
    rig.view.StationsChanged({own}, false);
    const MapBox after = rig.view.mapView().viewBox();
    EXPECT_EQ(after.Width(), before.Width());
    EXPECT_TRUE(rig.view.mapView().IsWellInView(rig.store.Get(own).position.colatitude,
                                                rig.store.Get(own).position.longitude));
}

// Changes that come within one frame are drawn together with it: a station reported three
// times is drawn once.
TEST(PlovaneView, StationChangesWithinAFrameAreDrawnOnceWithIt) {
    ViewRig rig;
    rig.view.show();
    rig.view.grab();
    const int64_t before = rig.view.stationDrawings();
    for (const char* latitude : {"4820.00N", "4821.00N", "4822.00N"}) {
        rig.store.Report("W1MOVE", latitude, "00140.00E");
        rig.view.StationsChanged({"W1MOVE"}, false);
    }
    EXPECT_EQ(rig.view.stationDrawings(), before);
    rig.view.grab();
    EXPECT_EQ(rig.view.stationDrawings(), before + 1);

    // More than are worth drawing one by one: the whole map is drawn once instead.
    std::vector<std::string> many;
    for (size_t i = 0; i <= CPlovaneView::kMostStationsDrawnAlone; ++i) {
        many.push_back("W" + std::to_string(i) + "MANY");
        rig.store.Report(many.back(), "4820.00N", "00140.00E");
    }
    rig.store.clock.AdvanceMs(1000);
    rig.view.StationsChanged(many, false);
    rig.view.grab();
    EXPECT_EQ(rig.view.stationDrawings(), before + 1);
    EXPECT_EQ(rig.view.mapView().lastCompleteRedrawMs(), rig.store.clock.TickMs());
}

// A station drawn alone keeps off the header strip and reaches a pending repaint's picture.
TEST(PlovaneView, StationsDrawnAloneKeepOffTheHeaderAndReachTheKeptPicture) {
    for (const bool bitmaps : {false, true}) {
        SCOPED_TRACE(bitmaps ? "off-screen bitmaps" : "direct");
        ViewRig rig;
        rig.options.IconLabels = true;  // the call's text is drawn even without icon art
        rig.options.UseOffScreenBitmaps = bitmaps;
        rig.view.RefreshView(true);
        const QImage empty = rig.view.grab().toImage();

        // Its label (8 pixels above the station) reaches into the 19-pixel strip.
        rig.store.Report("W1TOP", "4958.00N", "00140.00E");
        rig.view.StationsChanged({"W1TOP"}, false);
        const QImage shown = rig.view.grab().toImage();
        EXPECT_EQ(shown.copy(0, 0, 240, kHeaderStripHeight),
                  empty.copy(0, 0, 240, kHeaderStripHeight));
        EXPECT_NE(shown.copy(100, kHeaderStripHeight, 60, 10),
                  empty.copy(100, kHeaderStripHeight, 60, 10));

        rig.view.RefreshView(false);  // a repaint is pending when the next station comes
        rig.Here("W1LOW");
        rig.view.StationsChanged({"W1LOW"}, false);
        const QImage later = rig.view.grab().toImage();
        EXPECT_NE(later.copy(100, 110, 60, 12), empty.copy(100, 110, 60, 12));
    }
}

// The envelope carries the unread count; the rest of the strip stays as it was.
TEST(PlovaneView, TheEnvelopeShowsTheUnreadCount) {
    ViewRig rig;
    std::vector<QImage> shots;
    for (const int unread : {0, 3, 12}) {
        rig.view.SetHeaderStatus({.messageWaiting = true, .unreadMessages = unread});
        shots.push_back(rig.view.grab().toImage().copy(0, 0, rig.view.width(), kHeaderStripHeight));
    }
    const int envelope = rig.view.width() - 17;
    EXPECT_EQ(shots[0].copy(0, 0, envelope, kHeaderStripHeight),
              shots[2].copy(0, 0, envelope, kHeaderStripHeight));
    EXPECT_NE(shots[0], shots[1]);
    EXPECT_NE(shots[1], shots[2]);
}

// A click on a group's bubble zooms in to its stations, which then part; a right-click lists
// them; stations on one spot are listed at once, as zooming cannot part them.
TEST(PlovaneView, AClickOnABubbleZoomsToItsStationsAndARightClickListsThem) {
    ViewRig rig;
    rig.store.Report("W1AAA", "4820.00N", "00140.00E");  // on kTap
    rig.store.Report("W1BBB", "4816.00N", "00144.00E");  // 4 pixels right, 4 down
    rig.store.Report("W1CCC", "4740.00N", "00220.00E");
    rig.store.Report("W1DDD", "4740.00N", "00220.00E");  // on W1CCC
    rig.view.RenderImage();
    const QPoint bubble(102, 121), spot(140, 159);
    EXPECT_EQ(rig.view.ToolTipAt(bubble).toStdString(), "2 stations here: click to zoom in");

    rig.Answer({});
    QTest::mouseClick(&rig.view, Qt::RightButton, {}, bubble);
    ASSERT_EQ(rig.menus.size(), 1u);
    EXPECT_EQ(rig.menus[0].texts[0], "Which station? (1-2 of 2)");
    QTest::mouseClick(&rig.view, Qt::LeftButton, {}, spot);
    ASSERT_EQ(rig.menus.size(), 2u);
    EXPECT_EQ(rig.menus[1].texts[0], "Which station? (1-2 of 2)");

    const int32_t ux = rig.view.mapView().ux();
    QTest::mouseClick(&rig.view, Qt::LeftButton, {}, bubble);
    EXPECT_EQ(rig.menus.size(), 2u);
    EXPECT_LT(rig.view.mapView().ux() * 4, ux);
    rig.view.RenderImage();
    const TrackPoint at = rig.store.list.FindStation("W1AAA")->position;
    const PixelPoint a = rig.view.mapView().MapToScreen(at.longitude, at.colatitude);
    EXPECT_EQ(rig.view.ToolTipAt(QPoint(a.x, a.y)).toStdString().rfind("W1AAA", 0), 0u);
}

}  // namespace
}  // namespace plovane
