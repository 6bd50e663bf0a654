// Device names, weather descriptions, and what a record keeps of device, path and weather.
#include <gtest/gtest.h>

#include "stations/device_names.h"
#include "stations/weather_description.h"
#include "store_fixture.h"

namespace plovane {
namespace {

using ::plovane::testing::StoreFixture;

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

// Destination, path and information stay when a report leaves them out; a status text is
// only replaced by another; a Mic-E device name keeps a better one.
TEST(SetDeviceAndPath, KeepsWhatIsNotGivenAndTheBetterDeviceName) {
    StoreFixture f;
    struct Step {
        const char *destination, *path, *info;
        const char *device, *keptDestination, *keptInfo;
    } steps[] = {
        {"APU25N", "WIDE1-1", "!4903.50N/07201.75W-", "UI-View (25N)", "APU25N",
         "!4903.50N/07201.75W-"},
        {"Mic-E", "", ">on the air", "UI-View (25N)", "Mic-E", ">on the air"},
        {"", "", "!4903.51N/07201.75W-", "", "Mic-E", ">on the air"},  // rules run on ""
        {"TH-D7", "", ">gone home", "Kenwood TH-D7", "TH-D7", ">gone home"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.info);
        f.list.SetDeviceAndPath("K1AAA", step.destination, step.path, step.info);
        const CStation s = f.Get("K1AAA");
        EXPECT_EQ(s.device, step.device);
        EXPECT_EQ(s.destination, step.keptDestination);
        EXPECT_EQ(s.path, "WIDE1-1");
        EXPECT_EQ(s.lastInfo, step.keptInfo);
    }
}

// A weather report replaces the last one whole; the weather symbol goes only to a station
// without a symbol.
TEST(StoreWeather, ASecondReportReplacesTheFirstWhole) {
    StoreFixture f;
    WeatherValues first;
    first.windDirection = 220;
    first.windSpeed = 3;
    first.temperature = 250;
    first.humidity = 500;
    first.rainLastHour = 0;
    first.snow[1] = 12;
    f.list.StoreWeather("K1WX", "APRS", "WIDE", "wRSW", first);
    CStation s = f.Get("K1WX");
    EXPECT_TRUE(s.hasWeather && s.weather.hasWind && s.weather.hasRain && s.weather.hasSnow);
    EXPECT_EQ(s.weather.rainLast24Hours, -1);  // the group is stored whole
    EXPECT_EQ(s.weather.snow[1], 12);
    EXPECT_EQ(s.weather.description, "Radio Shack (WinAPRS)");
    EXPECT_EQ(std::string({s.symbolTable, s.symbolCode}), "/_");

    WeatherValues second;
    second.windDirection = 90;  // alone, it still stores the wind group
    f.list.StoreWeather("K1WX", "APRS", "WIDE", "", second);
    s = f.Get("K1WX");
    const CWeatherReport& w = s.weather;
    EXPECT_FALSE(w.hasTemperature || w.hasHumidity || w.hasRain);
    EXPECT_TRUE(w.hasWind);
    EXPECT_EQ(std::vector<int>({w.windDirection, w.windSpeed, w.windGust}),
              std::vector<int>({90, -1, -1}));
    EXPECT_EQ(w.description, "Unknown");
    EXPECT_EQ(w.received, f.clock.Now());

    f.Report("K1CAR");
    f.list.StoreWeather("K1CAR", "", "", "", WeatherValues{});
    EXPECT_EQ(f.Get("K1CAR").symbolCode, '>');
}

}  // namespace
}  // namespace plovane
