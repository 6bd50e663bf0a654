// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store on an INI file: values written come back unchanged after a reopen.
#ifdef PLOVANE_HAVE_QT
#include "app/qsettings_profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/comm_settings.h"
#include "core/station_settings.h"
#include "support/child_process.h"
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

// A file edited by hand reads back as the user wrote it, and keeps every byte when a setting
// changes: lists stay text, UTF-8 stays UTF-8, other bytes stay as they are.
TEST(QSettingsProfile, HandWrittenValuesReadAsWrittenAndKeepTheirBytes) {
    const testing::ScratchDir scratch;
    const std::string path = scratch / "plovane.conf";
    const std::string text =
        "; my station\n[Station]\nUIDigiPath=WIDE1-1,WIDE2-2\nComment=Gr\xC3\xBC\xC3\x9F"
        "e\n"
        "Status=caf\xE9 on the air\nBeacon=\"a, b\" ; c\n[Comm]\n"
        "NetHost=\xC3\x83\xC2\xBC old\n";  // stored one character per byte: "\xC3\xBC"
    std::ofstream(path, std::ios::binary) << text;
    struct Case {
        const char* key;
        std::string value;
    };
    const Case cases[] = {
        {"UIDigiPath", "WIDE1-1,WIDE2-2"},
        {"Comment",
         "Gr\xC3\xBC\xC3\x9F"
         "e"},
        {"Status", "caf\xE9 on the air"},
        {"Beacon", "a, b ; c"},
    };
    {
        QSettingsProfile profile(path);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.key);
            EXPECT_EQ(profile.GetString("Station", c.key, "?"), c.value);
            profile.WriteString("Station", c.key, c.value);  // unchanged: not written
        }
        EXPECT_EQ(profile.GetString("Comm", "NetHost", "?"), "\xC3\xBC old");
    }
    EXPECT_EQ(testing::ReadFile(path), text);
    {
        QSettingsProfile profile(path);
        profile.WriteInt("Comm", "NetPort", 14580);
        profile.WriteString("Station", "Status", "new, with comma");
    }
    QSettingsProfile reopened(path);
    EXPECT_EQ(reopened.GetString("Station", "Status", "?"), "new, with comma");
    EXPECT_EQ(reopened.GetInt("Comm", "NetPort", 0), 14580);
    EXPECT_EQ(reopened.GetString("Station", "UIDigiPath", "?"), "WIDE1-1,WIDE2-2");
    std::string expected = text;
    expected.replace(expected.find("caf"), std::string("caf\xE9 on the air").size(),
                     "\"new, with comma\"");
    expected += "NetPort=14580\n";
    EXPECT_EQ(testing::ReadFile(path), expected);
}

// What the program notes while running goes to a state file of its own, one per settings
// file; an older settings file that still holds it is read, never rewritten.
// Two TNC ports read from a file and saved again leave every byte of it as it was.
TEST(QSettingsProfile, TncPortsRoundTripByteForByte) {
    const testing::ScratchDir scratch;
    const std::string path = scratch / "plovane.conf";
    std::string text = "[Comm]\nTNCPorts=2\n";
    for (const char* section : {"Comm", "TNC2"}) {
        if (std::string(section) != "Comm")
            text += "[" + std::string(section) + "]\n";
        for (const SettingField<CTncSettings>& key : CTncSettings::kFields)
            text += std::string(key.key) + (std::string(key.key) == "TNCMode" ? "=2\n" : "=1\n");
    }
    std::ofstream(path, std::ios::binary) << text;
    {
        QSettingsProfile profile(path);
        const std::vector<CTncSettings> ports = LoadTncPorts(profile);
        ASSERT_EQ(ports.size(), 2u);
        EXPECT_TRUE(ports[1].txBeacons && ports[1].igate && ports[1].digipeater);
        EXPECT_EQ(ports[1].kissHost, "1");
        SaveTncPorts(profile, ports);
    }
    EXPECT_EQ(testing::ReadFile(path), text);
}

TEST(QSettingsProfile, RunTimeStateGoesToAStateFileOfItsOwn) {
    const testing::ScratchDir scratch;
    const std::string text = "[Station]\nLogSeenUtc=5\nComment=\xFF\xFE\n";
    std::ofstream(scratch / "a.conf", std::ios::binary) << text;
    std::filesystem::path stateA;
    {
        QSettingsProfile a(scratch / "a.conf");
        EXPECT_EQ(a.State().GetString("Station", "LogSeenUtc", ""), "5");
        a.State().WriteString("Station", "LogSeenUtc", "1796558400");
        stateA = a.statePath();
    }
    EXPECT_EQ(testing::ReadFile(scratch / "a.conf"), text);
    EXPECT_EQ(stateA.parent_path(),
              std::filesystem::path(std::getenv("XDG_STATE_HOME")) / "plovane");
    QSettingsProfile a(scratch / "a.conf");
    EXPECT_EQ(a.State().GetString("Station", "LogSeenUtc", ""), "1796558400");
    QSettingsProfile b(scratch / "b.conf");
    EXPECT_NE(b.statePath(), stateA);
    EXPECT_EQ(b.State().GetString("Station", "LogSeenUtc", "none"), "none");
}

}  // namespace
}  // namespace plovane
#endif
