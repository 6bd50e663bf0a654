// SPDX-License-Identifier: GPL-3.0-or-later
#include "comm/serial_port.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "comm/serial_line.h"
#include "pty_peer.h"
#include "support/recording_host.h"

namespace plovane {
namespace {

using namespace std::chrono_literals;
using testing::PtyPeer;
using testing::RecordingHost;

TEST(SerialLine, LineSettingsFollowTheParameters) {
    struct Case {
        int32_t baud;
        const char* parity;
        int32_t dataBits;
        const char* stopBits;
        speed_t speed;
        tcflag_t size, parityFlags;
        bool twoStop;
    } cases[] = {
        {9600, "N", 8, "1", B9600, CS8, 0, false},
        {4800, "None", 7, "1", B4800, CS7, 0, false},
        {1200, "Even", 7, "1", B1200, CS7, PARENB, false},
        {19200, "Odd", 8, "2", B19200, CS8, PARENB | PARODD, true},
        {38400, "odd", 8, "1", B38400, CS8, 0, false},  // only an upper-case letter counts
        {2400, "Mark", 8, "1.5", B2400, CS8, PARENB | PARODD | CMSPAR, true},
        {300, "Space", 8, "3", B300, CS8, PARENB | CMSPAR, false},
        {115200, "X", 8, "1", B115200, CS8, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.parity) + " " + c.stopBits + " " + std::to_string(c.baud));
        termios tio{};
        tio.c_iflag = IXON | IXOFF | ICRNL | INPCK;
        tio.c_cflag = CRTSCTS | CSTOPB | PARENB | PARODD | CS5;
        tio.c_lflag = ICANON | ECHO | ISIG;
        tio.c_oflag = OPOST;
        serial::ApplyLineSettings(tio, {true, "", c.baud, c.parity, c.dataBits, c.stopBits});
        EXPECT_EQ(cfgetospeed(&tio), c.speed);
        EXPECT_EQ(cfgetispeed(&tio), c.speed);
        EXPECT_EQ(tio.c_cflag & CSIZE, c.size);
        EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), c.parityFlags);
        EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.twoStop);
        EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u);
        EXPECT_NE(tio.c_cflag & CLOCAL, 0u);
        EXPECT_NE(tio.c_cflag & CREAD, 0u);
        EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL), 0u);
        EXPECT_NE(tio.c_iflag & INPCK, 0u);  // parity checking stays as the device had it
        EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
        EXPECT_EQ(tio.c_oflag & OPOST, 0u);
        EXPECT_EQ(tio.c_cc[VMIN], 0);
        EXPECT_EQ(tio.c_cc[VTIME], 1);
    }
    EXPECT_EQ(serial::StandardSpeed(14400), B0);
    EXPECT_EQ(serial::StandardSpeed(56000), B0);
}

TEST(SerialLine, ComPortNamesMapToDevices) {
    struct Case {
        const char* name;
        const char* device;
    } cases[] = {
        {"COM1:", "/dev/ttyS0"},
        {"com3:", "/dev/ttyS2"},
        {"COM10:", "/dev/ttyS9"},
        {"COM0:", "COM0:"},
        {"COM1", "COM1"},
        {"COMX:", "COMX:"},
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"COM99999999:", "COM99999999:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SerialDevicePath(c.name), c.device);
    }
}

size_t Fill(ReceiveBuffer& buffer) {
    std::lock_guard lock(buffer.mutex);
    return buffer.fill;
}

struct PortFixture {
    PortFixture() : port(host, host, "TNC", "PLOVANE_TNC_MUTEX", "PLOVANE_TNC_EVENT") {
        SerialParameters p;
        p.enabled = true;
        p.portName = peer.slavePath();
        port.SetParameters(p);
        port.SetDelayScale(0.01);
    }
    ~PortFixture() {
        port.Close();
        queue.Close();
        if (collector.joinable())
            collector.join();
    }
    // Takes the port's lines off the queue, as the intake thread does.
    void Collect() {
        port.SetLineSink({&queue, {1, LineKind::kRf}, nullptr});
        collector = std::thread([this] {
            HeardLine line;
            while (queue.Pop(line)) {
                EXPECT_EQ(line.origin, (LineOrigin{1, LineKind::kRf}));
                std::lock_guard lock(mutex);
                collected.push_back(line.bytes);
            }
        });
    }
    std::vector<std::string> Lines() {
        std::lock_guard lock(mutex);
        return collected;
    }

