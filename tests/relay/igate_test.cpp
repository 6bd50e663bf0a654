// SPDX-License-Identifier: GPL-3.0-or-later
// The IGate's rules both ways, its duplicates, rate limit and counts, on monitor lines.
#include <gtest/gtest.h>

#include <string>

#include "core/profile.h"
#include "relay/digipeater.h"
#include "relay/igate.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;

IGate MakeIGate(bool isToRf = true, int perMinute = 6) {
    IGateSettings settings;
    settings.Enabled = true;
    settings.IsToRf = isToRf;
    settings.MaxPerMinute = perMinute;
    IGate igate(settings, "N0GATE", "APQ100");
    igate.SetLoginVerified(true);
    igate.SetTransmitPorts({1, 2});
    return igate;
}

TEST(IGate, GatesRadioPacketsAsTheRulesSay) {
    struct Case {
        const char* line;
        const char* toInternet;  // "" for not gated
    };
    const Case cases[] = {
        // "IGates must not modify paths ... except to append ,qAR,IGATECALL" (IGate Details).
        {"K1ABC>APRS,WIDE1-1,WIDE2-1:!4903.50N/07201.75W-Hi",
         "K1ABC>APRS,WIDE1-1,WIDE2-1,qAR,N0GATE:!4903.50N/07201.75W-Hi"},
        {"K1ABC>APRS,DIGI1*,WIDE2-1:>status\r\n", "K1ABC>APRS,DIGI1*,WIDE2-1,qAR,N0GATE:>status"},
        // The information field byte for byte, UTF-8 or not.
        {"K1ABC>APRS::N0CALL   :Gr\xc3\xbc\xc3\x9f"
         "e \xff",
         "K1ABC>APRS,qAR,N0GATE::N0CALL   :Gr\xc3\xbc\xc3\x9f"
         "e \xff"},
        // "packets with TCPIP, TCPXX, NOGATE, or RFONLY in the header" (IGate Details).
        {"K1ABC>APRS,TCPIP*:>x", ""},
        {"K1ABC>APRS,TCPXX*:>x", ""},
        {"K1ABC>APRS,NOGATE:>x", ""},
        {"K1ABC>APRS,WIDE1*,RFONLY:>x", ""},
        // "q constructs should never appear on RF" (IGate Details): such a packet looped.
        {"K1ABC>APRS,qAR,W1XYZ:>x", ""},
        // "generic queries (data type ?)" (IGate Details); a query to one station is a message.
        {"K1ABC>APRS:?APRS?", ""},
        {"K1ABC>APRS::W1XYZ    :?APRSP", "K1ABC>APRS,qAR,N0GATE::W1XYZ    :?APRSP"},
        // "3rd-party packets ... with TCPIP or TCPXX in the 3rd party header" (IGate Details).
        {"N0IG>APRS,WIDE1-1:}W1XYZ>APRS,TCPIP,N0IG*:hello", ""},
        // "... without TCPXX or TCPIP must have the RF header and the 3rd party data type
        // stripped" (IGate Details).
        {"N0IG>APRS,WIDE1-1:}W1XYZ>APRS,WIDE2-1:hello", "W1XYZ>APRS,WIDE2-1,qAR,N0GATE:hello"},
        // Our own packets, also when another station relays them as third-party packets.
        {"N0GATE>APRS,WIDE1-1:>me", ""},
        {"N0IG>APRS:}N0GATE>APRS:>me", ""},
        // A line break would cut the line on APRS-IS; nothing to carry; not a monitor line.
        {"K1ABC>APRS:>a\rb", ""},
        {"K1ABC>APRS:", ""},
        {"K1ABC APRS:>x", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        IGate igate = MakeIGate();
        EXPECT_EQ(igate.HeardOnRf(1, c.line, RelayTime{}).value_or(""), c.toInternet);
    }
}

TEST(IGate, SaysWhyNothingIsGatedAndMarksAReceiveOnlyGate) {
    IGateSettings settings;
    settings.Enabled = true;
    IGate igate(settings, "N0GATE", "APQ100");
    EXPECT_FALSE(igate.HeardOnRf(1, "K1ABC>APRS:>x", RelayTime{}));
    EXPECT_EQ(igate.NotGatingReason(), "IGate: not gating, the APRS-IS login is not verified");
    igate.SetLoginVerified(true);
    // Receive-only: "qAO should be used instead of qAR" (IGate Details).
    EXPECT_EQ(igate.HeardOnRf(1, "K1ABC>APRS:>x", RelayTime{}), "K1ABC>APRS,qAO,N0GATE:>x");
    EXPECT_EQ(igate.NotGatingReason(), "");
    EXPECT_EQ(igate.StatusText(), "IGate; 1 to APRS-IS, 0 to the radio");
    EXPECT_EQ(IGate(IGateSettings(), "N0GATE", "APQ100").StatusText(), "IGate: off");
}

TEST(IGate, GatesADuplicateOnlyAfterThirtySeconds) {
    IGate igate = MakeIGate();
    const RelayTime t0{};
    EXPECT_TRUE(igate.HeardOnRf(1, "K1ABC>APRS,WIDE2-1:>x", t0));
    EXPECT_FALSE(igate.HeardOnRf(2, "K1ABC>APRS,DIGI1*:>x", t0 + 29s));
    EXPECT_TRUE(igate.HeardOnRf(1, "K1ABC>APRS,WIDE2-1:>x", t0 + 30s));
    EXPECT_EQ(igate.counts().toInternet, 2u);
}

TEST(IGate, GatesMessagesForLocalStationsToTheirPort) {
    const RelayTime t0{};
    const std::string message = "W9FAR>APRS,TCPIP*,qAC,T2TEST::W2LOC    :hi{1";
    const std::string wrapped = "N0GATE>APQ100,WIDE1-1:}W9FAR>APRS,TCPIP,N0GATE*::W2LOC    :hi{1";
    struct Case {
        const char* name;
        std::string heardOnRf;  // on port 2 a minute before
        std::string fromInternet;
        std::string sent;  // "" for nothing
    };
    const Case cases[] = {
        {"a message to a station heard directly", "W2LOC>APRS:>x", message, wrapped},
        {"an ack too", "W2LOC>APRS:>x", "W9FAR>APRS,TCPIP*::W2LOC    :ack1",
         "N0GATE>APQ100,WIDE1-1:}W9FAR>APRS,TCPIP,N0GATE*::W2LOC    :ack1"},
        {"heard through a digipeater only", "W2LOC>APRS,DIGI1*:>x", message, ""},
        {"heard in a third-party packet only", "N0IG>APRS:}W2LOC>APRS,WIDE1-1:>x", message, ""},
        {"not heard", "K1ABC>APRS:>x", message, ""},
        // "the sending station has not been heard via RF" (IGate Details).
        {"the sender is on the radio itself", "W9FAR>APRS,DIGI1*:>x", message, ""},
        // "the sending station does not have TCPXX, NOGATE, or RFONLY in the header".
        {"the sender says NOGATE", "W2LOC>APRS:>x", "W9FAR>APRS,NOGATE,qAR,W1X::W2LOC    :hi", ""},
        {"a message to us", "N0GATE-5>APRS:>x", "W9FAR>APRS,TCPIP*::N0GATE   :hi", ""},
        {"not a message", "W2LOC>APRS:>x", "W9FAR>APRS,TCPIP*:>W2LOC", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IGate igate = MakeIGate();
        igate.HeardOnRf(2, c.heardOnRf, t0);
        const std::vector<RfTransmit> sent = igate.HeardOnInternet(c.fromInternet, t0 + 1min);
        EXPECT_EQ(sent.empty() ? "" : sent.at(0).line, c.sent);
        if (!sent.empty()) {
            EXPECT_EQ(sent[0].port, 2);
        }
    }
}

TEST(IGate, KeepsMessagesOffTheRadioForStationsOnTheInternetOrHeardLongAgo) {
    const RelayTime t0{};
    const char* message = "W9FAR>APRS,TCPIP*,qAC,T2TEST::W2LOC    :hi{1";
    IGate igate = MakeIGate();
    igate.HeardOnRf(1, "W2LOC>APRS:>x", t0);
    // "A station is said to be heard via the Internet if packets from the station contain
    // TCPIP* or TCPXX* in the header" (IGate Details).
    igate.HeardOnInternet("W2LOC>APRS,TCPIP*,qAC,T2TEST:>on the Internet", t0);
    EXPECT_TRUE(igate.HeardOnInternet(message, t0 + 1min).empty());

    IGate quiet = MakeIGate();
    quiet.HeardOnRf(1, "W2LOC>APRS:>x", t0);
    EXPECT_TRUE(quiet.HeardOnInternet(message, t0 + 30min).empty());
    // A port not allowed to transmit.
    quiet.HeardOnRf(3, "W2LOC>APRS:>x", t0 + 30min);
    EXPECT_TRUE(quiet.HeardOnInternet(message, t0 + 31min).empty());
}

TEST(IGate, FollowsAGatedMessageWithItsSendersNextPositionOncePerTenMinutes) {
    const RelayTime t0{};
    const char* position = "W9FAR>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-";
    IGate igate = MakeIGate();
    igate.HeardOnRf(1, "W2LOC>APRS:>x", t0);
    EXPECT_TRUE(igate.HeardOnInternet(position, t0).empty());  // no message yet
    ASSERT_EQ(igate.HeardOnInternet("W9FAR>APRS,TCPIP*::W2LOC    :one", t0).size(), 1u);
    const std::vector<RfTransmit> sent = igate.HeardOnInternet(position, t0 + 1min);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].line, "N0GATE>APQ100,WIDE1-1:}W9FAR>APRS,TCPIP,N0GATE*:!4903.50N/07201.75W-");
    // The next message within ten minutes brings no position along.
    igate.HeardOnInternet("W9FAR>APRS,TCPIP*::W2LOC    :two", t0 + 2min);
    EXPECT_TRUE(igate.HeardOnInternet(position, t0 + 3min).empty());
    igate.HeardOnInternet("W9FAR>APRS,TCPIP*::W2LOC    :three", t0 + 12min);
    EXPECT_EQ(igate.HeardOnInternet(position, t0 + 13min).size(), 1u);
    EXPECT_EQ(igate.counts().toRf, 5u);
}

