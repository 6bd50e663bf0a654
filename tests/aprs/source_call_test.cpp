// The source call of a header: a portable suffix after "/" is no part of it, and only the
// "-" of the call itself leads to an SSID symbol.
#include <string>

#include "decoder_fixture.h"

namespace plovane::testing {
namespace {

TEST_F(DecoderTest, PortableSuffixAndSsidOfTheSourceCall) {
    struct Case {
        const char* source;
        const char* call;    // the record it updates
        const char* symbol;  // implied by the SSID, "" for none
    };
    const Case cases[] = {
        {"D1-9/P", "D1-9", "/>"},
        {"D2/P-9", "D2", ""},        // the "-" of the suffix is not the call's
        {"D3-2/P-9", "D3-2", "/U"},  // nor is its last "-"
        {"/D4-9", "/D4-9", "/>"},    // a leading "/" cuts nothing
        {"-9", "-9", ""},            // a call starting with "-" has no SSID
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        Decode(std::string(c.source) + ">APRS:>status");
        EXPECT_EQ(SymbolOf(Station(c.call)), c.symbol);
    }
}

}  // namespace
}  // namespace plovane::testing
