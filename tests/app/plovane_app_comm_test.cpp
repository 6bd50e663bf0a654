// SPDX-License-Identifier: GPL-3.0-or-later
// The application core with a real network client against loopback servers: messages on the wire.
#include <gtest/gtest.h>

#include "app_rig.h"
#include "comm/ax25.h"
#include "comm/kiss.h"
#include "support/child_process.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;

const std::string kToW1aaa = "N0CALL-9>APQ102,TCPIP*::W1AAA    :";

// Retries until acked, reply-acks both ways, UTF-8 text, a reject, and a move to a new host.
TEST(PlovaneAppThreads, NetworkStationExchangesMessagesAndMovesToANewHost) {
    MemoryProfile profile;
    profile.WriteString("Station", "Status", "Listening");
    SystemClock clock;
    testing::NetStation net(profile, clock);
    CPlovaneApp& app = net.app;
    EXPECT_EQ(net.login.rfind("user N0CALL-9 pass 13023 vers Plovane 1.02", 0), 0u);
    const uint64_t first = app.messages().SendNewMessage("W1AAA", "test");
    EXPECT_EQ(net.server.ReadLine(), kToW1aaa + "test{1\r");
    app.SendMessagesNow();
    EXPECT_EQ(net.server.ReadLine(), kToW1aaa + "test{1\r");

    // "{7}1": their message 7 in the reply-ack form, acking our 1 in passing; acked at once.
    ASSERT_TRUE(net.server.Send("W1AAA>APRS,TCPIP*,qAC,T2TEST::N0CALL-9 :Привет{7}1\r\n"));
    ASSERT_TRUE(net.PumpUntil([&] { return app.messages().Count() == 2; }));
    EXPECT_TRUE(app.messages().Find(first)->acked);
    EXPECT_EQ(app.messages().Snapshot()[1].text, "Привет");
    EXPECT_EQ(net.server.ReadLine(), kToW1aaa + "ack7}\r");

    // Ours to them now carry their last number; text goes out as UTF-8. The ack went out
    // once: the network is a reliable link.
    const uint64_t second = app.messages().SendNewMessage("W1AAA", "второй");
    EXPECT_EQ(net.server.ReadLine(), kToW1aaa + "второй{2}7\r");
    ASSERT_TRUE(net.server.Send("W1AAA>APRS,TCPIP*,qAC,T2TEST::N0CALL-9 :rej2\r\n"));
    ASSERT_TRUE(net.PumpUntil([&] { return app.messages().Find(second)->rejected; }));
    app.SendMessagesNow();  // no retry of the rejected or acked one, no ack again
    app.SendStatusNow();    // the menu command sends even with scheduled status off
    const std::string status = net.server.ReadLine();
    EXPECT_EQ(status.rfind("N0CALL-9>APQ102,TCPIP*:>", 0), 0u) << status;
    EXPECT_NE(status.find("zListening\r"), std::string::npos) << status;

    // The setup sheet names another server: the restart connects there and logs in again.
    testing::LoopbackServer other;
    ASSERT_TRUE(other.ok());
    profile.WriteString("Comm", "HostPort", other.port());
    app.OnThreadMessage(ThreadMessage::kCommSetupDone, {});
    ASSERT_TRUE(other.Accept());
    EXPECT_EQ(other.ReadLine().rfind("user N0CALL-9 pass 13023", 0), 0u);
    app.Shutdown();
    EXPECT_EQ(app.net(), nullptr);
}

// The start-up status is held for a KISS TNC whose TCP link is still being made.
TEST(PlovaneAppThreads, StartUpStatusWaitsForTheKissLink) {
    testing::LoopbackServer tnc(AF_INET, false);  // refuses until it listens
    ASSERT_TRUE(tnc.ok());
    MemoryProfile profile;
    profile.WriteString("Station", "MyCall", "N0CALL-9");
    profile.WriteInt("Station", "TransmitStatus", 1);
    profile.WriteInt("Comm", "TNCEnabled", 1);
    profile.WriteInt("Comm", "TNCMode", kTncKissTcp);
    profile.WriteString("Comm", "KISSHost", tnc.host());
    profile.WriteString("Comm", "KISSPort", tnc.port());
    testing::RecordingHost host;
    SystemClock clock;
    CPlovaneApp app(profile, host, clock);
    ASSERT_TRUE(app.Start({}));
    ASSERT_TRUE(tnc.Listen());
    ASSERT_TRUE(tnc.Accept());
    EXPECT_TRUE(tnc.WaitFor(" online..."));
    app.Shutdown();
}

