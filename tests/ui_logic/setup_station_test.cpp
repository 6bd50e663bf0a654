#include "ui/logic/setup_station.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/profile.h"
#include "stations/position_text.h"
#include "ui/logic/setup_symbol_names.h"

namespace plovane {
namespace {

// Every value differs from its default and lies within what the pages offer.
CStationSettings EveryValueChanged() {
    CStationSettings s;
    s.AutoReply = true;
    s.bDeletedAfter = false;
    s.HasInitPosit = true;
    s.HasPHG = true;
    s.bLimitMessages = false;
    s.bLimitStations = false;
    s.Mobile = false;
    s.bMyMessagesOnly = true;
    s.bMyTrack = false;
    s.bMyTrackTime = false;
    s.bMyTrackDistance = false;
    s.bTrack = true;
    s.bTrackTime = true;
    s.bTrackDistance = true;
    s.TransmitPosits = true;
    s.TransmitStatus = true;
    s.UnitsOfMeasure = 2;
    s.MobilePositRate = 15.0f;
    s.Ambiguity = 3;
    s.Directivity = 6;
    s.DeletedAfter = 48;
    s.Lat = 15261000;  // 47 36.500 N
    s.Lon = 20759262;  // 122 20.123 W
    s.LimitMessages = 250;
    s.LimitStations = 9999;
    s.MyTrackTime = 8;
    s.MyTrackDistance = 9;
    s.MyTrackMax = 8000;
    s.TrackTime = 2;
    s.TrackDistance = 1;
    s.TrackMax = 250;
    s.Power = 9;
    s.Height = 3;
    s.Gain = 7;
    s.AutoReplyText = "Gone fishing";
    s.Comments = "Plovane station";
    s.Alias = "WIDE1";
    s.MyCall = "W1AW-9";
    s.Status = "QRV 145.500";
    s.Symbol = "D>";
    s.UIDigiPath = "WIDE1-1,WIDE2-1";
    return s;
}

void ExpectSameSettings(const CStationSettings& a, const CStationSettings& b) {
#define PLOVANE_SAME(field) EXPECT_EQ(a.field, b.field) << #field
    PLOVANE_SAME(AutoReply);
    PLOVANE_SAME(bDeletedAfter);
    PLOVANE_SAME(HasInitPosit);
    PLOVANE_SAME(HasPHG);
    PLOVANE_SAME(bLimitMessages);
    PLOVANE_SAME(bLimitStations);
    PLOVANE_SAME(Mobile);
    PLOVANE_SAME(bMyMessagesOnly);
    PLOVANE_SAME(bMyTrack);
    PLOVANE_SAME(bMyTrackTime);
    PLOVANE_SAME(bMyTrackDistance);
    PLOVANE_SAME(bTrack);
    PLOVANE_SAME(bTrackTime);
    PLOVANE_SAME(bTrackDistance);
    PLOVANE_SAME(TransmitPosits);
    PLOVANE_SAME(TransmitStatus);
    PLOVANE_SAME(UnitsOfMeasure);
    PLOVANE_SAME(MobilePositRate);
    PLOVANE_SAME(Ambiguity);
    PLOVANE_SAME(Directivity);
    PLOVANE_SAME(DeletedAfter);
    PLOVANE_SAME(Lat);
    PLOVANE_SAME(Lon);
    PLOVANE_SAME(LimitMessages);
    PLOVANE_SAME(LimitStations);
    PLOVANE_SAME(MyTrackTime);
    PLOVANE_SAME(MyTrackDistance);
    PLOVANE_SAME(MyTrackMax);
    PLOVANE_SAME(TrackTime);
    PLOVANE_SAME(TrackDistance);
    PLOVANE_SAME(TrackMax);
    PLOVANE_SAME(Power);
    PLOVANE_SAME(Height);
    PLOVANE_SAME(Gain);
    PLOVANE_SAME(AutoReplyText);
    PLOVANE_SAME(Comments);
    PLOVANE_SAME(Alias);
    PLOVANE_SAME(MyCall);
    PLOVANE_SAME(Status);
    PLOVANE_SAME(Symbol);
    PLOVANE_SAME(UIDigiPath);
#undef PLOVANE_SAME
}

// The six pages shown and accepted unchanged, into `out`.
void ThroughEveryPage(const CStationSettings& in, CStationSettings& out) {
    StoreStationForm(StationFormFrom(in), out);
    StoreIconForm(IconFormFrom(in.Symbol), out.Symbol);
    ASSERT_TRUE(StorePositForm(PositFormFrom(in), out));
    StoreOpsForm(OpsFormFrom(in), out);
    StoreTrackForm(TrackFormFrom(in), out);
    StoreLimitsForm(LimitsFormFrom(in), out);
}

TEST(StationSheet, EveryValueGoesThroughThePagesAndTheProfile) {
    MemoryProfile profile;
    CStationSettings original = EveryValueChanged();
    original.Save(profile);
    CStationSettings loaded;
    loaded.Load(profile);

    CStationSettings accepted;  // at its defaults: every value must come from the pages
    ThroughEveryPage(loaded, accepted);
    accepted.Save(profile);
    CStationSettings again;
    again.Load(profile);
    ExpectSameSettings(again, original);
}

TEST(StationSheet, DefaultsComeBackUnchangedButForTheTypedPositionFlag) {
    const CStationSettings defaults;
    CStationSettings accepted = EveryValueChanged();
    ThroughEveryPage(defaults, accepted);
    CStationSettings expected;
    expected.HasInitPosit = true;  // the fixed rate reports the typed position
    ExpectSameSettings(accepted, expected);
}

TEST(StationPage, ListsAndTheHeightUnits) {
    EXPECT_EQ(PowerTexts()[0], "0 watts");
    EXPECT_EQ(PowerTexts()[9], "81 watts");
    EXPECT_EQ(GainTexts()[7], "7 dB");
    const std::vector<std::string> directivity = DirectivityTexts();
    ASSERT_EQ(directivity.size(), 9u);
    EXPECT_EQ(directivity[0], "Omni");
    EXPECT_EQ(directivity[1], "45\u00B0");
    EXPECT_EQ(directivity[8], "360\u00B0");

    // Ten heights whatever the units, so a chosen position means the same code.
    struct Case {
        int units;
        int n;
        const char* text;
    } cases[] = {
        {0, 0, "10 feet"},   {0, 9, "5120 feet"},   {1, 4, "160 feet"}, {2, 0, "3 meters"},
        {2, 5, "97 meters"}, {2, 9, "1560 meters"}, {-1, 1, "20 feet"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::vector<std::string> heights = HeightTexts(c.units);
        ASSERT_EQ(heights.size(), 10u);
        EXPECT_EQ(heights[static_cast<size_t>(c.n)], c.text);
    }
}

TEST(StationPage, UnlistedStoredCodesSelectNothingAndStayStored) {
    CStationSettings s;
    s.Power = 12;
    s.Height = -1;
    s.Directivity = 9;
    s.UnitsOfMeasure = 5;
    s.MyCall = "  K1ABC-7 ";
    const StationForm form = StationFormFrom(s);
    EXPECT_EQ(form.power, -1);
    EXPECT_EQ(form.height, -1);
    EXPECT_EQ(form.directivity, -1);
    EXPECT_EQ(form.units, -1);
    StoreStationForm(form, s);
    EXPECT_EQ(s.Power, 12);
    EXPECT_EQ(s.Height, -1);
    EXPECT_EQ(s.Directivity, 9);
    EXPECT_EQ(s.UnitsOfMeasure, 5);
    EXPECT_EQ(s.MyCall, "K1ABC-7");
}

TEST(IconPage, SymbolNamesByListPosition) {
    struct Case {
        SymbolTable table;
        int n;
        const char* text;
    } cases[] = {
        {SymbolTable::kPrimary, 0, " (Space) - Unused"},
        {SymbolTable::kPrimary, 1, "! - Police"},
        {SymbolTable::kPrimary, 45, "M - MacAPRS\u2122"},
        {SymbolTable::kPrimary, 60, "\\ - Triangle (DF)"},
        {SymbolTable::kPrimary, 62, "^ - Large Aircraft"},
        {SymbolTable::kPrimary, 94, "~ - Reserved (TNC Switch Char.)"},
        {SymbolTable::kPrimary, 95, "Reserved"},
        {SymbolTable::kAlternate, 3, "# - Star w/Overlay"},
        {SymbolTable::kAlternate, 64, "` - Rain"},
        {SymbolTable::kAlternate, 92, "| - Reserved (TNC Switch Char.)"},
        {SymbolTable::kAlternate, 95, "Reserved"},
        {SymbolTable::kAlternate, 96, ""},
        {SymbolTable::kAlternate, -1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(SymbolEntryText(c.table, c.n), c.text);
    }
    EXPECT_EQ(IconTexts(0).size(), 96u);
    EXPECT_EQ(IconTexts(1)[30], "> - Car w/ Overlay");
    const std::vector<std::string> overlays = OverlayTexts();
    ASSERT_EQ(overlays.size(), 37u);
    EXPECT_EQ(overlays[0], "No Overlay (\\)");
    EXPECT_EQ(overlays[1], "0");
    EXPECT_EQ(overlays[36], "Z");
}

TEST(IconPage, StoredSymbolSelectsTableOverlayAndIcon) {
    struct Case {
        const char* stored;
        int table, overlay, icon;
    } cases[] = {
        {"/Z", 0, 0, 58},  {"\\n", 1, 0, 78},   {"3#", 1, 4, 3},
        {"D>", 1, 14, 30}, {"/", 0, 0, 0},      {"", 1, 0, 0},
        {"a>", 1, 0, 30},  {"/\x7F", 0, 0, 95}, {"/\xE9", 0, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        const IconForm form = IconFormFrom(c.stored);
        EXPECT_EQ(form.table, c.table);
        EXPECT_EQ(form.overlay, c.overlay);
        EXPECT_EQ(form.icon, c.icon);
    }

    std::string symbol = "3#";
    IconForm form = IconFormFrom(symbol);
    form.overlay = 36;  // Z
    StoreIconForm(form, symbol);
    EXPECT_EQ(symbol, "Z#");
    form.table = 0;  // the overlay belongs to the secondary table only
    EXPECT_FALSE(form.overlayEnabled());
    form.icon = 30;
    StoreIconForm(form, symbol);
    EXPECT_EQ(symbol, "/>");
    form.table = 1;
    form.overlay = 0;
    form.icon = -1;  // nothing chosen: the code stays
    StoreIconForm(form, symbol);
    EXPECT_EQ(symbol, "\\>");
}

TEST(PositPage, FieldsHoldingAnythingButDigitsAreNamed) {
    struct Case {
        TypedAngle latitude;
        TypedAngle longitude;
        const char* message;
    } cases[] = {
        {{"4x", "36", "5", 0},
         {"122", "20", "123", 1},
         "The following fields need to be corrected:\r\n\r\ndegrees of latitude."},
        {{"", "", "", 0}, {"", "", "", 0}, ""},  // empty fields are accepted
        {{"47", "3 6", "5", 0},
         {"-122", "20", "1.5", 1},
         "The following fields need to be corrected:\r\n\r\nminutes of latitude,\r\n"
         "degrees of longitude,\r\nfractional minutes of longitude."},
        {{"47", "36", "\xD9\xA5", 0},
         {"122", "20", "123", 1},  // an Arabic-Indic five
         "The following fields need to be corrected:\r\n\r\nfractional minutes of latitude."},
        {{"1", "2", "3", 0},
         {"4", "x", "6", 0},
         "The following fields need to be corrected:\r\n\r\nminutes of longitude."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        PositForm form;
        form.latitude = c.latitude;
        form.longitude = c.longitude;
        EXPECT_EQ(PositFormErrors(form), c.message);
        CStationSettings s;
        s.Lat = 123;
        EXPECT_EQ(StorePositForm(form, s), std::string(c.message).empty());
        if (!std::string(c.message).empty()) {
            EXPECT_EQ(s.Lat, 123);  // refused: nothing stored
        }
    }
}

TEST(PositPage, FractionsAreCutOrPaddedToThreeDigits) {
    struct Case {
        const char* typed;
        const char* stored;
    } cases[] = {{"5", "500"}, {"12345", "123"}, {"", "000"}, {"07", "070"}, {"250", "250"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(ThreeDigitFraction(c.typed), c.stored);
    }

    PositForm form;
    form.latitude = {"47", "36", "5", 0};        // 47 36.500 N
    form.longitude = {"122", "20", "12345", 1};  // 122 20.123 W
    CStationSettings s;
    ASSERT_TRUE(StorePositForm(form, s));
    EXPECT_EQ(s.Lat, 15261000);
    EXPECT_EQ(s.Lon, 20759262);

    form.latitude = {"33", "51", "9", 1};   // 33 51.900 S
    form.longitude = {"151", "12", "", 0};  // 151 12.000 E
    ASSERT_TRUE(StorePositForm(form, s));
    EXPECT_EQ(s.Lat, 32400000 + 33 * 360000 + 51900 * 6);
    EXPECT_EQ(s.Lon, 64800000 + 151 * 360000 + 12000 * 6);

    // Out-of-range numbers are limited, long ones do not overflow.
    form.latitude = {"95", "75", "", 0};
    form.longitude = {"99999999999999999999", "0", "0", 1};
    ASSERT_TRUE(StorePositForm(form, s));
    EXPECT_EQ(s.Lat, 0);  // the north pole
    EXPECT_EQ(s.Lon, 0);  // 180 W
}

TEST(PositPage, StoredPositionsComeBackAsTheSameFields) {
    // Every thousandth of a minute is a whole number of units, so typed positions survive.
    for (int32_t colatitude = 6; colatitude < 64800000; colatitude += 997 * 6 + 6 * 3601) {
        const TypedAngle f = LatitudeFields(colatitude);
        ASSERT_EQ(ColatitudeFromText(f.degrees, f.minutes, f.fraction,
                                     kLatitudeHemispheres[static_cast<size_t>(f.hemisphere)]),
                  colatitude)
            << f.degrees << " " << f.minutes << "." << f.fraction;
    }
    for (int32_t longitude = 6; longitude <= 129600000; longitude += 1999 * 6 + 6 * 3601) {
        const TypedAngle f = LongitudeFields(longitude);
        ASSERT_EQ(LongitudeFromText(f.degrees, f.minutes, f.fraction,
                                    kLongitudeHemispheres[static_cast<size_t>(f.hemisphere)]),
                  longitude);
    }
    const TypedAngle lat = LatitudeFields(15261000);
    EXPECT_EQ(lat.degrees, "47");
    EXPECT_EQ(lat.minutes, "36");
    EXPECT_EQ(lat.fraction, "500");
    EXPECT_EQ(lat.hemisphere, 0);
    const TypedAngle lon = LongitudeFields(64800000 + 5 * 360000 + 3 * 6000 + 42);  // 5 03.007 E
    EXPECT_EQ(lon.degrees, "5");
    EXPECT_EQ(lon.minutes, "03");
    EXPECT_EQ(lon.fraction, "007");
    EXPECT_EQ(lon.hemisphere, 0);
    // No position, or a value outside the globe, shows empty fields.
    for (const TypedAngle& empty : {LatitudeFields(32400000), LatitudeFields(-5),
                                    LatitudeFields(64800001), LongitudeFields(64800000)}) {
        EXPECT_EQ(empty.degrees + empty.minutes + empty.fraction, "");
    }
}

TEST(PositPage, RateListSelectionAndWhatOkStores) {
    struct Case {
        float stored;
        int index;
    } cases[] = {
        {0.5f, 0},
        {0.25f, 0},
        {0.99f, 0},
        {1.0f, 1},
        {5.0f, 4},
        {5.9f, 4},
        {30.0f, 7},
        {30.5f, -1},
        {7.0f, -1},
        {0.0f, -1},
        {-2.0f, -1},
        {std::numeric_limits<float>::quiet_NaN(), -1},
        {std::numeric_limits<float>::infinity(), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(RateIndexOf(c.stored), c.index);
    }

    CStationSettings s;
    s.MobilePositRate = 0.0f;  // the ten-minute default of a mobile station
    s.Ambiguity = 7;
    PositForm form = PositFormFrom(s);
    EXPECT_EQ(form.ambiguity, 0);  // shown as "None"
    ASSERT_TRUE(StorePositForm(form, s));
    EXPECT_EQ(s.MobilePositRate, 0.0f);
    EXPECT_EQ(s.Ambiguity, 0);
    form.rate = 6;
    form.mobile = true;
    ASSERT_TRUE(StorePositForm(form, s));
    EXPECT_EQ(s.MobilePositRate, 15.0f);
    EXPECT_TRUE(s.Mobile);
    EXPECT_FALSE(s.HasInitPosit);
    EXPECT_TRUE(form.rateEnabled());
    EXPECT_FALSE(form.positionEnabled());
}

TEST(TrackPage, DistanceUnitsAndClampedCounts) {
    EXPECT_EQ(TrackDistanceTexts(0)[0], " 0.01 mi");
    EXPECT_EQ(TrackDistanceTexts(1)[3], " 0.10 nmi");
    EXPECT_EQ(TrackDistanceTexts(2)[9], "10.00 km");
    EXPECT_EQ(TrackDistanceTexts(3)[6], " 1.00 ???");

    CStationSettings s;
    s.MyTrackMax = 9000;
    s.TrackMax = 0;
    s.MyTrackTime = 9;
    s.TrackDistance = -1;
    const TrackForm form = TrackFormFrom(s);
    EXPECT_EQ(form.mine.maxPoints, 8000);
    EXPECT_EQ(form.others.maxPoints, 1);
    EXPECT_EQ(form.mine.time, -1);
    EXPECT_EQ(form.others.distance, -1);
    StoreTrackForm(form, s);
    EXPECT_EQ(s.MyTrackMax, 8000);
    EXPECT_EQ(s.TrackMax, 1);
    EXPECT_EQ(s.MyTrackTime, 9);  // nothing chosen: kept
    EXPECT_EQ(s.TrackDistance, -1);

    TrackForm big = form;
    big.others.maxPoints = 400;
    StoreTrackForm(big, s);
    EXPECT_EQ(s.TrackMax, 250);
}

TEST(LimitsPage, HoursListAndCounts) {
    EXPECT_EQ(DeletedAfterTexts().back(), "168");
    CStationSettings s;
    EXPECT_EQ(LimitsFormFrom(s).hours, 3);  // 8 hours
    s.DeletedAfter = 5;
    s.LimitStations = 20000;
    LimitsForm form = LimitsFormFrom(s);
    EXPECT_EQ(form.hours, -1);
    EXPECT_EQ(form.stations, 9999);
    StoreLimitsForm(form, s);
    EXPECT_EQ(s.DeletedAfter, 5);
    EXPECT_EQ(s.LimitStations, 9999);
    form.hours = 8;
    form.messages = 0;
    StoreLimitsForm(form, s);
    EXPECT_EQ(s.DeletedAfter, 168);
    EXPECT_EQ(s.LimitMessages, 1);
}

}  // namespace
}  // namespace plovane
