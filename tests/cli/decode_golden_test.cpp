// SPDX-License-Identifier: GPL-3.0-or-later
// Golden test of plovane-cli decode: tests/data/decode/sample.txt, decoded at a fixed time
// with the own call N0CALL, must print exactly sample.expected.jsonl (the stores after the
// whole file) and sample.each.expected.jsonl (--each, one object per line). These files are
// the contract: after an intended change of the decoder or the stores, run this test once
// with PLOVANE_UPDATE_GOLDEN=1 in the environment to rewrite them, and review the diff.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"

namespace plovane::cli {
namespace {

const std::string kDataDir = std::string(PLOVANE_TEST_DATA_DIR) + "/decode/";
const Args kFixedStation = {"--mycall", "N0CALL", "--now", "2026-03-15T12:00:00"};

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

// A line diff (longest common subsequence) of the two texts: "-" lines expected but missing,
// "+" lines printed but not expected, each with its line number; empty when they agree.
std::string LineDiff(const std::vector<std::string>& expected,
                     const std::vector<std::string>& actual) {
    const size_t n = expected.size();
    const size_t m = actual.size();
    std::vector<std::vector<size_t>> common(n + 1, std::vector<size_t>(m + 1, 0));
    for (size_t i = n; i-- > 0;) {
        for (size_t j = m; j-- > 0;) {
            common[i][j] = expected[i] == actual[j] ? common[i + 1][j + 1] + 1
                                                    : std::max(common[i + 1][j], common[i][j + 1]);
        }
    }
    std::ostringstream diff;
    size_t i = 0;
    size_t j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && expected[i] == actual[j]) {
            ++i;
            ++j;
        } else if (j < m && (i == n || common[i][j + 1] > common[i + 1][j])) {
            diff << "+ " << (j + 1) << ": " << actual[j] << '\n';
            ++j;
        } else {
            diff << "- " << (i + 1) << ": " << expected[i] << '\n';
            ++i;
        }
    }
    return diff.str();
}

void ExpectGolden(const Args& options, const std::string& expectedName) {
    Args args = options;
    args.push_back(kDataDir + "sample.txt");
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(Decode(args, in, out, err), 0) << err.str();
    EXPECT_EQ(err.str(), "");

    const std::string expectedPath = kDataDir + expectedName;
    if (std::getenv("PLOVANE_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(expectedPath, std::ios::binary) << out.str();
        GTEST_SKIP() << "rewrote " << expectedPath << "; review the diff";
    }
    std::string expected;
    ASSERT_TRUE(ReadFile(expectedPath, expected)) << "cannot read " << expectedPath;
    const std::string diff = LineDiff(SplitLines(expected), SplitLines(out.str()));
    EXPECT_TRUE(diff.empty()) << expectedName << " differs (- expected, + printed):\n" << diff;
}

TEST(DecodeGolden, WholeFileGivesTheExpectedStores) {
    ExpectGolden(kFixedStation, "sample.expected.jsonl");
}

TEST(DecodeGolden, EachLineGivesTheExpectedRecords) {
    Args options = kFixedStation;
    options.insert(options.begin(), "--each");
    ExpectGolden(options, "sample.each.expected.jsonl");
}

}  // namespace
}  // namespace plovane::cli
