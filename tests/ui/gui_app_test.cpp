// SPDX-License-Identifier: GPL-3.0-or-later
// The whole GUI program: start-up, the first map, port errors, the end, and --screenshot.
#include "ui/gui_app.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <thread>

#include "gui_rig.h"
#include "app/station_log.h"
#include "comm/net_loopback.h"
#include "maps/map_writer.h"
#include "ui/logic/plovane_doc.h"
#include "ui/main_frame.h"
#include "ui/plovane_view.h"

namespace plovane {
namespace {

using plovane::testing::ScratchDir;
using plovane::testing::WaitFor;

const std::string kSource = PLOVANE_SOURCE_DIR;
const std::string kWorldMap = kSource + "/data/maps/world.map";
const std::string kSample = kSource + "/data/sim/sample.sim";

// The row where the map's header strip starts in a picture of the window, found by its
// colours down one column: a white line, 16 rows of 192 grey, one of 128 grey, one black.
int HeaderStripRow(const QImage& image, int x) {
    const auto is = [&](int y, QRgb colour) { return image.pixel(x, y) == colour; };
    for (int y = 0; y + 19 <= image.height(); ++y) {
        bool match = is(y, qRgb(255, 255, 255)) && is(y + 17, qRgb(128, 128, 128)) &&
                     is(y + 18, qRgb(0, 0, 0));
        for (int row = 1; match && row <= 16; ++row)
            match = is(y + row, qRgb(192, 192, 192));
        if (match)
            return y;
    }
    return -1;
}

// The first start shows the bundled world map; messages posted from a worker reach the window.
TEST(GuiApp, FirstStartShowsTheBundledWorldMapAndWorkerMessagesArrive) {
    testing::GuiRig rig;
    GuiApp& gui = rig.Start();
    EXPECT_TRUE(gui.doc().map().loaded);
    EXPECT_EQ(QFileInfo(QString::fromStdString(gui.doc().path())).canonicalFilePath(),
              QFileInfo(QString::fromStdString(kWorldMap)).canonicalFilePath());
    EXPECT_EQ(gui.profile().GetString("Maps", "LastMapPath", "none"), "none");
    EXPECT_TRUE(gui.frame().windowTitle().endsWith(" - Plovane"));
    // The bundled folder was searched: the world map is in Map > Open.
    const QList<QAction*> maps = gui.frame().mapOpenMenu()->actions();
    ASSERT_FALSE(maps.empty());
    EXPECT_EQ(maps.front()->data().toInt(), 0);  // the first of the map list
    EXPECT_TRUE(maps.front()->isEnabled());

    EXPECT_EQ(gui.view().unitsOfMeasure(), 0);
    gui.profile().WriteInt("Station", "UnitsOfMeasure", 2);
    std::thread worker([&] {
        gui.host().Post(ThreadMessage::kEchoLine, "TNC>N0CALL>APQ102:>on");
        gui.host().Post(ThreadMessage::kStationSetupDone);
    });
    worker.join();
    EXPECT_TRUE(WaitFor([&] {
        return gui.frame().notice() == "TNC>N0CALL>APQ102:>on" && gui.view().unitsOfMeasure() == 2;
    }));
}

// The status bar says when the station log stops writing and what it lost; the mark was absent.
TEST(GuiApp, TheStatusBarSaysWhenTheStationLogStopsWriting) {
    testing::GuiRig rig;
    GuiApp& gui = rig.Start();
    const auto* mark = gui.frame().findChild<QLabel*>("logState");
    ASSERT_NE(mark, nullptr);
    const CStationLog* log = gui.app().stationLog();
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(mark->text(), "Log");
    // Today's day file becomes a full disk: every write fails.
    std::filesystem::create_directories(log->folder());
    const std::filesystem::path day = log->folder() / LogFileName(std::time(nullptr));
    std::filesystem::remove(day);
    std::filesystem::create_symlink("/dev/full", day);
    const std::filesystem::path lines = rig.dir / "heard.sim";
    std::ofstream(lines) << "W1AAA>APRS:>one\nW1AAA>APRS:>two\n";
    gui.PlaySimulation(lines.string());
    EXPECT_TRUE(WaitFor([&] { return mark->text() == "Log stopped"; }, 5000));
    EXPECT_TRUE(mark->toolTip().contains("records not written")) << mark->toolTip().toStdString();
}

// Each TNC port has its own mark: an added KISS TCP port shows open once its TNC answers.
TEST(GuiApp, EachTncPortHasItsOwnMarkInTheStatusBar) {
    testing::LoopbackServer tnc;
    ASSERT_TRUE(tnc.ok());
    testing::GuiRig rig;
    rig.settings->WriteInt("Comm", "TNCPorts", 2);
    rig.settings->WriteInt("TNC2", "TNCEnabled", 1);
    rig.settings->WriteInt("TNC2", "TNCMode", kTncKissTcp);
    rig.settings->WriteString("TNC2", "KISSHost", tnc.host());
    rig.settings->WriteString("TNC2", "KISSPort", tnc.port());
    GuiApp& gui = rig.Start();
    ASSERT_TRUE(tnc.Accept());
    const auto* second = gui.frame().findChild<QLabel*>("tncPort2");
    ASSERT_TRUE(WaitFor([&] { return second && second->toolTip().endsWith(", open"); }, 5000));
    EXPECT_TRUE(second->text().endsWith("TNC 2"));
    EXPECT_EQ(second->toolTip().toStdString(),
              "TNC port 2: KISS TCP " + tnc.host() + ":" + tnc.port() + ", open");
    const auto* first = gui.frame().findChild<QLabel*>("tncPort1");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->toolTip().endsWith(", off"));
}

// A map named relative to the working folder is remembered absolute; a bad file keeps it shown.
TEST(GuiApp, OpenedMapIsRememberedAbsoluteAndABadFileKeepsItShown) {
    testing::GuiRig rig;
    const ScratchDir& dir = rig.dir;
    rig.options.mapPath = std::filesystem::relative(kWorldMap).string();
    ASSERT_FALSE(std::filesystem::path(rig.options.mapPath).is_absolute());
    // --tiles is for this run: opening maps leaves the stored tile source as it was.
    rig.settings->WriteString("Maps", "TileSource", "none");
    std::filesystem::create_directory(dir / "tiles");
    rig.options.tilesSource = dir / "tiles";
    GuiApp& gui = rig.Start();
    EXPECT_EQ(gui.view().tileSource(), dir / "tiles");
    const std::string stored = gui.profile().GetString("Maps", "LastMapPath", "");
    EXPECT_TRUE(std::filesystem::path(stored).is_absolute()) << stored;
    EXPECT_TRUE(std::filesystem::equivalent(stored, kWorldMap));
    ASSERT_TRUE(gui.OpenMap(kWorldMap));
    EXPECT_EQ(gui.frame().notice(), "Ready");
    const QString title = gui.frame().windowTitle();

    std::ofstream(dir / "junk.map") << "not a map at all\n";
    for (const std::string& bad : {dir / "junk.map", dir / "missing.map", dir.path().string()}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(gui.OpenMap(bad));
        EXPECT_TRUE(gui.doc().map().loaded);
        EXPECT_EQ(gui.doc().path(), kWorldMap);
        EXPECT_EQ(gui.frame().windowTitle(), title);
        EXPECT_EQ(gui.profile().GetString("Maps", "LastMapPath", ""), kWorldMap);
    }
    EXPECT_EQ(QSettings(QString::fromStdString(dir / "plovane.conf"), QSettings::IniFormat)
                  .value("Maps/TileSource")
                  .toString(),
              "none");
}

// Map > Open reads on a worker: the window's own timers go on while a large map loads, and
// a file that does not read leaves the map shown.
// A map of three million points (some 40 MB): seconds to read.
BinaryMapImage WriteLargeMap(const std::string& path) {
    BinaryMapImage image;
    image.name = "Large";
    uint32_t seed = 7;
    for (int i = 0; i < 3'000'000; ++i) {
        seed = seed * 1103515245u + 12345u;
        image.points.push_back({i % 100 == 0 ? kMoveCode : uint8_t(1), 0, 0,
                                int32_t(seed % 100000) * 10, int32_t(seed / 7 % 50000) * 10});
    }
    std::ofstream out(path, std::ios::binary);
    EXPECT_TRUE(WriteBinaryMap(image, out));
    return image;
}

TEST(GuiApp, ALargeMapLoadsWhileTheWindowGoesOn) {
    testing::GuiRig rig;
    GuiApp& gui = rig.Start();
    const std::string large = rig.dir / "large.map";
    const BinaryMapImage image = WriteLargeMap(large);
    std::ofstream(rig.dir / "junk.map") << "not a map at all\n";

    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(0);
    std::vector<std::pair<bool, int>> opened;  // what each load said, and the ticks by then
    QObject::connect(&gui, &GuiApp::mapOpened, [&](bool ok) { opened.emplace_back(ok, ticks); });
    gui.OpenMapInBackground(large);
    EXPECT_TRUE(gui.MapLoading());
    ASSERT_TRUE(WaitFor([&] { return opened.size() == 1; }, 60000));
    EXPECT_TRUE(opened[0].first);
    EXPECT_GT(opened[0].second, 0);
    EXPECT_EQ(gui.doc().path(), large);
    EXPECT_GE(gui.doc().map().points.size(), image.points.size());

    gui.OpenMapInBackground(rig.dir / "junk.map");
    ASSERT_TRUE(WaitFor([&] { return opened.size() == 2; }));
    EXPECT_FALSE(opened[1].first);
    EXPECT_EQ(gui.doc().path(), large);
    EXPECT_FALSE(gui.MapLoading());
}

// The start draws the window first (the world map) and takes a large last map once read.
TEST(GuiApp, ALargeStartMapIsReadBehindTheDrawnWindow) {
    testing::GuiRig rig;
    const std::string large = rig.dir / "large.map";
    WriteLargeMap(large);
    rig.settings->WriteString("Station", "MyCall", "W1AW");
    rig.settings->WriteInt("Maps", "ReloadLastMap", 1);
    rig.settings->WriteString("Maps", "LastMapPath", large);
    std::vector<bool> opened;
    GuiApp& gui = rig.Start(true, [&](GuiApp& g) {
        QObject::connect(&g, &GuiApp::mapOpened, [&](bool ok) { opened.push_back(ok); });
    });
    EXPECT_TRUE(gui.frame().isVisible());
    ASSERT_TRUE(WaitFor([&] { return !opened.empty(); }, 60000));
    EXPECT_EQ(opened, std::vector<bool>{true});
    EXPECT_EQ(gui.doc().path(), large);
}

TEST(GuiApp, AFolderAsTheLastMapIsSkippedWithANoticeAndAsSimulationRefused) {
    testing::GuiRig rig;
    const std::string folder = rig.dir.path().string();
    rig.settings->WriteInt("Maps", "ReloadLastMap", 1);
    rig.settings->WriteString("Maps", "LastMapPath", folder);
    rig.options.simulatePath = folder;  // a folder as simulation file: refused
    GuiApp& gui = rig.Start();
    EXPECT_TRUE(gui.doc().map().loaded);  // the bundled world map instead
    EXPECT_EQ(gui.frame().notice().toStdString(), "Unsupported map format. File: " + folder);
}

// The program: --screenshot writes the window and closes in order; an unknown option is refused.
TEST(GuiApp, ScreenshotProgramWritesTheWindowAndClosesInOrder) {
    ScratchDir dir;
    const QImage image = testing::Screenshot(dir, {"--simulate", QString::fromStdString(kSample)});
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(CMainFrame::kDefaultWidth, CMainFrame::kDefaultHeight));
    // The map's header strip lies under the menu bar and the toolbar, across the window.
    const int strip = HeaderStripRow(image, 3);
    EXPECT_GT(strip, 20);
    EXPECT_EQ(HeaderStripRow(image, image.width() - 100), strip);
    // The bundled world map is drawn: below the strip its coasts (palette colour 1) show.
    int coast = 0;
    for (int y = strip + 19; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            coast += image.pixel(x, y) == qRgb(0, 0, 192);
    }
    EXPECT_GT(coast, 1000);
    // The close sequence ran: the toolbar state is in the isolated settings file.
    QSettings stored(QString::fromStdString(dir / "plovane.conf"), QSettings::IniFormat);
    EXPECT_FALSE(stored.value("ToolBar/RestoreInfo").toByteArray().isEmpty());