// 50 frames a second for a minute of simulated time, both ways: the radio gets no more than
// the limit in any minute, and what the relay logic remembers stops growing once its windows
// are full.
TEST(IGate, AFloodHoldsTheRateLimitAndBoundedMemory) {
    IGate igate = MakeIGate(true, 6);
    Digipeater digi(
        [] {
            DigipeaterSettings s;
            s.Enabled = true;
            s.FillIn = false;
            return s;
        }(),
        "N0GATE");
    const RelayTime t0{};
    igate.HeardOnRf(1, "W2LOC>APRS:>x", t0);
    size_t sent = 0;
    size_t rememberedAtHalf = 0;
    for (int i = 0; i < 50 * 60; ++i) {
        const RelayTime now = t0 + std::chrono::milliseconds(20 * i);
        const std::string n = std::to_string(i);
        sent += igate.HeardOnInternet("W9FAR>APRS,TCPIP*::W2LOC    :flood " + n, now).size();
        const std::string heard = "K" + std::to_string(i % 40) + "AB>APRS,WIDE2-2:>" + n;
        igate.HeardOnRf(1, heard, now);
        digi.HeardOnRf(1, heard, now);
        if (i == 50 * 35)
            rememberedAtHalf = igate.Remembered() + digi.Remembered();
    }
    EXPECT_EQ(sent, 6u);
    EXPECT_EQ(igate.counts().heldByRateLimit, 50u * 60 - 6);
    EXPECT_EQ(igate.counts().toInternet, 50u * 60 + 1);  // and W2LOC's
    EXPECT_EQ(digi.relayed(), 50u * 60);
    EXPECT_LE(igate.Remembered() + digi.Remembered(), rememberedAtHalf + 50);
    EXPECT_LE(digi.Remembered(), 50u * 30);
    // A minute later the radio takes packets again.
    EXPECT_EQ(igate.HeardOnInternet("W9FAR>APRS,TCPIP*::W2LOC    :later", t0 + 121s).size(), 1u);
}

TEST(RelaySettings, TablesLoadDefaultsKeepStoredValuesAndBoundNumbers) {
    MemoryProfile profile;
    IGateSettings igate;
    igate.Load(profile);
    EXPECT_EQ(igate, IGateSettings());
    EXPECT_EQ(igate.IsToRfPath, "WIDE1-1");
    EXPECT_EQ(igate.MaxPerMinute, 6);
    profile.WriteString("IGate", "IsToRfPath", "");
    profile.WriteInt("IGate", "MaxPerMinute", 100000);
    profile.WriteInt("Digipeater", "FillIn", 0);
    profile.WriteString("Digipeater", "Aliases", " home,, relay ");
    igate.Load(profile);
    EXPECT_EQ(igate.IsToRfPath, "");
    EXPECT_EQ(igate.MaxPerMinute, 60);
    DigipeaterSettings digi;
    digi.Load(profile);
    EXPECT_FALSE(digi.FillIn);
    EXPECT_EQ(digi.AliasList(), (std::vector<std::string>{"HOME", "RELAY"}));
    MemoryProfile saved;
    digi.Save(saved);
    DigipeaterSettings again;
    again.Load(saved);
    EXPECT_EQ(again, digi);
}

}  // namespace
}  // namespace plovane
