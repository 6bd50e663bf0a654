// What the decoder does beyond a packet's records: the lines it shows, own packets, relay
// depth, change announcements, blanks, the sentence hand-over, telemetry definitions and
// dates that depend on the clock.
#include <string>
#include <vector>

#include "decoder_fixture.h"

namespace plovane::testing {
namespace {

using Texts = std::vector<std::string>;

TEST(DecoderNotices, EveryNonBlankLineIsShownOnceWithItsTag) {
    const std::string gga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,,*47";
    const std::string own = "N0OWN>APRS,WIDE1-1*:!4903.50N/07201.75W-back\r\n";
    struct Case {
        std::string line;
        Texts notices;
    } cases[] = {
        {" \t\r\n", {}},
        {"N0CALL>APRS:>hello \r\n", {"NET>N0CALL>APRS:>hello"}},
        {"N0_CALL>APRS:>x", {"NET>N0_CALL>APRS:>x"}},
        {gga + "\r", {"NET>" + gga}},
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

TEST_F(DecoderTest, EachPacketAnnouncesEveryCallItTouchesOnce) {
    Decode("K1ABC-9>APRS,WIDE1-1:!4903.50N/07201.75W>");
    Decode("K1OWN>APRS:>hello");
    struct Case {
        const char* line;
        Texts changed;
    } cases[] = {
        // symbol, PHG, device and path, position: four updates of one record
        {"K1ABC-9>APRS,WIDE1-1:!4903.50N/07201.75W#PHG5132/home", {"K1ABC-9"}},
        {"K1ABC-9>S32U6T,WIDE1-1:`(_fn\"Oj/]", {"K1ABC-9"}},
        // a known owner's implied symbol is no change; a new owner comes before its object
        {"K1OWN>APRS:;LEADER   *092345z4903.50N/07201.75W>", {"LEADER"}},
        {"K1NEW-9>APRS:;LEADER   _092345z4903.50N/07201.75W>", {"K1NEW-9", "LEADER"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        host.Clear();
        Decode(c.line);
        EXPECT_EQ(host.stationChanges(), c.changed);
    }
}

// Lines are checked for other white space a word at a time: wherever one stands, in a word or
// in the short tail, it becomes a blank, and Latin-1 letters beside it stay.
TEST_F(DecoderTest, OtherBlanksBecomeBlanksWhereverTheyStand) {
    for (const char blank : {'\t', '\v', '\r'}) {
        for (size_t length = 2; length <= 20; ++length) {
            for (size_t at = 0; at + 1 < length; ++at) {
                std::string text(length, 'x');
                text[at] = blank;
                text[length - 1] = '\xE9';
                SCOPED_TRACE(Escape(text));
                Decode("K1ABC>APRS:>" + text);
                text[at] = ' ';
                ASSERT_EQ(Station("K1ABC").lastInfo, text);
            }
        }
    }
    // 0x85 and 0xA0 are no blanks: they end UTF-8 letters ("Р" is D0 A0, "Ņ" C5 85).
    Decode("K1ABC>APRS:>\xD0\xA0\xC5\x85 \xD0\xA0");
    EXPECT_EQ(Station("K1ABC").lastInfo, "\xD0\xA0\xC5\x85 \xD0\xA0");
}

TEST_F(DecoderTest, SentenceParserSeesTheUpdatesBeforeIt) {
    std::string destinationSeen;
    targets.sentences = [&](std::string_view source, auto, auto, auto) {
        const auto found = stations.FindStation(source);
        destinationSeen = found ? found->destination : "<none>";
    };
    Decode("K1GPS>GPSLV:$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A");
    EXPECT_EQ(destinationSeen, "GPSLV");
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

TEST_F(DecoderTest, UltimeterDatesUseTheClocksYear) {
    // Day 60 is 29 February in a leap year and 1 March otherwise.
    for (const int year : {2024, 2025}) {
        clock.Set(CDateTime(year, 6, 1, 12, 0, 0));
        Decode("U1>APRS:$ULTW000000000300000027A60000000000000258003C0000");
        const CDateTime& t = Station("U1").weather.reportTime;
        EXPECT_EQ(t, CDateTime(year, year == 2024 ? 2 : 3, year == 2024 ? 29 : 1, 0, 0, 0));
    }
}

}  // namespace
}  // namespace plovane::testing
