// Cutting received bytes into lines: partial lines stay, line ends go with their line, a full
// buffer drains in one pass, and a reader thread may append while another drains.
#include "comm/receive_buffer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace plovane {
namespace {

void Append(ReceiveBuffer& buffer, std::string_view bytes) {
    std::lock_guard lock(buffer.mutex);
    ASSERT_LE(buffer.fill + bytes.size(), buffer.capacity());
    std::copy(bytes.begin(), bytes.end(), buffer.bytes.begin() + static_cast<long>(buffer.fill));
    buffer.fill += bytes.size();
}

std::string Contents(ReceiveBuffer& buffer) {
    std::lock_guard lock(buffer.mutex);
    return std::string(buffer.bytes.begin(), buffer.bytes.begin() + static_cast<long>(buffer.fill));
}

std::vector<std::string> Drain(ReceiveBuffer& buffer) {
    std::vector<std::string> lines;
    DrainLines(buffer, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

TEST(ReceiveBuffer, DrainCutsCompleteLinesAndKeepsThePartialOne) {
    struct Case {
        const char* name;
        std::vector<const char*> chunks;  // appended, then drained, one after the other
        std::vector<std::string> lines;   // all lines handed on, in order
        const char* rest;
    };
    const Case cases[] = {
        {"one line", {"A1>APRS:>one\r"}, {"A1>APRS:>one\r"}, ""},
        {"CR LF and a blank line",
         {"B1>APRS:>two\r\n\r\nB2>AP"},
         {"B1>APRS:>two\r\n\r\n"},
         "B2>AP"},
        {"partial line completed later", {"B2>AP", "RS:>five\n"}, {"B2>APRS:>five\n"}, ""},
        // The LF of a CR LF split across chunks comes as a line of its own.
        {"CR LF split", {"A2\r", "\nA3\n\rA4\r"}, {"A2\r", "\n", "A3\n\r", "A4\r"}, ""},
        {"no line end", {"A5>APRS:>partial"}, {}, "A5>APRS:>partial"},
        {"empty", {""}, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReceiveBuffer buffer(ReceiveBuffer::kSerialCapacity);
        std::vector<std::string> lines;
        for (const char* chunk : c.chunks) {
            Append(buffer, chunk);
            for (std::string& line : Drain(buffer))
                lines.push_back(std::move(line));
        }
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(Contents(buffer), c.rest);
    }
}

TEST(ReceiveBuffer, AFullNetworkBufferDrainsInOnePass) {
    ReceiveBuffer net(ReceiveBuffer::kNetworkCapacity);
    std::string chunk;
    int lines = 0;
    while (chunk.size() + 40 < net.capacity())
        chunk += "S" + std::to_string(lines++) + ">APRS:>x\r\n";
    Append(net, chunk);
    const std::vector<std::string> drained = Drain(net);
    ASSERT_EQ(drained.size(), static_cast<size_t>(lines));
    EXPECT_EQ(drained.back(), "S" + std::to_string(lines - 1) + ">APRS:>x\r\n");
    EXPECT_EQ(Contents(net), "");
}

TEST(ReceiveBuffer, AppendAndDrainOnTwoThreadsLoseNothing) {
    // A read thread appends each line in two pieces while another thread drains.
    ReceiveBuffer buffer(ReceiveBuffer::kSerialCapacity);
    constexpr int kLines = 300;
    std::thread reader([&] {
        for (int i = 0; i < kLines; ++i) {
            const std::string line = "T" + std::to_string(i) + ">APRS:>x\r\n";
            Append(buffer, line.substr(0, 5));
            std::this_thread::yield();
            Append(buffer, line.substr(5));
        }
    });
    std::vector<std::string> lines;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (lines.size() < static_cast<size_t>(kLines) &&
           std::chrono::steady_clock::now() < deadline) {
        for (std::string& line : Drain(buffer))
            lines.push_back(std::move(line));
    }
    reader.join();
    ASSERT_EQ(lines.size(), static_cast<size_t>(kLines));
    for (int i = 0; i < kLines; ++i)
        EXPECT_EQ(lines[i], "T" + std::to_string(i) + ">APRS:>x\r\n");
}

}  // namespace
}  // namespace plovane
