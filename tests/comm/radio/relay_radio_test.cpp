// SPDX-License-Identifier: GPL-3.0-or-later
// The IGate and the digipeater with a real software TNC: what it hears from gen_packets audio
// is relayed and gated by the application, and what it transmits is decoded again by atest.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>

#include "app/app_rig.h"
#include "radio_fixture.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;
using namespace testing;

// The packets' audio, as another station's radio would send it.
std::string PacketAudio(const ScratchDir& dir, const std::string& name,
                        const std::vector<std::string>& lines) {
    std::ofstream(dir / (name + ".txt")) << [&] {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\n";
        return text;
    }();
    EXPECT_EQ(RunCommand({"gen_packets", "-r", "44100", "-o", dir / (name + ".wav"),
                          dir / (name + ".txt")},
                         dir / "gen.log"),
              0);
    // Silence after it lets the demodulator finish the last packet.
    return ReadFile(dir / (name + ".wav")) + std::string(2 * 44100, '\0');
}

// The packets in the transmitted audio so far, as atest prints them ("[0] SRC>DEST,PATH:info").
std::multiset<std::string> DecodeTransmitted(const ScratchDir& dir, const std::string& raw) {
    std::multiset<std::string> decoded;
    if (RunCommand({"sox", "-t", "raw", "-r", "44100", "-e", "signed", "-b", "16", "-c", "1", raw,
                    dir / "tx.wav"},
                   dir / "sox.log") != 0 ||
        RunCommand({"atest", dir / "tx.wav"}, dir / "atest.log") != 0)
        return decoded;
    const std::string output =
        std::regex_replace(ReadFile(dir / "atest.log"), std::regex("\x1B\\[[0-9;]*m"), "");
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("[0] "))
            decoded.insert(line.substr(4));
    }
    return decoded;
}

TEST(DirewolfRelay, DigipeatsOnceGatesBothWaysAndOutlivesTheServer) {
    SKIP_WITHOUT_NAMESPACE();
    ScratchDir dir;
    const std::string raw = dir / "tx.raw";
    WriteAudioFileDevice(dir, raw);  // its transmit audio goes to a file
    std::ofstream(dir / "dw.conf") << "ADEVICE stdin plovanetx\nARATE 44100\nCHANNEL 0\n"
                                   << "MYCALL N0CALL\nMODEM 1200\nKISSPORT 8001\nAGWPORT 0\n";
    ChildProcess direwolf;
    ASSERT_TRUE(direwolf.Start({"direwolf", "-c", dir / "dw.conf", "-t", "0", "-q", "hd", "-"},
                               dir / "direwolf.log", true, {"HOME=" + (dir / "home")}));

    MemoryProfile profile;
    profile.WriteInt("Comm", "TNCEnabled", 1);
    profile.WriteInt("Comm", "TNCMode", kTncKissTcp);
    profile.WriteString("Comm", "KISSHost", "127.0.0.1");
    profile.WriteString("Comm", "KISSPort", "8001");
    profile.WriteInt("Digipeater", "Enabled", 1);
    SystemClock clock;
    NetStation net(profile, clock);
    CPlovaneApp& app = net.app;
    // The IGate dialog's OK hands the running relay its settings.
    profile.WriteInt("IGate", "Enabled", 1);
    profile.WriteInt("IGate", "IsToRf", 1);
    app.RelaySetupDone();
    ASSERT_TRUE(net.PumpUntil([&] { return app.kiss().IsOpen(); }))
        << ReadFile(dir / "direwolf.log");

    const std::string position = "K1ABC>APRS,WIDE1-1:!4903.50N/07201.75W-Grüße";
    ASSERT_TRUE(direwolf.Feed(PacketAudio(
        dir, "heard",
        {position, position, "K1DEF>APRS,TCPIP*:>not gated", "K1DEF>APRS,NOGATE:>nor this",
         "K1DEF>APRS,RFONLY:>nor this", "K1GHI>APRS:>last"})));
    // The q construct appended, the information bytes as heard; the duplicate and the paths
    // that stay on RF are not gated.
    EXPECT_EQ(net.server.ReadLine(20s),
              "K1ABC>APRS,WIDE1-1,qAR,N0CALL-9:!4903.50N/07201.75W-Grüße\r")
        << ReadFile(dir / "direwolf.log");
    EXPECT_EQ(net.server.ReadLine(20s), "K1GHI>APRS,qAR,N0CALL-9:>last\r");

    // K1ABC was heard only on RF: its message goes there; K1GHI is on APRS-IS too.
    ASSERT_TRUE(
        net.server.Send("K1GHI>APRS,TCPIP*,qAC,T2TEST:>online too\r\n"
                        "W1AAA>APRS,TCPIP*,qAC,T2TEST::K1GHI    :skip{2\r\n"
                        "W1AAA>APRS,TCPIP*,qAC,T2TEST::K1ABC    :Hello{1\r\n"));
    ASSERT_TRUE(net.PumpUntil([&] { return app.relay().igateCounts().toRf == 1; }));

    // The server goes away while the station relays: the radio side keeps working.
    net.server.Drop();
    ASSERT_TRUE(direwolf.Feed(PacketAudio(dir, "later", {"K1JKL>APRS,WIDE1-1:>after"})));
    ASSERT_TRUE(net.PumpUntil([&] { return app.relay().digipeated() == 2; }))
        << ReadFile(dir / "direwolf.log");

    // What it transmitted, decoded again; its low-priority queue may wait some slots longer.
    const std::multiset<std::string> expected = {
        "K1ABC>APRS,N0CALL-9,WIDE1*:!4903.50N/07201.75W-Grüße",
        "N0CALL-9>APQ102,WIDE1-1:}W1AAA>APRS,TCPIP,N0CALL-9*::K1ABC    :Hello{1",
        "K1JKL>APRS,N0CALL-9,WIDE1*:>after",
    };
    std::multiset<std::string> decoded;
    EXPECT_TRUE(WaitUntil(
        [&] {
            std::this_thread::sleep_for(1s);
            decoded = DecodeTransmitted(dir, raw);
            return decoded.size() >= expected.size();
        },
        40s));
    EXPECT_EQ(decoded, expected) << ReadFile(dir / "atest.log") << ReadFile(dir / "direwolf.log");
    EXPECT_EQ(app.relay().digipeated(), 2u);  // the second copy of K1ABC's was not
    app.Shutdown();
}

}  // namespace
}  // namespace plovane
