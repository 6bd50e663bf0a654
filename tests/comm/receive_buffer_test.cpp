// Cutting received bytes into lines: partial lines stay, line ends go with their line. The
// port tests drain full buffers filled by real reader threads.
#include "comm/receive_buffer.h"

#include <gtest/gtest.h>

#include <string>
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

}  // namespace
}  // namespace plovane
