// The application core with a real network client against loopback servers: log-in,
// server lines decoded on the user-interface thread, acks, reply-acks, rejects and retried
// messages on the wire, UTF-8 text both ways, and a restart onto a new host.
#include <gtest/gtest.h>

#include "app_rig.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;

const std::string kToW1aaa = "N0CALL-9>APQ102,TCPIP*::W1AAA    :";

TEST(PlovaneAppThreads, NetworkStationLogsInExchangesMessagesAndMovesToANewHost) {
    MemoryProfile profile;
    profile.WriteString("Station", "Status", "Listening");
    SystemClock clock;
    testing::NetStation net(profile, clock);
    CPlovaneApp& app = net.app;
    EXPECT_EQ(net.login.rfind("user N0CALL-9 pass 13023 vers Plovane 1.02", 0), 0u);

    ASSERT_TRUE(net.server.Send("W1AAA>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-hi\r\n"));
    EXPECT_TRUE(net.PumpUntil([&] { return app.stations().FindStation("W1AAA").has_value(); }));
    const auto station = app.stations().FindStation("W1AAA");
    ASSERT_TRUE(station.has_value());
    EXPECT_EQ(station->comment, "hi");

    // A numbered message to us is acknowledged at once on the network.
    app.decoder().DecodeLine("W1AAA>APRS,TCPIP*::N0CALL-9 :Hi there{42", "NET>");
    EXPECT_EQ(net.server.ReadLine(), kToW1aaa + "ack42\r");

    // Our own message goes out with its number and is retried until the matching ack; every
    // sending also repeats the ack still due (at most five in all).
    ASSERT_NE(app.messages().SendNewMessage("W1AAA", "test"), 0u);
    EXPECT_EQ(net.server.ReadLine(), kToW1aaa + "ack42\r");
    EXPECT_EQ(net.server.ReadLine(), kToW1aaa + "test{1\r");
    app.SendMessagesNow();
    EXPECT_EQ(net.server.ReadLine(), kToW1aaa + "ack42\r");
    EXPECT_EQ(net.server.ReadLine(), kToW1aaa + "test{1\r");
    app.decoder().DecodeLine("W1AAA>APRS,TCPIP*::N0CALL-9 :ack1 ", "NET>");
    ASSERT_EQ(app.messages().Snapshot().size(), 2u);
    EXPECT_TRUE(app.messages().Snapshot()[1].acked);
    app.SendMessagesNow();  // the third ack, but no more of the acked message
    EXPECT_EQ(net.server.ReadLine(), kToW1aaa + "ack42\r");
    app.SendStatusNow();  // the menu command sends even with scheduled status off
    const std::string status = net.server.ReadLine();
    EXPECT_EQ(status.rfind("N0CALL-9>APQ102,TCPIP*:>", 0), 0u) << status;
    EXPECT_NE(status.find("zListening\r"), std::string::npos) << status;

    // The setup sheet names another server: the restart connects there and logs in again.
    testing::LoopbackServer second;
    ASSERT_TRUE(second.ok());
    profile.WriteString("Comm", "HostPort", second.port());
    app.OnThreadMessage(ThreadMessage::kCommSetupDone, {});
    ASSERT_TRUE(second.Accept());
    EXPECT_EQ(second.ReadLine().rfind("user N0CALL-9 pass 13023", 0), 0u);

    app.Shutdown();
    EXPECT_EQ(app.net(), nullptr);
}

TEST(PlovaneAppThreads, ReplyAckRejectAndUtf8Text) {
    MemoryProfile profile;
    SystemClock clock;
    testing::NetStation net(profile, clock);
    CPlovaneApp& app = net.app;
    const uint64_t first = app.messages().SendNewMessage("W1AAA", "test");
    EXPECT_EQ(net.server.ReadLine(), kToW1aaa + "test{1\r");

    // "{7}1": their message 7 in the reply-ack form, acking our 1 in passing.
    ASSERT_TRUE(net.server.Send("W1AAA>APRS,TCPIP*,qAC,T2TEST::N0CALL-9 :Привет{7}1\r\n"));
    ASSERT_TRUE(net.PumpUntil([&] { return app.messages().Count() == 2; }));
    EXPECT_TRUE(app.messages().Find(first)->acked);
    EXPECT_EQ(app.messages().Snapshot()[1].text, "Привет");
    EXPECT_EQ(net.server.ReadLine(), kToW1aaa + "ack7}\r");

    // Ours to them now carry their last number; typed text goes out as UTF-8.
    const uint64_t second = app.messages().SendNewMessage("W1AAA", "второй");
    EXPECT_EQ(net.server.ReadLine(), kToW1aaa + "ack7}\r");
    EXPECT_EQ(net.server.ReadLine(), kToW1aaa + "второй{2}7\r");

    ASSERT_TRUE(net.server.Send("W1AAA>APRS,TCPIP*,qAC,T2TEST::N0CALL-9 :rej2\r\n"));
    ASSERT_TRUE(net.PumpUntil([&] { return app.messages().Find(second)->rejected; }));
    app.SendMessagesNow();  // the ack still due, but no retry of the rejected message
    EXPECT_EQ(net.server.ReadLine(), kToW1aaa + "ack7}\r");
    EXPECT_EQ(net.server.ReadLine(200ms), "");
    app.Shutdown();
}

}  // namespace
}  // namespace plovane
