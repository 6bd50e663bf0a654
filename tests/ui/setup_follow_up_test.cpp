// After OK the program takes the new settings at once: a call changed in the station sheet
// reaches the TNC on a pseudo-terminal and the stores shrink to new limits; a host changed in
// the communications sheet moves the network client to another loopback server.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <chrono>

#include "app/plovane_app.h"
#include "app/qsettings_profile.h"
#include "comm/net_loopback.h"
#include "comm/net_manager.h"
#include "comm/pty_peer.h"
#include "support/recording_host.h"
#include "ui/setup_comm_sheet.h"
#include "ui/setup_station_sheet.h"
#include "ui_test_support.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;
using plovane::testing::ScratchDir;

TEST(SetupFollowUpThreads, ChangedCallReachesTheTncAndTheStoresShrinkToNewLimits) {
    testing::PtyPeer peer;
    ASSERT_TRUE(peer.ok());
    ScratchDir dir;
    QSettingsProfile profile(dir / "plovane.conf");
    profile.WriteString("Station", "MyCall", "N0CALL-1");
    profile.WriteInt("Comm", "TNCEnabled", 1);
    profile.WriteString("Comm", "TNCCommPort", peer.slavePath());
    testing::RecordingHost host;
    SystemClock clock;
    CPlovaneApp app(profile, host, clock);
    app.tnc().SetDelayScale(0.01);
    ASSERT_TRUE(app.Start({}));
    ASSERT_TRUE(peer.WaitFor("MYCALL N0CALL-1\r", 10s));
    ASSERT_TRUE(peer.WaitFor("CONV\r", 10s));
    for (const char* line :
         {"W1AAA>APRS:!4903.50N/07201.75W-", "W1BBB>APRS:!4904.50N/07202.75W-",
          "W1CCC>APRS:!4905.50N/07203.75W-", "W1DDD>APRS:!4906.50N/07204.75W-"}) {
        app.decoder().DecodeLine(line, "FILE>");
    }
    ASSERT_EQ(app.stations().Count(), 5u);  // the own record and four heard
    const size_t before = peer.Received().size();

    {
        CSetupStation sheet(profile, nullptr);
        sheet.stationPage()->callField()->setText("W1NEW-7");
        sheet.opsPage()->aliasField()->setText("NEWALIAS");
        sheet.limitsPage()->limitStationsBox()->setChecked(true);
        sheet.limitsPage()->stationsSpin()->setValue(3);
        ASSERT_TRUE(sheet.Apply());
    }
    app.OnThreadMessage(ThreadMessage::kStationSetupDone, {});

    ASSERT_TRUE(peer.WaitFor("CONV\r", 10s, before));
    EXPECT_EQ(peer.Received().substr(before),
              "\x03\r"
              "\r\r"
              "MON ON\r"
              "MYCALL W1NEW-7\r"
              "MYALIAS NEWALIAS\r"
              "UNPROTO APQ102 VIA RELAY,WIDE\r"
              "CONV\r");
    EXPECT_EQ(app.stations().OwnCall(), "W1NEW-7");
    EXPECT_LE(app.stations().Count(), 3u);
    app.Shutdown();
}

TEST(SetupFollowUpThreads, ChangedHostMovesTheNetworkClient) {
    testing::LoopbackServer first;
    testing::LoopbackServer second;
    ASSERT_TRUE(first.ok() && second.ok());
    ScratchDir dir;
    QSettingsProfile profile(dir / "plovane.conf");
    profile.WriteString("Station", "MyCall", "N0CALL-9");
    profile.WriteInt("Comm", "NetEnabled", 1);
    profile.WriteString("Comm", "HostAddress", first.host());
    profile.WriteString("Comm", "HostPort", first.port());
    testing::RecordingHost host;
    SystemClock clock;
    CPlovaneApp app(profile, host, clock);
    ASSERT_TRUE(app.Start({}));
    ASSERT_TRUE(first.Accept());
    EXPECT_EQ(first.ReadLine().rfind("user N0CALL-9 pass ", 0), 0u);

    CommSetupSources sources;
    sources.netStatus = [&app] { return NetStatusText(app.net()); };
    {
        CSetupComm sheet(profile, sources);
        QLabel* status = sheet.netPage()->statusLine();
        EXPECT_TRUE(testing::WaitFor([&] { return status->text() == "[Active] "; }, 5000))
            << status->text().toStdString();
        sheet.netPage()->hostField()->setText("localhost");
        sheet.netPage()->portField()->setText(QString::fromStdString(second.port()));
        sheet.netPage()->filterField()->setText("m/10");
        sheet.Apply();
    }
    app.OnThreadMessage(ThreadMessage::kCommSetupDone, {});

    ASSERT_TRUE(second.Accept());
    const std::string login = second.ReadLine();
    EXPECT_EQ(login.rfind("user N0CALL-9 pass ", 0), 0u) << login;
    EXPECT_NE(login.find(" filter m/10\r"), std::string::npos) << login;
    app.Shutdown();
}

}  // namespace
}  // namespace plovane
