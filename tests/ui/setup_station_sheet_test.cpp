// The station setup sheet on an isolated settings file: every value shown and written back,
// the lists that follow the units, the icon lists, and the check of the typed position that
// keeps the sheet open.
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
#include <tuple>

#include "app/qsettings_profile.h"
#include "maps/render/symbol_icons.h"
#include "ui/setup_log_page.h"
#include "ui_test_support.h"

namespace plovane {
namespace {

using plovane::testing::ScratchDir;

// The settings as one comparable value (the sheet's record holds nothing else that is
// stored).
auto Fields(const CStationSettings& s) {
    return std::tuple(
        std::tie(s.AutoReply, s.bDeletedAfter, s.HasInitPosit, s.HasPHG, s.bLimitMessages,
                 s.bLimitStations, s.Mobile, s.bMyMessagesOnly, s.bMyTrack, s.bMyTrackTime,
                 s.bMyTrackDistance, s.bTrack, s.bTrackTime, s.bTrackDistance, s.TransmitPosits,
                 s.TransmitStatus),
        std::tie(s.UnitsOfMeasure, s.MobilePositRate, s.Ambiguity, s.Directivity, s.DeletedAfter,
                 s.Lat, s.Lon, s.LimitMessages, s.LimitStations, s.MyTrackTime, s.MyTrackDistance,
                 s.MyTrackMax, s.TrackTime, s.TrackDistance, s.TrackMax, s.Power, s.Height, s.Gain),
        std::tie(s.AutoReplyText, s.Comments, s.Alias, s.MyCall, s.Status, s.Symbol, s.UIDigiPath));
}

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

TEST_F(StationSheet, EveryValueIsShownAndComesBackUnchanged) {
    CStationSettings s;
    s.AutoReply = s.HasInitPosit = s.HasPHG = s.bMyMessagesOnly = s.bTrack = true;
    s.bTrackTime = s.bTrackDistance = s.TransmitPosits = s.TransmitStatus = true;
    s.bDeletedAfter = s.bLimitMessages = s.bLimitStations = false;
    s.bMyTrack = s.bMyTrackTime = s.bMyTrackDistance = false;
    s.UnitsOfMeasure = 1;
    s.MobilePositRate = 0.5f;
    s.Ambiguity = 2;
    s.Directivity = 4;
    s.DeletedAfter = 72;
    s.Lat = 32400000 - (49 * 360000 + 3500 * 6);  // 49 03.500 N
    s.Lon = 64800000 - (72 * 360000 + 1750 * 6);  // 72 01.750 W
    s.LimitMessages = 300;
    s.LimitStations = 50;
    s.MyTrackTime = 0;
    s.MyTrackDistance = 2;
    s.MyTrackMax = 1234;
    s.TrackTime = 8;
    s.TrackDistance = 9;
    s.TrackMax = 99;
    s.Power = 5;
    s.Height = 9;
    s.Gain = 3;
    s.AutoReplyText = "Back at 18:00";
    s.Comments = "Caf\xE9 on the hill";  // Latin-1 bytes
    s.Alias = "MYDIGI";
    s.MyCall = "OK1ABC-2";
    s.Status = "Caf\xC3\xA9 QRV";  // UTF-8 bytes
    s.Symbol = "\\k";
    s.UIDigiPath = "WIDE1-1";
    {
        auto profile = Profile();
        s.Save(*profile);
        profile->Sync();
    }
    auto profile = Profile();
    {
        CSetupStation sheet(*profile, nullptr);
        EXPECT_EQ(sheet.windowTitle(), "Setup Station");
        ASSERT_EQ(sheet.tabs()->count(), 7);
        const char* titles[] = {"Station", "Icon", "Position", "Ops", "Track", "Limits", "Log"};
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(sheet.tabs()->tabText(i), titles[i]);

        const auto& station = *sheet.stationPage();
        EXPECT_EQ(station.callField()->text(), "OK1ABC-2");
        EXPECT_EQ(station.unitsList()->currentText(), "Nautical (nmi/knots/\u00B0F)");
        EXPECT_EQ(station.heightList()->currentText(), "5120 feet");
        EXPECT_EQ(station.directivityList()->currentText(), "180\u00B0");

        const auto& icon = *sheet.iconPage();
        EXPECT_EQ(icon.tableList()->currentIndex(), 1);
        EXPECT_EQ(icon.iconList()->currentItem()->text(0), "k - TBD");

        const auto& posit = *sheet.positPage();
        EXPECT_TRUE(posit.fixedButton()->isChecked());
        EXPECT_EQ(posit.rateList()->currentText(), "0.5");
        EXPECT_EQ(posit.ambiguityList()->currentText(), "2 Digits");
        EXPECT_EQ(posit.latitudeField(0)->text(), "49");
        EXPECT_EQ(posit.latitudeField(2)->text(), "500");
        EXPECT_EQ(posit.longitudeField(2)->text(), "750");
        EXPECT_EQ(posit.longitudeHemisphere()->currentText(), "W");

        const auto& ops = *sheet.opsPage();
        EXPECT_EQ(ops.commentsField()->text(), "Caf\u00E9 on the hill");
        EXPECT_EQ(ops.statusField()->text(), "Caf\u00E9 QRV");
        EXPECT_TRUE(ops.autoReplyField()->isEnabled());

        const auto& track = *sheet.trackPage();
        EXPECT_EQ(track.rule(0).maxPoints->value(), 1234);
        EXPECT_EQ(track.rule(0).distance->currentText(), " 0.05 nmi");
        EXPECT_EQ(track.rule(1).time->currentText(), "30 minutes");

        const auto& limits = *sheet.limitsPage();
        EXPECT_EQ(limits.hoursList()->currentText(), "72");
        EXPECT_TRUE(limits.myMessagesOnlyBox()->isChecked());

        ASSERT_TRUE(sheet.Apply());
    }
    profile->Sync();
    const CStationSettings back = Stored();
    EXPECT_EQ(Fields(back), Fields(s));
}

TEST_F(StationSheet, MetricUnitsRenameTheHeightsAndDistancesKeepingTheChoices) {
    auto profile = Profile();
    profile->WriteInt("Station", "Height", 5);
    profile->WriteInt("Station", "MyTrackDistance", 7);
    CSetupStation sheet(*profile, nullptr);
    auto& station = *sheet.stationPage();
    EXPECT_EQ(station.heightList()->currentText(), "320 feet");
    station.unitsList()->setCurrentIndex(2);
    EXPECT_EQ(station.heightList()->currentIndex(), 5);
    EXPECT_EQ(station.heightList()->currentText(), "97 meters");
    EXPECT_EQ(station.heightList()->itemText(9), "1560 meters");
    EXPECT_EQ(sheet.trackPage()->rule(0).distance->currentText(), " 2.50 km");
    EXPECT_EQ(sheet.trackPage()->rule(1).distance->itemText(9), "10.00 km");
    station.unitsList()->setCurrentIndex(1);
    EXPECT_EQ(station.heightList()->currentText(), "320 feet");

    station.callField()->setText("  W1AW-9 ");
    ASSERT_TRUE(sheet.Apply());
    const CStationSettings back = Stored();
    EXPECT_EQ(back.UnitsOfMeasure, 1);
    EXPECT_EQ(back.Height, 5);
    EXPECT_EQ(back.MyTrackDistance, 7);
    EXPECT_EQ(back.MyCall, "W1AW-9");
}

TEST_F(StationSheet, IconListFollowsTheTableAndStoresTheChosenSymbol) {
    auto profile = Profile();  // "/Z"
    const CSymbolIcons icons;
    CSetupStation sheet(*profile, &icons);
    auto& page = *sheet.iconPage();
    QTreeWidget* list = page.iconList();
    ASSERT_EQ(list->topLevelItemCount(), 96);
    EXPECT_EQ(list->headerItem()->text(0), "Description");
    EXPECT_EQ(list->columnWidth(0), 180);
    EXPECT_EQ(list->currentItem()->text(0), "Z - WinAPRS\u2122");
    EXPECT_FALSE(list->topLevelItem(30)->icon(0).isNull());
    EXPECT_FALSE(page.overlayList()->isEnabled());

    page.tableList()->setCurrentIndex(1);
    EXPECT_TRUE(page.overlayList()->isEnabled());
    EXPECT_EQ(list->topLevelItem(30)->text(0), "> - Car w/ Overlay");
    list->setCurrentItem(list->topLevelItem(30));
    page.overlayList()->setCurrentText("7");
    ASSERT_TRUE(sheet.Apply());
    EXPECT_EQ(Stored().Symbol, "7>");
}

TEST_F(StationSheet, LogPageShowsAndStoresTheStationLogSettings) {
    auto profile = Profile();
    CSetupStation sheet(*profile, nullptr);
    auto& page = *sheet.logPage();
    EXPECT_TRUE(page.enabledBox()->isChecked());
    EXPECT_EQ(page.replayHoursSpin()->value(), 24);
    EXPECT_EQ(page.retentionDaysSpin()->value(), 30);
    page.enabledBox()->setChecked(false);
    EXPECT_FALSE(page.replayHoursSpin()->isEnabled());
    page.replayHoursSpin()->setValue(6);
    page.retentionDaysSpin()->setValue(7);
    ASSERT_TRUE(sheet.Apply());
    CLogSettings back;
    back.Load(*Profile());
    EXPECT_FALSE(back.bStationLog);
    EXPECT_EQ(back.LogReplayHours, 6);
    EXPECT_EQ(back.LogRetentionDays, 7);
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
    const std::string head = "The following fields need to be corrected:\r\n\r\n";
    EXPECT_EQ(messages, (std::vector<std::string>{
                            head + "call sign,\r\ndegrees of latitude,\r\n"
                                   "fractional minutes of longitude.",
                            head + "degrees of latitude,\r\nfractional minutes of longitude."}));
    EXPECT_EQ(Stored().MyCall, "NOCALL");

    // Corrected: five fraction digits keep three, one digit counts as hundreds, an empty
    // field is taken as zero.
    posit.latitudeField(0)->setText("47");
    posit.latitudeField(1)->setText("");
    posit.latitudeField(2)->setText("12345");
    posit.longitudeField(0)->setText("8");
    posit.longitudeField(1)->setText("30");
    posit.longitudeField(2)->setText("5");
    posit.longitudeHemisphere()->setCurrentText("E");
    sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(messages.size(), 2u);
    const CStationSettings back = Stored();
    EXPECT_EQ(back.MyCall, "W1AW");
    EXPECT_EQ(back.Lat, 32400000 - (47 * 360000 + 123 * 6));
    EXPECT_EQ(back.Lon, 64800000 + 8 * 360000 + 30500 * 6);
    EXPECT_TRUE(back.HasInitPosit);
}

TEST_F(StationSheet, RateModeEnablesTheMinutesOrThePosition) {
    auto profile = Profile();
    CSetupStation sheet(*profile, nullptr);
    auto& posit = *sheet.positPage();
    EXPECT_TRUE(posit.fixedButton()->isChecked());
    EXPECT_EQ(posit.rateList()->currentText(), "5");  // the default interval
    EXPECT_FALSE(posit.rateList()->isEnabled());
    EXPECT_TRUE(posit.latitudeField(0)->isEnabled());
    // No position yet: empty fields.
    EXPECT_EQ(posit.latitudeField(0)->text(), "");
    posit.mobileButton()->click();
    EXPECT_TRUE(posit.rateList()->isEnabled());
    EXPECT_FALSE(posit.latitudeField(0)->isEnabled());
    EXPECT_FALSE(posit.longitudeHemisphere()->isEnabled());
    posit.rateList()->setCurrentText("30");
    ASSERT_TRUE(sheet.Apply());
    const CStationSettings back = Stored();
    EXPECT_TRUE(back.Mobile);
    EXPECT_FALSE(back.HasInitPosit);
    EXPECT_EQ(back.MobilePositRate, 30.0f);
}

}  // namespace
}  // namespace plovane
