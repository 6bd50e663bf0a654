// SPDX-License-Identifier: GPL-3.0-or-later
// The application core with a real network client against loopback servers: messages on the wire.
#include <gtest/gtest.h>

#include "app_rig.h"

namespace plovane {
namespace {

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

}  // namespace
}  // namespace plovane
