// SPDX-License-Identifier: GPL-3.0-or-later
// The first-start guide with real probes: a KISS TNC and a gpsd (gpsfake) on loopback ports.
#include "ui/welcome_wizard.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <fstream>

#include "app/qsettings_profile.h"
#include "comm/nmea_text.h"
#include "comm/passcode.h"
#include "gui_rig.h"
#include "maps/render/symbol_icons.h"
#include "support/child_process.h"
#include "ui/main_frame.h"
#include "ui/plovane_view.h"
#include "ui_test_support.h"

namespace plovane {
namespace {

using namespace plovane::testing;

// A loopback port nothing listens on (taken and given back at once).
quint16 ClosedPort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

WelcomeProbes LoopbackProbes(quint16 kissPort, quint16 gpsdPort) {
    WelcomeProbes probes;
    probes.kissHost = probes.gpsdHost = "127.0.0.1";
    probes.kissPort = kissPort;
    probes.gpsdPort = gpsdPort;
    probes.timeoutMs = 15000;
    probes.devRoot = "/nonexistent";
    return probes;
}

// Each page as the user sees it, for a look when PLOVANE_WELCOME_SHOTS names a folder.
void SavePages(CWelcomeWizard& wizard, const char* tag) {
    const QString folder = qEnvironmentVariable("PLOVANE_WELCOME_SHOTS");
    if (folder.isEmpty())
        return;
    for (int page : wizard.pageIds()) {
        while (wizard.currentId() != page)
            page > wizard.currentId() ? wizard.next() : wizard.back();
        QApplication::processEvents();
        wizard.grab().save(folder + QString("/%1-%2.png").arg(tag).arg(page));
    }
    wizard.restart();
}

TEST(WelcomeWizard, AKissTncFoundOnThisMachineIsOfferedFirstAndSaved) {
    ScratchDir dir;
    QTcpServer tnc;
    ASSERT_TRUE(tnc.listen(QHostAddress::LocalHost));
    auto profile = std::make_unique<QSettingsProfile>(dir / "plovane.conf");
    const CSymbolIcons icons(std::filesystem::path(PLOVANE_SOURCE_DIR) / "data" / "icons");
    CWelcomeWizard wizard(*profile, LoopbackProbes(tnc.serverPort(), ClosedPort()), &icons);
    wizard.show();
    ASSERT_TRUE(WaitFor([&] { return wizard.probesDone(); }, 15000));
    EXPECT_TRUE(wizard.linkButton(WelcomeLink::kKissTcp)->isChecked());
    EXPECT_TRUE(wizard.kissLine()->text().startsWith("A KISS TNC (Direwolf) answers on"));
    EXPECT_TRUE(wizard.gpsdLine()->text().startsWith("No gpsd answers"));
    EXPECT_FALSE(wizard.positionButton(CWelcomeWizard::kGpsdPosition)->isEnabled());
    SavePages(wizard, "kiss");

    // A call the APRS-IS takes but the radio does not holds the link page.
    wizard.callField()->setText("N0CALL-AB");
    EXPECT_TRUE(wizard.passcodeLine()->text().contains("passcode: 13023"));
    wizard.next();
    wizard.positionButton(CWelcomeWizard::kLocatorPosition)->setChecked(true);
    wizard.locatorField()->setText("JO70fc");
    wizard.next();
    EXPECT_EQ(wizard.currentId(), CWelcomeWizard::kLinkPage);
    EXPECT_FALSE(wizard.currentPage()->isComplete());
    wizard.callField()->setText("n0call-9");
    EXPECT_TRUE(wizard.currentPage()->isComplete());
    wizard.accept();
    wizard.Save();
    profile.reset();

    QSettingsProfile stored(dir / "plovane.conf");
    WelcomeSettings back;
    back.station.Load(stored);
    back.tnc.Load(stored);
    back.net.Load(stored);
    EXPECT_EQ(back.station.MyCall, "N0CALL-9");
    EXPECT_NEAR(LatitudeDegrees(back.station.Lat), 50.104, 0.001);
    EXPECT_TRUE(back.tnc.enabled);
    EXPECT_EQ(back.tnc.mode, kTncKissTcp);
    EXPECT_EQ(back.tnc.kissPort, std::to_string(tnc.serverPort()));
    EXPECT_FALSE(back.net.enabled);
}

// Finish in the running program: the settings are written and the station logs in to the
// APRS-IS with the range filter round the gpsd fix.
TEST(WelcomeWizard, AGpsdFixIsTakenAndAprsIsLogsInWithTheRangeFilterRoundIt) {
    GuiRig rig;
    {
        std::ofstream log(rig.dir / "fix.nmea");
        for (int s = 0; s < 10; ++s) {
            log << WithChecksum("GPRMC,12300" + std::to_string(s) +
                                ",A,4807.038,N,01131.000,E,022.4,084.4,230394,,")
                << "\r\n";
        }
    }
    const quint16 gpsdPort = ClosedPort();
    ChildProcess gpsfake;
    ASSERT_TRUE(gpsfake.Start(
        {"gpsfake", "-q", "-c", "0.2", "-P", std::to_string(gpsdPort), rig.dir / "fix.nmea"},
        rig.dir / "gpsfake.log"));
    ASSERT_TRUE(WaitFor(
        [&] {
            QTcpSocket probe;
            probe.connectToHost("127.0.0.1", gpsdPort);
            return probe.waitForConnected(200);
        },
        20000))
        << ReadFile(rig.dir / "gpsfake.log");
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));

