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

TEST(StationSettings, EveryStoredValueSurvivesARoundTrip) {
    CStationSettings out;
    out.AutoReply = true;
    out.bDeletedAfter = false;
    out.HasInitPosit = true;
    out.HasPHG = true;
    out.bLimitMessages = false;
    out.bLimitStations = false;
    out.Mobile = true;
    out.bMyMessagesOnly = true;
    out.bMyTrack = false;
    out.bMyTrackTime = false;
    out.bMyTrackDistance = false;
    out.bTrack = true;
    out.bTrackTime = true;
    out.bTrackDistance = true;
    out.TransmitPosits = true;
    out.TransmitStatus = true;
    out.UnitsOfMeasure = 2;
    out.MobilePositRate = 0.5f;
    out.Ambiguity = 3;
    out.Directivity = 4;
    out.DeletedAfter = 72;
    out.Lat = 14739000;
    out.Lon = 38869500;
    out.LimitMessages = 9999;
    out.LimitStations = 1;
    out.MyTrackTime = 8;
    out.MyTrackDistance = 9;
    out.MyTrackMax = 8000;
    out.TrackTime = 1;
    out.TrackDistance = 2;
    out.TrackMax = 250;
    out.Power = 6;
    out.Height = 3;
    out.Gain = 7;
    out.AutoReplyText = "back soon";
    out.Comments = "portable";
    out.Alias = "WIDE";
    out.MyCall = "K1ABC-9";
    out.Status = "on the air";
    out.Symbol = "\\k";
    out.UIDigiPath = "WIDE1-1,WIDE2-1";
    out.destination = "NOTSTORED";

    MemoryProfile profile;
    out.Save(profile);
    EXPECT_FALSE(profile.Contains(kSection, "destination"));
    CStationSettings in;
    in.Load(profile);
    out.destination = "APQ102";  // never stored: every load sets it

    // Field by field, so a mismatch names the value.
    EXPECT_EQ(in.AutoReply, out.AutoReply);
    EXPECT_EQ(in.bDeletedAfter, out.bDeletedAfter);
    EXPECT_EQ(in.HasInitPosit, out.HasInitPosit);
    EXPECT_EQ(in.HasPHG, out.HasPHG);
    EXPECT_EQ(in.bLimitMessages, out.bLimitMessages);
    EXPECT_EQ(in.bLimitStations, out.bLimitStations);
    EXPECT_EQ(in.Mobile, out.Mobile);
    EXPECT_EQ(in.bMyMessagesOnly, out.bMyMessagesOnly);
    EXPECT_EQ(in.bMyTrack, out.bMyTrack);
    EXPECT_EQ(in.bMyTrackTime, out.bMyTrackTime);
    EXPECT_EQ(in.bMyTrackDistance, out.bMyTrackDistance);
    EXPECT_EQ(in.bTrack, out.bTrack);
    EXPECT_EQ(in.bTrackTime, out.bTrackTime);
    EXPECT_EQ(in.bTrackDistance, out.bTrackDistance);
    EXPECT_EQ(in.TransmitPosits, out.TransmitPosits);
    EXPECT_EQ(in.TransmitStatus, out.TransmitStatus);
    EXPECT_EQ(in.UnitsOfMeasure, out.UnitsOfMeasure);
    EXPECT_EQ(in.MobilePositRate, out.MobilePositRate);
    EXPECT_EQ(in.Ambiguity, out.Ambiguity);
    EXPECT_EQ(in.Directivity, out.Directivity);
    EXPECT_EQ(in.DeletedAfter, out.DeletedAfter);
    EXPECT_EQ(in.Lat, out.Lat);
    EXPECT_EQ(in.Lon, out.Lon);
    EXPECT_EQ(in.LimitMessages, out.LimitMessages);
    EXPECT_EQ(in.LimitStations, out.LimitStations);
    EXPECT_EQ(in.MyTrackTime, out.MyTrackTime);
    EXPECT_EQ(in.MyTrackDistance, out.MyTrackDistance);
    EXPECT_EQ(in.MyTrackMax, out.MyTrackMax);
    EXPECT_EQ(in.TrackTime, out.TrackTime);
    EXPECT_EQ(in.TrackDistance, out.TrackDistance);
    EXPECT_EQ(in.TrackMax, out.TrackMax);
    EXPECT_EQ(in.Power, out.Power);
    EXPECT_EQ(in.Height, out.Height);
    EXPECT_EQ(in.Gain, out.Gain);
    EXPECT_EQ(in.AutoReplyText, out.AutoReplyText);
    EXPECT_EQ(in.Comments, out.Comments);
    EXPECT_EQ(in.Alias, out.Alias);
    EXPECT_EQ(in.MyCall, out.MyCall);
    EXPECT_EQ(in.Status, out.Status);
    EXPECT_EQ(in.Symbol, out.Symbol);
    EXPECT_EQ(in.destination, out.destination);
    EXPECT_EQ(in.UIDigiPath, out.UIDigiPath);
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
