// Texts the decoder builds (a cleaned line, a relayed path, a comment with an extension cut
// out) live in the decoded packet: short ones in its own room, long ones on the heap. Both
// must reach the store whole, however many a line builds.
#include <string>

#include "decoder_fixture.h"

namespace plovane::testing {
namespace {

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
