// SPDX-License-Identifier: GPL-3.0-or-later
// Beyond a packet's records: shown lines, relay depth, telemetry definitions, built texts.
#include <string>
#include <vector>

#include "decoder_fixture.h"

namespace plovane::testing {
namespace {

using Texts = std::vector<std::string>;

TEST(DecoderNotices, EveryNonBlankLineIsShownOnceWithItsTag) {
    const std::string own = "N0OWN>APRS,WIDE1-1*:!4903.50N/07201.75W-back\r\n";
    struct Case {
        std::string line;
        Texts notices;
    } cases[] = {
        {" \t\r\n", {}},
        {"N0CALL>APRS:>hello \r\n", {"NET>N0CALL>APRS:>hello"}},
        {"N0CALL-1>APRS,WIDE2-1*:}N0CALL>APRS,TCPIP*:>ok",
         {"NET>N0CALL-1>APRS,WIDE2-1*:}N0CALL>APRS,TCPIP*:>ok", "NET>N0CALL>APRS,TCPIP*:>ok"}},
        {own, {"NET>N0OWN>APRS,WIDE1-1*:!4903.50N/07201.75W-back", "My Packet:" + own}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Rig rig;
        const std::string ownBefore = Describe(rig.Station(kOwnCall));
        rig.Decode(c.line, "NET>");
        EXPECT_EQ(rig.host.notices(), c.notices);
        EXPECT_EQ(Describe(rig.Station(kOwnCall)), ownBefore);
    }
}

std::string Nested(int levels, const std::string& innermost) {
    std::string line;
    for (int i = 0; i < levels; ++i)
        line += "R" + std::to_string(i % 10) + ">APRS:}";
    return line + innermost;
}

TEST_F(DecoderTest, RelayNestingIsBounded) {
    Decode(Nested(DecodedPacket::kMaxRelayDepth, "DEEP1>APRS:>reached"));
    EXPECT_EQ(Station("DEEP1").lastInfo, "reached");
    Decode(Nested(DecodedPacket::kMaxRelayDepth + 1, "DEEP2>APRS:>too deep"));
    EXPECT_FALSE(stations.Contains("DEEP2"));
    // Thousands of levels neither exhaust the stack nor take long.
    host.Clear();
    Decode(Nested(20000, "DEEP3>APRS:>x"));
    EXPECT_FALSE(stations.Contains("DEEP3"));
    EXPECT_EQ(host.notices().size(), static_cast<size_t>(DecodedPacket::kMaxRelayDepth) + 1);
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
    EXPECT_EQ(t.names[0] + t.names[1] + t.names[5], "BatteryBtempCamera");
    EXPECT_EQ(t.units[1], "deg.F");
    EXPECT_DOUBLE_EQ(t.Scaled(0), 52.0);               // 0 x^2 + 5.2 x + 0
    EXPECT_DOUBLE_EQ(t.Scaled(1), 4 + 0.53 * 2 - 32);  // 1 x^2 + .53 x - 32
    EXPECT_DOUBLE_EQ(t.Scaled(2), 0 * 9 + 2 * 3 + 3);  // "x" keeps a = 0
    EXPECT_DOUBLE_EQ(t.Scaled(3), 4.0);                // undefined: identity
    EXPECT_EQ(t.project, "Big Balloon");
    // Bits 1 0 1 0 0 0 0 0 against senses 1 0 1 1 0 0 0 0: all on but the fourth.
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(t.BitOn(i), i != 3) << i;
}

// Built texts live in the packet (short) or on the heap (long): both must reach the store whole.
TEST_F(DecoderTest, BuiltTextsReachTheStoreWholeWhateverTheirLength) {
    const std::string longText(600, 'x');
    struct Case {
        const char* name;
        std::string line;
        std::string call;
        std::string comment;
        std::string path;
    };
    const Case cases[] = {
        {"tab in a long line", "W1AA>APRS,WIDE1-1:!4903.50N/07201.75W-a\tb" + longText, "W1AA",
         "a b" + longText, "WIDE1-1"},
        {"telemetry cut from a long comment",
         "W1AB>APRS:!4903.50N/07201.75W-" + longText + "|!!!!|" + longText, "W1AB",
         longText + longText, ""},
        {"relayed with a long inner path",
         "W1AD>APRS,WIDE2-1:}W1AE>APRS," + std::string(300, 'D') + "," + std::string(300, 'E') +
             ":!4903.50N/07201.75W-hi",
         "W1AE", "hi", std::string(300, 'D') + "," + std::string(300, 'E') + ",W1AD,WIDE2-1*"},
        {"digipeaters written with arrows", "W1AF>DIGI1>DIGI2>APRS:!4903.50N/07201.75W-hi", "W1AF",
         "hi", "DIGI1,DIGI2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Decode(c.line);
        const CStation station = Station(c.call);
        EXPECT_EQ(station.comment, c.comment);
        EXPECT_EQ(station.path, c.path);
        EXPECT_TRUE(station.hasPosition);
    }
}

}  // namespace
}  // namespace plovane::testing
