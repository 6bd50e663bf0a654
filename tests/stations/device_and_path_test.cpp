// Device names from destination calls, and what SetDeviceAndPath keeps.
#include <gtest/gtest.h>

#include "stations/device_names.h"
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
        {"APQ102", "", "Plovane (102)"},
        {"APQ", "", "Plovane ()"},
        {"APK003", "Kenwood TH-D7", "Kenwood TH-D7"},
        {"APx251", "", "X-APRS (251)"},  // the third letter is compared in upper case
        {"APA123", "old", "Unknown:APA123"},
        {"AP", "", "Unknown:AP"},
        {"apw251", "", "apw251"},  // lower case is not the "AP" family
        {"BEACON", "WinAPRS (251)", "BEACON"},
        {"", "WinAPRS (251)", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.destination);
        EXPECT_EQ(DeviceName(c.destination, c.current), c.expected);
    }
    // Every known third letter of the "AP" family names its software.
    for (char third : std::string("DEIKMPRSUWYZ")) {
        SCOPED_TRACE(third);
        EXPECT_TRUE(DeviceName(std::string("AP") + third + "7", "").ends_with(" (7)"));
    }
}

TEST(SetDeviceAndPath, KeepsWhatIsNotGivenAndTheBetterDeviceName) {
    StoreFixture f;
    f.list.SetDeviceAndPath("K1AAA", "APW251", "WIDE1-1,WIDE2-2", "!4903.50N/07201.75W-");
    f.list.SetDeviceAndPath("K1AAA", "", "", "");
    const CStation s = f.Get("K1AAA");
    EXPECT_EQ(s.destination, "APW251");
    EXPECT_EQ(s.path, "WIDE1-1,WIDE2-2");
    EXPECT_EQ(s.lastInfo, "!4903.50N/07201.75W-");
    EXPECT_EQ(s.device, "");  // the rules still ran on the empty destination

    // A Mic-E device name keeps a better one until a Kenwood tag arrives.
    f.list.SetDeviceAndPath("K1BBB", "APU25N", "", "");
    f.list.SetDeviceAndPath("K1BBB", "Mic-E", "", "");
    EXPECT_EQ(f.Get("K1BBB").device, "UI-View (25N)");
    f.list.SetDeviceAndPath("K1BBB", "TH-D7", "", "");
    EXPECT_EQ(f.Get("K1BBB").device, "Kenwood TH-D7");
}

TEST(SetDeviceAndPath, AStatusTextIsOnlyReplacedByAnotherStatusText) {
    StoreFixture f;
    const std::pair<const char*, const char*> steps[] = {
        {"!4903.50N/07201.75W-", "!4903.50N/07201.75W-"},
        {">on the air", ">on the air"},
        {"!4903.51N/07201.75W-", ">on the air"},
        {"", ">on the air"},
        {">gone home", ">gone home"},
    };
    for (const auto& [info, kept] : steps) {
        SCOPED_TRACE(info);
        f.list.SetDeviceAndPath("K1AAA", "APRS", "", info);
        EXPECT_EQ(f.Get("K1AAA").lastInfo, kept);
    }
}

}  // namespace
}  // namespace plovane