// Two KISS TCP ports from [Comm] and [TNC2]: each feeds the store with its port, our status
// leaves only where beacons are allowed, and a port removed leaves the first one working.
TEST(PlovaneAppThreads, TwoKissTcpPortsHearAndBeaconEachByItsOwnChoices) {
    testing::LoopbackServer tnc1, tnc2;
    ASSERT_TRUE(tnc1.ok() && tnc2.ok());
    MemoryProfile profile;
    profile.WriteString("Station", "MyCall", "N0CALL-9");
    profile.WriteInt("Station", "TransmitStatus", 0);
    profile.WriteString("Station", "Status", "on two ports");
    profile.WriteInt("Comm", "TNCPorts", 2);
    for (auto [section, server] : {std::pair{"Comm", &tnc1}, std::pair{"TNC2", &tnc2}}) {
        profile.WriteInt(section, "TNCEnabled", 1);
        profile.WriteInt(section, "TNCMode", kTncKissTcp);
        profile.WriteString(section, "KISSHost", server->host());
        profile.WriteString(section, "KISSPort", server->port());
    }
    testing::RecordingHost host;
    SystemClock clock;
    CPlovaneApp app(profile, host, clock);
    ASSERT_TRUE(app.Start({}));
    ASSERT_TRUE(tnc1.Accept());
    ASSERT_TRUE(tnc2.Accept());
    EXPECT_TRUE(app.rfPorts().Allows(1, RfChoice::kBeacons));
    EXPECT_FALSE(app.rfPorts().Allows(2, RfChoice::kBeacons));

    ASSERT_TRUE(
        tnc1.Send(testing::KissFrameOf("K1ABC>APRS,N0DIG-1*,WIDE2-1:!4903.50N/07201.75W-")));
    ASSERT_TRUE(tnc2.Send(testing::KissFrameOf("K2DEF>APRS:!4903.50N/07202.75W-")));
    const auto heard = [&](const char* call) {
        const std::optional<CStation> station = app.stations().FindStation(call);
        return station ? HeardText(station->heardWhere) : std::string();
    };
    ASSERT_TRUE(testing::WaitUntil([&] { return !heard("K1ABC").empty(); }, 5s));
    ASSERT_TRUE(testing::WaitUntil([&] { return !heard("K2DEF").empty(); }, 5s));
    EXPECT_EQ(heard("K1ABC"), "RF port 1 via N0DIG-1");
    EXPECT_EQ(heard("K2DEF"), "RF port 2");

    // The status goes to port 1 only: a line relayed on port 2 afterwards arrives alone.
    app.SendStatusNow();
    ASSERT_TRUE(tnc1.WaitFor("on two ports"));
    ASSERT_TRUE(app.rfPorts().SendMonitorLine(2, "K1ABC>APRS,N0CALL-9*:relayed"));
    ASSERT_TRUE(tnc2.WaitFor("relayed"));
    EXPECT_EQ(tnc2.received().find("on two ports"), std::string::npos);

    // Port 2 removed: port 1 comes back and is heard; port 2 is gone.
    profile.WriteInt("Comm", "TNCPorts", 1);
    app.RestartCommunications();
    EXPECT_EQ(app.rfPorts().count(), 1);
    EXPECT_FALSE(app.rfPorts().SendMonitorLine(2, "K1ABC>APRS:gone"));
    ASSERT_TRUE(tnc1.Accept());
    ASSERT_TRUE(tnc1.Send(testing::KissFrameOf("K3GHI>APRS:!4903.50N/07203.75W-")));
    ASSERT_TRUE(testing::WaitUntil([&] { return heard("K3GHI") == "RF port 1"; }, 5s));
    app.Shutdown();
}

}  // namespace
}  // namespace plovane
