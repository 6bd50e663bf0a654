// The settings store on an INI file: values written come back unchanged after a reopen.
#ifdef PLOVANE_HAVE_QT
#include "app/qsettings_profile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/station_settings.h"
#include "support/scratch_dir.h"

namespace plovane {
namespace {

TEST(QSettingsProfile, RoundTripsEveryKindThroughAnIniFile) {
    const testing::ScratchDir scratch;
    const auto path = scratch.path() / "plovane.conf";
    {
        QSettingsProfile profile(path.string());
        profile.WriteInt("Station", "LimitStations", 9999);
        profile.WriteString("Station", "Comments", "caf\xE9 & \"quotes\" ;semi");
        profile.WriteBinary("Station", "MobilePositRate", {0, 0, 0x20, 0x40});
        profile.WriteString("Comm", "NetHost", "rotate.aprs2.net");
    }
    QSettingsProfile reopened(path.string());
    EXPECT_EQ(reopened.GetInt("Station", "LimitStations", 1), 9999);
    EXPECT_EQ(reopened.GetString("Station", "Comments", ""), "caf\xE9 & \"quotes\" ;semi");
    std::vector<uint8_t> blob;
    ASSERT_TRUE(reopened.GetBinary("Station", "MobilePositRate", blob));
    EXPECT_EQ(blob, (std::vector<uint8_t>{0, 0, 0x20, 0x40}));
    EXPECT_EQ(reopened.GetString("Comm", "NetHost", ""), "rotate.aprs2.net");
    EXPECT_EQ(reopened.GetInt("Comm", "NetHost", 7), 7);  // not a number: the default
    EXPECT_EQ(reopened.GetInt("Maps", "Missing", -3), -3);

    // The own-station settings survive the trip with their float stored as 4 bytes.
    CStationSettings settings;
    settings.MyCall = "N0CALL-9";
    settings.MobilePositRate = 2.5f;
    settings.Symbol = "x ";
    settings.destination = "APQ102";
    settings.Save(reopened);
    CStationSettings loaded;
    loaded.Load(reopened);
    EXPECT_TRUE(loaded == settings);
}

}  // namespace
}  // namespace plovane
#endif
