// Device names from a packet's destination, and weather station descriptions.
#include <gtest/gtest.h>

#include <string>

#include "stations/device_names.h"
#include "stations/weather_description.h"

namespace plovane {
namespace {

TEST(DeviceName, NamesSoftwareAndDevicesFromTheDestination) {
    struct Case {
        const char* destination;
        const char* current;
        const char* expected;
    } cases[] = {
        {"Mic-E", "", "Mic-E/Pic-E Device"},
        {"Mic-E", "Kenwood TH-D7", "Kenwood TH-D7"},
        {"TH-D7", "Mic-E/Pic-E Device", "Kenwood TH-D7"},
        {"TM-D700", "", "Kenwood TM-D700"},
        {"APRSM", "", "MacAPRS (obsolete)"},
        {"APRSW", "", "WinAPRS (obsolete)"},
        {"APRS", "", "APRS (unknown)"},
        {"APRSX", "", "dosAPRS (SX)"},
        {"APIC12", "", "ICQ Messaging (12)"},
        {"GPSLJ", "", "GPS-Equipped Tracker (LJ)"},
        {"APQ", "", "Plovane ()"},
        {"APK003", "Kenwood TH-D7", "Kenwood TH-D7"},
        {"APx251", "", "X-APRS (251)"},  // the third letter is compared in upper case
        {"APA123", "old", "Unknown:APA123"},
        {"AP", "", "Unknown:AP"},
        {"apw251", "", "apw251"},  // lower case is not the "AP" family
        {"", "WinAPRS (251)", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.destination);
        EXPECT_EQ(DeviceName(c.destination, c.current), c.expected);
    }
    for (char third : std::string("DEIKMPRSUWYZ")) {
        SCOPED_TRACE(third);
        EXPECT_TRUE(DeviceName(std::string("AP") + third + "7", "").ends_with(" (7)"));
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

}  // namespace
}  // namespace plovane
