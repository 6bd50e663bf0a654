// Own-station settings: defaults, the symbol fix-up and the round trip through a profile.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/profile.h"
#include "transmit/station_settings.h"

namespace plovane {
namespace {

constexpr const char* kSection = "Station";

TEST(StationSettings, AnEmptyProfileGivesTheDefaults) {
    MemoryProfile profile;
    CStationSettings s;
    EXPECT_EQ(s.destination, "APQ000");
    s.MobilePositRate = 2.0f;
    s.MyCall = "K1ABC";
    s.Load(profile);
    EXPECT_EQ(s.MyCall, "NOCALL");
    EXPECT_FALSE(s.IsConfigured());
    EXPECT_EQ(s.Alias, "RELAY");
    EXPECT_EQ(s.UIDigiPath, "RELAY,WIDE");
    EXPECT_EQ(s.Symbol, "/Z");
    EXPECT_EQ(s.destination, "APQ102");
    EXPECT_EQ(s.LimitMessages, 1000);
    EXPECT_EQ(s.LimitStations, 2000);
    EXPECT_EQ(s.DeletedAfter, 8);
    EXPECT_EQ(s.MyTrackMax, 100);
    EXPECT_EQ(s.TrackMax, 10);
    EXPECT_EQ(s.MyTrackTime, 5);
    EXPECT_EQ(s.MyTrackDistance, 5);
    EXPECT_TRUE(s.bDeletedAfter && s.bLimitMessages && s.bLimitStations);
    EXPECT_TRUE(s.bMyTrack && s.bMyTrackTime && s.bMyTrackDistance);
    EXPECT_FALSE(s.bTrack || s.bTrackTime || s.bTrackDistance || s.Mobile || s.HasPHG);
    EXPECT_EQ(s.Lat, 32400000);
    EXPECT_EQ(s.Lon, 64800000);
    // Without a stored binary value the rate keeps what it was.
    EXPECT_EQ(s.MobilePositRate, 2.0f);
}

// Every value is read under its name and written back under the same name; all stored
// values differ from their defaults, so a value that is not read or not written shows.
TEST(StationSettings, EveryStoredValueSurvivesARoundTrip) {
    const std::pair<const char*, int> ints[] = {
        {"AutoReply", 1},      {"bDeletedAfter", 0},    {"HasInitPosit", 1},
        {"HasPHG", 1},         {"bLimitMessages", 0},   {"bLimitStations", 0},
        {"Mobile", 1},         {"bMyMessagesOnly", 1},  {"bMyTrack", 0},
        {"bMyTrackTime", 0},   {"bMyTrackDistance", 0}, {"bTrack", 1},
        {"bTrackTime", 1},     {"bTrackDistance", 1},   {"TransmitPosits", 1},
        {"TransmitStatus", 1}, {"UnitsOfMeasure", 2},   {"Ambiguity", 3},
        {"Directivity", 4},    {"DeletedAfter", 72},    {"Lat", 14739000},
        {"Lon", 38869500},     {"LimitMessages", 9999}, {"LimitStations", 1},
        {"MyTrackTime", 8},    {"MyTrackDistance", 9},  {"MyTrackMax", 8000},
        {"TrackTime", 1},      {"TrackDistance", 2},    {"TrackMax", 250},
        {"Power", 6},          {"Height", 3},           {"Gain", 7},
    };
    const std::pair<const char*, const char*> texts[] = {
        {"AutoReplyText", "back soon"},
        {"Comments", "portable"},
        {"Alias", "WIDE"},
        {"MyCall", "K1ABC-9"},
        {"Status", "on the air"},
        {"Symbol", "\\k"},
        {"UIDigiPath", "WIDE1-1,WIDE2-1"},
    };
    const float rate = 0.5f;
    std::vector<uint8_t> rateBytes(sizeof rate);
    std::memcpy(rateBytes.data(), &rate, sizeof rate);

    MemoryProfile stored;
    for (const auto& [key, value] : ints)
        stored.WriteInt(kSection, key, value);
    for (const auto& [key, value] : texts)
        stored.WriteString(kSection, key, value);
    stored.WriteBinary(kSection, "MobilePositRate", rateBytes);
    CStationSettings settings;
    settings.Load(stored);
    EXPECT_EQ(settings.destination, "APQ102");
    // Neighbouring values land in their own fields.
    EXPECT_EQ(std::vector<int>({settings.Power, settings.Height, settings.Gain,
                                settings.Directivity, settings.Ambiguity}),
              std::vector<int>({6, 3, 7, 4, 3}));
    EXPECT_EQ(std::vector<int>({settings.MyTrackTime, settings.MyTrackDistance, settings.MyTrackMax,
                                settings.TrackTime, settings.TrackDistance, settings.TrackMax}),
              std::vector<int>({8, 9, 8000, 1, 2, 250}));
    EXPECT_EQ(std::vector<int>(
                  {settings.Lat, settings.Lon, settings.LimitMessages, settings.LimitStations}),
              std::vector<int>({14739000, 38869500, 9999, 1}));
    EXPECT_TRUE(settings.bTrack && settings.Mobile && settings.HasPHG && !settings.bMyTrack);
    EXPECT_EQ(settings.MyCall, "K1ABC-9");
    EXPECT_EQ(settings.Alias, "WIDE");
    EXPECT_EQ(settings.MobilePositRate, 0.5f);

    MemoryProfile saved;
    settings.Save(saved);
    for (const auto& [key, value] : ints)
        EXPECT_EQ(saved.GetInt(kSection, key, -999), value) << key;
    for (const auto& [key, value] : texts) {
        EXPECT_EQ(saved.GetString(kSection, key, "?"), value) << key;
    }
    std::vector<uint8_t> savedRate;
    EXPECT_TRUE(saved.GetBinary(kSection, "MobilePositRate", savedRate));
    EXPECT_EQ(savedRate, rateBytes);
    EXPECT_FALSE(saved.Contains(kSection, "destination"));
}

TEST(StationSettings, SymbolsAreFixedToTwoCharacters) {
    struct Case {
        const char* stored;
        const char* read;
    } cases[] = {{"x", "x "}, {"", "  "}, {"/>", "/>"}, {"\\kX", "\\k"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        MemoryProfile profile;
        profile.WriteString(kSection, "Symbol", c.stored);
        CStationSettings s;
        s.Load(profile);
        EXPECT_EQ(s.Symbol, c.read);

        // Saving applies the same fix-up.
        s.Symbol = c.stored;
        s.Save(profile);
        EXPECT_EQ(profile.GetString(kSection, "Symbol", "?"), c.read);
    }
}

TEST(StationSettings, MobileRateIsReadOnlyFromAFourByteValue) {
    MemoryProfile profile;
    CStationSettings s;
    profile.WriteBinary(kSection, "MobilePositRate", {1, 2});
    s.Load(profile);
    EXPECT_EQ(s.MobilePositRate, 5.0f);

    const float rate = 30.0f;
    std::vector<uint8_t> bytes(sizeof rate);
    std::memcpy(bytes.data(), &rate, sizeof rate);
    profile.WriteBinary(kSection, "MobilePositRate", bytes);
    s.Load(profile);
    EXPECT_EQ(s.MobilePositRate, 30.0f);
}

TEST(StationSettings, BooleansAreStoredAsZeroAndOne) {
    MemoryProfile profile;
    CStationSettings s;
    s.Mobile = true;
    s.Save(profile);
    EXPECT_EQ(profile.GetString(kSection, "Mobile", ""), "1");
    EXPECT_EQ(profile.GetString(kSection, "bTrack", ""), "0");
    // Any non-zero integer reads as set.
    profile.WriteInt(kSection, "bTrack", 7);
    s.Load(profile);
    EXPECT_TRUE(s.bTrack);
}

}  // namespace
}  // namespace plovane
