// SPDX-License-Identifier: GPL-3.0-or-later
// What a desktop map user expects: wheel zoom, live pan, right click, tooltips, Find, help.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>

#include "stations/store_fixture.h"
#include "ui/find_station_dialog.h"
#include "ui/help_viewer.h"
#include "ui/logic/command_ids.h"
#include "ui/main_frame.h"
#include "ui_test_support.h"
#include "view_rig.h"

namespace plovane {
namespace {

TEST(MapDesk, WheelZoomKeepsThePlaceUnderThePointer) {
    testing::ViewRig rig(400, 300);
    for (const QPoint pointer : {QPoint(30, 40), QPoint(380, 300), QPoint(200, 160)}) {
        SCOPED_TRACE(pointer.x());
        const MapPoint before = rig.At(pointer);
        const int32_t ux = rig.view.mapView().ux();
        rig.Wheel(pointer, 60);  // half a notch: nothing yet
        EXPECT_EQ(rig.view.mapView().ux(), ux);
        rig.Wheel(pointer, 180);  // two notches in all
        EXPECT_EQ(rig.view.mapView().ux(), ux / 4);
        EXPECT_NEAR(rig.At(pointer).x, before.x, rig.view.mapView().ux());
        EXPECT_NEAR(rig.At(pointer).y, before.y, rig.view.mapView().uy());
        rig.Wheel(pointer, -240);
        EXPECT_NEAR(rig.At(pointer).x, before.x, rig.view.mapView().ux());
    }
    // The zoom keys reach the map while it has the focus, even where a menu shortcut uses them.
    const int32_t ux = rig.view.mapView().ux();
    QTest::keyClick(&rig.view, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(rig.view.mapView().ux(), ux / 2);
    rig.view.RenderImage();
    QTest::keyClick(&rig.view, Qt::Key_Minus);
    EXPECT_EQ(rig.view.mapView().ux(), ux);
}

// A burst of notches draws the map once, after the last; meanwhile the last picture stays on
// screen, scaled about the pointer, never a blank map.
TEST(MapDesk, AWheelBurstShowsTheLastPictureScaledThenDrawsOnce) {
    testing::ViewRig rig(400, 300);
    rig.Here("W1AAA");
    rig.view.show();
    const QImage before = rig.view.grab().toImage();
    const QPoint pointer(100, 119);  // on the station's symbol
    const int64_t drawnAt = rig.view.mapView().lastCompleteRedrawMs();
    for (int notch = 0; notch < 3; ++notch) {
        rig.store.clock.AdvanceMs(10);
        QWheelEvent event(pointer, rig.view.mapToGlobal(pointer), {}, QPoint(0, 120), Qt::NoButton,
                          {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&rig.view, &event);
    }
    const QImage during = rig.view.grab().toImage();
    EXPECT_EQ(rig.view.mapView().lastCompleteRedrawMs(), drawnAt);  // not drawn per notch
    // Eight times larger about the pointer: each old pixel near it is now an 8 x 8 block
    // eight times as far from it, in the same colour at its middle.
    int pixels = 0, kept = 0, coloured = 0;
    for (int dy = -6; dy <= 6; ++dy) {
        for (int dx = -6; dx <= 6; ++dx, ++pixels) {
            const QRgb was = before.pixel(pointer + QPoint(dx, dy));
            const QRgb now = during.pixel(pointer + QPoint(dx, dy) * 8 + QPoint(4, 4));
            coloured += was != qRgb(255, 255, 255);
            kept += std::abs(qRed(now) - qRed(was)) + std::abs(qGreen(now) - qGreen(was)) +
                        std::abs(qBlue(now) - qBlue(was)) <
                    60;
        }
    }
    EXPECT_GT(coloured, 3);  // the station's symbol is among them
    EXPECT_GE(kept, pixels * 9 / 10) << kept << " of " << pixels;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return rig.view.mapView().lastCompleteRedrawMs() != drawnAt; }, 5000));
    EXPECT_EQ(rig.view.mapView().lastCompleteRedrawMs(), drawnAt + 30);  // once, at the end
}

TEST(MapDesk, PanningMovesThePictureLiveThenTheMapAndThePointerPlaceIsShown) {
    testing::ViewRig rig(400, 300);
    rig.store.Report("W1AAA", "4820.00N", "00140.00E");
    rig.view.RenderImage();
    rig.view.show();
    const QImage before = rig.view.grab().toImage();
    const MapPoint grabbed = rig.At({150, 150});
    QTest::mousePress(&rig.view, Qt::MiddleButton, {}, QPoint(150, 150));
    QTest::mouseMove(&rig.view, QPoint(190, 130));
    const QImage during = rig.view.grab().toImage();
    int same = 0, compared = 0;
    for (int y = 60; y < 250; y += 3) {
        for (int x = 20; x < 300; x += 3, ++compared)
            same += during.pixel(x + 40, y - 20) == before.pixel(x, y);
    }
    EXPECT_EQ(same, compared);  // the whole picture moved with the pointer
    EXPECT_EQ(rig.view.mapView().ScreenToMap(150, 150), grabbed);  // not yet the view
    QTest::mouseRelease(&rig.view, Qt::MiddleButton, {}, QPoint(190, 130));
    EXPECT_EQ(rig.At({190, 130}), grabbed);

    // The pointer's place goes to the status bar; the own station has no position.
    QSignalSpy texts(&rig.view, &CPlovaneView::pointerText);
    QTest::mouseMove(&rig.view, QPoint(200, 160));
    ASSERT_FALSE(texts.isEmpty());
    const QString text = texts.last()[0].toString();
    EXPECT_TRUE(text.contains("N ") && text.contains("E   ") && !text.contains("from me"))
        << text.toStdString();
}

TEST(MapDesk, RightClickOffersTheStationAndTooltipsDescribeIt) {
    testing::ViewRig rig(400, 300);
    rig.store.Report("KK7OL-3", "4820.00N", "00140.00E");
    rig.view.RenderImage();
    const PixelPoint at =
        rig.view.mapView().MapToScreen(64800000 + 100 * 6000, 14400000 + 100 * 6000);
    const QPoint station(at.x, at.y);
    const QString tip = rig.view.ToolTipAt(station);
    EXPECT_TRUE(tip.startsWith("KK7OL-3\nCar")) << tip.toStdString();
    EXPECT_TRUE(tip.contains("Last report")) << tip.toStdString();
    EXPECT_TRUE(rig.view.ToolTipAt({5, 150}).isEmpty());

    int menus = 0;
    rig.view.SetMenuRunner([&menus](QMenu&, const QPoint&) {
        ++menus;
        return kCenterOnStationCommand;
    });
    QTest::mouseClick(&rig.view, Qt::RightButton, {}, station);
    EXPECT_EQ(menus, 1);
    EXPECT_EQ(rig.view.selectedCall(), "KK7OL-3");
    rig.view.RenderImage();
    const PixelPoint centred =
        rig.view.mapView().MapToScreen(64800000 + 100 * 6000, 14400000 + 100 * 6000);
    EXPECT_NEAR(centred.x, 200, 1);
    EXPECT_EQ(rig.view.ToolTipAt({400 - 53 + 4, 6}), "TNC: off");
    // The relay's counts are a line of their own.
    rig.view.SetLinkCounts([](int) { return std::string("Digipeater: 3 relayed"); });
    EXPECT_EQ(rig.view.ToolTipAt({400 - 53 + 4, 6}), "TNC: off\nDigipeater: 3 relayed");
}

TEST(MapDesk, FindStationListsMatchesAsYouType) {
    FindStationDialog dialog({"KK7OL-13", "KK7OL-3", "W7ABC", "KK7OL"});
    QTest::keyClicks(dialog.edit(), "kk7ol");
    ASSERT_EQ(dialog.matches()->count(), 3);
    EXPECT_EQ(dialog.chosenCall(), "KK7OL");
    QTest::keyClick(dialog.edit(), Qt::Key_Down);
    EXPECT_EQ(dialog.chosenCall(), "KK7OL-3");
    dialog.edit()->setText("*ABC");
    EXPECT_EQ(dialog.chosenCall(), "W7ABC");
}

TEST(MapDesk, HelpOpensInItsOwnViewerAtTheTopic) {
    testing::StoreFixture store;
    CMainFrame frame(store.profile);
    frame.show();
    ASSERT_TRUE(frame.OpenHelp("stations"));
    HelpViewer* help = frame.helpViewer();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->browser()->source().fragment(), "stations");
    EXPECT_TRUE(help->browser()->source().toLocalFile().endsWith("help/index.html"));
    const int atStations = help->browser()->verticalScrollBar()->value();
    EXPECT_GT(atStations, 0);
    help->browser()->setSource(QUrl("#start"));  // a link within the page
    EXPECT_LT(help->browser()->verticalScrollBar()->value(), atStations);
    frame.OpenHelp({});  // F1 from the main window: its topic
    EXPECT_EQ(help->browser()->source().fragment(), "window");
}

}  // namespace
}  // namespace plovane
