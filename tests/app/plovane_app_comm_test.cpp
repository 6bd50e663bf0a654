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

    // Ours to them now carry their last number and the ack still due; text goes out as UTF-8.
    const uint64_t second = app.messages().SendNewMessage("W1AAA", "второй");
    EXPECT_EQ(net.server.ReadLine(), kToW1aaa + "ack7}\r");
    EXPECT_EQ(net.server.ReadLine(), kToW1aaa + "второй{2}7\r");
    ASSERT_TRUE(net.server.Send("W1AAA>APRS,TCPIP*,qAC,T2TEST::N0CALL-9 :rej2\r\n"));
    ASSERT_TRUE(net.PumpUntil([&] { return app.messages().Find(second)->rejected; }));
    app.SendMessagesNow();  // the ack still due, but no retry of the rejected or acked one
    EXPECT_EQ(net.server.ReadLine(), kToW1aaa + "ack7}\r");
    app.SendStatusNow();  // the menu command sends even with scheduled status off
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

}  // namespace
}  // namespace plovane