    QProcess program;
    program.start(PLOVANE_GUI_PATH, {"--frobnicate"});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_TRUE(program.readAllStandardError().contains("usage: plovane"));
}

// File > Replay Log... plays on a thread of its own: the window's timers go on and the map
// fills while a large log replays, a second replay is refused meanwhile, and the count comes
// in a box at the end. Quitting during a replay ends it without the rest of the log.
TEST(GuiApp, ALogReplaysWhileTheWindowGoesOn) {
    constexpr int kLines = 40000;
    testing::GuiRig rig;
    rig.settings->WriteString("Station", "MyCall", "N0CALL");
    rig.settings->WriteInt("Station", "bLimitStations", 0);
    QString log;
    const auto writeLog = [&](char prefix, int lines) {  // each line a station of its own
        log = QString::fromStdString(rig.dir / (prefix + std::string(".log")));
        std::ofstream out(log.toStdString());
        for (int i = 0; i < lines; ++i) {
            out << StampLine(std::time(nullptr) - 600, LogDirection::kReceived, "NET") << '\n'
                << prefix << i << ">APRS:!4903.50N/07201.75W-\n";
        }
    };
    writeLog('R', kLines);
    GuiApp& gui = rig.Start(true);  // boxes wait for their answer, as the user sees them
    QStringList boxes;
    QTimer answer, ticker;  // the user picks the log and closes each box
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            files->findChild<QLineEdit*>("fileNameEdit")->setText(log);
            static_cast<QDialog*>(files)->accept();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            boxes << box->text();
            box->reject();
        }
    });
    std::vector<size_t> counts;  // the stations at each tick before the count was said
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (boxes.filter("lines replayed").isEmpty())
            counts.push_back(gui.app().stations().Count());
    });
    answer.start(5);
    ticker.start(0);
    const size_t before = gui.app().stations().Count();
    QAction* replay = gui.frame().action(Command::kReplayLog);
    replay->trigger();
    EXPECT_TRUE(boxes.isEmpty());  // the command returned before the replay ended
    replay->trigger();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains("being replayed")) << boxes[0].toStdString();
    ASSERT_TRUE(WaitFor([&] { return boxes.size() == 2; }, 60000));
    EXPECT_EQ(boxes[1], QString("Station log: %1 lines replayed").arg(kLines));
    EXPECT_EQ(gui.frame().notice(), boxes[1]);
    const size_t after = gui.app().stations().Count();
    EXPECT_EQ(after, before + kLines);
    EXPECT_TRUE(std::any_of(counts.begin(), counts.end(),
                            [&](size_t count) { return count > before && count < after; }));

    writeLog('Q', kLines * 10);  // far longer than the way from the menu to the quit
    replay->trigger();
    gui.frame().close();
    EXPECT_LT(gui.app().stations().Count(), after + kLines * 10);
    QApplication::processEvents();
    EXPECT_EQ(boxes.size(), 2);
}

