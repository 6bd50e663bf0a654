// A packet's station updates are applied together: one announcement per call, the order of
// records as the updates came, and the sentence parser sees what came before it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decoder_fixture.h"

namespace plovane::testing {
namespace {

using Calls = std::vector<std::string>;

TEST_F(DecoderTest, EachPacketAnnouncesEveryCallItTouchesOnce) {
    Decode("K1ABC-9>APRS,WIDE1-1:!4903.50N/07201.75W>");  // known from now on
    Decode("K1OWN>APRS:>hello");
    struct Case {
        const char* line;
        Calls changed;
    } cases[] = {
        // symbol, PHG, device and path, position: four updates of one record
        {"K1ABC-9>APRS,WIDE1-1:!4903.50N/07201.75W#PHG5132/home", {"K1ABC-9"}},
        // Mic-E: position, device and path, course and speed
        {"K1ABC-9>S32U6T,WIDE1-1:`(_fn\"Oj/]", {"K1ABC-9"}},
        // an object and its (known) owner: the owner's implied symbol is no change
        {"K1OWN>APRS:;LEADER   *092345z4903.50N/07201.75W>", {"LEADER"}},
        // a new owner is announced, before its object
        {"K1NEW-9>APRS:;LEADER   _092345z4903.50N/07201.75W>", {"K1NEW-9", "LEADER"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        host.Clear();
        Decode(c.line);
        EXPECT_EQ(host.stationChanges(), c.changed);
    }
}

// Lines are checked for other white space a word at a time: wherever one stands (here in a
// status text, at every place of a word and in the short tail), it becomes a blank, and
// Latin-1 letters beside it stay.
TEST_F(DecoderTest, OtherBlanksBecomeBlanksWhereverTheyStand) {
    const std::string head = "K1ABC>APRS:>";
    for (const char blank : {'\t', '\v', '\r'}) {
        for (size_t length = 1; length <= 20; ++length) {
            for (size_t at = 0; at + 1 < length; ++at) {
                std::string text(length, 'x');
                text[at] = blank;
                text[length - 1] = '\xE9';
                SCOPED_TRACE(std::to_string(static_cast<unsigned char>(blank)) + " at " +
                             std::to_string(at) + " of " + std::to_string(length));
                Decode(head + text);
                std::string expected = text;  // the status text, without its ">"
                expected[at] = ' ';
                ASSERT_EQ(Station("K1ABC").lastInfo, expected);
            }
        }
    }
    // 0x85 and 0xA0 are no blanks: they end UTF-8 letters ("Р" is D0 A0, "Ņ" C5 85).
    Decode(head + "\xD0\xA0\xC5\x85 \xD0\xA0");
    EXPECT_EQ(Station("K1ABC").lastInfo, "\xD0\xA0\xC5\x85 \xD0\xA0");
}

// The inner packet of a relayed packet is decoded after the outer header has given the
// relaying station its implied symbol: the relaying station's record is the older one.
TEST_F(DecoderTest, RelayedPacketKeepsTheOrderOfItsUpdates) {
    Decode("K1OUT-9>APRS,WIDE1-1:}K1IN-9>APRS,TCPIP,K1OUT-9*:!4903.50N/07201.75W-");
    std::vector<std::string> calls;
    for (const CStation& s : stations.Snapshot())
        calls.push_back(s.call);
    EXPECT_EQ(calls, (Calls{kOwnCall, "K1IN-9", "K1OUT-9"}));
    EXPECT_EQ(SymbolOf(Station("K1OUT-9")), "/>");
}

TEST_F(DecoderTest, SentenceParserSeesTheUpdatesBeforeIt) {
    // The sentence parser looks the sender up when its sentence arrives.
    std::string destinationSeen;
    targets.sentences = [&](std::string_view source, std::string_view, std::string_view,
                            std::string_view) {
        const auto found = stations.FindStation(source);
        destinationSeen = found ? found->destination : "<none>";
    };
    Decode("K1GPS>GPSLV:$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A");
    EXPECT_EQ(destinationSeen, "GPSLV");
}

}  // namespace
}  // namespace plovane::testing
