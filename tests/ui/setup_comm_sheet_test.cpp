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

// The lists show stored values they do not hold (a typed port) and OK keeps every key.
TEST_F(CommSheet, PagesShowTheStoredKeysAndOkWritesThemBackUnchanged) {
    const std::string usb = dir / "dev/ttyUSB0";
    const std::vector<std::pair<const char*, std::string>> keys = {
        {"TNCCommPort", usb},
        {"TNCParity", "Even"},
        {"TNCStopBits", "2"},
        {"TNCType", "/data/tnc/kpc3.tnc"},
        {"GPSCommPort", "/dev/pts/7"},
        {"GPSStopBits", "1.5"},
        {"HostAddress", "noam.aprs2.net"},
        {"NetFilter", "r/49.1/-72.0/50"}};
    auto profile = Profile();
    for (const auto& [key, value] : keys)
        profile->WriteString("Comm", key, value);
    profile->WriteInt("Comm", "GPSEnabled", 1);
    profile->WriteInt("Comm", "GPSType", 2);
    profile->WriteInt("Comm", "TNCBaudRate", 1200);
    {
        CSetupComm sheet(*profile, sources);
        const CSetupCommTNCPage& tnc = *sheet.tncPage();
        EXPECT_EQ(tnc.serial().port()->currentIndex(), 9);  // after COM1: .. COM9:
        EXPECT_EQ(tnc.serial().baudRate()->currentText(), "1200");
        EXPECT_EQ(tnc.typeList()->currentText(), "KPC-3+");
        const CSetupCommGPSPage& gps = *sheet.gpsPage();
        EXPECT_TRUE(gps.sourceButton(kGpsSerialPort)->isChecked());
        EXPECT_EQ(gps.serial().port()->currentText(), "/dev/pts/7");  // typed, not listed
        EXPECT_EQ(sheet.netPage()->filterField()->text(), "r/49.1/-72.0/50");
        sheet.Apply();
    }
    for (const auto& [key, value] : keys)
        EXPECT_EQ(profile->GetString("Comm", key, ""), value) << key;
    EXPECT_EQ(profile->GetInt("Comm", "TNCBaudRate", 0), 1200);
    EXPECT_EQ(profile->GetInt("Comm", "GPSType", 0), 2);
}

// Controls follow their switches, and what is changed on the pages is stored.
TEST_F(CommSheet, ChangesMadeOnThePagesAreStored) {
    auto profile = Profile();  // empty: the defaults
    CSetupComm sheet(*profile, sources);
    CSetupCommTNCPage& tnc = *sheet.tncPage();
    tnc.enabledBox()->setChecked(true);
    EXPECT_TRUE(tnc.refreshButton()->isEnabled());
    tnc.serial().port()->setEditText("/dev/rfcomm0");  // typed
    tnc.serial().baudRate()->setCurrentIndex(12);      // 115200
    tnc.typeList()->setCurrentIndex(1);
    const CSetupCommGPSPage& gps = *sheet.gpsPage();
    gps.enabledBox()->setChecked(true);
    EXPECT_FALSE(gps.serial().baudRate()->isEnabled());  // the TNC is the source
    gps.sourceButton(kGpsSerialPort)->click();
    EXPECT_TRUE(gps.serial().baudRate()->isEnabled());
    gps.sourceButton(kGpsFromTncPolled)->click();
    sheet.netPage()->enabledBox()->setChecked(true);
    EXPECT_TRUE(sheet.netPage()->hostField()->isEnabled());
    sheet.netPage()->filterField()->setText("m/25");
    sheet.Apply();

    EXPECT_EQ(profile->GetString("Comm", "TNCCommPort", ""), "/dev/rfcomm0");
    EXPECT_EQ(profile->GetInt("Comm", "TNCBaudRate", 0), 115200);
    EXPECT_EQ(profile->GetString("Comm", "TNCType", ""), "/data/tnc/kenwood.tnc");
    EXPECT_EQ(profile->GetInt("Comm", "GPSType", 0), 1);
    EXPECT_EQ(profile->GetString("Comm", "NetFilter", ""), "m/25");
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
    EXPECT_EQ(tnc.typeList()->currentIndex(), 3);
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
