// SPDX-License-Identifier: GPL-3.0-or-later
// The station setup sheet on an isolated settings file.
#include "ui/setup_station_sheet.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <memory>

#include "app/qsettings_profile.h"
#include "maps/render/symbol_icons.h"
#include "ui/setup_log_page.h"
#include "ui_test_support.h"

namespace plovane {
namespace {

using plovane::testing::ScratchDir;

class StationSheet : public ::testing::Test {
  protected:
    std::unique_ptr<QSettingsProfile> Profile() {
        return std::make_unique<QSettingsProfile>(dir / "plovane.conf");
    }
    CStationSettings Stored() {
        auto profile = Profile();
        CStationSettings settings;
        settings.Load(*profile);
        return settings;
    }

    ScratchDir dir;
};

// Controls that depend on another: units rename the lists, the rate mode enables the minutes
// or the position, the log switch its spin boxes, the symbol table the icon list.
TEST_F(StationSheet, DependentControlsFollowAndTheChangesAreStored) {
    auto profile = Profile();  // symbol "/Z"
    profile->WriteInt("Station", "Height", 5);
    profile->WriteString("Station", "Comments", "Caf\xE9 on the hill");  // Latin-1 bytes
    profile->WriteString("Station", "Status", "Caf\xC3\xA9 QRV");        // UTF-8 bytes
    const CSymbolIcons icons;
    CSetupStation sheet(*profile, &icons);
    EXPECT_EQ(sheet.opsPage()->statusField()->text(), "Caf\u00E9 QRV");
    sheet.opsPage()->statusField()->setText("Gr\u00FC\u00DFe QRV");  // typed: goes out as UTF-8
    auto& station = *sheet.stationPage();
    station.unitsList()->setCurrentIndex(2);
    EXPECT_EQ(station.heightList()->currentText(), "97 meters");
    EXPECT_EQ(sheet.trackPage()->rule(1).distance->itemText(9), "10.00 km");
    auto& posit = *sheet.positPage();
    EXPECT_FALSE(posit.rateList()->isEnabled());
    posit.mobileButton()->click();
    EXPECT_TRUE(posit.rateList()->isEnabled());
    EXPECT_FALSE(posit.latitudeField(0)->isEnabled());
    sheet.logPage()->enabledBox()->setChecked(false);
    EXPECT_FALSE(sheet.logPage()->replayHoursSpin()->isEnabled());

    auto& page = *sheet.iconPage();
    QTreeWidget* list = page.iconList();
    ASSERT_EQ(list->topLevelItemCount(), 96);
    EXPECT_EQ(list->headerItem()->text(0), "Description");
    EXPECT_EQ(list->columnWidth(0), 180);
    EXPECT_EQ(list->currentItem()->text(0), "- - House w/ Vertical Ant.");  // a new station's
    EXPECT_FALSE(list->topLevelItem(30)->icon(0).isNull());
    EXPECT_FALSE(page.overlayList()->isEnabled());

    page.tableList()->setCurrentIndex(1);
    EXPECT_TRUE(page.overlayList()->isEnabled());
    EXPECT_EQ(list->topLevelItem(30)->text(0), "> - Car w/ Overlay");
    list->setCurrentItem(list->topLevelItem(30));
    page.overlayList()->setCurrentText("7");
    ASSERT_TRUE(sheet.Apply());
    const CStationSettings stored = Stored();
    EXPECT_EQ(stored.UnitsOfMeasure, 2);
    EXPECT_TRUE(stored.Mobile);
    EXPECT_EQ(stored.Symbol, "7>");
    EXPECT_EQ(stored.Comments, "Caf\xE9 on the hill");  // text comes back unchanged
    EXPECT_EQ(stored.Status, "Gr\xC3\xBC\xC3\x9F" "e QRV");
    CLogSettings log;
    log.Load(*Profile());
    EXPECT_FALSE(log.bStationLog);
}

TEST_F(StationSheet, BadFieldsKeepTheSheetOpenOnTheirPageAndStoreNothing) {
    auto profile = Profile();
    CSetupStation sheet(*profile, nullptr);
    std::vector<std::string> messages;
    sheet.SetMessageShower([&](const std::string& text) { messages.push_back(text); });
    sheet.stationPage()->callField()->setText("toolongcall-99!");
    auto& posit = *sheet.positPage();
    posit.latitudeField(0)->setText("4736");  // not the north pole
    posit.longitudeField(2)->setText("1,5");
    sheet.tabs()->setCurrentIndex(4);

    sheet.show();
    QPushButton* ok = sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    ok->click();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(sheet.tabs()->currentWidget(), sheet.stationPage());
    sheet.stationPage()->callField()->setText("W1AW");
    ok->click();
    EXPECT_EQ(sheet.tabs()->currentWidget(), &posit);
    ASSERT_EQ(messages.size(), 2u);  // the texts are the logic's
    EXPECT_NE(messages[1].find("degrees of latitude,"), std::string::npos);
    EXPECT_EQ(Stored().MyCall, "NOCALL");

    // Corrected (the stored values are the logic's), the sheet closes and stores.
    posit.latitudeField(0)->setText("47");
    posit.longitudeField(2)->setText("5");
    ok->click();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(messages.size(), 2u);
    const CStationSettings back = Stored();
    EXPECT_EQ(back.MyCall, "W1AW");
    EXPECT_EQ(back.Lat, 32400000 - 47 * 360000);  // empty fields count as zero
    EXPECT_TRUE(back.HasInitPosit);
}

}  // namespace
}  // namespace plovane
