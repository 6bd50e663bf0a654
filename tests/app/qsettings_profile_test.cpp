// The settings store on an INI file: values written come back unchanged after a reopen.
#ifdef PLOVANE_HAVE_QT
#include "app/qsettings_profile.h"

#include <gtest/gtest.h>

#include "core/station_settings.h"
#include "support/scratch_dir.h"

namespace plovane {
namespace {

TEST(QSettingsProfile, RoundTripsEveryKindThroughAnIniFile) {
    const testing::ScratchDir scratch;
    const std::string text = "caf\xE9 & \"quotes\" ;semi";
    CStationSettings settings;  // its float is stored as 4 bytes
    settings.MyCall = "N0CALL-9";
    settings.MobilePositRate = 2.5f;
    settings.Symbol = "x ";
    settings.destination = "APQ102";
    {
        QSettingsProfile profile(scratch / "plovane.conf");
        profile.WriteInt("Maps", "Count", 9999);
        profile.WriteString("Comm", "NetHost", text);
        settings.Save(profile);
    }
    QSettingsProfile reopened(scratch / "plovane.conf");
    EXPECT_EQ(reopened.GetInt("Maps", "Count", 1), 9999);
    EXPECT_EQ(reopened.GetString("Comm", "NetHost", ""), text);
    EXPECT_EQ(reopened.GetInt("Comm", "NetHost", 7), 7);  // not a number: the default
    EXPECT_EQ(reopened.GetInt("Maps", "Missing", -3), -3);
    CStationSettings loaded;
    loaded.Load(reopened);
    EXPECT_TRUE(loaded == settings);
}

}  // namespace
}  // namespace plovane
#endif
