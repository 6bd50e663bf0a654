// Header parsing, own packets, implied symbols, dispatch, objects, items, relayed packets
// and the line intake, checked through the station records the decoder leaves.
#include <string>
#include <thread>
#include <vector>

#include "decoder_fixture.h"

namespace plovane::testing {
namespace {

TEST_F(DecoderTest, HeaderFormsGiveSourceDestinationPathAndText) {
    struct Case {
        const char* line;
        const char* call;
        const char* destination;
        const char* path;
        const char* lastInfo;
    };
    const Case cases[] = {
        {"N0CALL-9>APRS,WIDE1-1,WIDE2-2*:>hi", "N0CALL-9", "APRS", "WIDE1-1,WIDE2-2*", "hi"},
        {"N0CALL>WIDE>APRS:>hi", "N0CALL", "APRS", "WIDE", "hi"},
        {"N1CALL>DIGI1>DIGI2>APRS:>hi", "N1CALL", "APRS", "DIGI1,DIGI2", "hi"},
        {"N2CALL/P>APRS:>x", "N2CALL", "APRS", "", "x"},
        // A frame-type marker between header and ":" is not decoded; it becomes the text.
        {"N3CALL>APRS,WIDE1-1 [UI]:>x", "N3CALL", "APRS", "WIDE1-1", " [UI]:>x"},
        {"N4CALL>APRS", "N4CALL", "APRS", "", ""},
        {"N5CALL>APRS:", "N5CALL", "APRS", "", ""},
        // Tabs and other blanks inside become spaces, line ends are trimmed.
        {"  N6CALL>APRS:>a\tb\x0b"
         "c\r\n",
         "N6CALL", "APRS", "", "a b c"},
        // Latin-1 letters are call characters.
        {"\xC4\xD6\xDC>APRS:>x", "\xC4\xD6\xDC", "APRS", "", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Decode(c.line);
        const CStation s = Station(c.call);
        EXPECT_EQ(s.destination, c.destination);
        EXPECT_EQ(s.path, c.path);
        EXPECT_EQ(s.lastInfo, c.lastInfo);
    }
}

TEST_F(DecoderTest, LinesWithoutSourceHeaderAreShownAndDropped) {
    const size_t before = stations.Count();
    for (const char* line : {"cmd:", "N0CALL APRS:>x", "N0CALL", ">APRS:>x", "N0_CALL>APRS:>x"}) {
        Decode(line);
    }
    EXPECT_EQ(stations.Count(), before);
    EXPECT_EQ(host.notices(),
              (std::vector<std::string>{"TNC>cmd:", "TNC>N0CALL APRS:>x", "TNC>N0CALL",
                                        "TNC>>APRS:>x", "TNC>N0_CALL>APRS:>x"}));
}

TEST_F(DecoderTest, EveryNonBlankLineIsShownOnceWithItsTag) {
    Decode(" \t\r\n", "NET>");
    Decode("N0CALL>APRS:>hello \r\n", "NET>");
    Decode("N0CALL>APRS:[JO22ab", "FILE>");
    EXPECT_EQ(host.notices(),
              (std::vector<std::string>{"NET>N0CALL>APRS:>hello", "FILE>N0CALL>APRS:[JO22ab"}));
}

TEST_F(DecoderTest, OwnPacketsOnlySetDigipeatHeard) {
    const CStation ownBefore = Station(kOwnCall);
    const std::string raw = "N0OWN>APRS,WIDE1-1*:!4903.50N/07201.75W-back\r\n";
    Decode(raw);
    EXPECT_EQ(transmit.digipeatHeard, 1);
    EXPECT_EQ(host.notices(),
              (std::vector<std::string>{"TNC>N0OWN>APRS,WIDE1-1*:!4903.50N/07201.75W-back",
                                        "My Packet:" + raw}));
    const CStation own = Station(kOwnCall);
    EXPECT_EQ(own.hasPosition, ownBefore.hasPosition);
    EXPECT_EQ(own.path, ownBefore.path);
    EXPECT_EQ(own.comment, ownBefore.comment);

    // A call that differs only in case, or by SSID, is somebody else.
    Decode("n0own>APRS:>x");
    Decode("N0OWN-1>APRS:>x");
    EXPECT_EQ(transmit.digipeatHeard, 1);
    EXPECT_TRUE(stations.Contains("n0own"));
    EXPECT_TRUE(stations.Contains("N0OWN-1"));
}

TEST_F(DecoderTest, ImpliedSymbolsFromDestinationOrSsid) {
    struct Case {
        const char* source;
        const char* destination;
        const char* symbol;  // "" for none
    };
    const Case cases[] = {
        {"A1", "GPSC12", "/,"},   // numbered, primary table
        {"A2", "GPSE01", "\\!"},  // numbered, alternate table
        {"A3", "gpsc12", "/,"},   // compared in upper case
        {"A4", "GPSCA2", ""},     // no such number
        {"A5", "GPSC95", ""},
        {"A6", "SYMOB", "\\!"},  // two-character code, alternate table
        {"A7", "GPSOBA", "A!"},  // with overlay
        {"A8", "SPCOB1", "1!"},
        {"A9", "GPSLA", "/a"},  // primary table: no overlay taken
        {"B1", "GPSLAX", "/a"},
        {"B2", "GPSJ3", "/}"},
        {"B3", "GPSJ2", ""},  // "|" has no symbol
        {"B4", "GPSQ4", ""},  // nor "~"
        {"B5", "GPSQ3", "\\}"},
        {"B6-9", "GPSXX", ""},  // a symbol destination never falls back
                                // to the SSID
        {"B7-9", "GPS", "/>"},  // too short to name a symbol: the SSID counts
        {"B8-9", "APRS", "/>"},
        {"B9-0", "APRS", ""},
        {"C1-15", "APRS", "/v"},
        {"C2-16", "APRS", ""},
        {"C3-7", "APRS", "/'"},
        {"C4-99999999999999999999", "APRS", ""},
        {"C5-1-2", "APRS", "/U"},  // the last "-" counts
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.source) + ">" + c.destination);
        Decode(std::string(c.source) + ">" + c.destination + ":>status");
        EXPECT_EQ(SymbolOf(Station(c.source)), c.symbol);
    }
}

TEST_F(DecoderTest, ImpliedSymbolNeverReplacesAReportedOne) {
    Decode("N0CALL-9>APRS:!4903.50N/07201.75W-");
    EXPECT_EQ(SymbolOf(Station("N0CALL-9")), "/-");
    Decode("N0CALL-9>GPSC12:>status");
    EXPECT_EQ(SymbolOf(Station("N0CALL-9")), "/-");
    // A position report replaces an implied symbol.
    Decode("N1CALL-9>APRS:>status");
    EXPECT_EQ(SymbolOf(Station("N1CALL-9")), "/>");
    Decode("N1CALL-9>APRS:!4903.50N/07201.75W-");
    EXPECT_EQ(SymbolOf(Station("N1CALL-9")), "/-");
}

TEST_F(DecoderTest, ObjectsLiveAndKilled) {
    Decode("N0CALL>APRS:;LEADER   *092345z4903.50N/07201.75W>Live");
    CStation leader = Station("LEADER");
    EXPECT_TRUE(leader.hasPosition);
    EXPECT_EQ(leader.position, PositionOf("4903.50N", "07201.75W"));
    EXPECT_TRUE(leader.hasReportTime);
    EXPECT_EQ(leader.owner, "N0CALL");
    EXPECT_TRUE(leader.hasOwner);
    EXPECT_FALSE(leader.killed);
    EXPECT_EQ(leader.comment, "Live");

    Decode("N0CALL>APRS:;LEADER   _092345z4903.50N/07201.75W>");
    leader = Station("LEADER");
    EXPECT_TRUE(leader.killed);
    EXPECT_EQ(leader.owner, "N0CALL");

    // Name trimmed at both ends; without the flag at position 10 the packet is dropped.
    Decode("N0CALL>APRS:; OBJ 2   *092345z4903.50N/07201.75W>");
    EXPECT_TRUE(Station("OBJ 2").hasPosition);
    const size_t before = stations.Count();
    Decode("N0CALL>APRS:;SHORT*4903.50N/07201.75W>");
    Decode("N0CALL>APRS:;NOFLAG   x4903.50N/07201.75W>");
    Decode("N0CALL>APRS:;NOFLAG   ");
    EXPECT_EQ(stations.Count(), before);
}

TEST_F(DecoderTest, ItemsLiveAndKilled) {
    struct Case {
        const char* information;
        const char* name;  // "" when nothing is stored
        bool killed;
    };
    const Case cases[] = {
        {")AID #2!4903.50N/07201.75WA", "AID #2", false},
        {")OH8!4903.50N/07201.75WA", "OH8", false},
        {")ITEMNAME9!4903.50N/07201.75WA", "ITEMNAME9", false},
        // Items carry no time stamp: a killed item keeps its position.
        {")GONE_4903.50N/07201.75WA", "GONE", true},
        {")A_B!4903.50N/07201.75WA", "A_B", false},  // a "!" anywhere wins over "_"
        {")TOOLONGNAME!4903.50N/07201.75WA", "", false},
        {")ITEM 4903.50N/07201.75WA", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.information);
        const size_t before = stations.Count();
        Decode(std::string("N0CALL>APRS:") + c.information);
        if (*c.name == '\0') {
            EXPECT_EQ(stations.Count(), before);
            continue;
        }
        const CStation item = Station(c.name);
        EXPECT_EQ(item.owner, "N0CALL");
        EXPECT_EQ(item.killed, c.killed);
        EXPECT_EQ(item.position, PositionOf("4903.50N", "07201.75W"));
        EXPECT_EQ(SymbolOf(item), "/A");
    }
    // An empty name stores nothing, not even for the sender.
    const size_t before = stations.Count();
    Decode("N9CALL>APRS:)!4903.50N/07201.75WA");
    EXPECT_EQ(stations.Count(), before);
}

TEST_F(DecoderTest, RelayedPacketContinuesTheOuterPath) {
    Decode("N0CALL-1>APRS,WIDE2-1*:}N0CALL>APRS,TCPIP*:>ok");
    const CStation inner = Station("N0CALL");
    EXPECT_EQ(inner.path, "TCPIP,N0CALL-1,WIDE2-1*");
    EXPECT_EQ(inner.lastInfo, "ok");
    EXPECT_EQ(host.notices(),
              (std::vector<std::string>{"TNC>N0CALL-1>APRS,WIDE2-1*:}N0CALL>APRS,TCPIP*:>ok",
                                        "TNC>N0CALL>APRS,TCPIP*:>ok"}));

    Decode("N1CALL>APRS:}N2CALL>APRS:>x");
    EXPECT_EQ(Station("N2CALL").path, "N1CALL*");
    Decode("N1CALL>APRS,WIDE1*,WIDE2:}N3CALL>APRS,DIGI*,X:>x");
    EXPECT_EQ(Station("N3CALL").path, "DIGI,N1CALL,WIDE1*");
}

TEST_F(DecoderTest, RelayedOwnPacketCountsAsHeard) {
    Decode("N0CALL-1>APRS:}N0OWN>APRS,TCPIP*:>mine");
    EXPECT_EQ(transmit.digipeatHeard, 1);
    EXPECT_EQ(host.notices().back(), "My Packet:N0OWN>APRS,TCPIP*:>mine");
}

std::string Nested(int levels, const std::string& innermost) {
    std::string line;
    for (int i = 0; i < levels; ++i)
        line += "R" + std::to_string(i) + ">APRS:}";
    return line + innermost;
}

TEST_F(DecoderTest, RelayNestingIsBounded) {
    Decode(Nested(DecodedPacket::kMaxRelayDepth, "DEEP1>APRS:>reached"));
    EXPECT_EQ(Station("DEEP1").lastInfo, "reached");
    Decode(Nested(DecodedPacket::kMaxRelayDepth + 1, "DEEP2>APRS:>too deep"));
    EXPECT_FALSE(stations.Contains("DEEP2"));

    // Thousands of levels neither exhaust the stack nor take long.
    host.Clear();
    std::string line;
    for (int i = 0; i < 20000; ++i)
        line += "N0CALL>APRS:}";
    Decode(line + "DEEP3>APRS:>x");
    EXPECT_FALSE(stations.Contains("DEEP3"));
    EXPECT_EQ(host.notices().size(), static_cast<size_t>(DecodedPacket::kMaxRelayDepth) + 1);
}

TEST_F(DecoderTest, OtherTypesFallBackToObjectPositionOrText) {
    Decode("N0CALL>APRS:<IGATE,MSG_CNT=0");
    EXPECT_EQ(Station("N0CALL").lastInfo, "<IGATE,MSG_CNT=0");
    Decode("N1CALL>APRS:T#005,199,000,255,073,123,01101001");
    EXPECT_EQ(Station("N1CALL").lastInfo, "T#005,199,000,255,073,123,01101001");

    // An object without the ";": name in 0..8, "*" at 9.
    Decode("N2CALL>APRS:%NOPREFIX*092345z4903.50N/07201.75W>");
    const CStation object = Station("%NOPREFIX");
    EXPECT_EQ(object.position, PositionOf("4903.50N", "07201.75W"));
    EXPECT_EQ(object.owner, "N2CALL");

    // A position after leading text, at the first "!".
    Decode("N3CALL>APRS:Xjunk!4903.50N/07201.75W-found");
    const CStation found = Station("N3CALL");
    EXPECT_EQ(found.position, PositionOf("4903.50N", "07201.75W"));
    EXPECT_EQ(found.comment, "found");
}

TEST_F(DecoderTest, DroppedTypesStoreNothing) {
    const size_t before = stations.Count();
    Decode("N0CALL>APRS:[JO22ab");
    Decode("N0CALL>APRS:,test");
    EXPECT_EQ(stations.Count(), before);
    EXPECT_EQ(host.notices().size(), 2u);
}

TEST_F(DecoderTest, MessagesAndQueriesGoToTheMessageStore) {
    using M = RecordingMessages::Message;
    const char* lines[] = {
        "N0CALL>APRS::N0CALL-5 :Hello{12",
        "N0CALL>APRS::BLN1     :Net tonight",
        "N0CALL>APRS::N1CALL   :ack12",
        "N0CALL>APRS::N2CALL   :",
        "N0CALL>APRS::N0CALL:Hi",  // addressee not padded: dropped
        "N0CALL>APRS::SHORT",      // dropped
        "N1CALL>APRS:?APRS?",
        "N1CALL>APRS:?aprs? extra",
        "N1CALL>APRS:?WX?",             // dropped
        "N1CALL>APRS:?APRS",            // dropped
        "N1CALL>APRS:?IGATE?   :text",  // a query in the message layout
    };
    for (const char* line : lines)
        Decode(line);
    EXPECT_EQ(messages.received, (std::vector<M>{
                                     {"N0CALL", "N0CALL-5", "Hello{12"},
                                     {"N0CALL", "BLN1", "Net tonight"},
                                     {"N0CALL", "N1CALL", "ack12"},
                                     {"N0CALL", "N2CALL", ""},
                                     {"N1CALL", "", "?APRS?"},
                                     {"N1CALL", "", "?aprs?"},
                                     {"N1CALL", "IGATE?", "text"},
                                 }));
    // Messages leave the station record alone.
    EXPECT_FALSE(stations.Contains("N0CALL"));
}

TEST_F(DecoderTest, NmeaSentences) {
    using S = RecordingGps::Sentence;
    const std::string sentence = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,,*47";
    // A bare sentence in the TNC's stream is shown but is no packet: the TNC port, not the
    // intake, hands it to the GPS receiver.
    Decode(sentence + "\r");
    EXPECT_TRUE(gps.sentences.empty());
    EXPECT_EQ(host.notices(), (std::vector<std::string>{"TNC>" + sentence}));
    EXPECT_EQ(stations.Snapshot().size(), 1u);  // the own record only

    // A packet carrying a sentence updates the sender, whatever the GPS settings.
    Decode("N0CALL>APRS,WIDE:" + sentence);
    EXPECT_EQ(gps.sentences, (std::vector<S>{{"N0CALL", "APRS", "WIDE", sentence}}));
    EXPECT_EQ(Station("N0CALL").destination, "APRS");
}

}  // namespace
}  // namespace plovane::testing
