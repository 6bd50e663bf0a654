// SPDX-License-Identifier: GPL-3.0-or-later
// The communications setup sheet and the IGate and digipeater dialog: what each page shows and
// what OK writes back.
#include "ui/setup_comm_sheet.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <fstream>

#include "app/qsettings_profile.h"
#include "ui/relay_setup_dialog.h"
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
    profile.WriteInt("Comm", "GPSBaudRate", 12345);
    {
        CSetupComm sheet(profile, sources);
        const CSetupCommTNCPage& tnc = *sheet.tncPage();
        EXPECT_EQ(tnc.field<QComboBox>("TNCCommPort")->currentIndex(), 9);  // after COM1: .. COM9:
        EXPECT_EQ(tnc.field<QComboBox>("TNCBaudRate")->currentText(), "1200");
        EXPECT_EQ(tnc.typeList()->currentText(), "KPC-3+");
        const CSetupCommGPSPage& gps = *sheet.gpsPage();
        EXPECT_TRUE(
            gps.field("GPSType")->findChildren<QRadioButton*>()[kGpsSerialPort]->isChecked());
        EXPECT_EQ(gps.field<QComboBox>("GPSCommPort")->currentText(), "/dev/pts/7");  // typed
        EXPECT_EQ(gps.field<QComboBox>("GPSBaudRate")->currentIndex(), -1);           // not listed
        EXPECT_EQ(sheet.netPage()->filterField()->text(), "r/49.1/-72.0/50");
        EXPECT_EQ(sheet.netPage()->statusLine()->text(), "[Active] ");
        sheet.Apply();
    }
    for (const auto& [key, value] : keys)
        EXPECT_EQ(profile.GetString("Comm", key, ""), value) << key;
    EXPECT_EQ(profile.GetInt("Comm", "TNCBaudRate", 0), 1200);
    EXPECT_EQ(profile.GetInt("Comm", "GPSType", 0), 2);
    EXPECT_EQ(profile.GetInt("Comm", "GPSBaudRate", 0), 12345);
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
    const auto transmitBox = [&](int port, const char* key) {
        return sheet.tncPage(port)->field<QCheckBox>(key);
    };
    EXPECT_TRUE(transmitBox(0, "TxBeacons")->isChecked());
    EXPECT_FALSE(transmitBox(1, "TxBeacons")->isChecked());
    EXPECT_TRUE(transmitBox(1, "IGate")->isChecked());
    EXPECT_FALSE(sheet.removePortButton()->isEnabled());

    sheet.addPortButton()->click();
    ASSERT_EQ(sheet.portCount(), 3);
    EXPECT_EQ(sheet.portList()->currentRow(), 2);
    for (const char* key : {"TxBeacons", "TxMessages", "IGate", "Digipeater"})
        EXPECT_FALSE(transmitBox(2, key)->isChecked()) << key;
    sheet.tncPage(2)->enabledBox()->setChecked(true);
    transmitBox(2, "TxMessages")->setChecked(true);

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

// Changes what a field's control shows, whatever its kind.
void EditControl(QWidget* control) {
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        box->toggle();
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
        if (list->isEditable())
            list->setEditText("/dev/ttyEDITED");
        else
            list->setCurrentIndex((list->currentIndex() + 1) % list->count());
    } else if (auto* field = qobject_cast<QLineEdit*>(control)) {
        field->setText("1" + field->text());  // a number, a host, a call or a filter still
    } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        spin->setValue(spin->value() + 1);
    } else {
        const QList<QRadioButton*> buttons = control->findChildren<QRadioButton*>();
        ASSERT_FALSE(buttons.isEmpty());
        qsizetype checked = 0;
        while (checked < buttons.size() && !buttons[checked]->isChecked())
            ++checked;
        buttons[(checked + 1) % buttons.size()]->click();
    }
}

