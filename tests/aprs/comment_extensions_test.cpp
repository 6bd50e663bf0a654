// DAO precision, comment and "T#" telemetry, telemetry definitions and Mic-E texts, checked
// on the records the decoder's reports leave.
#include <gtest/gtest.h>

#include <cmath>

#include "decoder_fixture.h"

namespace plovane::testing {
namespace {

// Bits of a telemetry report as sent: channel 1 first.
std::string BitsText(const TelemetryValues& v) {
    std::string bits;
    for (int i = 0; i < 8; ++i)
        bits += (v.bits >> i & 1) != 0 ? '1' : '0';
    return bits;
}

TEST_F(DecoderTest, DaoRefinesThePositionAndLeavesTheComment) {
    struct Case {
        const char* information;
        int32_t colatitudeShift;  // angle units against the plain DDMM.mm position
        int32_t longitudeShift;
        const char* comment;
    } cases[] = {
        // "!W12!": 0.001' (6 units) north, 0.002' west.
        {"!4903.50N/07201.75W>Hi!W12!", -6, -12, "Hi"},
        {"!4903.50S/07201.75E>!W12! there", 6, 12, " there"},
        {"!4903.50N/07201.75W>a!W9 !b", -54, 0, "ab"},
        // Base-91 "!w..!": 0..90 over one hundredth of a minute (60 units).
        {"!4903.50N/07201.75W>!w{{!", -59, -59, ""},
        {"!4903.50N/07201.75W>!w!!!", 0, 0, ""},
        // Not DAO: a digit datum, a bad digit, an ambiguous position.
        {"!4903.50N/07201.75W>!112!", 0, 0, "!112!"},
        {"!4903.50N/07201.75W>!WA2!", 0, 0, "!WA2!"},
        {"!4903.5 N/07201.7 W>!W99!", 0, 0, ""},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.information);
        const std::string call = "D" + std::to_string(++n);
        Decode(call + ">APRS:" + c.information);
        const CStation s = Station(call);
        const std::string text(c.information);
        const TrackPoint plain = PositionOf(text.substr(1, 8), text.substr(10, 9));
        EXPECT_EQ(s.position.colatitude - plain.colatitude, c.colatitudeShift);
        EXPECT_EQ(s.position.longitude - plain.longitude, c.longitudeShift);
        EXPECT_EQ(s.comment, c.comment);
    }
}

TEST_F(DecoderTest, TelemetryFromReportsAndComments) {
    struct Case {
        const char* line;
        int sequence;
        std::vector<std::optional<double>> values;
        const char* bits;  // "" when not sent
        const char* comment;
    } cases[] = {
        {"T1>APRS:T#324,000,038,255,.12,50.12,01000001",
         324,
         {0, 38, 255, 0.12, 50.12},
         "01000001",
         nullptr},
        {"T2>APRS:T#1,1,,3,,5", 1, {1, {}, 3, {}, 5}, "", nullptr},
        {"T3>APRS:T#MIC,1,f,3", -1, {1, {}, {}, {}, {}}, "", nullptr},
        {"T4>APRS:T#005,199,000,255,073,123,01101001Hello",
         5,
         {199, 0, 255, 73, 123},
         "01101001",
         nullptr},
        // Base-91 in a comment: sequence, channels, bits; taken out of the comment.
        {"T5>APRS:!4903.50N/07201.75W-Hello|#b!-1Z%A!\"|",
         247,
         {12, 1513, 396, 1, {}},
         "",
         "Hello"},
        {"T6>APRS:!4903.50N/07201.75W- c |!!!!!!!!!!!!!!| d",
         0,
         {0, 0, 0, 0, 0},
         "00000000",
         " c  d"},
        // Telemetry before DAO: "!wEU!" here is telemetry, not a DAO extension.
        {"T7>APRS:!4903.50N/07201.75W- x |!wEU!![S|", 86, {3328, 0, 5328, {}, {}}, "", " x "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Decode(c.line);
        const std::string line(c.line);
        const CStation s = Station(line.substr(0, 2));
        ASSERT_TRUE(s.telemetry && s.telemetry->hasValues);
        const TelemetryValues& v = s.telemetry->values;
        EXPECT_EQ(v.sequence, c.sequence);
        for (size_t i = 0; i < 5; ++i) {
            SCOPED_TRACE(i);
            const bool present = (v.analogPresent >> i & 1) != 0;
            ASSERT_EQ(present, c.values[i].has_value());
            if (present) {
                EXPECT_DOUBLE_EQ(v.analog[i], *c.values[i]);
            }
        }
        EXPECT_EQ(v.bits >= 0 ? BitsText(v) : "", c.bits);
        if (c.comment != nullptr) {
            EXPECT_EQ(s.comment, c.comment);
        }
    }
}

TEST_F(DecoderTest, TelemetryDefinitionsNameScaleAndLabelTheValues) {
    Decode("N0QBF>APRS::N0QBF    :PARM.Battery,Btemp,,,,Camera");
    Decode("N0QBF>APRS::N0QBF    :UNIT.v/100,deg.F");
    Decode("N0QBF>APRS::N0QBF    :EQNS.0,5.2,0,1,.53,-32,x,2,3");
    Decode("N0QBF>APRS::N0QBF    :BITS.10110000,Big Balloon");
    Decode("N0QBF>APRS::OTHER    :PARM.Not,Mine");  // only definitions sent to oneself count
    Decode("N0QBF>APRS:T#001,10,2,3,4,5,10100000");
    const CStation station = Station("N0QBF");
    ASSERT_TRUE(station.telemetry);
    const CTelemetry& t = *station.telemetry;
    EXPECT_EQ(t.names[0], "Battery");
    EXPECT_EQ(t.names[5], "Camera");
    EXPECT_EQ(t.units[1], "deg.F");
    EXPECT_DOUBLE_EQ(t.Scaled(0), 52.0);               // 0 x^2 + 5.2 x + 0
    EXPECT_DOUBLE_EQ(t.Scaled(1), 4 + 0.53 * 2 - 32);  // 1 x^2 + .53 x - 32
    EXPECT_DOUBLE_EQ(t.Scaled(2), 0 * 9 + 2 * 3 + 3);  // "x" keeps a = 0
    EXPECT_DOUBLE_EQ(t.Scaled(3), 4.0);                // undefined: identity
    EXPECT_EQ(t.project, "Big Balloon");
    // Bits 1 0 1 0 0 0 0 0 against senses 1 0 1 1 0 0 0 0.
    const bool on[8] = {true, true, true, false, true, true, true, true};
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(t.BitOn(i), on[i]) << i;
}

TEST_F(DecoderTest, MicETextLosesTypeBytesAltitudeAndMakerSuffix) {
    struct Case {
        const char* information;
        const char* comment;
        int32_t altitudeDm;
    } cases[] = {
        {"`c51!f?>/]\"3x}=", "", 60},
        {"`(_f \"Oj/]Greetings via ISS=", "Greetings via ISS", -1},
        {"`*\\Fl\"Bk/]\"?l}Test Mic-E packet", "Test Mic-E packet", 10860},
        {"`@CioI}u/`\"4T}LPG Tanker_\"", "LPG Tanker", 610},
        {"`(_f \"Oj/>abc^", "abc", -1},
        {"'(_f \"Oj/'TT3|3", "TT3", -1},
        // The altitude may stand a little into the text.
        {"`(_f \"Oj/Ab\"4T}rest", "Abrest", 610},
        {"`(_f \"Oj/plain text", "plain text", -1},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.information);
        const std::string call = "E" + std::to_string(++n);
        Decode(call + ">S32U6T:" + c.information);
        const CStation s = Station(call);
        EXPECT_EQ(s.comment, c.comment);
        EXPECT_EQ(s.position.altitude, c.altitudeDm);
        EXPECT_EQ(s.micEMessage, "Returning");
    }
}

}  // namespace
}  // namespace plovane::testing
