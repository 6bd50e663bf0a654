// Messages over a loopback APRS-IS server: a reply-ack, a reject and UTF-8 text on the wire
// both ways, through the real network client, decoder and message store.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/plovane_app.h"
#include "comm/net_loopback.h"
#include "support/recording_host.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;

TEST(MessageLoopback, ReplyAckRejectAndUtf8Text) {
    testing::LoopbackServer server;
    ASSERT_TRUE(server.ok());
    MemoryProfile profile;
    profile.WriteString("Station", "MyCall", "N0CALL-9");
    profile.WriteInt("Station", "TransmitStatus", 0);
    profile.WriteInt("Comm", "NetEnabled", 1);
    profile.WriteString("Comm", "HostAddress", server.host());
    profile.WriteString("Comm", "HostPort", server.port());
    testing::RecordingHost host;
    SystemClock clock;
    CPlovaneApp app(profile, host, clock);
    ASSERT_TRUE(app.Start({}));
    ASSERT_TRUE(server.Accept());
    server.ReadLine();  // the log-in

    // Plays the user-interface thread until `done` holds.
    size_t handled = 0;
    const auto pumpUntil = [&](auto done) {
        for (auto end = std::chrono::steady_clock::now() + 10s;
             std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(5ms)) {
            const auto posts = host.posts();
            for (; handled < posts.size(); ++handled)
                app.OnThreadMessage(posts[handled].first, posts[handled].second);
            if (done())
                return true;
        }
        return false;
    };
    const std::string head = "N0CALL-9>APQ102,TCPIP*::W1AAA    :";

    const uint64_t first = app.messages().SendNewMessage("W1AAA", "test");
    EXPECT_EQ(server.ReadLine(), head + "test{1\r");

    // "{7}1": their message 7 in the reply-ack form, acking our 1 in passing.
    ASSERT_TRUE(server.Send("W1AAA>APRS,TCPIP*,qAC,T2TEST::N0CALL-9 :Привет{7}1\r\n"));
    ASSERT_TRUE(pumpUntil([&] { return app.messages().Count() == 2; }));
    EXPECT_TRUE(app.messages().Find(first)->acked);
    EXPECT_EQ(app.messages().Snapshot()[1].text, "Привет");
    EXPECT_EQ(server.ReadLine(), head + "ack7}\r");

    // Ours to them now carry their last number; typed text goes out as UTF-8.
    const uint64_t second = app.messages().SendNewMessage("W1AAA", "второй");
    EXPECT_EQ(server.ReadLine(), head + "ack7}\r");
    EXPECT_EQ(server.ReadLine(), head + "второй{2}7\r");

    ASSERT_TRUE(server.Send("W1AAA>APRS,TCPIP*,qAC,T2TEST::N0CALL-9 :rej2\r\n"));
    ASSERT_TRUE(pumpUntil([&] { return app.messages().Find(second)->rejected; }));
    app.SendMessagesNow();  // the ack still due, but no retry of the rejected message
    EXPECT_EQ(server.ReadLine(), head + "ack7}\r");
    EXPECT_EQ(server.ReadLine(200ms), "");

    app.Shutdown();
}

}  // namespace
}  // namespace plovane