    GuiApp& gui = rig.Start(false, [&](GuiApp& g) {
        WelcomeProbes probes = LoopbackProbes(ClosedPort(), gpsdPort);
        probes.netHost = "127.0.0.1";
        probes.netPort = QString::number(server.serverPort());
        g.SetWelcomeProbes(probes);
    });
    gui.ShowWelcome();
    CWelcomeWizard& wizard = *gui.welcome();
    ASSERT_TRUE(WaitFor([&] { return wizard.probesDone(); }, 20000));
    EXPECT_TRUE(wizard.gpsdLine()->text().contains("has a fix"))
        << wizard.gpsdLine()->text().toStdString();
    EXPECT_TRUE(wizard.positionButton(CWelcomeWizard::kGpsdPosition)->isChecked());
    EXPECT_FALSE(wizard.linkButton(WelcomeLink::kKissTcp)->isEnabled());
    SavePages(wizard, "gpsd");
    wizard.callField()->setText("W9XYZ-7");
    wizard.linkButton(WelcomeLink::kAprsIs)->setChecked(true);
    wizard.radiusSpin()->setValue(50);
    wizard.ambiguityList()->setCurrentIndex(1);
    wizard.symbolList()->setCurrentRow(1);  // the car
    wizard.accept();

    QTcpSocket* client = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (client = server.nextPendingConnection()) != nullptr; }));
    std::string login;
    EXPECT_TRUE(WaitFor([&] {
        login += client->readAll().toStdString();
        return login.find('\r') != std::string::npos;
    }));
    EXPECT_EQ(login.rfind("user W9XYZ-7 pass " + std::to_string(AprsPasscode("W9XYZ")), 0), 0u);
    EXPECT_NE(login.find(" filter r/48.12/11.52/50\r"), std::string::npos) << login;

    WelcomeSettings back;
    back.station.Load(gui.profile());
    back.gps.Load(gui.profile());
    back.net.Load(gui.profile());
    EXPECT_EQ(back.station.Symbol, "/>");
    EXPECT_EQ(back.station.Ambiguity, 1);
    EXPECT_TRUE(back.gps.enabled);
    EXPECT_EQ(back.gps.source, kGpsGpsd);
    EXPECT_EQ(back.gps.gpsdPort, std::to_string(gpsdPort));
    EXPECT_TRUE(back.net.enabled);
    EXPECT_EQ(gui.app().stationSettings().MyCall, "W9XYZ-7");
    // The map shows the 50 km round the station.
    const MapBox shown = gui.view().mapView().viewBox();
    const MapBox round = RangeBox({48.1173, 11.5167}, 50);
    EXPECT_LE(shown.left, round.left + kUnitsPerDegree / 10);
    EXPECT_GE(shown.right, round.right - kUnitsPerDegree / 10);
    EXPECT_LT(shown.right - shown.left, 4 * kUnitsPerDegree);
    gui.frame().close();
}

// Only an interactive start without a call sign opens the guide by itself.
TEST(WelcomeWizard, OpensByItselfOnlyOnAnInteractiveStartWithoutACall) {
    struct Case {
        const char* call;
        bool interactive;
        bool shown;
    };
    for (const Case c :
         {Case{nullptr, true, true}, Case{"W9XYZ", true, false}, Case{nullptr, false, false}}) {
        SCOPED_TRACE(::testing::Message() << (c.call ? c.call : "no call") << c.interactive);
        GuiRig rig;
        if (c.call)
            rig.settings->WriteString("Station", "MyCall", c.call);
        GuiApp& gui = rig.Start(c.interactive);
        QApplication::processEvents();
        EXPECT_EQ(gui.welcome() != nullptr, c.shown);
        EXPECT_EQ(gui.splash(), nullptr);  // never over the drawn main window
        if (gui.welcome()) {
            EXPECT_EQ(gui.welcome()->windowTitle(), "Welcome to Plovane");
            // "Pick on the Map": the next click on the map is the position.
            gui.welcome()->pickButton()->click();
            gui.view().RenderImage();
            const QPoint place(gui.view().width() / 2, gui.view().height() / 2);
            const MapPoint expected = gui.view().mapView().ScreenToMap(place.x(), place.y());
            QTest::mouseClick(&gui.view(), Qt::LeftButton, {}, place);
            const std::optional<LatLon> picked = gui.welcome()->Choices().position;
            ASSERT_TRUE(picked.has_value());
            EXPECT_EQ(ColatitudeOf(picked->lat), expected.y);
            EXPECT_EQ(LongitudeUnitsOf(picked->lon), expected.x);
        } else {
            // Setup > Welcome... opens it at any time.
            gui.frame().findChild<QAction*>("welcomeAction")->trigger();
            EXPECT_NE(gui.welcome(), nullptr);
        }
        gui.frame().close();
    }
}

}  // namespace
}  // namespace plovane
