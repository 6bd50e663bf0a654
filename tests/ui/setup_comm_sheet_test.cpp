// SPDX-License-Identifier: GPL-3.0-or-later
// The communications setup sheet: what each page shows and what OK writes back.
#include "ui/setup_comm_sheet.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <fstream>

#include "app/qsettings_profile.h"
#include "ui_test_support.h"

namespace plovane {
namespace {

// The lists show stored values they do not hold (a typed port) and OK keeps every key.
TEST(CommSheet, PagesShowTheStoredKeysAndOkWritesThemBackUnchanged) {
    testing::ScratchDir dir;
    std::filesystem::create_directories(dir.path() / "dev");
    for (const char* name : {"ttyUSB0", "ttyACM3", "ttyS0"})
        std::ofstream(dir.path() / "dev" / name) << "";
    CommSetupSources sources;
    sources.tncFiles = {{"/data/tnc/kenwood.tnc", "Kenwood TM-D710"},
                        {"/data/tnc/kpc3.tnc", "KPC-3+"}};
    sources.devRoot = dir.path() / "dev";
    sources.netStatus = [] { return std::string("[Active] "); };
    const std::vector<std::pair<const char*, std::string>> keys = {
        {"TNCCommPort", dir / "dev/ttyUSB0"},
        {"TNCParity", "Even"},
        {"TNCStopBits", "2"},
        {"TNCType", "/data/tnc/kpc3.tnc"},
        {"GPSCommPort", "/dev/pts/7"},
        {"GPSStopBits", "1.5"},
        {"HostAddress", "noam.aprs2.net"},
        {"NetFilter", "r/49.1/-72.0/50"}};
    QSettingsProfile profile(dir / "plovane.conf");
    for (const auto& [key, value] : keys)
        profile.WriteString("Comm", key, value);
    profile.WriteInt("Comm", "GPSEnabled", 1);
    profile.WriteInt("Comm", "GPSType", 2);
    profile.WriteInt("Comm", "TNCBaudRate", 1200);
    {
        CSetupComm sheet(profile, sources);
        const CSetupCommTNCPage& tnc = *sheet.tncPage();
        EXPECT_EQ(tnc.serial().port()->currentIndex(), 9);  // after COM1: .. COM9:
        EXPECT_EQ(tnc.serial().baudRate()->currentText(), "1200");
        EXPECT_EQ(tnc.typeList()->currentText(), "KPC-3+");
        const CSetupCommGPSPage& gps = *sheet.gpsPage();
        EXPECT_TRUE(gps.sourceButton(kGpsSerialPort)->isChecked());
        EXPECT_EQ(gps.serial().port()->currentText(), "/dev/pts/7");  // typed, not listed
        EXPECT_EQ(sheet.netPage()->filterField()->text(), "r/49.1/-72.0/50");
        EXPECT_EQ(sheet.netPage()->statusLine()->text(), "[Active] ");
        sheet.Apply();
    }
    for (const auto& [key, value] : keys)
        EXPECT_EQ(profile.GetString("Comm", key, ""), value) << key;
    EXPECT_EQ(profile.GetInt("Comm", "TNCBaudRate", 0), 1200);
    EXPECT_EQ(profile.GetInt("Comm", "GPSType", 0), 2);
}

// TNC ports added and removed on the TNC page: a new port sends nothing, a removed one's
// successor moves up into its section, and the first port cannot be removed.
TEST(CommSheet, TncPortsAreAddedAndRemovedWithTheirTransmitChoices) {
    MemoryProfile profile;
    profile.WriteInt("Comm", "TNCPorts", 2);
    profile.WriteString("TNC2", "KISSHost", "radio2");
    profile.WriteInt("TNC2", "IGate", 1);
    CSetupComm sheet(profile, {});
    ASSERT_EQ(sheet.portCount(), 2);
    EXPECT_TRUE(sheet.tncPage(0)->transmitBox(0)->isChecked());  // beacons on port 1
    EXPECT_FALSE(sheet.tncPage(1)->transmitBox(0)->isChecked());
    EXPECT_TRUE(sheet.tncPage(1)->transmitBox(2)->isChecked());
    EXPECT_FALSE(sheet.removePortButton()->isEnabled());

    sheet.addPortButton()->click();
    ASSERT_EQ(sheet.portCount(), 3);
    EXPECT_EQ(sheet.portList()->currentRow(), 2);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(sheet.tncPage(2)->transmitBox(i)->isChecked()) << i;
    sheet.tncPage(2)->enabledBox()->setChecked(true);
    sheet.tncPage(2)->transmitBox(1)->setChecked(true);

    sheet.portList()->setCurrentRow(1);
    ASSERT_TRUE(sheet.removePortButton()->isEnabled());
    sheet.removePortButton()->click();
    ASSERT_EQ(sheet.portCount(), 2);
    sheet.portList()->setCurrentRow(0);
    EXPECT_FALSE(sheet.removePortButton()->isEnabled());
    sheet.Apply();

    const std::vector<CTncSettings> ports = LoadTncPorts(profile);
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_TRUE(ports[1].enabled && ports[1].txMessages);
    EXPECT_FALSE(ports[1].igate);
    EXPECT_EQ(ports[1].kissHost, "localhost");
}

}  // namespace
}  // namespace plovane
