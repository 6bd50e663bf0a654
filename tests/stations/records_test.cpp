// SPDX-License-Identifier: GPL-3.0-or-later
// Device names from a packet's destination, and weather station descriptions.
#include <gtest/gtest.h>

#include <string>

#include "stations/device_names.h"
#include "stations/radio_range.h"
#include "stations/weather_description.h"

namespace plovane {
namespace {

TEST(DeviceName, NamesSoftwareAndDevicesFromTheDestination) {
    struct Case {
        const char* destination;
        const char* current;
        const char* expected;
        const char* deviceClass;
    } cases[] = {
        {"Mic-E", "", "Mic-E/Pic-E Device", ""},
        {"Mic-E", "Kenwood TH-D7", "Kenwood TH-D7", "ht"},  // a better name heard earlier stays
        {"TH-D7", "Mic-E/Pic-E Device", "Kenwood TH-D7", "ht"},
        {"TM-D700", "", "Kenwood TM-D700", "rig"},
        {"TM-D710", "", "Kenwood TM-D710", "rig"},
        {"TH-D72", "", "Kenwood TH-D72", "ht"},
        {"VX-8", "", "Yaesu VX-8", "ht"},
        {"APRSM", "", "MacAPRS (obsolete)", ""},
        {"APRS", "", "APRS (unknown)", ""},
        {"APJI23", "", "jAPRSIgate (Peter Loveall, AE5PL)", "software"},
        {"APJI40", "", "jAPRSIgate (Peter Loveall, AE5PL)", "software"},
        {"APJID2", "", "D-Star APJID2 (Peter Loveall, AE5PL)", "dstar"},  // exact before "??"
        {"APK003", "Kenwood TH-D7", "Kenwood TH-D72", "ht"},
        {"APK102-2", "", "Kenwood TM-D700", "rig"},  // the SSID is not part of the call
        {"APW251", "", "Sproul Brothers WinAPRS", "software"},
        {"APWX51", "", "Unknown:APWX51", ""},  // "n" stands for a digit only
        {"APZ0815", "", "Experimental", ""},   // "*": any rest
        {"GPSLJ", "", "GPS-Equipped Tracker (LJ)", ""},
        {"APQ102", "", "Plovane (102)", ""},
        {"APA123", "old", "Unknown:APA123", ""},
        {"AP", "", "Unknown:AP", ""},
        {"apw251", "", "apw251", ""},  // lower case is not the "AP" family
        {"", "WinAPRS (251)", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.destination);
        std::string device = c.current;
        std::string_view deviceClass =
            std::string_view(c.current).starts_with("Kenwood") ? "ht" : "";
        AssignDeviceName(device, deviceClass, c.destination);
        EXPECT_EQ(device, c.expected);
        EXPECT_EQ(deviceClass, c.deviceClass);
    }
}

TEST(WeatherDescription, NamesSoftwareAndUnit) {
    struct Case {
        const char* comment;
        const char* expected;
    } cases[] = {
        {"", "Unknown"},
        {"wU2KR", "Rem Ult Logger(WinAPRS)"},  // before its prefix U2K
        {"wU2K", "U500/U2000 (WinAPRS)"},
        {"wXYZ", "wXYZ"},
        {"wU", "Unknown"},
        {"q", "q"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comment);
        EXPECT_EQ(WeatherDescription(c.comment), c.expected);
    }
    for (char letter : std::string("SCDMPUWXscdmpuwx")) {
        SCOPED_TRACE(letter);
        EXPECT_TRUE(WeatherDescription(std::string(1, letter) + "U5").starts_with("Ult 500 ("));
    }
}

// The range a station gives wins over the one its PHG works out to.
TEST(RadioRange, GivenRangeElsePhg) {
    struct Case {
        const char* name;
        bool phg;
        int power, height, gain;
        double given;  // 0: none
        double miles;
    } cases[] = {
        {"PHG5132", true, 25, 20, 3, 0, 7.948},
        {"PHG2360", true, 4, 80, 6, 0, 11.949},
        {"PHG7890", true, 49, 640, 9, 0, 75.144},
        {"PHG0132", true, 0, 20, 3, 0, 0},
        {"RNG0050", false, 0, 0, 0, 50, 50},
        {"PHG5132 RNG0050", true, 25, 20, 3, 50, 50},
        {"nothing", false, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CStation s("W5ABC");
        s.hasPhg = c.phg;
        s.phgPower = static_cast<int16_t>(c.power);
        s.phgHeight = static_cast<int16_t>(c.height);
        s.phgGain = static_cast<int16_t>(c.gain);
        s.hasRange = c.given > 0;
        s.rangeMiles = c.given;
        EXPECT_NEAR(RadioRangeMiles(s), c.miles, 0.001);
    }
}

}  // namespace
}  // namespace plovane
