// SPDX-License-Identifier: GPL-3.0-or-later
// The Setup menu of the running program: accepted sheets take effect without a restart.
#include "ui/setup_commands.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <fstream>
#include <functional>

#include "comm/net_loopback.h"
#include "comm/pty_peer.h"
#include "gui_rig.h"
#include "ui/alerts_dialog.h"
#include "ui/logic/command_ids.h"
#include "ui/main_frame.h"
#include "ui/map_options_dialog.h"
#include "ui/relay_setup_dialog.h"
#include "ui/setup_comm_sheet.h"
#include "ui/setup_station_sheet.h"
#include "ui/sound_player.h"

namespace plovane {
namespace {

using plovane::testing::ScratchDir;
using plovane::testing::WaitFor;

// Chooses the Setup item, hands its window to `fill` and presses OK; false if none came up.
template <typename Window>
bool RunSetupItem(GuiApp& gui, Command command, const std::function<void(Window&)>& fill) {
    QAction* action = gui.frame().action(command);
    return action != nullptr && action->isEnabled() &&
           testing::WithModal<Window>([&] { action->trigger(); },
                                      [&](Window& window) {
                                          fill(window);
                                          window.template findChild<QDialogButtonBox*>()
                                              ->button(QDialogButtonBox::Ok)
                                              ->click();
                                      });
}

TEST(SetupCommandsThreads, ChangedCallReachesTheTnc) {
    testing::PtyPeer peer;
    ASSERT_TRUE(peer.ok());
    testing::GuiRig rig;
    rig.settings->WriteString("Station", "MyCall", "N0CALL-1");
    rig.settings->WriteInt("Comm", "TNCEnabled", 1);
    rig.settings->WriteString("Comm", "TNCCommPort", peer.slavePath());
    GuiApp& gui = rig.Start(false, [](GuiApp& app) { app.app().tnc().SetDelayScale(0.01); });
    ASSERT_TRUE(WaitFor([&] { return peer.Received().find("CONV\r") != std::string::npos; }));
    const size_t before = peer.Received().size();
    for (const char* line : {"W1AAA>APRS:!4903.50N/07201.75W-", "W1BBB>APRS:!4904.50N/07202.75W-",
                             "W1CCC>APRS:!4905.50N/07203.75W-"}) {
        gui.app().decoder().DecodeLine(line, "FILE>");
    }

    ASSERT_TRUE(RunSetupItem<CSetupStation>(gui, Command::kSetupStation, [](CSetupStation& sheet) {
        sheet.stationPage()->callField()->setText("W1NEW-7");
        sheet.limitsPage()->limitStationsBox()->setChecked(true);
        sheet.limitsPage()->stationsSpin()->setValue(2);
    }));
    EXPECT_TRUE(WaitFor([&] {
        const std::string sent = peer.Received().substr(before);
        return sent.find("MYCALL W1NEW-7\r") != std::string::npos &&
               sent.find("CONV\r") != std::string::npos;
    }));
    EXPECT_EQ(peer.Received().substr(before, 2), "\x03\r");  // the break comes first
    EXPECT_EQ(gui.app().stations().OwnCall(), "W1NEW-7");
    EXPECT_EQ(gui.profile().GetString("Station", "MyCall", ""), "W1NEW-7");
    EXPECT_LE(gui.app().stations().Count(), 2u);  // the store shrank to the new limit
}

TEST(SetupCommandsThreads, ChangedHostMovesTheNetworkClient) {
    testing::LoopbackServer first;
    testing::LoopbackServer second;
    ASSERT_TRUE(first.ok() && second.ok());
    testing::GuiRig rig;
    rig.settings->WriteString("Station", "MyCall", "N0CALL-9");
    rig.settings->WriteInt("Comm", "NetEnabled", 1);
    rig.settings->WriteString("Comm", "HostAddress", first.host());
    rig.settings->WriteString("Comm", "HostPort", first.port());
    GuiApp& gui = rig.Start();
    ASSERT_TRUE(first.Accept());

    ASSERT_TRUE(
        RunSetupItem<CSetupComm>(gui, Command::kSetupCommunications, [&](CSetupComm& sheet) {
            sheet.netPage()->portField()->setText(QString::fromStdString(second.port()));
            sheet.netPage()->filterField()->setText("m/10");
        }));
    EXPECT_TRUE(WaitFor([&] { return second.Accept(std::chrono::milliseconds(0)); }));
    const std::string login = second.ReadLine();
    EXPECT_EQ(login.rfind("user N0CALL-9 pass ", 0), 0u) << login;
    EXPECT_NE(login.find(" filter m/10\r"), std::string::npos) << login;
}

TEST(SetupCommands, RefreshTncListSearchesTheFoldersNamedInMapOptions) {
    testing::GuiRig rig;
    const ScratchDir& dir = rig.dir;
    std::filesystem::create_directories(dir.path() / "mine");
    std::ofstream(dir / "mine/home.tnc") << "[PLOVANE-TNC-FILE: Home Built TNC]\r\n[INIT]\r\n";
    GuiApp& gui = rig.Start();
    {
        // (Its Alt letters are checked with every dialog by the menu walk.)
        MapOptionsDialog options(gui.profile());
        options.searchFoldersField()->setText(QString::fromStdString(dir / "mine") + ";");
        options.Store();
    }
    EXPECT_EQ(gui.profile().GetString("Maps", "SearchFolders", ""), (dir / "mine") + ";");

    ASSERT_TRUE(RunSetupItem<CSetupComm>(gui, Command::kSetupCommunications, [](CSetupComm& sheet) {
        CSetupCommTNCPage& tnc = *sheet.tncPage();
        tnc.enabledBox()->setChecked(true);
        tnc.refreshButton()->click();
        tnc.typeList()->setCurrentText("Home Built TNC");
    }));
    EXPECT_EQ(gui.profile().GetString("Comm", "TNCType", ""), dir / "mine/home.tnc");
    EXPECT_TRUE(gui.frame().notice().endsWith("TNC files found..."))
        << gui.frame().notice().toStdString();
}

TEST(SetupCommands, ChosenSoundPlaysForTheNextNewStation) {
    testing::GuiRig rig;
    const std::string wav = rig.dir / "station.wav";
    testing::WriteSilentWav(wav);
    GuiApp& gui = rig.Start();
    gui.app().decoder().DecodeLine("W1AAA>APRS:!4903.50N/07201.75W-", "FILE>");
    EXPECT_EQ(gui.host().sounds().loadedCount(), 0u);

    ASSERT_TRUE(RunSetupItem<CAlertsDialog>(gui, Command::kSetupSound, [&](CAlertsDialog& dialog) {
        dialog.SetFileChooser([&](const QString&) { return QString::fromStdString(wav); });
        dialog.Choose(CAlertsDialog::kNewStation);
    }));
    EXPECT_EQ(gui.profile().GetString("Sound", "NewStation", ""), wav);
    gui.app().decoder().DecodeLine("W1BBB>APRS:!4904.50N/07202.75W-", "FILE>");
    EXPECT_EQ(gui.host().sounds().loadedCount(), 1u);
}

// Each row of the two tables has its control; OK stores both sections.
TEST(SetupCommands, IGateAndDigipeaterDialogStoresBothSections) {
    testing::GuiRig rig;
    GuiApp& gui = rig.Start();
    ASSERT_TRUE(RunSetupItem<RelaySetupDialog>(gui, Command::kSetupRelay, [](RelaySetupDialog& d) {
        EXPECT_EQ(d.findChild<QLineEdit*>("IsToRfPath")->text(), "WIDE1-1");
        d.findChild<QCheckBox*>("Enabled")->setChecked(true);  // the IGate's, first
        d.findChild<QLineEdit*>("IsToRfPath")->setText("wide2-1");
        d.findChild<QSpinBox*>("MaxPerMinute")->setValue(10);
        d.findChild<QCheckBox*>("FillIn")->setChecked(false);
        d.findChild<QLineEdit*>("Aliases")->setText("HOME");
    }));
    IGateSettings igate;
    igate.Load(gui.profile());
    EXPECT_TRUE(igate.Enabled);
    EXPECT_EQ(igate.IsToRfPath, "wide2-1");
    EXPECT_EQ(igate.MaxPerMinute, 10);
    DigipeaterSettings digi;
    digi.Load(gui.profile());
    EXPECT_FALSE(digi.Enabled);
    EXPECT_FALSE(digi.FillIn);
    EXPECT_EQ(digi.Aliases, "HOME");
}

}  // namespace
}  // namespace plovane
