// SPDX-License-Identifier: GPL-3.0-or-later
// The first-start guide's logic and the defaults of a new installation.
#include "ui/logic/welcome.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

#include "support/scratch_dir.h"

namespace plovane {
namespace {

using plovane::testing::ScratchDir;

TEST(Welcome, LocatorsAndTypedPositionsGiveTheirCentreOrNothing) {
    struct Case {
        const char* text;
        bool locator;
        std::optional<LatLon> expected;
    };
    const Case cases[] = {
        {"JO70", true, LatLon{50.5, 15.0}},
        {" jo70fc ", true, LatLon{50.0 + 5.0 / 60 + 1.25 / 60, 14.0 + 25.0 / 60 + 2.5 / 60}},
        {"FN31pr21", true,
         LatLon{41.0 + 17 * 2.5 / 60 + 1 * 0.25 / 60 + 0.125 / 60,
                -74.0 + 15 * 5.0 / 60 + 2 * 0.5 / 60 + 0.25 / 60}},
        {"RR99xx99", true, LatLon{90.0 - 0.125 / 60, 180.0 - 0.25 / 60}},
        {"JO7", true, std::nullopt},
        {"SA00", true, std::nullopt},    // fields end at R
        {"JO70fy", true, std::nullopt},  // subsquares end at X
        {"50.0755, 14.4378", false, LatLon{50.0755, 14.4378}},
        {"-33.9 151.2", false, LatLon{-33.9, 151.2}},
        {"91, 0", false, std::nullopt},
        {"50.1", false, std::nullopt},
        {"north, east", false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<LatLon> got =
            c.locator ? LocatorPosition(c.text) : TypedPosition(c.text);
        ASSERT_EQ(got.has_value(), c.expected.has_value());
        if (got) {
            EXPECT_NEAR(got->lat, c.expected->lat, 1e-9);
            EXPECT_NEAR(got->lon, c.expected->lon, 1e-9);
        }
    }
}

TEST(Welcome, OnlyAGpsdReportWithAFixGivesAPosition) {
    const auto fix = GpsdFix(
        R"({"class":"TPV","device":"/dev/pts/3","mode":3,"lat":48.1173,"lon":-11.5167,"alt":545.4})");
    ASSERT_TRUE(fix.has_value());
    EXPECT_NEAR(fix->lat, 48.1173, 0.0002);
    EXPECT_NEAR(fix->lon, -11.5167, 0.0002);
    EXPECT_FALSE(GpsdFix(R"({"class":"TPV","mode":1})"));
    EXPECT_FALSE(GpsdFix(R"({"class":"VERSION","release":"3.22"})"));
    EXPECT_FALSE(GpsdFix("not json"));
}

TEST(Welcome, ChoicesLandInTheRecordsAndTheOtherLinksGoOff) {
    WelcomeSettings s;
    s.tnc.enabled = true;
    s.net.hostPort = "23";
    WelcomeChoices c;
    c.call = " n0call-9 ";
    c.position = LatLon{50.0755, -14.4378};
    c.ambiguity = 2;
    c.link = WelcomeLink::kAprsIs;
    c.radiusKm = 50;
    c.symbol = "/>";
    c.tileSource = "osm";
    ApplyWelcome(c, s);
    EXPECT_EQ(s.station.MyCall, "n0call-9");  // the page upper-cases what it hands over
    EXPECT_TRUE(s.station.HasInitPosit);
    EXPECT_EQ(s.station.Lat, ColatitudeOf(50.0755));
    EXPECT_EQ(s.station.Ambiguity, 2);
    EXPECT_EQ(s.station.Symbol, "/>");
    EXPECT_FALSE(s.tnc.enabled);
    EXPECT_TRUE(s.net.enabled);
    EXPECT_EQ(s.net.hostAddress + ":" + s.net.hostPort, "rotate.aprs2.net:14580");
    EXPECT_EQ(s.net.netFilter, "r/50.08/-14.44/50");
    EXPECT_EQ(s.map.TileSource, "osm");

    // A serial TNC in KISS or in text mode with its command file (none chosen: kept).
    for (const auto& [textMode, file, mode, stored] :
         {std::tuple(false, "/kpc3.tnc", kTncKissSerial, "/old.tnc"),
          std::tuple(true, "/kpc3.tnc", kTncText, "/kpc3.tnc"),
          std::tuple(true, "", kTncText, "/old.tnc")}) {
        WelcomeSettings serial;
        serial.tnc.tncCommandFile = "/old.tnc";
        c.link = WelcomeLink::kSerial;
        c.serialPort = "/dev/serial/by-id/usb-tnc";
        c.serialTextMode = textMode;
        c.tncCommandFile = file;
        ApplyWelcome(c, serial);
        EXPECT_TRUE(serial.tnc.enabled && serial.tnc.port == c.serialPort) << file;
        EXPECT_EQ(serial.tnc.mode, mode) << file;
        EXPECT_EQ(serial.tnc.tncCommandFile, stored) << file;
    }

    // Nothing chosen: the stored call, symbol and tiles stay.
    WelcomeSettings kept;
    kept.station.MyCall = "W9XYZ";
    kept.map.TileSource = "/maps/base.mbtiles";
    ApplyWelcome(WelcomeChoices{}, kept);
    EXPECT_EQ(kept.station.MyCall, "W9XYZ");
    EXPECT_EQ(kept.station.Symbol, "/-");
    EXPECT_EQ(kept.map.TileSource, "/maps/base.mbtiles");
}

// A new installation shows labels, tracks, course/speed and weather, sends a house and takes
// the first serial adapter and the base layer; a stored choice is never overridden.
TEST(NewInstallation, DefaultsFillOnlyWhatIsNotStored) {
    ScratchDir dev;
    std::filesystem::create_directories(dev.path() / "serial" / "by-id");
    for (const char* name : {"usb-FTDI_FT232R_A10-if00-port0", "usb-Mobilinkd_TNC3-if00"})
        std::ofstream(dev.path() / "serial" / "by-id" / name).put('\n');

    MemoryProfile fresh;
    WriteMachineDefaults(fresh, dev.path(), "/usr/share/plovane/maps/base-layer.mbtiles");
    WelcomeSettings loaded;
    loaded.station.Load(fresh);
    loaded.map.Load(fresh);
    loaded.tnc.Load(fresh);
    EXPECT_EQ(loaded.station.Symbol, "/-");
    EXPECT_TRUE(loaded.station.bTrack && loaded.station.bMyTrack);
    EXPECT_TRUE(loaded.map.IconLabels && loaded.map.ShowTracks && loaded.map.ShowCourseSpeed &&
                loaded.map.ShowWX);
    EXPECT_EQ(loaded.tnc.port, dev / "serial/by-id/usb-FTDI_FT232R_A10-if00-port0");
    EXPECT_EQ(loaded.map.TileSource, "/usr/share/plovane/maps/base-layer.mbtiles");

    MemoryProfile old;
    old.WriteString("Station", "Symbol", "/Z");
    old.WriteInt("Station", "bTrack", 0);
    old.WriteString("Comm", "TNCCommPort", "COM1:");
    old.WriteString("Maps", "TileSource", "");
    for (const char* key : {"IconLabels", "ShowTracks", "ShowCourseSpeed", "ShowWX"})
        old.WriteInt("Maps", key, 0);
    WriteMachineDefaults(old, dev.path(), "/usr/share/plovane/maps/base-layer.mbtiles");
    WelcomeSettings kept;
    kept.station.Load(old);
    kept.map.Load(old);
    kept.tnc.Load(old);
    EXPECT_EQ(kept.station.Symbol, "/Z");
    EXPECT_FALSE(kept.station.bTrack);
    EXPECT_FALSE(kept.map.IconLabels || kept.map.ShowTracks || kept.map.ShowCourseSpeed ||
                 kept.map.ShowWX);
    EXPECT_EQ(kept.tnc.port, "COM1:");
    EXPECT_EQ(kept.map.TileSource, "");
}

}  // namespace
}  // namespace plovane
