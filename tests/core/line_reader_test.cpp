// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/line_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace plovane {
namespace {

// Each line, marked " (cut)" where its tail was skipped.
std::vector<std::string> ReadAll(LineReader& reader) {
    std::vector<std::string> lines;
    std::string line;
    while (reader.Next(line))
        lines.push_back(reader.truncated() ? line + " (cut)" : line);
    return lines;
}

// Reads `bytes` from memory and from a stream; both must give `expected`.
void ExpectLines(const std::string& bytes, size_t limit, const std::vector<std::string>& expected) {
    LineReader fromMemory(std::string_view{bytes}, limit);
    EXPECT_EQ(ReadAll(fromMemory), expected);
    std::istringstream in(bytes);
    LineReader fromStream(in, limit);
    EXPECT_EQ(ReadAll(fromStream), expected);
}

TEST(LineReader, EveryLineEndStyleGivesOneLinePerRecord) {
    using Lines = std::vector<std::string>;
    const Lines two = {"A>B:>one", "C>D:>two"};
    struct Case {
        const char* name;
        std::string input;
        Lines expected;
    } cases[] = {
        {"CR LF", "A>B:>one\r\nC>D:>two\r\n", two},
        {"LF CR", "A>B:>one\n\rC>D:>two\n\r", two},
        {"blank lines between", "A>B:>one\r\n\r\n\r\nC>D:>two\n\n", two},
        {"mixed ends", "A>B:>one\r\r\n\nC>D:>two", two},
        {"white space is text", "A>B:>one\n \nC>D:>two\n", {"A>B:>one", " ", "C>D:>two"}},
        {"only line ends", "\r\n\r\n\n", {}},
        {"high bytes kept", "A>B:>\xE9t\xE9\r\n", {"A>B:>\xE9t\xE9"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectLines(c.input, LineReader::kDefaultMaxLineLength, c.expected);
    }
}

TEST(LineReader, OverlongLineKeepsItsHeadAndSkipsItsTail) {
    // A line ten buffers long, bounded to 5000 bytes, between two ordinary lines.
    const std::string input =
        "first\r\n" + std::string(10 * LineReader::kBufferSize, 'x') + "\r\nlast\n";
    ExpectLines(input, 5000, {"first", std::string(5000, 'x') + " (cut)", "last"});

    // A line of exactly the limit is whole.
    LineReader reader(std::string_view{"abcd\nabcde\n"}, 4);
    EXPECT_EQ(ReadAll(reader), (std::vector<std::string>{"abcd", "abcd (cut)"}));
    std::string line;
    EXPECT_FALSE(reader.Next(line));  // stays at the end
}

TEST(LineReader, AFolderGivenAsAFileEndsTheInputWithoutThrowing) {
    std::ifstream in(std::filesystem::temp_directory_path(), std::ios::binary);
    ASSERT_TRUE(in.is_open());
    LineReader reader(in);
    std::string line;
    EXPECT_FALSE(reader.Next(line));
}

}  // namespace
}  // namespace plovane