template <typename Record>
void EditEveryField(const QWidget& page) {
    for (const SettingField<Record>& field : Record::kFields) {
        QWidget* control = page.findChild<QWidget*>(field.key);
        ASSERT_NE(control, nullptr) << field.key << " is not on the page";
        EditControl(control);
    }
}

template <typename Record>
void ExpectEveryFieldChanged(const Record& before, const Record& after) {
    for (const SettingField<Record>& field : Record::kFields) {
        std::visit(
            [&](const auto& edit) {
                EXPECT_NE(after.*edit.member, before.*edit.member) << field.key;
            },
            static_cast<const typename FieldEdit<Record>::variant&>(field.edit));
    }
}

// Every field of the TNC (a further port), GPS and Net tables has its control on the page; an
// edit of each reaches the settings file and loads back.
TEST(CommSheet, EveryTableFieldIsEditedOnThePageAndReadBackFromTheFile) {
    testing::ScratchDir dir;
    const std::string path = dir / "plovane.conf";
    {
        QSettingsProfile profile(path);
        profile.WriteInt("Comm", "TNCPorts", 2);
        CommSetupSources sources;
        sources.tncFiles = {{"/data/tnc/a.tnc", "A"}, {"/data/tnc/b.tnc", "B"}};
        sources.devRoot = dir / "no-dev";
        CSetupComm sheet(profile, sources);
        EditEveryField<CTncSettings>(*sheet.tncPage(1));
        EditEveryField<CGpsSettings>(*sheet.gpsPage());
        EditEveryField<CNetSettings>(*sheet.netPage());
        sheet.Apply();
        ASSERT_TRUE(profile.Sync());
    }
    const QSettingsProfile reread(path);
    const std::vector<CTncSettings> ports = LoadTncPorts(reread);
    ASSERT_EQ(ports.size(), 2u);
    ExpectEveryFieldChanged(AddedTncPort(), ports[1]);
    CGpsSettings gps;
    gps.Load(reread);
    ExpectEveryFieldChanged(CGpsSettings{}, gps);
    CNetSettings net, before;
    net.Load(reread);
    before.Load(MemoryProfile{});
    ExpectEveryFieldChanged(before, net);
}

TEST(RelayDialog, EveryTableFieldIsEditedInItsGroupAndReadBack) {
    MemoryProfile profile;
    {
        RelaySetupDialog dialog(profile);
        const QList<QGroupBox*> groups = dialog.findChildren<QGroupBox*>();
        ASSERT_EQ(groups.size(), 2);
        EditEveryField<IGateSettings>(*groups[0]);
        EditEveryField<DigipeaterSettings>(*groups[1]);
        ASSERT_TRUE(dialog.Store());
    }
    IGateSettings igate;
    igate.Load(profile);
    ExpectEveryFieldChanged(IGateSettings{}, igate);
    DigipeaterSettings digipeater;
    digipeater.Load(profile);
    ExpectEveryFieldChanged(DigipeaterSettings{}, digipeater);
}

// The fields follow the connection kind: a TCP link has no serial line, text mode no KISS.
TEST(CommSheet, FieldsAreEnabledForTheChosenConnection) {
    MemoryProfile profile;
    profile.WriteInt("Comm", "TNCEnabled", 1);
    CSetupComm sheet(profile, {});
    CSetupCommTNCPage& tnc = *sheet.tncPage();
    const auto enabled = [&](const char* key) { return tnc.field(key)->isEnabled(); };
    EXPECT_TRUE(enabled("TNCCommPort") && !enabled("KISSHost") && !enabled("KISSChannel"));
    tnc.field<QComboBox>("TNCMode")->setCurrentIndex(kTncKissTcp);
    EXPECT_TRUE(!enabled("TNCCommPort") && enabled("KISSHost") && enabled("KISSChannel"));
    EXPECT_FALSE(tnc.refreshButton()->isEnabled());
    tnc.enabledBox()->setChecked(false);
    EXPECT_TRUE(!enabled("TNCMode") && !enabled("KISSHost") && enabled("TxBeacons"));
}

}  // namespace
}  // namespace plovane
