// SPDX-License-Identifier: GPL-3.0-or-later
// The digipeater's path rewriting and duplicate suppression on monitor lines.
#include <gtest/gtest.h>

#include <string>

#include "relay/digipeater.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;

constexpr const char* kMyCall = "N0DIG";

DigipeaterSettings Settings(bool fillIn, const char* aliases = "") {
    DigipeaterSettings settings;
    settings.Enabled = true;
    settings.FillIn = fillIn;
    settings.Aliases = aliases;
    return settings;
}

TEST(Digipeater, RewritesThePathOrLeavesThePacket) {
    struct Case {
        const char* name;
        bool fillIn;
        const char* line;
        const char* relayed;  // "" for not relayed
    };
    const Case cases[] = {
        {"WIDE1-1 spent, our call before it", false, "K1ABC>APRS,WIDE1-1,WIDE2-1:!pos",
         "K1ABC>APRS,N0DIG,WIDE1*,WIDE2-1:!pos"},
        {"WIDE2-2 one hop down", false, "K1ABC>APRS,WIDE2-2:!pos",
         "K1ABC>APRS,N0DIG*,WIDE2-1:!pos"},
        {"WIDE2-1 after another digipeater", false, "K1ABC>APRS,DIGI1*,WIDE2-1:!pos",
         "K1ABC>APRS,DIGI1,N0DIG,WIDE2*:!pos"},
        {"fill-in: first hop WIDE1-1", true, "K1ABC>APRS,WIDE1-1,WIDE2-1:!pos",
         "K1ABC>APRS,N0DIG,WIDE1*,WIDE2-1:!pos"},
        {"fill-in: no WIDE2-1", true, "K1ABC>APRS,DIGI1*,WIDE2-1:!pos", ""},
        {"fill-in: no WIDE2-2", true, "K1ABC>APRS,WIDE2-2:!pos", ""},
        {"fill-in: WIDE1-1 not the first hop", true, "K1ABC>APRS,DIGI1*,WIDE1-1:!pos", ""},
        {"an alias becomes our call", true, "K1ABC>APRS,HOME,WIDE2-1:!pos",
         "K1ABC>APRS,N0DIG*,WIDE2-1:!pos"},
        {"our call next", true, "K1ABC>APRS,N0DIG,WIDE2-1:!pos", "K1ABC>APRS,N0DIG*,WIDE2-1:!pos"},
        {"preemptive: our call later", true, "K1ABC>APRS,WIDE1-1,N0DIG,WIDE2-1:!pos",
         "K1ABC>APRS,WIDE1-1,N0DIG*,WIDE2-1:!pos"},
        {"our own packet", false, "N0DIG>APRS,WIDE1-1:!pos", ""},
        {"already relayed by us", false, "K1ABC>APRS,N0DIG,WIDE1*,WIDE2-1:!pos", ""},
        {"path used up", false, "K1ABC>APRS,WIDE2*:!pos", ""},
        {"N above n", false, "K1ABC>APRS,WIDE3-4:!pos", ""},
        {"no room for our call", false, "K1ABC>APRS,A1,A2,A3,A4,A5,A6,A7*,WIDE2-2:!pos",
         "K1ABC>APRS,A1,A2,A3,A4,A5,A6,A7*,WIDE2-1:!pos"},
        {"information bytes kept", false,
         "K1ABC>APRS,WIDE1-1::N0CALL   :Gr\xc3\xbc\xc3\x9f"
         "e \xff\x01\r\n",
         "K1ABC>APRS,N0DIG,WIDE1*::N0CALL   :Gr\xc3\xbc\xc3\x9f"
         "e \xff\x01"},
        {"not an AX.25 header", false, "K1ABC>APRS,TCPIP*,qAC,T2TEST:!pos", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Digipeater digi(Settings(c.fillIn, "home, relay"), kMyCall);
        EXPECT_EQ(digi.HeardOnRf(1, c.line, RelayTime{}).value_or(""), c.relayed);
    }
}

TEST(Digipeater, RelaysAPacketOncePerPortWithinThirtySeconds) {
    Digipeater digi(Settings(false), kMyCall);
    const RelayTime t0{};
    EXPECT_TRUE(digi.HeardOnRf(1, "K1ABC>APRS,WIDE2-2:hi", t0));
    // Another copy (another path) on the same port; then the same packet on another port.
    EXPECT_FALSE(digi.HeardOnRf(1, "K1ABC>APRS,DIGI1*,WIDE2-1:hi", t0 + 5s));
    EXPECT_TRUE(digi.HeardOnRf(2, "K1ABC>APRS,WIDE2-2:hi", t0 + 5s));
    EXPECT_FALSE(digi.HeardOnRf(1, "K1ABC>APRS,WIDE2-2:hi", t0 + 29s));
    EXPECT_TRUE(digi.HeardOnRf(1, "K1ABC>APRS,WIDE2-2:hi", t0 + 30s));
    EXPECT_EQ(digi.relayed(), 3u);
}

TEST(Digipeater, OffRelaysNothing) {
    DigipeaterSettings settings = Settings(false);
    settings.Enabled = false;
    Digipeater digi(settings, kMyCall);
    EXPECT_FALSE(digi.HeardOnRf(1, "K1ABC>APRS,WIDE1-1:hi", RelayTime{}));
}

}  // namespace
}  // namespace plovane
