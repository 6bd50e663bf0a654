// Own-station settings: defaults, the symbol fix-up and the round trip through a profile.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/profile.h"
#include "core/station_settings.h"
#include "support/station_settings_values.h"

namespace plovane {
namespace {

constexpr const char* kSection = "Station";

TEST(StationSettings, AnEmptyProfileGivesTheDefaults) {
    MemoryProfile profile;
    CStationSettings s;
    s.MobilePositRate = 2.0f;
    s.MyCall = "K1ABC";
    s.Load(profile);
    CStationSettings expected;
    expected.MobilePositRate = 2.0f;  // without a stored binary value the rate stays
    expected.destination = "APQ102";
    EXPECT_TRUE(s == expected);
    EXPECT_FALSE(s.IsConfigured());
}

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
    CStationSettings odd;
    odd.Load(profile);
    EXPECT_EQ(odd.MobilePositRate, 5.0f);
    EXPECT_TRUE(odd.bTrack);
}

TEST(StationSettings, SymbolsAreFixedToTwoCharactersOnLoadAndSave) {
    struct Case {
        const char* stored;
        const char* read;
    } cases[] = {{"x", "x "}, {"", "  "}, {"\\kX", "\\k"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        MemoryProfile profile;
        profile.WriteString(kSection, "Symbol", c.stored);
        CStationSettings s;
        s.Load(profile);
        EXPECT_EQ(s.Symbol, c.read);
        s.Symbol = c.stored;
        s.Save(profile);
        EXPECT_EQ(profile.GetString(kSection, "Symbol", "?"), c.read);
    }
}

}  // namespace
}  // namespace plovane
