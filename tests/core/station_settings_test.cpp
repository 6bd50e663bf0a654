// SPDX-License-Identifier: GPL-3.0-or-later
// Own-station and connection settings through a profile, and how a profile reads numbers.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "core/comm_settings.h"
#include "core/profile.h"
#include "core/station_settings.h"
#include "support/station_settings_values.h"

namespace plovane {
namespace {

constexpr const char* kSection = "Station";

// Every field differs from its default, so a value that is not written, not read, or read
// into a neighbour's field breaks the equality.
TEST(StationSettings, EveryStoredValueSurvivesARoundTrip) {
    CStationSettings s = testing::EveryStationValueChanged();
    s.Mobile = true;
    s.MobilePositRate = 0.5f;
    s.destination = "APQ102";
    MemoryProfile profile;
    s.Save(profile);
    CStationSettings loaded;
    loaded.Load(profile);
    EXPECT_TRUE(loaded == s);
    EXPECT_FALSE(CStationSettings().IsConfigured());
    // The stored forms other programs' files use; destination is never stored.
    EXPECT_EQ(profile.GetString(kSection, "Mobile", ""), "1");
    EXPECT_EQ(profile.GetString(kSection, "bMyTrackDistance", ""), "0");
    std::vector<uint8_t> rate;
    EXPECT_TRUE(profile.GetBinary(kSection, "MobilePositRate", rate));
    const float half = 0.5f;
    EXPECT_EQ(rate.size(), sizeof half);
    EXPECT_EQ(std::memcmp(rate.data(), &half, sizeof half), 0);
    EXPECT_FALSE(profile.Contains(kSection, "destination"));

    profile.WriteBinary(kSection, "MobilePositRate", {1, 2});  // not four bytes: ignored
    profile.WriteInt(kSection, "bTrack", 7);                   // any non-zero value is set
    profile.WriteString(kSection, "Symbol", "x");              // padded to two characters
    CStationSettings odd;
    odd.Load(profile);
    EXPECT_EQ(odd.MobilePositRate, 5.0f);
    EXPECT_TRUE(odd.bTrack);
    EXPECT_EQ(odd.Symbol, "x ");
}

// Settings files are edited by hand: only a whole number is read as one.
// A further TNC keeps the first one's key names in a section of its own; every key of the
// table is written, read back into its own member, and leaves the first TNC's section alone.
TEST(TncSettings, AFurtherTncKeepsEveryKeyInItsOwnSection) {
    CTncSettings s{true, kTncKissTcp, 1200,    "/dev/ttyUSB1", 7, "E",
                   "2",  "kpc3.tnc",  "radio", "8002",         3, 30,
                   63,   10,          1,      true,           false, true,
                   true};
    MemoryProfile profile;
    s.Save(profile, "TNC2");
    CTncSettings loaded;
    loaded.Load(profile, "TNC2");
    EXPECT_TRUE(loaded == s);
    for (const SettingField<CTncSettings>& key : CTncSettings::kFields)
        EXPECT_FALSE(profile.Contains("Comm", key.key)) << key.key;
    CTncSettings first;
    first.Load(profile);
    EXPECT_TRUE(first == CTncSettings());
    profile.WriteInt("TNC2", "TNCMode", 9);  // unknown: text mode
    loaded.Load(profile, "TNC2");
    EXPECT_EQ(loaded.mode, kTncText);
    // Nothing stored: the first TNC sends beacons and messages and relays once the IGate or
    // digipeater is switched on; a further one sends and relays nothing.
    MemoryProfile empty;
    empty.WriteInt("Comm", "TNCPorts", 2);
    const std::vector<CTncSettings> ports = LoadTncPorts(empty);
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_TRUE(ports[0].txBeacons && ports[0].txMessages && ports[0].igate &&
                ports[0].digipeater);
    EXPECT_FALSE(ports[1].txBeacons || ports[1].txMessages || ports[1].igate ||
                 ports[1].digipeater);
}

TEST(MemoryProfile, ReadsWholeNumbersOnly) {
    MemoryProfile profile;
    struct Case {
        const char* text;
        int value;
    } cases[] = {{"", 9600},    {"12x", 9600},   {"99999999999", 9600},
                 {"1.5", 9600}, {"+4800", 4800}, {"-2147483648", INT32_MIN}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        profile.WriteString("Comm", "TNCBaudRate", c.text);
        EXPECT_EQ(profile.GetInt("Comm", "TNCBaudRate", 9600), c.value);
    }
}

}  // namespace
}  // namespace plovane
