// The communications setup sheet on an isolated settings file: what each page shows for the
// stored keys, what OK writes back, the enabling rules, the TNC list refresh and the
// network status line.
#include "ui/setup_comm_sheet.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <fstream>
#include <memory>

#include "app/qsettings_profile.h"
#include "ui_test_support.h"

namespace plovane {
namespace {

using plovane::testing::ScratchDir;
using plovane::testing::WaitFor;

const std::vector<TncTypeChoice> kFiles = {
    {"/data/tnc/kenwood.tnc", "Kenwood TM-D710"},
    {"/data/tnc/kpc3.tnc", "KPC-3+"},
};

class CommSheet : public ::testing::Test {
  protected:
    CommSheet() {
        std::filesystem::create_directories(dir.path() / "dev");
        for (const char* name : {"ttyUSB0", "ttyACM3", "ttyS0"}) {
            std::ofstream(dir.path() / "dev" / name) << "";
        }
        sources.tncFiles = kFiles;
        sources.devRoot = dir.path() / "dev";
        sources.netStatus = [this] { return status; };
    }

    std::unique_ptr<QSettingsProfile> Profile() {
        return std::make_unique<QSettingsProfile>(dir / "plovane.conf");
    }

    ScratchDir dir;
    CommSetupSources sources;
    std::string status = "[Active] ";
};

TEST_F(CommSheet, PagesShowTheStoredKeysAndOkWritesThemBackUnchanged) {
    const std::string usb = dir / "dev/ttyUSB0";
    {
        auto profile = Profile();
        profile->WriteInt("Comm", "TNCEnabled", 1);
        profile->WriteInt("Comm", "TNCBaudRate", 1200);
        profile->WriteString("Comm", "TNCCommPort", usb);
        profile->WriteInt("Comm", "TNCDataBits", 7);
        profile->WriteString("Comm", "TNCParity", "Even");
        profile->WriteString("Comm", "TNCStopBits", "2");
        profile->WriteString("Comm", "TNCType", "/data/tnc/kpc3.tnc");
        profile->WriteInt("Comm", "GPSEnabled", 1);
        profile->WriteInt("Comm", "GPSType", 2);
        profile->WriteString("Comm", "GPSCommPort", "/dev/pts/7");  // typed, not in the list
        profile->WriteInt("Comm", "GPSBaudRate", 38400);
        profile->WriteInt("Comm", "GPSDataBits", 8);
        profile->WriteString("Comm", "GPSParity", "Odd");
        profile->WriteString("Comm", "GPSStopBits", "1.5");
        profile->WriteInt("Comm", "NetEnabled", 1);
        profile->WriteInt("Comm", "AutoReconnect", 1);
        profile->WriteString("Comm", "HostAddress", "noam.aprs2.net");
        profile->WriteString("Comm", "HostPort", "14580");
        profile->WriteString("Comm", "NetFilter", "r/49.1/-72.0/50");
        profile->Sync();
    }
    auto profile = Profile();
    {
        CSetupComm sheet(*profile, sources);
        ASSERT_EQ(sheet.tabs()->count(), 3);
        EXPECT_EQ(sheet.windowTitle(), "Setup Communications");
        EXPECT_EQ(sheet.tabs()->tabText(0), "TNC");
        EXPECT_EQ(sheet.tabs()->tabText(2), "Net");

        const CSetupCommTNCPage& tnc = *sheet.tncPage();
        EXPECT_TRUE(tnc.enabledBox()->isChecked());
        EXPECT_EQ(tnc.serial().port()->currentText().toStdString(), usb);
        EXPECT_EQ(tnc.serial().port()->currentIndex(), 9);  // after COM1: .. COM9:
        EXPECT_EQ(tnc.serial().baudRate()->currentText(), "1200");
        EXPECT_EQ(tnc.serial().dataBits()->currentText(), "7");
        EXPECT_EQ(tnc.serial().parity()->currentText(), "Even");
        EXPECT_EQ(tnc.serial().stopBits()->currentText(), "2");
        EXPECT_EQ(tnc.typeList()->currentText(), "KPC-3+");
        EXPECT_EQ(tnc.typeList()->itemText(0), "[None]");

        const CSetupCommGPSPage& gps = *sheet.gpsPage();
        EXPECT_TRUE(gps.sourceButton(kGpsSerialPort)->isChecked());
        EXPECT_EQ(gps.sourceButton(1)->text(), "Get GPS Data from TNC using CTRL-&E");
        EXPECT_EQ(gps.serial().port()->currentText(), "/dev/pts/7");
        EXPECT_EQ(gps.serial().baudRate()->currentText(), "38400");

        const CSetupCommNetPage& net = *sheet.netPage();
        EXPECT_TRUE(net.autoReconnectBox()->isChecked());
        EXPECT_EQ(net.hostField()->text(), "noam.aprs2.net");
        EXPECT_EQ(net.portField()->text(), "14580");
        EXPECT_EQ(net.filterField()->text(), "r/49.1/-72.0/50");
        EXPECT_EQ(net.statusLine()->text(), "[Active] ");
        sheet.Apply();
    }
    profile->Sync();
    profile = Profile();
    EXPECT_EQ(profile->GetInt("Comm", "TNCEnabled", 0), 1);
    EXPECT_EQ(profile->GetInt("Comm", "TNCBaudRate", 0), 1200);
    EXPECT_EQ(profile->GetString("Comm", "TNCCommPort", ""), usb);
    EXPECT_EQ(profile->GetInt("Comm", "TNCDataBits", 0), 7);
    EXPECT_EQ(profile->GetString("Comm", "TNCParity", ""), "Even");
    EXPECT_EQ(profile->GetString("Comm", "TNCStopBits", ""), "2");
    EXPECT_EQ(profile->GetString("Comm", "TNCType", ""), "/data/tnc/kpc3.tnc");
    EXPECT_EQ(profile->GetInt("Comm", "GPSEnabled", 0), 1);
    EXPECT_EQ(profile->GetInt("Comm", "GPSType", 0), 2);
    EXPECT_EQ(profile->GetString("Comm", "GPSCommPort", ""), "/dev/pts/7");
    EXPECT_EQ(profile->GetInt("Comm", "GPSBaudRate", 0), 38400);
    EXPECT_EQ(profile->GetInt("Comm", "GPSDataBits", 0), 8);
    EXPECT_EQ(profile->GetString("Comm", "GPSParity", ""), "Odd");
    EXPECT_EQ(profile->GetString("Comm", "GPSStopBits", ""), "1.5");
    EXPECT_EQ(profile->GetInt("Comm", "NetEnabled", 0), 1);
    EXPECT_EQ(profile->GetInt("Comm", "AutoReconnect", 0), 1);
    EXPECT_EQ(profile->GetString("Comm", "HostAddress", ""), "noam.aprs2.net");
    EXPECT_EQ(profile->GetString("Comm", "HostPort", ""), "14580");
    EXPECT_EQ(profile->GetString("Comm", "NetFilter", ""), "r/49.1/-72.0/50");
}

TEST_F(CommSheet, ChangesMadeOnThePagesAreStored) {
    auto profile = Profile();  // empty: the defaults
    CSetupComm sheet(*profile, sources);
    CSetupCommTNCPage& tnc = *sheet.tncPage();
    // Defaults: COM1:, 9600, 8, "N" (shown as None), 1, no command file.
    EXPECT_EQ(tnc.serial().port()->currentText(), "COM1:");
    EXPECT_EQ(tnc.serial().parity()->currentText(), "None");
    EXPECT_EQ(tnc.typeList()->currentIndex(), 0);

    tnc.enabledBox()->setChecked(true);
    tnc.serial().port()->setEditText("/dev/rfcomm0");  // typed
    tnc.serial().baudRate()->setCurrentIndex(12);      // 115200
    tnc.typeList()->setCurrentIndex(1);
    sheet.gpsPage()->enabledBox()->setChecked(true);
    sheet.gpsPage()->sourceButton(kGpsFromTncPolled)->click();
    sheet.netPage()->enabledBox()->setChecked(true);
    sheet.netPage()->hostField()->setText("127.0.0.1");
    sheet.netPage()->portField()->setText("14580");
    sheet.netPage()->filterField()->setText("m/25");
    sheet.Apply();

    EXPECT_EQ(profile->GetInt("Comm", "TNCEnabled", 0), 1);
    EXPECT_EQ(profile->GetString("Comm", "TNCCommPort", ""), "/dev/rfcomm0");
    EXPECT_EQ(profile->GetInt("Comm", "TNCBaudRate", 0), 115200);
    EXPECT_EQ(profile->GetString("Comm", "TNCParity", ""), "None");
    EXPECT_EQ(profile->GetString("Comm", "TNCType", ""), "/data/tnc/kenwood.tnc");
    EXPECT_EQ(profile->GetInt("Comm", "GPSType", 0), 1);
    EXPECT_EQ(profile->GetString("Comm", "HostAddress", ""), "127.0.0.1");
    EXPECT_EQ(profile->GetString("Comm", "HostPort", ""), "14580");
    EXPECT_EQ(profile->GetString("Comm", "NetFilter", ""), "m/25");
}

TEST_F(CommSheet, ControlsFollowTheirSwitches) {
    auto profile = Profile();
    CSetupComm sheet(*profile, sources);
    const CSetupCommTNCPage& tnc = *sheet.tncPage();
    EXPECT_FALSE(tnc.serial().port()->isEnabled());
    EXPECT_FALSE(tnc.typeList()->isEnabled());
    EXPECT_FALSE(tnc.refreshButton()->isEnabled());
    tnc.enabledBox()->setChecked(true);
    EXPECT_TRUE(tnc.serial().stopBits()->isEnabled());
    EXPECT_TRUE(tnc.refreshButton()->isEnabled());

    const CSetupCommGPSPage& gps = *sheet.gpsPage();
    EXPECT_FALSE(gps.sourceButton(0)->isEnabled());
    EXPECT_FALSE(gps.serial().baudRate()->isEnabled());
    gps.enabledBox()->setChecked(true);
    EXPECT_TRUE(gps.sourceButton(2)->isEnabled());
    EXPECT_FALSE(gps.serial().baudRate()->isEnabled());  // the TNC is the source
    gps.sourceButton(kGpsSerialPort)->click();
    EXPECT_TRUE(gps.serial().baudRate()->isEnabled());
    gps.enabledBox()->setChecked(false);
    EXPECT_FALSE(gps.serial().baudRate()->isEnabled());

    const CSetupCommNetPage& net = *sheet.netPage();
    EXPECT_FALSE(net.hostField()->isEnabled());
    EXPECT_FALSE(net.autoReconnectBox()->isEnabled());
    net.enabledBox()->setChecked(true);
    EXPECT_TRUE(net.hostField()->isEnabled());
    EXPECT_TRUE(net.portField()->isEnabled());
}

TEST_F(CommSheet, RefreshTncListKeepsTheChosenFileOrFallsBackToNone) {
    std::vector<std::vector<TncTypeChoice>> searches = {
        {{"/data/tnc/alinco.tnc", "Alinco"}, kFiles[0], kFiles[1]},
        {{"/data/tnc/alinco.tnc", "Alinco"}, kFiles[0]},
    };
    size_t search = 0;
    sources.refreshTncFiles = [&] { return searches[std::min(search++, searches.size() - 1)]; };
    auto profile = Profile();
    profile->WriteString("Comm", "TNCType", "/data/tnc/kpc3.tnc");
    CSetupComm sheet(*profile, sources);
    CSetupCommTNCPage& tnc = *sheet.tncPage();
    EXPECT_EQ(tnc.typeList()->currentText(), "KPC-3+");

    tnc.enabledBox()->setChecked(true);
    tnc.refreshButton()->click();
    EXPECT_EQ(tnc.typeList()->count(), 4);
    EXPECT_EQ(tnc.typeList()->currentIndex(), 3);
    EXPECT_EQ(tnc.typeList()->currentText(), "KPC-3+");
    tnc.RefreshTncList();  // the file is gone now
    EXPECT_EQ(tnc.typeList()->count(), 3);
    EXPECT_EQ(tnc.typeList()->currentText(), "[None]");
    sheet.Apply();
    EXPECT_EQ(profile->GetString("Comm", "TNCType", "unset"), "");
}

TEST_F(CommSheet, StatusLineFollowsTheConnection) {
    auto profile = Profile();
    status = "[Pending] ";
    CSetupComm sheet(*profile, sources);
    QLabel* line = sheet.netPage()->statusLine();
    EXPECT_EQ(line->text(), "[Pending] ");
    status = "[Error] Last Error #: 111";
    EXPECT_TRUE(WaitFor([&] { return line->text() == "[Error] Last Error #: 111"; }, 3000));

    sources.netStatus = nullptr;
    CSetupComm without(*profile, sources);
    EXPECT_EQ(without.netPage()->statusLine()->text(), "Unknown - no net manager object.");
}

}  // namespace
}  // namespace plovane