    RecordingHost host;
    PtyPeer peer;
    LineQueue queue{4};
    CSerialPort port;
    std::thread collector;
    std::mutex mutex;
    std::vector<std::string> collected;  // guarded by mutex
};

TEST(SerialPortThreads, LinesReachTheIntakeWhenTheirEndArrives) {
    PortFixture f;
    ASSERT_TRUE(f.peer.ok());
    f.Collect();
    ASSERT_TRUE(f.port.Open().open);
    EXPECT_TRUE(f.port.IsOpen());
    EXPECT_TRUE(f.host.boxes().empty());

    // A chunk without a line end waits in the buffer; NUL bytes never get there.
    f.peer.Write(std::string("N0CALL>APRS:>h\0i", 16));
    ASSERT_TRUE(testing::WaitUntil([&] { return Fill(f.port.Buffer()) == 15; }, 2s));
    std::this_thread::sleep_for(150ms);
    EXPECT_TRUE(f.Lines().empty());

    f.peer.Write("\r\nN1CALL>APRS:>x\r");
    ASSERT_TRUE(testing::WaitUntil([&] { return f.Lines().size() == 2; }, 2s));
    EXPECT_EQ(f.Lines()[0], "N0CALL>APRS:>hi\r\n");
    EXPECT_EQ(f.Lines()[1], "N1CALL>APRS:>x\r");

    // A line that never ends is dropped and reading goes on.
    const std::string junk(30000, 'j');
    for (size_t i = 0; i < junk.size(); i += 1000) {
        f.peer.Write(junk.substr(i, 1000));
        std::this_thread::sleep_for(1ms);
    }
    f.peer.Write("jjj\r\nN0CALL>APRS:>ok\r");
    ASSERT_TRUE(testing::WaitUntil([&] { return f.Lines().size() > 2; }, 3s));
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(f.Lines().back(), "N0CALL>APRS:>ok\r");
    EXPECT_EQ(f.Lines().size(), 3u);
    f.port.Close();
    EXPECT_FALSE(f.port.IsOpen());
    EXPECT_FALSE(f.port.HasError());
    EXPECT_EQ(f.host.CountPosts(ThreadMessage::kPortStatus), 0u);
}

TEST(SerialPortThreads, QueuedTextsGoOutInOrderWithTheirEcho) {
    PortFixture f;
    ASSERT_TRUE(f.peer.ok());
    f.port.QueueText("early\r");  // queued while closed: never sent
    ASSERT_TRUE(f.port.Open().open);
    f.port.QueueText(std::string(CSerialPort::kMaxRequestChars + 1, 'x'));  // refused
    f.port.QueueText("one\r", 0, 0);
    f.port.QueueText("two\r", 5000, 0);  // 50 ms at this scale
    f.port.QueueText(std::string("\xC0\xFF", 2));
    ASSERT_TRUE(f.peer.WaitFor("\xC0\xFF", 2s));
    EXPECT_EQ(f.peer.Received(), "one\rtwo\r\xC0\xFF");
    EXPECT_GE(f.peer.ArrivalOf(4) - f.peer.ArrivalOf(0), 40ms);

    std::vector<std::string> echoes;
    for (const auto& [message, text] : f.host.posts()) {
        if (message == ThreadMessage::kEchoLine)
            echoes.push_back(text);
    }
    EXPECT_EQ(echoes, (std::vector<std::string>{"TNC>one\r", "TNC>two\r", "TNC>\xC0\xFF"}));

    // Once the road is closed (the program is ending) nothing is echoed.
    f.port.Close();
    f.Collect();
    f.queue.Close();
    f.host.Clear();
    ASSERT_TRUE(f.port.Open().open);
    f.port.QueueText("three\r");
    ASSERT_TRUE(f.peer.WaitFor("three\r", 2s));
    f.port.Close();
    EXPECT_EQ(f.host.CountPosts(ThreadMessage::kEchoLine), 0u);
}

