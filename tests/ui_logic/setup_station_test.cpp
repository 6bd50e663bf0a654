// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/logic/setup_station.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "core/geo.h"
#include "core/profile.h"
#include "support/station_settings_values.h"
#include "ui/logic/setup_symbol_names.h"

namespace plovane {
namespace {

using testing::EveryStationValueChanged;

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
    CStationSettings original = EveryStationValueChanged();
    original.Save(profile);
    CStationSettings loaded;
    loaded.Load(profile);
    CStationSettings accepted;  // at its defaults: every value must come from the pages
    ThroughEveryPage(loaded, accepted);
    accepted.Save(profile);
    CStationSettings again;
    again.Load(profile);
    EXPECT_TRUE(again == loaded);
    EXPECT_EQ(again.MyCall, "W1AW-9");

    // Defaults come back unchanged but for the typed-position flag of the fixed rate.
    accepted = EveryStationValueChanged();
    ThroughEveryPage(CStationSettings(), accepted);
    CStationSettings expected;
    expected.HasInitPosit = true;
    EXPECT_TRUE(accepted == expected);
}

TEST(StationPage, OnlyCallSignsAreAccepted) {
    struct Case {
        const char* call;
        bool radio;
        bool internet;
    } cases[] = {
        {" K1ABC-7 ", true, true},  {"N0CALL-15", true, true},  {"N0CALL-16", false, true},
        {"N0CALL-07", false, true}, {"ABCDEFGHI", false, true}, {"ABCDEFGHIJ", false, false},
        {"", false, false},         {"W1AW-", false, false},    {"W1AW-1-2", false, false},
        {"W1\xC9W", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(IsCallSign(c.call, true), c.radio);
        EXPECT_EQ(IsCallSign(c.call, false), c.internet);
    }
    StationForm form;
    form.myCall = "toolongcall-99!";
    EXPECT_EQ(FieldsNeedCorrection(StationFormProblems(form, false)),
              "The following fields need to be corrected:\r\n\r\ncall sign.");
}

TEST(IconPage, SymbolNamesAndTheStoredSymbol) {
    EXPECT_EQ(SymbolEntryText(SymbolTable::kAlternate, 96), "");
    EXPECT_EQ(SymbolEntryText(SymbolTable::kAlternate, -1), "");
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

TEST(PositPage, FieldsNotDigitsOrOutOfRangeAreNamedAndNothingIsStored) {
    const std::string head = "The following fields need to be corrected:\r\n\r\n";
    struct Case {
        TypedAngle latitude;
        TypedAngle longitude;
        std::string message;
    } cases[] = {
        {{"4x", "36", "5", 0}, {"122", "20", "123", 1}, head + "degrees of latitude."},
        {{"", "", "", 0}, {"", "", "", 0}, ""},  // empty fields are accepted
        {{"47", "3 6", "5", 0},
         {"-122", "20", "1.5", 1},
         head + "minutes of latitude,\r\ndegrees of longitude,\r\nfractional minutes of "
                "longitude."},
        {{"47", "36", "\xD9\xA5", 0},  // an Arabic-Indic five
         {"122", "20", "123", 1},
         head + "fractional minutes of latitude."},
        {{"90", "00", "000", 1}, {"180", "0", "0", 1}, ""},
        {{"90", "00", "001", 0},
         {"180", "01", "0", 0},
         head + "degrees of latitude,\r\ndegrees of longitude."},
        {{"0000045", "059", "9", 0},
         {"99999999999999999999", "0", "0", 1},
         head + "degrees of longitude."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        PositForm form;
        form.latitude = c.latitude;
        form.longitude = c.longitude;
        EXPECT_EQ(PositFormErrors(form), c.message);
        CStationSettings s;
        s.Lat = 123;
        EXPECT_EQ(StorePositForm(form, s), c.message.empty());
        if (!c.message.empty()) {
            EXPECT_EQ(s.Lat, 123);
        }
    }
    // Fractions are cut or padded to three digits: 33 51.900 S, 122 20.123 W.
    PositForm form;
    form.latitude = {"33", "51", "9", 1};
    form.longitude = {"122", "20", "12345", 1};
    CStationSettings s;
    ASSERT_TRUE(StorePositForm(form, s));
    EXPECT_EQ(s.Lat, 32400000 + 33 * 360000 + 51900 * 6);
    EXPECT_EQ(s.Lon, 20759262);
}

TEST(PositPage, RateListSelectionAndWhatOkStores) {
    struct Case {
        float stored;
        int index;
    } cases[] = {
        {0.25f, 0},  {0.99f, 0}, {1.0f, 1},  {5.9f, 4},
        {30.5f, -1}, {7.0f, -1}, {0.0f, -1}, {std::numeric_limits<float>::quiet_NaN(), -1},
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
    EXPECT_FALSE(s.HasInitPosit);
}

// A typed position on the equator shows its digits; only 0 N 0 E (nothing typed yet) shows
// empty fields.
TEST(PositPage, EquatorPositionShowsItsDigits) {
    CStationSettings s;
    s.Lat = kEquatorColatitude;
    s.Lon = 38869500;  // 72 01.75 W
    PositForm form = PositFormFrom(s);
    EXPECT_EQ(form.latitude.degrees + " " + form.latitude.minutes + "." + form.latitude.fraction,
              "0 00.000");
    EXPECT_EQ(form.longitude.degrees + " " + form.longitude.minutes, "72 01");
    s.Lon = kGreenwichLongitude;
    form = PositFormFrom(s);
    EXPECT_EQ(form.latitude.degrees + form.longitude.degrees, "");
}

}  // namespace
}  // namespace plovane
