// SPDX-License-Identifier: GPL-3.0-or-later
// Through a real software TNC both ways: its audio must carry exactly the lines themselves.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>

#include "comm/kiss_port.h"
#include "intake/intake_thread.h"
#include "radio_fixture.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;
using namespace testing;

constexpr const char* kKissPort = "8001";

// Starts the software TNC reading audio from stdin and playing to outputDevice.
bool StartDirewolf(ChildProcess& direwolf, const ScratchDir& dir, const std::string& outputDevice,
                   std::vector<std::string> environment = {}) {
    std::ofstream(dir / "dw.conf") << "ADEVICE stdin " << outputDevice
                                   << "\nARATE 44100\nCHANNEL 0\nMYCALL N0CALL\nMODEM 1200\n"
                                   << "KISSPORT " << kKissPort << "\nAGWPORT 0\n";
    return direwolf.Start({"direwolf", "-c", dir / "dw.conf", "-t", "0", "-q", "hd", "-"},
                          dir / "direwolf.log", true, std::move(environment));
}

// Opens the port towards the software TNC over KISS TCP and waits for the link.
bool OpenKiss(CKissPort& port) {
    CTncSettings tnc;
    tnc.enabled = true;
    tnc.mode = kTncKissTcp;
    tnc.kissHost = "127.0.0.1";
    tnc.kissPort = kKissPort;
    port.SetTncSettings(tnc);
    port.SetTimings({100ms, 500ms});
    return port.Open().open && WaitUntil([&] { return port.IsOpen(); }, 15s);
}

TEST(Direwolf, ReceivedFramesDecodeAsTheLinesThemselves) {
    SKIP_WITHOUT_NAMESPACE();
    const std::vector<std::string> lines = {
        "N0CALL>APRS,WIDE1-1:!4903.50N/07201.75W-Test position",
        "K1ABC-9>S32U6T,WIDE2-1:`(#fpPO>/]\"4R}",
        "W1AW>APRS::KB2XYZ   :Hello there{12",
        "KB2XYZ>APRS:;LEADER   *092345z4903.50N/07201.75W>088/036",
        "KD6ABC>APRS:@092345z4903.50N/07201.75W_220/004g005t077r000p000P000h50b09900",
        "W4JKL>APRS,K1DIG*,WIDE2-1:)AID #2!4903.50N/07201.75WA",
    };
    ScratchDir dir;
    std::ofstream packets(dir / "packets.txt");
    for (const std::string& line : lines)
        packets << line << "\n";
    packets.close();
    ASSERT_EQ(
        RunCommand({"gen_packets", "-r", "44100", "-o", dir / "packets.wav", dir / "packets.txt"},
                   dir / "gen.log"),
        0);
    ChildProcess direwolf;
    ASSERT_TRUE(StartDirewolf(direwolf, dir, "null"));

    RadioStation overRadio("W9XYZ");
    LineQueue queue;
    CIntakeThread intake(queue, overRadio.intake);
    ASSERT_TRUE(intake.Start());
    CKissPort port(overRadio.host, overRadio.host);
    port.SetLineSink({&queue, {1, LineKind::kRf}, &overRadio.clock});
    ASSERT_TRUE(OpenKiss(port)) << ReadFile(dir / "direwolf.log");

    ASSERT_TRUE(direwolf.Feed(ReadFile(dir / "packets.wav")));
    // Silence lets the demodulator finish the last packet (the input's end ends the program).
    ASSERT_TRUE(direwolf.Feed(std::string(2 * 44100, '\0')));
    EXPECT_TRUE(WaitUntil([&] { return port.framesReceived() == lines.size(); }, 20s))
        << port.framesReceived() << " frames\n"
        << ReadFile(dir / "direwolf.log");
    port.Close();
    intake.Flush();
    EXPECT_EQ(port.framesDropped(), 0u);

    RadioStation direct("W9XYZ");
    for (const std::string& line : lines)
        direct.intake.DecodeLine(line, "TNC>");
    EXPECT_EQ(overRadio.Summary(), direct.Summary());
    EXPECT_TRUE(overRadio.stations.Contains("LEADER"));
}

TEST(Direwolf, OurFramesComeBackOutOfItsAudio) {
    SKIP_WITHOUT_NAMESPACE();
    ScratchDir dir;
    const std::string raw = dir / "tx.raw";
    WriteAudioFileDevice(dir, raw);  // its transmit audio goes to a file
    ChildProcess direwolf;
    ASSERT_TRUE(StartDirewolf(direwolf, dir, "plovanetx", {"HOME=" + (dir / "home")}));

    testing::RecordingHost host;
    CKissPort port(host, host);
    CStationSettings station;
    station.MyCall = "N0CALL-7";
    station.destination = "APQ102";
    station.UIDigiPath = "WIDE1-1,WIDE2-1";
    port.SetStationSettings(station);
    ASSERT_TRUE(OpenKiss(port)) << ReadFile(dir / "direwolf.log");

    CMessage message;
    message.to = "KB2XYZ";
    message.text = "Meet at the club";
    message.number = "7";
    const std::vector<std::string> sent = {"!4903.50N/07201.75W-Plovane test\r",
                                           message.MessagePacketText()};
    for (const std::string& text : sent)
        port.QueueText(text);
    // The audio file grows while it transmits; it is done once it stops growing.
    size_t last = 0;
    EXPECT_TRUE(WaitUntil(
        [&] {
            std::this_thread::sleep_for(1s);
            std::error_code error;
            const size_t size = std::filesystem::file_size(raw, error);
            const bool done = !error && size > 0 && size == last;
            last = error ? 0 : size;
            return done;
        },
        30s))
        << ReadFile(dir / "direwolf.log");
    port.Close();
    direwolf.Stop();

    ASSERT_EQ(RunCommand({"sox", "-t", "raw", "-r", "44100", "-e", "signed", "-b", "16", "-c", "1",
                          raw, dir / "tx.wav"},
                         dir / "sox.log"),
              0);
    ASSERT_EQ(RunCommand({"atest", dir / "tx.wav"}, dir / "atest.log"), 0);
    // atest prints each packet as "[0] SRC>DEST,PATH:info", between colour escapes.
    const std::string output =
        std::regex_replace(ReadFile(dir / "atest.log"), std::regex("\x1B\\[[0-9;]*m"), "");
    std::set<std::string> decoded;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("[0] ", 0) == 0)
            decoded.insert(line.substr(4));
    }
    const std::set<std::string> expected = {
        "N0CALL-7>APQ102,WIDE1-1,WIDE2-1:!4903.50N/07201.75W-Plovane test",
        "N0CALL-7>APQ102,WIDE1-1,WIDE2-1::KB2XYZ   :Meet at the club{7",
    };
    EXPECT_EQ(decoded, expected) << output;
}

}  // namespace
}  // namespace plovane