// A TNC that cannot be opened at start-up is reported over the main window, which is up
// first, in a box that does not wait for a click.
TEST(GuiApp, PortErrorsAtStartUpNeitherHideNorBlockTheMainWindow) {
    testing::GuiRig rig;
    rig.settings->WriteInt("Comm", "TNCEnabled", 1);
    rig.settings->WriteString("Comm", "TNCCommPort", rig.dir / "no-such-tty");
    QMessageBox* box = nullptr;
    // A box that waits would be seen and closed, so the test cannot hang.
    EXPECT_FALSE(testing::WithModal<QDialog>(
        [&] {
            rig.Start(true);
            EXPECT_TRUE(WaitFor([&] {
                for (QWidget* widget : QApplication::topLevelWidgets()) {
                    auto* candidate = qobject_cast<QMessageBox*>(widget);
                    if (candidate && candidate->isVisible() &&
                        candidate->text().contains("Unable to open serial port"))
                        box = candidate;
                }
                return box != nullptr;
            }));
        },
        [](QDialog& modal) { modal.reject(); }));
    EXPECT_TRUE(rig.gui->frame().isVisible());
    if (box)
        box->close();
}

// Closing the main window, SIGTERM and SIGINT each end the program, even with another
// window of its own (as the station list is) still open.
TEST(GuiApp, ClosingOrATerminationSignalEndsTheProgram) {
    for (const int signal : {0, SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        testing::GuiRig rig;
        GuiApp& gui = rig.Start();
        QSignalSpy quit(&gui, &GuiApp::quitRequested);
        QWidget listWindow;
        listWindow.show();
        if (signal == 0)
            gui.frame().close();
        else
            ASSERT_EQ(::raise(signal), 0);
        EXPECT_TRUE(WaitFor([&] { return quit.count() == 1; }));
        EXPECT_TRUE(gui.app().exiting());
        EXPECT_FALSE(gui.frame().isVisible());
    }
}

}  // namespace
}  // namespace plovane