// Nobody takes lines: the reader waits for room in the queue, dropping nothing, and Close
// still ends it.
TEST(SerialPortThreads, AFullQueueHoldsTheReaderAndCloseStillEndsIt) {
    PortFixture f;
    ASSERT_TRUE(f.peer.ok());
    f.port.SetLineSink({&f.queue, {1, LineKind::kRf}, nullptr});
    ASSERT_TRUE(f.port.Open().open);
    for (int i = 0; i < 8; ++i)
        f.peer.Write("N0CALL>APRS:>" + std::to_string(i) + "\r");
    ASSERT_TRUE(testing::WaitUntil([&] { return f.queue.size() == f.queue.capacity(); }, 3s));
    f.port.Close();
    EXPECT_FALSE(f.port.IsOpen());
    HeardLine line;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(f.queue.Pop(line));
        EXPECT_EQ(line.bytes, "N0CALL>APRS:>" + std::to_string(i) + "\r");
    }
}

TEST(SerialPortThreads, OpenFailuresShowTheirMessage) {
    const std::filesystem::path plainFile =
        std::filesystem::temp_directory_path() / ("plovane_not_a_tty_" + std::to_string(getpid()));
    std::ofstream(plainFile) << "x";
    PtyPeer peer;
    ASSERT_TRUE(peer.ok());

    struct Case {
        const char* label;
        std::string portName;
        int32_t baud;
        int32_t dataBits;
        std::string parity, stopBits;
        std::string message;  // empty: opens
    } cases[] = {
        {"6 data bits", peer.slavePath(), 9600, 6, "N", "1", "Invalid serial port parameters."},
        {"baud 0", peer.slavePath(), 0, 8, "N", "1", "Invalid serial port parameters."},
        {"no name", "", 9600, 8, "N", "1", "Invalid serial port parameters."},
        {"no parity", peer.slavePath(), 9600, 8, "", "1", "Invalid serial port parameters."},
        {"no stop bits", peer.slavePath(), 9600, 8, "N", "", "Invalid serial port parameters."},
        {"missing", "/nonexistent/tty", 9600, 8, "N", "1",
         "Unable to open serial port /nonexistent/tty (Error code: 2): No such file or directory"},
        {"plain file", plainFile.string(), 9600, 8, "N", "1",
         "Unable to set communications parameters."},
        {"negative rate", peer.slavePath(), -9600, 8, "N", "1",
         "Unable to set communications parameters."},
        {"14400", peer.slavePath(), 14400, 8, "N", "1", ""},
        {"56000 7E2", peer.slavePath(), 56000, 7, "Even", "2", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        RecordingHost host;
        CSerialPort port(host, host, "GPS", "PLOVANE_GPS_MUTEX", "PLOVANE_GPS_EVENT");
        port.SetDelayScale(0.01);
        port.SetParameters({true, c.portName, c.baud, c.parity, c.dataBits, c.stopBits});
        // Errors come back as values naming the port; nothing is shown, nothing waits.
        const OpenResult result = port.Open();
        EXPECT_EQ(result.open, c.message.empty());
        EXPECT_EQ(result.error, c.message.empty() ? "" : "GPS port: " + c.message);
        EXPECT_EQ(port.IsOpen(), c.message.empty());
        EXPECT_EQ(port.HasError(), !c.message.empty());
        EXPECT_TRUE(host.boxes().empty());
        port.Close();
        EXPECT_FALSE(port.HasError());
    }
    std::filesystem::remove(plainFile);
}

TEST(SerialPortThreads, ADisabledPortStaysClosedAndAnOpenPortIsExclusive) {
    PortFixture f;
    ASSERT_TRUE(f.peer.ok());
    SerialParameters p = f.port.parameters();
    p.enabled = false;
    f.port.SetParameters(p);
    EXPECT_FALSE(f.port.Open().open);
    EXPECT_FALSE(f.port.HasError());

    p.enabled = true;
    f.port.SetParameters(p);
    ASSERT_TRUE(f.port.Open().open);
    RecordingHost otherHost;
    CSerialPort other(otherHost, otherHost, "GPS", "PLOVANE_GPS_MUTEX", "PLOVANE_GPS_EVENT");
    other.SetParameters(p);
    other.SetDelayScale(0.01);
    EXPECT_EQ(other.Open().error.rfind("GPS port: Unable to open serial port " + p.portName, 0),
              0u);
    f.port.Close();
    EXPECT_TRUE(other.Open().open);  // free again
    other.Close();
}

}  // namespace
}  // namespace plovane
